#include "notifiercore.h"

#include "lockwatch.h"
#include "notifierwindows.h"
#include "trayicon.h"
#include "windowsmodule.h"

#include "base/boundedprocess.h"
#include "base/systempaths.h"
#include "platform/tarnhelpmenu.h"
#include "platform/tarnphone.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDialog>
#include <QMenu>
#include <QTimer>

namespace {
constexpr int FirstCheckDelayMs = 2000;
constexpr qint64 CheckerOutputCap = 4096;
constexpr qint64 CheckerErrorCap = 64 * 1024;
} // namespace

NotifierCore::NotifierCore(bool silent, Presentation presentation, QObject* parent)
    : QObject(parent), m_title(tr("Update Notifier")), m_cacheFilePath(SystemPaths::current().packageCache),
      m_programPath(QCoreApplication::applicationFilePath()),
      m_programStamp(modificationStamp(m_programPath)), m_modulePath(WindowsModule::path()),
      m_moduleStamp(modificationStamp(m_modulePath)),
      m_phoneShell(presentation == Presentation::PhoneNotification)
{
    m_phoneModel = new TarnPhone::TarnNotificationsModelDbusNotifier(this);
    m_lockWatch = new LockWatch(SystemPaths::current().aptLockFiles, this);
    connect(m_lockWatch, &LockWatch::changed, this, [this] {
        if (m_trayIcon && !m_toolTip.isEmpty())
            setToolTip(m_toolTip);
    });
    if (!m_menu)
        createMenu();

    if (presentation == Presentation::Tray) {
        m_trayIcon = new TrayIcon(this);
        m_trayIcon->setObjectName(QStringLiteral("trayIcon"));
        m_trayIcon->setContextMenu(m_menu);
        m_trayIcon->setIcon(
            QIcon::fromTheme(QStringLiteral("updates-unavailable"),
                             QIcon(QStringLiteral(":/icons/categories-updates-unavailable.svg"))));
        connect(m_trayIcon, &QSystemTrayIcon::activated, this, &NotifierCore::onTrayIconActivated);
        connect(m_trayIcon, &TrayIcon::balloonClicked, this, &NotifierCore::doUpgrade);
        m_trayIcon->setVisible(true);
    }

    // The checker answers in one short line; APT's warnings and errors take more room.
    m_process = new BoundedProcess(CheckerOutputCap, CheckerErrorCap, this);
    m_process->setObjectName(QStringLiteral("process"));
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    connect(m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &NotifierCore::onProcessFinished);
    connect(m_process, &QProcess::errorOccurred, this, &NotifierCore::onProcessError);

    m_factsReader = new UpdateFactsReader(this);
    connect(m_factsReader, &UpdateFactsReader::finished, this, [this] {
        m_facts = m_factsReader->facts();
        finishCheck();
    });

    m_checkTimer = new QTimer(this);
    m_reminderTimer = new QTimer(this);
    m_hideTimer = new QTimer(this);
    m_hideTimer->setSingleShot(true);
    m_checkTimer->setObjectName(QStringLiteral("checkTimer"));
    m_reminderTimer->setObjectName(QStringLiteral("reminderTimer"));
    m_hideTimer->setObjectName(QStringLiteral("hideTimer"));
    connect(m_checkTimer, &QTimer::timeout, this, &NotifierCore::reviewDeferral);
    connect(m_checkTimer, &QTimer::timeout, this, &NotifierCore::checkForUpdates);
    connect(m_reminderTimer, &QTimer::timeout, this, &NotifierCore::showUpdates);
    connect(m_hideTimer, &QTimer::timeout, this, &NotifierCore::hideTrayIcon);
    m_checkerTimeout = new QTimer(this);
    m_checkerTimeout->setSingleShot(true);
    connect(m_checkerTimeout, &QTimer::timeout, this, &NotifierCore::onCheckerTimedOut);
    m_restartTimer = new QTimer(this);
    m_restartTimer->setInterval(1000);
    connect(m_restartTimer, &QTimer::timeout, this, [this] {
        if (!isBusy())
            restartIfProgramChanged();
    });
    m_deferralEndTimer = new QTimer(this);
    m_deferralEndTimer->setObjectName(QStringLiteral("deferralEndTimer"));
    m_deferralEndTimer->setSingleShot(true);
    connect(m_deferralEndTimer, &QTimer::timeout, this, &NotifierCore::onDeferralEnded);

    readSettings();

    if (silent && m_hideTray && m_trayIcon)
        m_trayIcon->hide();
    setTrayState(UpToDate);

    QDBusConnection systemBus = QDBusConnection::systemBus();
    if (systemBus.isConnected()) {
        systemBus.connect(QString(), QStringLiteral("/"), QStringLiteral("app.apt.dbus"),
                          QStringLiteral("updated"), this, SLOT(onAptCacheMayBeUpdated()));
    }

    if (silent)
        m_startupStopwatch.start();

    QTimer::singleShot(FirstCheckDelayMs, this, &NotifierCore::checkForUpdates);
    m_checkTimer->start();
}

