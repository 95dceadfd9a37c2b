#include "helperjobdialog.h"
#include "ui_upgradedialog.h"

#include "base/messagebox.h"
#include "helpercontract.h"
#include "helperjobs.h"

#include <KAuth/ActionReply>
#include <KJob>

HelperJobDialog::HelperJobDialog(QWidget* parent) : QDialog(parent), ui(new Ui::UpgradeDialog)
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, [this] { m_failed ? reject() : accept(); });
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, [this] { handleAbort(); });
}

HelperJobDialog::~HelperJobDialog() = default;

int HelperJobDialog::runAction(const KAuth::Action& action)
{
    KJob* job =
        HelperJobs::current().execute(action, this, [this](const QVariantMap& data) { handleData(data); });
    connect(job, &KJob::result, this, [this](KJob* finished) { handleFinished(finished); });
    job->start();
    m_job = job;

    ui->buttonBox->setEnabled(true);
    ui->buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
    return QDialog::exec();
}

void HelperJobDialog::confirmAbort(const QString& question)
{
    if (!m_job)
        return;
    const auto answer =
        MessageBox::question(this, tr("Update Notifier"), question, QMessageBox::Yes | QMessageBox::No);
    // The job may have ended while the question was open: nothing is left to stop. (A stop
    // names its own request, so a late one could not reach another action either.)
    if (answer != QMessageBox::Yes || !m_job)
        return;
    HelperJobs::current().kill(m_job);
    ui->buttonBox->setEnabled(false);
}

std::optional<QString> HelperJobDialog::takeStatus(KJob* job)
{
    m_job = nullptr;
    if (job->error() == KAuth::ActionReply::UserCancelledError) {
        reject(); // the user closed the password prompt: nothing to explain
        return std::nullopt;
    }
    if (job->error() != 0) {
        m_failed = true;
        appendOutput(tr("Error: %1").arg(HelperJobs::failureReason(job)));
        showOk();
        return std::nullopt;
    }
    return HelperJobs::current().replyData(job).value(QLatin1String(HelperContract::MessageKey)).toString();
}

void HelperJobDialog::appendOutput(const QString& line)
{
    ui->textBrowser->append(
        QStringLiteral("<span style=\"white-space:pre-wrap\">%1</span>").arg(line.toHtmlEscaped()));
}

void HelperJobDialog::showOk()
{
    ui->buttonBox->setStandardButtons(QDialogButtonBox::Ok);
    ui->buttonBox->setEnabled(true);
}
