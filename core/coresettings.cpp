#include "notifiercore.h"

#include "trayicon.h"

#include "base/commands.h"

#include <QAction>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

namespace {
// A stored number of milliseconds (or seconds) within [lowest, highest], whatever the
// store holds: a hand-edited file may hold anything, and the bounds come before any
// arithmetic. Values that do not convert give the lowest; a double takes 1e16 and more.
qint64 boundedValue(const QSettings& settings, const QString& key, qint64 defaultValue, qint64 lowest,
                    qint64 highest)
{
    bool ok = false;
    const double value = settings.value(key, defaultValue).toDouble(&ok);
    if (!ok || !(value >= double(lowest))) // NaN too
        return lowest;
    return value >= double(highest) ? highest : qint64(value);
}

// A repeating timer below this would keep a core busy.
constexpr int ShortestIntervalMs = 60000;
constexpr int LongestIntervalMs = 7 * 24 * 3600 * 1000;
// The remind-later menu offers a month at most; a year is ample for a hand-edited delay.
constexpr qint64 LongestDeferralSeconds = 366LL * 24 * 3600;

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
    // The settings dialog's bounds: a balloon of 0 ms would never expire.
    m_messageTimeout = int(boundedValue(settings, QStringLiteral("messageTimeout"), 15000, 5000, 60000));
    // A reminder interval of 0 (or less) turns reminders off; see below.
    const qint64 notifyInterval =
        boundedValue(settings, QStringLiteral("notifyInterval"), 1800000, 0, LongestIntervalMs);
    m_reminderTimer->setInterval(notifyInterval > 0 ? int(qMax(notifyInterval, qint64(ShortestIntervalMs)))
                                                    : 0);
    m_checkTimer->setInterval(int(boundedValue(settings, QStringLiteral("aptCacheCheckInterval"), 1800000,
                                               ShortestIntervalMs, LongestIntervalMs)));
    m_hideTray = settings.value(QStringLiteral("hideTray"), true).toBool();
    m_hideTimer->setInterval(
        int(boundedValue(settings, QStringLiteral("hideTrayDelay"), 5000, 3000, 360000)));
    m_skipDelay =
        boundedValue(settings, QStringLiteral("skipNotificationDelay"), -1, -1, LongestDeferralSeconds);
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