NotifierCore::~NotifierCore()
{
    // Qt's D-Bus tray gives every menu entry an exported copy, which only removing the
    // entry frees: a menu that is simply deleted leaks them.
    const QList<QMenu*> submenus = m_menu->findChildren<QMenu*>();
    for (QMenu* submenu : submenus)
        submenu->clear();
    m_menu->clear();
    delete m_menu;
    m_menu = nullptr;
    m_settingsDialog.clear();
    removePhoneNotification(m_phoneNotification, true);
    removePhoneNotification(m_restartPhoneNotification, true);
}

void NotifierCore::createMenu()
{
    m_menu = new QMenu();
    m_menu->setObjectName(QStringLiteral("trayMenu"));

    m_remindLaterMenu = new QMenu(m_menu);
    m_remindLaterMenu->setObjectName(QStringLiteral("remindLaterMenu"));
    m_remindLaterMenu->menuAction()->setText(tr("Remind me later in"));
    const struct
    {
        const char* text;
        int hours;
    } remindLater[] = {
        {QT_TR_NOOP("1 hour"), 1},  {QT_TR_NOOP("12 hours"), 12}, {QT_TR_NOOP("1 day"), 24},
        {QT_TR_NOOP("2 days"), 48}, {QT_TR_NOOP("a week"), 168},  {QT_TR_NOOP("a month"), 720},
    };
    for (const auto& entry : remindLater) {
        QAction* action = m_remindLaterMenu->addAction(tr(entry.text));
        action->setData(entry.hours);
    }
    connect(m_remindLaterMenu, &QMenu::triggered, this, &NotifierCore::onRemindLaterActionTriggered);

    m_menu->addMenu(new TarnHelpMenu(m_menu));
    m_menu->addAction(tr("&Settings"), this, &NotifierCore::showSettings);
    m_menu->addSeparator();
    m_packageManagerAction = m_menu->addAction(tr("&Package Manager"), this, [this] { runPackageManager(); });
    m_upgradeAction = m_menu->addAction(tr("&Do Upgrade"), this, &NotifierCore::doUpgrade);
    m_repairAction =
        m_menu->addAction(tr("&Repair Package System"), this, &NotifierCore::repairPackageSystem);
    m_repairAction->setObjectName(QStringLiteral("repairAction"));
    m_repairAction->setEnabled(false);
    m_packageManagerAction->setObjectName(QStringLiteral("packageManagerAction"));
    m_upgradeAction->setObjectName(QStringLiteral("upgradeAction"));
    m_menu->addAction(tr("&Check for Updates"), this, &NotifierCore::checkForUpdatesManual);
    m_menu->addMenu(m_remindLaterMenu);
    m_menu->addAction(QIcon::fromTheme(QStringLiteral("application-exit")), tr("&Quit"), qApp,
                      &QCoreApplication::quit);
}

void NotifierCore::showSettings()
{
    NotifierWindows* const windows = this->windows(true);
    if (!windows)
        return;
    if (!m_settingsDialog) {
        m_settingsDialog =
            windows->newSettingsDialog([this] { checkForUpdatesManual(); },
                                       [this](const QString& command) { runPackageManager(command); });
        connect(m_settingsDialog, &QDialog::accepted, this, &NotifierCore::readSettings);
        connect(m_settingsDialog, &QDialog::rejected, this, [this] { setTrayState(m_trayState); });
    }
    windows->setUpgradablePackagesCount(m_settingsDialog, m_upgradableCount);
    m_settingsDialog->show();
    m_settingsDialog->raise();
    if (m_trayIcon)
        m_trayIcon->setVisible(true);
}

NotifierWindows* NotifierCore::windows(bool forSettings)
{
    if (m_windows)
        return m_windows;
    QString error;
    // Replaced since the start (an upgrade): the module may not fit this program, and the
    // new copy brings windows that fit.
    if (!isProgramChanged())
        m_windows = WindowsModule::windows(&error);
    else if (restartIfProgramChanged(forSettings))
        return nullptr;
    else
        error = tr("The program was replaced, and its new version cannot run yet. Try again in a moment.");
    if (!m_windows)
        showErrorBox(tr("The notifier's windows cannot be loaded:\n%1").arg(error));
    return m_windows;
}

bool NotifierCore::isSettingsDialogVisible() const
{
    return m_settingsDialog && m_settingsDialog->isVisible();
}
