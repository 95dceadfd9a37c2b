#include "originspatterndialog.h"
#include "ui_originspatterndialog.h"

#include "aptconf/originpattern.h"

OriginsPatternDialog::OriginsPatternDialog(const QStringList& patterns, QWidget* parent)
    : QDialog(parent), ui(new Ui::OriginsPatternDialog)
{
    ui->setupUi(this);
    ui->addPatternButton->setIcon(QIcon::fromTheme(QStringLiteral("list-add")));
    ui->removePatternButton->setIcon(QIcon::fromTheme(QStringLiteral("list-remove")));
    for (QComboBox* field : fields()) {
        field->setCurrentIndex(-1);
        connect(field, &QComboBox::editTextChanged, this, &OriginsPatternDialog::onEditTextChanged);
    }
    ui->patternsListWidget->addItems(patterns);
    on_patternsListWidget_currentRowChanged(ui->patternsListWidget->currentRow());
}

OriginsPatternDialog::~OriginsPatternDialog() = default;

QList<QComboBox*> OriginsPatternDialog::fields() const
{
    return ui->editAreaWidget->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly);
}

QStringList OriginsPatternDialog::patterns() const
{
    QStringList result;
    for (int row = 0; row < ui->patternsListWidget->count(); ++row) {
        const QString text = ui->patternsListWidget->item(row)->text();
        if (!text.isEmpty())
            result.append(text);
    }
    return result;
}

void OriginsPatternDialog::on_addPatternButton_clicked()
{
    ui->patternsListWidget->addItem(defaultOriginPattern());
    ui->patternsListWidget->setCurrentRow(ui->patternsListWidget->count() - 1);
}

void OriginsPatternDialog::on_removePatternButton_clicked()
{
    const int row = ui->patternsListWidget->currentRow();
    if (row < 0)
        return;
    delete ui->patternsListWidget->takeItem(row);
}

void OriginsPatternDialog::on_patternsListWidget_currentRowChanged(int currentRow)
{
    // Showing a pattern must not rewrite it: only the user's edits do.
    const QList<QComboBox*> all = fields();
    for (QComboBox* field : all) {
        field->blockSignals(true);
        field->clearEditText();
    }
    const bool selected = currentRow >= 0;
    ui->editAreaWidget->setEnabled(selected);
    ui->removePatternButton->setEnabled(selected);
    if (selected) {
        const OriginPatternFields shown =
            originPatternFields(parseOriginPattern(ui->patternsListWidget->item(currentRow)->text()));
        ui->archiveComboBox->setEditText(shown.archive);
        ui->componentComboBox->setEditText(shown.component);
        ui->labelComboBox->setEditText(shown.label);
        ui->originComboBox->setEditText(shown.origin);
        ui->codeNameComboBox->setEditText(shown.codeName);
        ui->siteComboBox->setEditText(shown.site);
    }
    for (QComboBox* field : all)
        field->blockSignals(false);
}

void OriginsPatternDialog::onEditTextChanged()
{
    QListWidgetItem* current = ui->patternsListWidget->currentItem();
    if (!current)
        return;
    current->setText(
        formatOriginPattern(ui->archiveComboBox->currentText(), ui->componentComboBox->currentText(),
                            ui->labelComboBox->currentText(), ui->originComboBox->currentText(),
                            ui->codeNameComboBox->currentText(), ui->siteComboBox->currentText()));
}
