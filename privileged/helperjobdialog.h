#pragma once

#include <KAuth/Action>
#include <QDialog>
#include <QPointer>
#include <memory>
#include <optional>

class KJob;

namespace Ui {
class UpgradeDialog;
}

// What the upgrade and the package-list update dialogs share: the form with its log,
// bar and buttons, running one helper action under the dialog, and stopping it.
class HelperJobDialog : public QDialog
{
    Q_OBJECT

protected:
    explicit HelperJobDialog(QWidget* parent);
    ~HelperJobDialog() override;

    // Starts `action` through the helper and runs the dialog until it closes.
    int runAction(const KAuth::Action& action);
    // Asks `question`; on Yes, stops the job if it still runs.
    void confirmAbort(const QString& question);
    // The end of the job: its reply status; or nothing when the helper refused or could not
    // be used, which the log then explains (the dialog stays until the user closes it, and
    // closing it counts as rejected).
    std::optional<QString> takeStatus(KJob* job);
    // Offers Ok once the job has ended.
    void showOk();
    // Adds a line of the package tools' output, shown as it is: never as markup.
    void appendOutput(const QString& line);

    virtual void handleData(const QVariantMap& data) = 0;
    virtual void handleFinished(KJob* job) = 0;
    virtual void handleAbort() = 0;

    std::unique_ptr<Ui::UpgradeDialog> ui;
    QPointer<KJob> m_job;

private:
    bool m_failed = false;
};
