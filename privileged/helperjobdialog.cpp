#include "helperjobdialog.h"
#include "ui_upgradedialog.h"

#include "helpercontract.h"
#include "helperjobs.h"
#include "messagebox.h"

#include <KJob>

HelperJobDialog::HelperJobDialog(QWidget* parent) : QDialog(parent), ui(new Ui::UpgradeDialog)
{
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
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
    // The job may have ended while the question was open; a stop request sent now would stick
    // in the helper and cancel its next action.
    if (answer != QMessageBox::Yes || !m_job)
        return;
    HelperJobs::current().kill(m_job);
    ui->buttonBox->setEnabled(false);
}

std::optional<QString> HelperJobDialog::takeStatus(KJob* job)
{
    m_job = nullptr;
    if (job->error() != 0) {
        reject();
        return std::nullopt;
    }
    return HelperJobs::current().replyData(job).value(QLatin1String(HelperContract::MessageKey)).toString();
}

void HelperJobDialog::showOk()
{
    ui->buttonBox->setStandardButtons(QDialogButtonBox::Ok);
    ui->buttonBox->setEnabled(true);
}
