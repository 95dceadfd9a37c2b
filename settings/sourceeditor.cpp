#include "sourceeditor.h"
#include "ui_sourceeditor.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

// The signed-by value as APT compares it; several keys separated by commas or blanks.
QString signedBy(const SourceEntry& entry)
{
    for (const QString& option : entry.options) {
        if (option.startsWith(QLatin1String("signed-by=")))
            return option.section(QLatin1Char('='), 1)
                .split(QLatin1Char(','), Qt::SkipEmptyParts)
                .join(QLatin1Char(','));
    }
    return QString();
}

// APT reads a URI with a final "/" added when missing.
QString withSlash(const QString& uri)
{
    return uri.endsWith(QLatin1Char('/')) ? uri : uri + QLatin1Char('/');
}

} // namespace

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
    // A stanza may name both types; it keeps them unless the user picks one.
    if (m_entry.stanza && ui->typeComboBox->findData(m_entry.type) < 0)
        ui->typeComboBox->addItem(m_entry.type, m_entry.type);
    // A line of any other type can only become a binary one here.
    const int type = ui->typeComboBox->findData(m_entry.type);
    ui->typeComboBox->setCurrentIndex(type >= 0 ? type : 0);
    ui->uriLineEdit->setText(m_entry.uri);
    ui->distLineEdit->setText(m_entry.distribution);
    ui->sectionsLineEdit->setText(m_entry.sections.join(QLatin1Char(' ')));
    ui->optionsLineEdit->setText(SourceList::optionsText(m_entry));
    if (m_entry.keyBlock)
        ui->optionsLineEdit->setToolTip(
            tr("The key written into this repository's Signed-By field is kept as it is."));
}

SourceEditor::~SourceEditor() = default;

void SourceEditor::fillTypes()
{
    ui->typeComboBox->addItem(tr("Binary (deb)"), QStringLiteral("deb"));
    ui->typeComboBox->addItem(tr("Source (deb-src)"), QStringLiteral("deb-src"));
}

QString SourceEditor::problemWithInput() const
{
    const QString uri = ui->uriLineEdit->text().trimmed();
    if (uri.startsWith(QLatin1Char('[')))
        return tr("Options go into the Options field, not into the URI.");
    // A cdrom URI names its disc in brackets, blanks included.
    const QString outsideName =
        QString(uri).remove(QRegularExpression(QStringLiteral("^cdrom:\\[[^\\]]*\\]")));
    if (outsideName.contains(QLatin1Char('#')))
        return tr("The URI must not contain \"#\": APT would read the rest as a comment.");
    if (ui->distLineEdit->text().contains(QLatin1Char('#')) ||
        ui->sectionsLineEdit->text().contains(QLatin1Char('#')))
        return tr("The distribution and the sections must not contain \"#\": APT would read the rest as "
                  "a comment.");
    const QStringList suites = ui->distLineEdit->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // In a stanza, blanks separate several URIs or distributions; a line holds one of each.
    if (!m_entry.stanza &&
        (outsideName.contains(QRegularExpression(QStringLiteral("\\s"))) || suites.size() > 1))
        return tr("A repository line holds one URI and one distribution, without blanks.");
    // APT needs the method that fetches from a URI; a cdrom URI's disc name may hold blanks.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    const QStringList uris =
        QString(uri)
            .replace(QRegularExpression(QStringLiteral("cdrom:\\[[^\\]]*\\]")), QStringLiteral("cdrom:"))
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString& one : uris) {
        if (!scheme.match(one).hasMatch())
            return tr("The URI \"%1\" needs a method, such as \"https://\" or \"file:\".").arg(one);
    }
    const bool sectionless = ui->sectionsLineEdit->text().trimmed().isEmpty();
    for (const QString& suite : suites) {
        if (sectionless && !suite.endsWith(QLatin1Char('/')))
            return tr("The distribution \"%1\" needs at least one section, such as \"main\"; only a "
                      "distribution ending in \"/\" has none.")
                .arg(suite);
        if (!sectionless && suite.endsWith(QLatin1Char('/')))
            return tr("The distribution \"%1\" ends in \"/\": such a repository has no sections.").arg(suite);
    }
    const QStringList options = ui->optionsLineEdit->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& option : options) {
        const int equals = option.indexOf(QLatin1Char('='));
        if (equals < 1 || equals == option.size() - 1)
            return tr("The option \"%1\" is not of the form name=value.").arg(option);
        if (m_entry.keyBlock && option.startsWith(QLatin1String("signed-by=")))
            return tr("This repository's key is written into its file; signed-by cannot be set here.");
    }
    if (m_entry.keyBlock)
        return QString();
    SourceEntry typed;
    SourceList::setOptionsText(&typed, ui->optionsLineEdit->text());
    // A line's URI is one, blanks of a disc name included.
    return signedByConflict(m_entry.stanza ? uris : QStringList{uri}, suites, signedBy(typed));
}

QString SourceEditor::signedByConflict(const QStringList& uris, const QStringList& suites,
                                       const QString& signedBy) const
{
    for (const SourceEntry& other : m_others) {
        if (!other.enabled || !other.isUsable() || other.keyBlock || ::signedBy(other) == signedBy)
            continue;
        const QStringList otherUris = other.uri.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QStringList otherSuites = other.distribution.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& uri : uris) {
            for (const QString& suite : suites) {
                if (otherSuites.contains(suite) &&
                    std::any_of(otherUris.cbegin(), otherUris.cend(),
                                [&](const QString& o) { return withSlash(o) == withSlash(uri); })) {
                    if (::signedBy(other).isEmpty())
                        return tr("Another row of \"%1\" \"%2\" has no signed-by: APT takes only one "
                                  "signed-by for a URI and distribution.")
                            .arg(uri, suite);
                    return tr("Another row of \"%1\" \"%2\" has signed-by \"%3\": APT takes only one "
                              "signed-by for a URI and distribution.")
                        .arg(uri, suite, ::signedBy(other));
                }
            }
        }
    }
    return QString();
}

void SourceEditor::accept()
{
    // Said here, where it can be mended, rather than at OK in the settings window.
    const QString problem = problemWithInput();
    ui->problemLabel->setText(problem);
    if (!problem.isEmpty())
        return;
    m_entry.type = ui->typeComboBox->currentData().toString();
    m_entry.uri = ui->uriLineEdit->text();
    m_entry.distribution = ui->distLineEdit->text();
    m_entry.sections = ui->sectionsLineEdit->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    SourceList::setOptionsText(&m_entry, ui->optionsLineEdit->text());
    // Incomplete input is not refused: the entry is simply not a usable repository line.
    m_entry.valid = !m_entry.type.isEmpty() && !m_entry.uri.isEmpty() && !m_entry.distribution.isEmpty();
    QDialog::accept();
}
