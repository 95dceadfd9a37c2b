#include "tarnintegration.h"

#include "base/systempaths.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <QUrl>

namespace {
QString& storedDescription()
{
    static QString description;
    return description;
}

// The language code of the program's catalogue in use; empty when none is.
QString& guideLanguage()
{
    static QString language;
    return language;
}

// Tries the directories in order; the first catalogue found for the locale wins.
// Returns the language the catalogue states, empty when none was found.
QString installTranslator(const QString& name, const QStringList& directories)
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    for (const QString& directory : directories) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, QStringLiteral("_"), directory)) {
            QCoreApplication::installTranslator(translator);
            return translator->language();
        }
        delete translator;
    }
    return QString();
}
} // namespace

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void initCatalogues()
{
    Q_INIT_RESOURCE(catalogues);
}

void tarnInit(const char* version, const char* description)
{
    QCoreApplication::setApplicationName(QStringLiteral("tarn-update-notifier"));
    QCoreApplication::setOrganizationName(QStringLiteral("tarn"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("nordwave.org"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(version));
    storedDescription() = QString::fromUtf8(description);

    if (!QCoreApplication::instance())
        return;
    installTranslator(QStringLiteral("qtbase"), {QLibraryInfo::location(QLibraryInfo::TranslationsPath)});
    tarnLoadTranslations();
}

void tarnLoadTranslations()
{
    initCatalogues();
    // The catalogues the program carries come first: an installed folder only adds
    // languages, so an old or foreign copy there never changes the program's texts.
    const QString language =
        installTranslator(QStringLiteral("tarn-update-notifier"),
                          {QStringLiteral(":/translations"), QStringLiteral(TARN_TRANSLATIONS_DIR)});
    // The guide follows the texts on screen. Going through QLocale leaves nothing but a
    // language code to reach a file name.
    const QLocale catalogue(language);
    guideLanguage() = language.isEmpty() || catalogue.language() == QLocale::C
                          ? QString()
                          : catalogue.name().section(QLatin1Char('_'), 0, 0);
}

QString tarnDescription()
{
    return storedDescription();
}

QString tarnHelpIndexPath()
{
    const QFileInfo guide(SystemPaths::current().userGuide);
    if (guideLanguage().isEmpty())
        return guide.filePath();
    const QString translated = guide.dir().filePath(guide.completeBaseName() + QLatin1Char('.') +
                                                    guideLanguage() + QLatin1Char('.') + guide.suffix());
    return QFileInfo::exists(translated) ? translated : guide.filePath();
}

void tarnHelpShow(const QString& topic)
{
    QUrl url = QUrl::fromLocalFile(tarnHelpIndexPath());
    if (!topic.isEmpty())
        url.setFragment(topic);
    QDesktopServices::openUrl(url);
}

void tarnAddHelpShortcut(QWidget* dialog)
{
    auto* help = new QAction(dialog);
    help->setShortcut(QKeySequence::HelpContents);
    QObject::connect(help, &QAction::triggered, dialog, [] { tarnHelpShow(QString()); });
    dialog->addAction(help);
}
