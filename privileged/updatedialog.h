#pragma once

#include <QDialog>
#include <QPointer>
#include <QVariantMap>
#include <memory>

class KJob;

namespace Ui {
class UpgradeDialog;
}

// Runs the helper's "update" action, which refreshes the package lists, and shows its log.
// Shares the upgrade dialog's form.
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateDialog(QWidget* parent = nullptr);
    ~UpdateDialog() override;

public Q_SLOTS:
    int exec(const QString& updateCommand);
    void abort();
    void onNewData(const QVariantMap& data);
    void onFinished(KJob* job);

private:
    std::unique_ptr<Ui::UpgradeDialog> ui;
    QPointer<KJob> m_job;
};
