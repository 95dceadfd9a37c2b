#include "sourceeditor.h"
#include "ui_sourceeditor.h"

SourceEditor::SourceEditor(QWidget* parent) : QDialog(parent), ui(new Ui::SourceEditor)
{
    ui->setupUi(this);
    fillTypes();
    setWindowTitle(tr("Add Repository"));
    ui->typeComboBox->setCurrentIndex(0);
}

SourceEditor::SourceEditor(const SourceEntry& entry, QWidget* parent)
    : QDialog(parent), ui(new Ui::SourceEditor), m_entry(entry)
{
    ui->setupUi(this);
    fillTypes();
    // A line of any other type can only become a binary one here.
    const int type = ui->typeComboBox->findData(m_entry.type);
    ui->typeComboBox->setCurrentIndex(type >= 0 ? type : 0);
    ui->uriLineEdit->setText(m_entry.uri);
    ui->distLineEdit->setText(m_entry.distribution);
    ui->sectionsLineEdit->setText(m_entry.sections.join(QLatin1Char(' ')));
}

SourceEditor::~SourceEditor() = default;

void SourceEditor::fillTypes()
{
    ui->typeComboBox->addItem(tr("Binary (deb)"), QStringLiteral("deb"));
    ui->typeComboBox->addItem(tr("Source (deb-src)"), QStringLiteral("deb-src"));
}

void SourceEditor::accept()
{
    m_entry.type = ui->typeComboBox->currentData().toString();
    m_entry.uri = ui->uriLineEdit->text();
    m_entry.distribution = ui->distLineEdit->text();
    m_entry.sections = ui->sectionsLineEdit->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // Incomplete input is not refused: the entry is simply not a usable repository line.
    m_entry.valid = !m_entry.type.isEmpty() && !m_entry.uri.isEmpty() && !m_entry.distribution.isEmpty();
    QDialog::accept();
}
