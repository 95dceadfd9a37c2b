#include "tarnintegration.h"

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

// Tries the directories in order; the first catalogue found for the locale wins.
void installTranslator(const QString& name, const QStringList& directories)
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    for (const QString& directory : directories) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, QStringLiteral("_"), directory)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
        delete translator;
    }
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
    installTranslator(QStringLiteral("tarn-update-notifier"),
                      {QStringLiteral(":/translations"), QStringLiteral(TARN_TRANSLATIONS_DIR)});
}

QString tarnDescription()
{
    return storedDescription();
}

QString tarnHelpIndexPath()
{
    return QStringLiteral(TARN_DOC_DIR "/index.html");
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
