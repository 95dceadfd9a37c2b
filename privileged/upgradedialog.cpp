#include "upgradedialog.h"
#include "ui_upgradedialog.h"

#include "helpercontract.h"
#include "helperjobs.h"
#include "platform/tarnintegration.h"
#include "progresslog.h"

#include <KJob>
#include <QAction>
#include <QPushButton>

using namespace HelperContract;

UpgradeDialog::UpgradeDialog(QWidget* parent) : HelperJobDialog(parent)
{
    tarnAddHelpShortcut(this);
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
    return runAction(action);
}

int UpgradeDialog::execRepair(const QString& fixBrokenCommand)
{
    m_repair = true;
    setWindowTitle(tr("Repairing the package system"));
    KAuth::Action action = makeAction(QLatin1String(RepairAction),
                                      {{QLatin1String(FixBrokenCommandKey), fixBrokenCommand}}, this);
    return runAction(action);
}

void UpgradeDialog::abort()
{
    confirmAbort(m_repair ? tr("Really abort the repair of the package system?")
                          : tr("Really abort the system upgrade process?"));
}

void UpgradeDialog::onNewData(const QVariantMap& data)
{
    const QString type = data.value(QLatin1String(TypeKey)).toString();
    if (type == QLatin1String(OutputType)) {
        appendOutput(data.value(QLatin1String(OutputKey)).toString());
    } else if (type == QLatin1String(MessageType)) {
        const QString message = data.value(QLatin1String(MessageKey)).toString();
        QString text;
        if (message == QLatin1String(UpdatingMessage))
            text = tr("<b>Updating package list...<\\b>");
        else if (message == QLatin1String(UpgradingMessage))
            text = tr("<b>Upgrading...<\\b>");
        else if (message == QLatin1String(FixingBrokenMessage))
            text = tr("<b>Fixing broken packages...<\\b>");
        else if (message == QLatin1String(RepairingMessage))
            text = tr("<b>Repairing the package system...</b>");
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
    const bool dpkgInterrupted =
        HelperJobs::current().replyData(job).value(QLatin1String(DpkgInterruptedKey)).toBool();
    const std::optional<QString> status = takeStatus(job);
    if (!status)
        return;
    if (dpkgInterrupted) {
        // Every later upgrade fails until dpkg has finished: the dialog stays to say so.
        ui->textBrowser->append(QStringLiteral("<b>%1</b>").arg(tr("Packages were left half installed.")));
        appendOutput(tr("Run \"dpkg --configure -a\" as root to finish their setup."));
    } else if (*status == QLatin1String(SuccessStatus)) {
        // dpkg's last status line comes before its last step: the bar would stay short of the end.
        ui->progressBar->setValue(ui->progressBar->maximum());
        ui->textBrowser->append(m_repair ? tr("<b>Repair complete</b>") : tr("<b>Upgrade complete<\\b>"));
    } else if (*status == QLatin1String(FailedStatus)) {
        ui->textBrowser->append(m_repair ? tr("<b>Repair failed</b>") : tr("<b>Upgrade failed<\\b>"));
    } else if (*status == QLatin1String(CanceledStatus)) {
        ui->textBrowser->append(m_repair ? tr("<b>Repair canceled</b>") : tr("<b>Upgrade canceled<\\b>"));
        reject();
        return;
    } else if (*status == QLatin1String(FailedToStartStatus)) {
        ui->textBrowser->append(tr("<b>Unable to start package tool<\\b>"));
    }
    showOk();
}
