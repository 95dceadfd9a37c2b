#pragma once

#include <QString>

class QWidget;

// Sets up the application identity (name, organisation, version), the translations
// for the user's locale and remembers the description for the About box.
void tarnInit(const char* version, const char* description);

// Loads the program's translations for the user's locale: the catalogues built into
// the program, else an installed one. The C locale gets the English texts, whose
// plural forms are proper English.
void tarnLoadTranslations();

// Opens the user guide in the desktop's browser. An empty topic opens its first page.
void tarnHelpShow(const QString& topic);

// Gives a dialog the standard help shortcut (F1), which opens the user guide.
void tarnAddHelpShortcut(QWidget* dialog);

// The installed user guide in the language of the program's texts (index.LANGUAGE.html
// beside the English index.html), else the English one.
QString tarnHelpIndexPath();

// The description given to tarnInit(), for the About box.
QString tarnDescription();
