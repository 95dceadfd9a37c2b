#pragma once

#include "helperjobdialog.h"

#include <QVariantMap>

class KJob;

// Runs the helper's "update" action, which refreshes the package lists, and shows its log.
// Shares the upgrade dialog's form.
class UpdateDialog : public HelperJobDialog
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
    void handleData(const QVariantMap& data) override { onNewData(data); }
    void handleFinished(KJob* job) override { onFinished(job); }
    void handleAbort() override { abort(); }
};
