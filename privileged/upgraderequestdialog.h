#pragma once

#include <QDialog>
#include <memory>

class BoundedProcess;
class QStringList;

namespace Ui {
class UpgradeRequestDialog;
}

// Asks before a system upgrade. On request it lists what the upgrade changes and what it
// costs, both from the checker; on Ok it warns when the root file system is short of space.
class UpgradeRequestDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UpgradeRequestDialog(QWidget* parent = nullptr);
    ~UpgradeRequestDialog() override;

    // Loads and shows the list at once and hides the button that folds it; called before the
    // dialog is shown, where the user has had no tray to see what is pending.
    void expandPackageList();

    // The free bytes an upgrade needs, given the checker's "-s" output (empty when it had none).
    static qint64 requiredSpace(const QString& sizesOutput);

public Q_SLOTS:
    void accept() override;
    void on_showPackagesButton_toggled(bool checked);

private:
    // How a run of the checker ended for the dialog: after Closed it is closed or the application
    // quits, after Deleted it is about to go.
    enum class Run { Ended, NotStarted, TimedOut, Closed, Deleted };
    Run runChecker(BoundedProcess& process, const QStringList& arguments, int timeoutMs);
    // The checker's "-s" output in `sizes`; empty when it had none.
    Run readSizes(QString& sizes);
    void loadPackageList();
    void showListing(const QString& output);
    void showSizes(const QString& output);

    std::unique_ptr<Ui::UpgradeRequestDialog> ui;
};
