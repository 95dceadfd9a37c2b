#pragma once

#include <QString>
#include <QStringList>

// Where the helper works. The defaults are the real system; the test harness changes the root
// and APT's configuration through the helper's own environment (the D-Bus service file), never
// through a caller's arguments.
struct HelperSettings
{
    // Every file the helper writes lies below this directory.
    QString root = QStringLiteral("/");
    // APT_CONFIG for the APT programs the helper runs; empty leaves APT at its default.
    QString aptConfig;
    // Where apt-get, apt and apt-config are taken from.
    QString binDir = QStringLiteral("/usr/bin");
    // How often a command blocked by another package manager's lock is retried.
    int lockRetryMs = 3000;
    // After a stop request: how long the package tool may take to finish its current step, and
    // how long it gets after being terminated before it is killed. Never while dpkg runs.
    int stopGraceMs = 300000;
    int killGraceMs = 10000;
    // How long a package-list update may run before it is interrupted like a stop: a hung
    // download would otherwise hold the helper, and every later action would find it busy.
    int updateLimitMs = 30 * 60 * 1000;
    // How long an upgrade or a repair, which have no limit of their own, wait for another
    // package manager's lock before they give up.
    int lockWaitLimitMs = 30 * 60 * 1000;

    // The real settings, with TARN_HELPER_ROOT and TARN_HELPER_APT_CONFIG applied.
    static HelperSettings fromEnvironment();

    // The fixed environment of every command the helper runs.
    QStringList childEnvironment() const;
    // `path` (absolute, as APT names it) as seen below root.
    QString underRoot(const QString& path) const;
};
