#include "upgradedialog.h"
#include "ui_upgradedialog.h"

#include "helpercontract.h"
#include "helperjobs.h"
#include "messagebox.h"
#include "platform/tarnintegration.h"
#include "progresslog.h"

#include <KJob>
#include <QAction>
#include <QPushButton>

using namespace HelperContract;

UpgradeDialog::UpgradeDialog(QWidget* parent) : QDialog(parent), ui(new Ui::UpgradeDialog)
{
    ui->setupUi(this);

    auto* help = new QAction(this);
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, [] { tarnHelpShow(QString()); });
    addAction(help);

    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &UpgradeDialog::abort);
}

UpgradeDialog::~UpgradeDialog() = default;

int UpgradeDialog::exec(const QString& updateCommand, const QString& upgradeCommand,
                        const QString& fixBrokenCommand)
{
    KAuth::Action action = makeAction(QLatin1String(UpgradeAction),
                                      {
                                          {QLatin1String(UpgradeCommandKey), withStatusFd(upgradeCommand)},
                                          {QLatin1String(FixBrokenCommandKey), fixBrokenCommand},
                                          {QLatin1String(UpdateCommandKey), updateCommand},
                                      },
                                      this);
    KJob* job =
        HelperJobs::current().execute(action, this, [this](const QVariantMap& data) { onNewData(data); });
    connect(job, &KJob::result, this, &UpgradeDialog::onFinished);
    job->start();
    m_job = job;

    ui->buttonBox->setEnabled(true);
    ui->buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
    return QDialog::exec();
}

void UpgradeDialog::abort()
{
    if (!m_job)
        return;
    const auto answer =
        MessageBox::question(this, tr("Update Notifier"), tr("Really abort the system upgrade process?"),
                             QMessageBox::Yes | QMessageBox::No);
    // The job may have ended while the question was open; a stop request sent now would stick
    // in the helper and cancel its next action.
    if (answer != QMessageBox::Yes || !m_job)
        return;
    HelperJobs::current().kill(m_job);
    ui->buttonBox->setEnabled(false);
}

void UpgradeDialog::onNewData(const QVariantMap& data)
{
    const QString type = data.value(QLatin1String(TypeKey)).toString();
    if (type == QLatin1String(OutputType)) {
        ui->textBrowser->append(data.value(QLatin1String(OutputKey)).toString());
    } else if (type == QLatin1String(MessageType)) {
        const QString message = data.value(QLatin1String(MessageKey)).toString();
        QString text;
        if (message == QLatin1String(UpdatingMessage))
            text = tr("<b>Updating package list...<\\b>");
        else if (message == QLatin1String(UpgradingMessage))
            text = tr("<b>Upgrading...<\\b>");
        else if (message == QLatin1String(FixingBrokenMessage))
            text = tr("<b>Fixing broken packages...<\\b>");
        else if (message == QLatin1String(WaitingMessage))
            text = tr("<b>Waiting...<\\b>");
        else if (message == QLatin1String(DisablingSecurityMessage))
            text = tr("Disabling security features");
        else if (message == QLatin1String(EnablingSecurityMessage))
            text = tr("Enabling security features");
        if (!text.isEmpty())
            ui->textBrowser->append(text);
    } else if (type == QLatin1String(ProgressType)) {
        if (const auto percent = ProgressLog::percentFrom(data.value(QLatin1String(ProgressKey))))
            ui->progressBar->setValue(*percent);
    }
}

void UpgradeDialog::onFinished(KJob* job)
{
    m_job = nullptr;
    if (job->error() != 0) {
        reject();
        return;
    }
    const QString status = HelperJobs::current().replyData(job).value(QLatin1String(MessageKey)).toString();
    if (status == QLatin1String(SuccessStatus)) {
        ui->textBrowser->append(tr("<b>Upgrade copmlete<\\b>"));
    } else if (status == QLatin1String(FailedStatus)) {
        ui->textBrowser->append(tr("<b>Upgrade failed<\\b>"));
    } else if (status == QLatin1String(CanceledStatus)) {
        ui->textBrowser->append(tr("<b>Upgrade canceled<\\b>"));
        reject();
    } else if (status == QLatin1String(FailedToStartStatus)) {
        ui->textBrowser->append(tr("<b>Unable to start package tool<\\b>"));
    }
    ui->buttonBox->setStandardButtons(QDialogButtonBox::Ok);
    ui->buttonBox->setEnabled(true);
}
