#pragma once

#include <QString>

#include <functional>

class QDialog;

// The windows that drive the privileged helper: the settings, and the runs of an update and
// an upgrade. They live in a module of their own (windows/), loaded when one is first asked
// for, so that a notifier which only watches never loads KAuth and the frameworks under it.
class NotifierWindows
{
public:
    virtual ~NotifierWindows() = default;

    // A new settings dialog, modeless, which deletes itself when closed. Its buttons ask the
    // notifier for a check and for the package manager through the two callbacks.
    virtual QDialog* newSettingsDialog(std::function<void()> checkForUpdatesRequest,
                                       std::function<void(QString)> runPackageManagerRequest) = 0;
    virtual void setUpgradablePackagesCount(QDialog* settingsDialog, int count) = 0;
    // True while the settings' OK waits for the helper.
    virtual bool isSaving(const QDialog* settingsDialog) const = 0;

    // The update dialog run to its end: 1 when the lists were refreshed or the user closed
    // the log, 0 when the helper could not run the action.
    virtual int runUpdate(const QString& updateCommand) = 0;
    // The upgrade confirmation: QDialog::Accepted when the user confirmed. `expanded` shows
    // the list of packages from the start.
    virtual int confirmUpgrade(bool expanded) = 0;
    virtual void runUpgrade(const QString& updateCommand, const QString& upgradeCommand,
                            const QString& fixBrokenCommand) = 0;
    // Finishes what an interrupted dpkg left half done, then runs the fix-broken command.
    virtual void runRepair(const QString& fixBrokenCommand) = 0;
};

// What the module exports: the windows, and the build they belong to (TARN_BUILD_ID, a
// string read before anything is called).
using NotifierWindowsEntry = NotifierWindows* (*)();
inline constexpr char NotifierWindowsEntryName[] = "tarnNotifierWindows";
inline constexpr char NotifierWindowsBuildIdName[] = "tarnNotifierWindowsBuildId";
inline constexpr char NotifierWindowsModuleName[] = "tarn-update-notifier-windows.so";
