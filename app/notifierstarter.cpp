#include "notifierstarter.h"

#include "qtsingleapplication.h"
#include "traywaiter.h"

#include "core/notifiercore.h"
#include "core/trayicon.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThread>

#include <grp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace {
int termSocketPair[2] = {-1, -1};
const QString MessageSeparator = QStringLiteral("|||");
const char AdministratorsGroup[] = "kelmora-admin";
const QString QuitOption = QStringLiteral("quit");
const QString SilentOption = QStringLiteral("silent");
constexpr int ForwardTimeoutMs = 5000;
constexpr int ForwardRetryMs = 100;
constexpr int DefaultTrayWaitMs = 60000;

// How long a login's panel may take to bring its tray. TARN_TRAY_WAIT_MS shortens it
// for tests.
int trayWaitMs()
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("TARN_TRAY_WAIT_MS", &ok);
    return ok && value > 0 ? value : DefaultTrayWaitMs;
}
} // namespace

void NotifierStarter::describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QCoreApplication::translate("main", "Update notifier for Tarn desktop"));
    parser.addVersionOption();
    parser.addHelpOption();
    parser.addOption({QuitOption, tr("Quit application.")});
    parser.addOption({SilentOption, tr("Hide balloon message and settings.")});
}

bool NotifierStarter::forwardsQuit(const QCommandLineParser& parser)
{
    if (!parser.isSet(QuitOption))
        return false;
    QtSingleApplication::sendToRunning(
        (QCoreApplication::arguments() << QDir::currentPath()).join(MessageSeparator), 5000);
    return true;
}

NotifierStarter::NotifierStarter(QtSingleApplication* application)
{
    describeOptions(m_parser);
    m_parser.process(application->arguments());

    if (!isAdministrator()) {
        m_shouldExit = true;
        return;
    }
    if (!application->unsafePath().isEmpty()) {
        qCritical("%s", qPrintable(tr("%1 belongs to another user or is open to others: not started")
                                       .arg(application->unsafePath())));
        m_exitCode = 1;
        m_shouldExit = true;
        return;
    }
    if (application->isRunning()) {
        const QString message = (application->arguments() << QDir::currentPath()).join(MessageSeparator);
        // A running notifier that replaces itself (after an upgrade) does not listen for a
        // moment: its new copy takes the message.
        QDeadlineTimer deadline(ForwardTimeoutMs);
        while (!application->sendMessage(message, int(qMax<qint64>(1, deadline.remainingTime()))) &&
               !deadline.hasExpired())
            QThread::msleep(ForwardRetryMs);
        m_shouldExit = true;
        return;
    }

    if (m_parser.isSet(QuitOption)) {
        m_shouldExit = true;
        return;
    }

    const bool desktopMode = !isMobileSession(qEnvironmentVariable("DESKTOP_SESSION"),
                                              qEnvironmentVariable("TARN_LAUNCHER_SETTINGS"));
    application->setQuitOnLastWindowClosed(false);
    application->setWindowIcon(
        QIcon::fromTheme(QStringLiteral("tarn-update-notifier"),
                         QIcon(QStringLiteral(":/icons/apps-tarn-update-notifier.svg"))));

    connect(application, &QGuiApplication::saveStateRequest, this, &NotifierStarter::onSaveStateRequest);
    connect(application, &QtSingleApplication::messageReceived, this, &NotifierStarter::onMessageReceived);

    // Close-on-exec: the checker and the package manager must not inherit it.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, termSocketPair) != 0)
        qFatal("Couldn't create TERM socketpair");
    m_termNotifier = new QSocketNotifier(termSocketPair[1], QSocketNotifier::Read, this);
    connect(m_termNotifier, &QSocketNotifier::activated, this, &NotifierStarter::handleSigTerm);

    if (!desktopMode) {
        startCore(Presentation::PhoneNotification);
        return;
    }
    // At login the panel may register its tray after the notifier has started.
    auto* waiter = new TrayWaiter(trayWaitMs(), this);
    connect(waiter, &TrayWaiter::found, this, [this, waiter](bool statusNotifierHost) {
        waiter->deleteLater();
        TrayIcon::setStatusNotifierHost(statusNotifierHost);
        startCore(Presentation::Tray);
    });
    // A desktop without any tray (GNOME Shell as it comes) still shows notifications. A tray
    // that comes later is not taken: the notification stays until the next start.
    connect(waiter, &TrayWaiter::timedOut, this, [this, waiter] {
        waiter->deleteLater();
        startCore(Presentation::Notification);
    });
}

void NotifierStarter::startCore(Presentation presentation)
{
    m_core = new NotifierCore(m_parser.isSet(SilentOption), presentation, this);
    handleOptions(QDir::currentPath());
}

NotifierStarter::~NotifierStarter() = default;

bool NotifierStarter::isMobileSession(const QString& desktopSession, const QString& launcherSettings)
{
    return desktopSession.trimmed().toLower().contains(QLatin1String("mobile")) ||
           !launcherSettings.trimmed().isEmpty();
}

void NotifierStarter::handleOptions(const QString& workingDirectory)
{
    Q_UNUSED(workingDirectory)
    if (m_parser.isSet(QuitOption)) {
        QCoreApplication::exit(0);
        return;
    }
    // Before the tray is there, nothing but --quit is acted on.
    if (!m_core || m_parser.isSet(SilentOption))
        return;
    m_core->showSettings();
}

void NotifierStarter::onMessageReceived(QString message)
{
    QStringList parts = message.split(MessageSeparator, Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (parts.isEmpty())
        return;
    const QString workingDirectory = parts.takeLast();
    // parse(), unlike process(), never ends this process over a bad forwarded option.
    m_parser.parse(parts);
    handleOptions(workingDirectory);
}

bool NotifierStarter::isAdministrator()
{
    const long maxGroups = ::sysconf(_SC_NGROUPS_MAX);
    std::vector<gid_t> groups(size_t(maxGroups > 0 ? maxGroups : 65536) + 1);
    const int count = ::getgroups(int(groups.size()), groups.data());
    for (int i = 0; i < count; ++i) {
        const struct group* entry = ::getgrgid(groups[size_t(i)]);
        if (entry && qstrcmp(entry->gr_name, AdministratorsGroup) == 0)
            return true;
    }
    return ::getuid() == 0;
}

void NotifierStarter::termSignalHandler(int signal)
{
    Q_UNUSED(signal)
    const char one = 1;
    [[maybe_unused]] const ssize_t written = ::write(termSocketPair[0], &one, sizeof(one));
}

void NotifierStarter::handleSigTerm()
{
    m_termNotifier->setEnabled(false);
    char byte = 0;
    [[maybe_unused]] const ssize_t bytesRead = ::read(termSocketPair[1], &byte, sizeof(byte));
    QCoreApplication::quit();
    m_termNotifier->setEnabled(true);
}

void NotifierStarter::onSaveStateRequest(QSessionManager& manager)
{
    manager.setRestartHint(QSessionManager::RestartNever);
}
