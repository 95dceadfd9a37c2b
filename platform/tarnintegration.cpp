#include "tarnintegration.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QUrl>

namespace {
QString& storedDescription()
{
    static QString description;
    return description;
}

void installTranslator(const QString& name, const QString& directory)
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), directory))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
} // namespace

void tarnInit(const char* version, const char* description)
{
    QCoreApplication::setApplicationName(QStringLiteral("tarn-update-notifier"));
    QCoreApplication::setOrganizationName(QStringLiteral("tarn"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("nordwave.org"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(version));
    storedDescription() = QString::fromUtf8(description);

    if (!QCoreApplication::instance())
        return;
    installTranslator(QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    tarnLoadTranslations(QStringLiteral(TARN_TRANSLATIONS_DIR));
}

void tarnLoadTranslations(const QString& directory)
{
    installTranslator(QStringLiteral("tarn-update-notifier"), directory);
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
