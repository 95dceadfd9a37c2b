#include "updatedialog.h"
#include "ui_upgradedialog.h"

#include "helpercontract.h"

#include <KJob>

using namespace HelperContract;

UpdateDialog::UpdateDialog(QWidget* parent) : HelperJobDialog(parent)
{
    setWindowTitle(tr("Updating package list"));
}

UpdateDialog::~UpdateDialog() = default;

int UpdateDialog::exec(const QString& updateCommand)
{
    KAuth::Action action =
        makeAction(QLatin1String(UpdateAction), {{QLatin1String(UpdateCommandKey), updateCommand}}, this);
    return runAction(action);
}

void UpdateDialog::abort()
{
    confirmAbort(tr("Really abort the package list update process?"));
}

void UpdateDialog::onNewData(const QVariantMap& data)
{
    // Progress maps are ignored: a list update gives no useful percentage.
    const QString type = data.value(QLatin1String(TypeKey)).toString();
    if (type == QLatin1String(OutputType)) {
        appendOutput(data.value(QLatin1String(OutputKey)).toString());
    } else if (type == QLatin1String(MessageType)) {
        const QString message = data.value(QLatin1String(MessageKey)).toString();
        if (message == QLatin1String(UpdatingMessage))
            ui->textBrowser->append(tr("<b>Updating...<\\b>"));
        else if (message == QLatin1String(WaitingMessage))
            ui->textBrowser->append(tr("<b>Waiting...<\\b>"));
    }
}

void UpdateDialog::onFinished(KJob* job)
{
    const std::optional<QString> status = takeStatus(job);
    if (!status)
        return;
    if (*status == QLatin1String(SuccessStatus)) {
        ui->textBrowser->append(tr("<b>Update complete<\\b>"));
        accept();
    } else if (*status == QLatin1String(FailedStatus)) {
        ui->textBrowser->append(tr("<b>Update failed<\\b>"));
    } else if (*status == QLatin1String(CanceledStatus)) {
        ui->textBrowser->append(tr("<b>Update canceled<\\b>"));
        reject();
    } else if (*status == QLatin1String(FailedToStartStatus)) {
        ui->textBrowser->append(tr("<b>Unable to start package tool<\\b>"));
    }
    showOk();
}
