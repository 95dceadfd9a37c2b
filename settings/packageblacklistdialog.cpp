#include "packageblacklistdialog.h"
#include "ui_packageblacklistdialog.h"

namespace {
constexpr Qt::ItemFlags EditableFlags = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

PackageBlackListDialog::PackageBlackListDialog(const QStringList& packages, QWidget* parent)
    : QDialog(parent), ui(new Ui::PackageBlackListDialog)
{
    ui->setupUi(this);
    ui->addPackageButton->setIcon(QIcon::fromTheme(QStringLiteral("list-add")));
    ui->removePackageButton->setIcon(QIcon::fromTheme(QStringLiteral("list-remove")));
    ui->packagesListWidget->addItems(packages);
    for (int row = 0; row < ui->packagesListWidget->count(); ++row)
        ui->packagesListWidget->item(row)->setFlags(EditableFlags);
    on_packagesListWidget_currentRowChanged(ui->packagesListWidget->currentRow());
}

PackageBlackListDialog::~PackageBlackListDialog() = default;

QStringList PackageBlackListDialog::packages() const
{
    QStringList result;
    for (int row = 0; row < ui->packagesListWidget->count(); ++row) {
        const QString text = ui->packagesListWidget->item(row)->text();
        if (!text.isEmpty())
            result.append(text);
    }
    return result;
}

void PackageBlackListDialog::on_packagesListWidget_currentRowChanged(int currentRow)
{
    ui->removePackageButton->setEnabled(currentRow >= 0);
}

void PackageBlackListDialog::on_addPackageButton_clicked()
{
    ui->packagesListWidget->addItem(QStringLiteral("*"));
    ui->packagesListWidget->setCurrentRow(ui->packagesListWidget->count() - 1);
    QListWidgetItem* item = ui->packagesListWidget->currentItem();
    item->setFlags(EditableFlags);
    ui->packagesListWidget->editItem(item);
}

void PackageBlackListDialog::on_removePackageButton_clicked()
{
    const int row = ui->packagesListWidget->currentRow();
    if (row < 0)
        return;
    delete ui->packagesListWidget->takeItem(row);
}
