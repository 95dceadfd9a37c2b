#include "notifiercore.h"

#include "trayicon.h"

#include "base/commands.h"

#include <QAction>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

namespace {
// Values that do not convert count as 0, whatever the store holds.
int intValue(const QSettings& settings, const QString& key, int defaultValue)
{
    return settings.value(key, defaultValue).toInt();
}

// A repeating timer below this would keep a core busy.
constexpr int ShortestIntervalMs = 60000;

// The package manager can be offered unless one of its absolute paths names no file.
bool packageManagerExists(const QString& command)
{
    const QStringList pieces = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        if (piece.startsWith(QLatin1Char('/')) && !QFileInfo::exists(piece))
            return false;
    }
    return true;
}
} // namespace

void NotifierCore::readSettings()
{
    QSettings settings;
    settings.beginGroup(QStringLiteral("General"));
    m_showMessage = settings.value(QStringLiteral("showMessage"), true).toBool();
    m_messageTimeout = intValue(settings, QStringLiteral("messageTimeout"), 15000);
    // A reminder interval of 0 (or less) turns reminders off; see below.
    const int notifyInterval = intValue(settings, QStringLiteral("notifyInterval"), 1800000);
    m_reminderTimer->setInterval(notifyInterval > 0 ? qMax(notifyInterval, ShortestIntervalMs) : 0);
    m_checkTimer->setInterval(
        qMax(intValue(settings, QStringLiteral("aptCacheCheckInterval"), 1800000), ShortestIntervalMs));
    m_hideTray = settings.value(QStringLiteral("hideTray"), true).toBool();
    m_hideTimer->setInterval(intValue(settings, QStringLiteral("hideTrayDelay"), 5000));
    m_skipDelay = settings.value(QStringLiteral("skipNotificationDelay"), qint64(-1)).toLongLong();
    m_skipSince = settings.value(QStringLiteral("skipNotificationSince")).toDateTime();
    m_hideTrayDeferred = settings.value(QStringLiteral("hideTrayDeferred"), false).toBool();
    settings.endGroup();

    m_packageManagerCommand = globalCommand(QStringLiteral("PMTool"), PackageManagerCommandIndex);
    m_upgradeCommand = globalCommand(QStringLiteral("upgCommand"), UpgradeCommandIndex);
    m_fixBrokenCommand = globalCommand(QStringLiteral("fixBrokenCommand"), FixBrokenCommandIndex);

    m_packageManagerAction->setEnabled(packageManagerExists(m_packageManagerCommand));

    if (m_showMessage && m_reminderTimer->interval() > 0) {
        m_reminderTimer->start();
    } else {
        // A reminder interval of 0 turns reminders off for this run only; the store keeps its value.
        m_showMessage = false;
        m_reminderTimer->stop();
    }

    if (m_trayIcon)
        m_trayIcon->setVisible(true);
    setTrayState(m_trayState);
    scheduleDeferralEnd();
}
