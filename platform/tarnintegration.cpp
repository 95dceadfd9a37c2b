#include "tarnintegration.h"

#include "base/systempaths.h"
#include "translations/catalogue.h"

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
// Kept on the application object rather than in variables of ours: the windows' module,
// loaded later, carries its own copy of this code but shares the application object.
constexpr char DescriptionProperty[] = "tarnDescription";
// The language code of the program's catalogue in use; empty when none is.
constexpr char GuideLanguageProperty[] = "tarnGuideLanguage";

QString applicationProperty(const char* name)
{
    return QCoreApplication::instance() ? QCoreApplication::instance()->property(name).toString() : QString();
}

void setApplicationProperty(const char* name, const QString& value)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->setProperty(name, value);
}

// The user's locale; the C locale reads English.
QLocale uiLocale()
{
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English) : locale;
}

// Installs the translator when `loaded`; returns the language its catalogue states, empty
// when none was found.
QString installIf(QTranslator* translator, bool loaded)
{
    if (!loaded) {
        delete translator;
        return QString();
    }
    QCoreApplication::installTranslator(translator);
    return translator->language();
}
} // namespace

void tarnInit(const char* version, const char* description)
{
    QCoreApplication::setApplicationName(QStringLiteral("tarn-update-notifier"));
    QCoreApplication::setOrganizationName(QStringLiteral("tarn"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("nordwave.org"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(version));
    setApplicationProperty(DescriptionProperty, QString::fromUtf8(description));

    if (!QCoreApplication::instance())
        return;
    auto* qtTranslator = new QTranslator(QCoreApplication::instance());
    installIf(qtTranslator, qtTranslator->load(uiLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                                               QLibraryInfo::location(QLibraryInfo::TranslationsPath)));
    tarnLoadTranslations();
}

void tarnLoadTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString language = installIf(
        translator, Catalogue::load(*translator, uiLocale(), {QStringLiteral(TARN_TRANSLATIONS_DIR)}));
    // The guide follows the texts on screen. Going through QLocale leaves nothing but a
    // language code to reach a file name.
    const QLocale catalogue(language);
    setApplicationProperty(GuideLanguageProperty, language.isEmpty() || catalogue.language() == QLocale::C
                                                      ? QString()
                                                      : catalogue.name().section(QLatin1Char('_'), 0, 0));
}

QString tarnDescription()
{
    return applicationProperty(DescriptionProperty);
}

QString tarnHelpIndexPath()
{
    const QFileInfo guide(SystemPaths::current().userGuide);
    const QString language = applicationProperty(GuideLanguageProperty);
    if (language.isEmpty())
        return guide.filePath();
    const QString translated = guide.dir().filePath(guide.completeBaseName() + QLatin1Char('.') + language +
                                                    QLatin1Char('.') + guide.suffix());
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
