#pragma once

#include <QDialog>
#include <QPointer>
#include <QVariantMap>
#include <memory>

class KJob;

namespace Ui {
class UpgradeDialog;
}

// Runs the helper's "upgrade" action and shows its log, progress and end.
class UpgradeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UpgradeDialog(QWidget* parent = nullptr);
    ~UpgradeDialog() override;

public Q_SLOTS:
    int exec(const QString& updateCommand, const QString& upgradeCommand, const QString& fixBrokenCommand);
    void abort();
    void onNewData(const QVariantMap& data);
    void onFinished(KJob* job);

private:
    std::unique_ptr<Ui::UpgradeDialog> ui;
    QPointer<KJob> m_job;
};
