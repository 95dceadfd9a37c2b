#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

class QComboBox;

namespace Ui {
class OriginsPatternDialog;
}

// Edits the unattended-upgrade origin patterns. The rows are the patterns; the six fields
// below show the selected one and every edit in them rewrites that row at once. The rules of
// the older Allowed-Origins list, which apply as well, follow as rows that cannot be edited.
class OriginsPatternDialog : public QDialog
{
    Q_OBJECT

public:
    OriginsPatternDialog(const QStringList& patterns, const QStringList& allowedOrigins,
                         QWidget* parent = nullptr);
    ~OriginsPatternDialog() override;

    // The pattern rows in order, empty ones left out.
    QStringList patterns() const;

private Q_SLOTS:
    void on_addPatternButton_clicked();
    void on_removePatternButton_clicked();
    void on_patternsListWidget_currentRowChanged(int currentRow);
    void onEditTextChanged();

private:
    QList<QComboBox*> fields() const;

    std::unique_ptr<Ui::OriginsPatternDialog> ui;
};
