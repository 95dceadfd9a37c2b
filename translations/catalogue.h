#pragma once

#include <QStringList>

class QLocale;
class QTranslator;

// The program's own translations. They are carried in its resources, so the program and
// its helper find them wherever they run; `moreDirectories` (an installed folder) is
// tried after them and can only add languages.
namespace Catalogue {

// Loads the catalogue for `locale` into `translator`; false when there is none.
bool load(QTranslator& translator, const QLocale& locale, const QStringList& moreDirectories = {});

} // namespace Catalogue
