#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// The fixed system locations the notifier reads, and its wall clock. The program always
// uses the defaults; unit tests point them elsewhere with setCurrent().
struct SystemPaths
{
    QString aptCheck = QStringLiteral("/usr/bin/apt_check");
    QString globalConfig = QStringLiteral("/etc/tarn-update-notifier.conf");
    QString packageCache = QStringLiteral("/var/cache/apt/pkgcache.bin");
    QString aptListsDir = QStringLiteral("/var/lib/apt/lists");
    QString dpkgStatus = QStringLiteral("/var/lib/dpkg/status");
    // dpkg's journal: status changes not yet merged into the status file.
    QString dpkgJournalDir = QStringLiteral("/var/lib/dpkg/updates");
    // The locks of dpkg, of the package lists and of the download cache, as APT takes them.
    QStringList aptLockFiles = {
        QStringLiteral("/var/lib/dpkg/lock-frontend"), QStringLiteral("/var/lib/dpkg/lock"),
        QStringLiteral("/var/lib/apt/lists/lock"), QStringLiteral("/var/cache/apt/archives/lock")};
    QString rootFileSystem = QStringLiteral("/");
    QString unattendedUpgrades = QStringLiteral("/usr/bin/unattended-upgrades");
    QString rebootRequired = QStringLiteral("/run/reboot-required");
    QString rebootRequiredPackages = QStringLiteral("/run/reboot-required.pkgs");
    // Translations of the guide lie beside it as index.LANGUAGE.html.
    QString userGuide = QStringLiteral(TARN_DOC_DIR "/index.html");
    std::function<QDateTime()> now = &QDateTime::currentDateTime;

    static const SystemPaths& current();
    static void setCurrent(const SystemPaths& paths);
};
