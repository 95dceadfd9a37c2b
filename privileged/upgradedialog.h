#pragma once

#include "helperjobdialog.h"

#include <QVariantMap>

class KJob;

// Runs the helper's "upgrade" action, or its "repair" of an interrupted dpkg, and shows
// its log, progress and end.
class UpgradeDialog : public HelperJobDialog
{
    Q_OBJECT

public:
    explicit UpgradeDialog(QWidget* parent = nullptr);
    ~UpgradeDialog() override;

public Q_SLOTS:
    int exec(const QString& updateCommand, const QString& upgradeCommand, const QString& fixBrokenCommand);
    int execRepair(const QString& fixBrokenCommand);
    void abort();
    void onNewData(const QVariantMap& data);
    void onFinished(KJob* job);

private:
    void handleData(const QVariantMap& data) override { onNewData(data); }
    void handleFinished(KJob* job) override { onFinished(job); }
    void handleAbort() override { abort(); }

    bool m_repair = false;
};
