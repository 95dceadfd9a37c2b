#include "originspatterndialog.h"
#include "ui_originspatterndialog.h"

#include "aptconf/originpattern.h"

namespace {

// Marks the rows of Allowed-Origins rules, which only APT's files change.
const int AllowedOriginRole = Qt::UserRole;

} // namespace

OriginsPatternDialog::OriginsPatternDialog(const QStringList& patterns, const QStringList& allowedOrigins,
                                           QWidget* parent)
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
    for (const QString& rule : allowedOrigins) {
        auto* item = new QListWidgetItem(tr("%1 (Allowed-Origins, read-only)").arg(rule));
        item->setData(AllowedOriginRole, rule);
        item->setToolTip(tr("A rule of the list Unattended-Upgrade::Allowed-Origins: updates from this "
                            "origin and archive are installed too. It is kept as set; change it in "
                            "APT's configuration files."));
        QFont font = item->font();
        font.setItalic(true);
        item->setFont(font);
        ui->patternsListWidget->addItem(item);
    }
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
        const QListWidgetItem* item = ui->patternsListWidget->item(row);
        const QString text = item->text();
        if (!text.isEmpty() && !item->data(AllowedOriginRole).isValid())
            result.append(text);
    }
    return result;
}

void OriginsPatternDialog::on_addPatternButton_clicked()
{
    // Above the Allowed-Origins rows, which stay last.
    int row = 0;
    while (row < ui->patternsListWidget->count() &&
           !ui->patternsListWidget->item(row)->data(AllowedOriginRole).isValid())
        ++row;
    ui->patternsListWidget->insertItem(row, defaultOriginPattern());
    ui->patternsListWidget->setCurrentRow(row);
}

void OriginsPatternDialog::on_removePatternButton_clicked()
{
    const int row = ui->patternsListWidget->currentRow();
    if (row < 0 || ui->patternsListWidget->item(row)->data(AllowedOriginRole).isValid())
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
    const QListWidgetItem* item = ui->patternsListWidget->item(currentRow);
    const QVariant rule = item ? item->data(AllowedOriginRole) : QVariant();
    const bool editable = item && !rule.isValid();
    ui->editAreaWidget->setEnabled(editable);
    ui->removePatternButton->setEnabled(editable);
    if (item) {
        const OriginPatternFields shown = editable ? originPatternFields(parseOriginPattern(item->text()))
                                                   : allowedOriginFields(rule.toString());
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
    if (!current || current->data(AllowedOriginRole).isValid())
        return;
    current->setText(
        formatOriginPattern(ui->archiveComboBox->currentText(), ui->componentComboBox->currentText(),
                            ui->labelComboBox->currentText(), ui->originComboBox->currentText(),
                            ui->codeNameComboBox->currentText(), ui->siteComboBox->currentText()));
}
