#pragma once

#include "aptconf/sourcelist.h"

#include <QDialog>
#include <memory>

namespace Ui {
class SourceEditor;
}

// Adds or edits one repository line on a copy of its entry; the caller takes entry() back
// only when the dialog was accepted.
class SourceEditor : public QDialog
{
    Q_OBJECT

public:
    // For a new repository: every field empty.
    explicit SourceEditor(QWidget* parent = nullptr);
    // For an existing one. Fields the editor does not show pass through unchanged.
    explicit SourceEditor(const SourceEntry& entry, QWidget* parent = nullptr);
    ~SourceEditor() override;

    SourceEntry entry() const { return m_entry; }
    // The window's other rows: APT takes only one signed-by for a URI and distribution.
    void setOtherRows(const QList<SourceEntry>& rows) { m_others = rows; }

public Q_SLOTS:
    void accept() override;

private:
    void fillTypes();
    // Why APT would refuse what the fields hold; empty when it would take it.
    QString problemWithInput() const;
    // Why an enabled other row of the same URI and distribution refuses `signedBy`.
    QString signedByConflict(const QStringList& uris, const QStringList& suites,
                             const QString& signedBy) const;

    std::unique_ptr<Ui::SourceEditor> ui;
    SourceEntry m_entry;
    QList<SourceEntry> m_others;
};
