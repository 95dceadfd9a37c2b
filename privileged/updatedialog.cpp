#include "updatedialog.h"
#include "ui_upgradedialog.h"

#include "helpercontract.h"
#include "helperjobs.h"
#include "messagebox.h"

#include <KJob>

using namespace HelperContract;

UpdateDialog::UpdateDialog(QWidget* parent) : QDialog(parent), ui(new Ui::UpgradeDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Updating package list"));

    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &UpdateDialog::abort);
}

UpdateDialog::~UpdateDialog() = default;

int UpdateDialog::exec(const QString& updateCommand)
{
    KAuth::Action action =
        makeAction(QLatin1String(UpdateAction), {{QLatin1String(UpdateCommandKey), updateCommand}}, this);
    KJob* job =
        HelperJobs::current().execute(action, this, [this](const QVariantMap& data) { onNewData(data); });
    connect(job, &KJob::result, this, &UpdateDialog::onFinished);
    job->start();
    m_job = job;

    ui->buttonBox->setEnabled(true);
    ui->buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
    return QDialog::exec();
}

void UpdateDialog::abort()
{
    if (!m_job)
        return;
    const auto answer =
        MessageBox::question(this, tr("Update Notifier"), tr("Really abort the package list update process?"),
                             QMessageBox::Yes | QMessageBox::No);
    // See UpgradeDialog::abort(): never stop a job that has already ended.
    if (answer != QMessageBox::Yes || !m_job)
        return;
    HelperJobs::current().kill(m_job);
    ui->buttonBox->setEnabled(false);
}

void UpdateDialog::onNewData(const QVariantMap& data)
{
    // Progress maps are ignored: a list update gives no useful percentage.
    const QString type = data.value(QLatin1String(TypeKey)).toString();
    if (type == QLatin1String(OutputType)) {
        ui->textBrowser->append(data.value(QLatin1String(OutputKey)).toString());
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
    m_job = nullptr;
    if (job->error() != 0) {
        reject();
        return;
    }
    const QString status = HelperJobs::current().replyData(job).value(QLatin1String(MessageKey)).toString();
    if (status == QLatin1String(SuccessStatus)) {
        ui->textBrowser->append(tr("<b>Update complete<\\b>"));
        accept();
    } else if (status == QLatin1String(FailedStatus)) {
        ui->textBrowser->append(tr("<b>Update failed<\\b>"));
    } else if (status == QLatin1String(CanceledStatus)) {
        ui->textBrowser->append(tr("<b>Update canceled<\\b>"));
        reject();
    } else if (status == QLatin1String(FailedToStartStatus)) {
        ui->textBrowser->append(tr("<b>Unable to start package tool<\\b>"));
    }
    ui->buttonBox->setStandardButtons(QDialogButtonBox::Ok);
    ui->buttonBox->setEnabled(true);
}
