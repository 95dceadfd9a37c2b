// The module of the windows that need the privileged helper: the notifier loads it when the
// user first opens one of them.
#include "buildid.h"
#include "core/notifierwindows.h"
#include "privileged/updatedialog.h"
#include "privileged/upgradedialog.h"
#include "privileged/upgraderequestdialog.h"
#include "settings/settingsdialog.h"

namespace {
class ModuleWindows : public NotifierWindows
{
public:
    QDialog* newSettingsDialog(std::function<void()> checkForUpdatesRequest,
                               std::function<void(QString)> runPackageManagerRequest) override
    {
        auto* dialog = new SettingsDialog();
        QObject::connect(dialog, &SettingsDialog::checkForUpdatesRequest, dialog,
                         std::move(checkForUpdatesRequest));
        QObject::connect(dialog, &SettingsDialog::runPackageManagerRequest, dialog,
                         std::move(runPackageManagerRequest));
        return dialog;
    }

    void setUpgradablePackagesCount(QDialog* settingsDialog, int count) override
    {
        static_cast<SettingsDialog*>(settingsDialog)->setUpgradablePackagesCount(count);
    }

    bool isSaving(const QDialog* settingsDialog) const override
    {
        return static_cast<const SettingsDialog*>(settingsDialog)->isSaving();
    }

    int runUpdate(const QString& updateCommand) override
    {
        UpdateDialog dialog;
        return dialog.exec(updateCommand);
    }

    int confirmUpgrade(bool expanded) override
    {
        UpgradeRequestDialog request;
        if (expanded)
            request.expandPackageList();
        return request.exec();
    }

    void runUpgrade(const QString& updateCommand, const QString& upgradeCommand,
                    const QString& fixBrokenCommand) override
    {
        UpgradeDialog upgrade;
        upgrade.exec(updateCommand, upgradeCommand, fixBrokenCommand);
    }

    void runRepair(const QString& fixBrokenCommand) override
    {
        UpgradeDialog repair;
        repair.execRepair(fixBrokenCommand);
    }
};
} // namespace

extern "C" Q_DECL_EXPORT const char tarnNotifierWindowsBuildId[] = TARN_BUILD_ID;

extern "C" Q_DECL_EXPORT NotifierWindows* tarnNotifierWindows()
{
    static ModuleWindows windows;
    return &windows;
}
