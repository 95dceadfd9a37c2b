#include "catalogue.h"

#include <QLocale>
#include <QTranslator>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void initCatalogues()
{
    Q_INIT_RESOURCE(catalogues);
}

namespace Catalogue {

bool load(QTranslator& translator, const QLocale& locale, const QStringList& moreDirectories)
{
    initCatalogues();
    for (const QString& directory : QStringList{QStringLiteral(":/translations")} + moreDirectories) {
        if (translator.load(locale, QStringLiteral("tarn-update-notifier"), QStringLiteral("_"), directory))
            return true;
    }
    return false;
}

} // namespace Catalogue
