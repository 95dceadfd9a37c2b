#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class PackageBlackListDialog;
}

// Edits the packages that unattended upgrades leave alone: free text, one entry per row.
class PackageBlackListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PackageBlackListDialog(const QStringList& packages, QWidget* parent = nullptr);
    ~PackageBlackListDialog() override;

    // The rows' texts in order, empty ones left out; not trimmed, duplicates kept.
    QStringList packages() const;

private Q_SLOTS:
    void on_packagesListWidget_currentRowChanged(int currentRow);
    void on_addPackageButton_clicked();
    void on_removePackageButton_clicked();

private:
    std::unique_ptr<Ui::PackageBlackListDialog> ui;
};
