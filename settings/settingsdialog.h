#pragma once

#include <QDialog>

class QLabel;

// The window in which the user tunes the notifier, APT's periodic tasks and the
// repositories. It is modeless and deletes itself when closed.
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* parent = nullptr);
    ~SettingsDialog() override;

    void setUpgradablePackagesCount(int count);

signals:
    void checkForUpdatesRequest();
    void runPackageManagerRequest(QString command);

private:
    QLabel* m_updatesStatusLabel = nullptr;
};
