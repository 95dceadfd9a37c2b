#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>
#include <optional>

class BoundedProcess;
class QStringList;

namespace Ui {
class UpgradeRequestDialog;
}

// Asks before a system upgrade. On request it lists what the upgrade changes and what it
// costs, both from the checker, and what it leaves out and why; on Ok it asks again when the
// upgrade removes a package the system needs, and warns when the root file system is short
// of space.
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
    // quits, after Deleted it is about to go; Failed: it ended without a usable answer.
    enum class Run { Ended, NotStarted, TimedOut, Closed, Deleted, Failed };
    Run runChecker(BoundedProcess& process, const QStringList& arguments, int timeoutMs);
    // The checker's whole output for `argument` (at most `outputCap` bytes) in `output`, when it
    // answered with success; `output` stays empty otherwise.
    Run readOutput(const QString& argument, int timeoutMs, qint64 outputCap, QString& output);
    // The checker's "-s" output in `sizes`; empty when it had none.
    Run readSizes(QString& sizes);
    void loadPackageList();
    void showListing(const QString& output);
    void showSummary(const QString& sizes);
    void showSizes(const QString& output);
    void showKeptBack(const QString& output);
    bool confirmNeededRemovals();

    std::unique_ptr<Ui::UpgradeRequestDialog> ui;
    // From the listing: how many packages each kind counts, and the removed packages the
    // system needs; unknown until a listing was read.
    int m_upgradedCount = 0;
    int m_installedCount = 0;
    int m_removedCount = 0;
    std::optional<QStringList> m_neededRemovals;
};
