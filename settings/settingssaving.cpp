// What OK does: the per-user settings are written here, each system-wide part that changed
// goes to the privileged helper.
#include "settingsdialog.h"
#include "ui_settingsdialog.h"

#include "settingskeys.h"

#include "aptconf/aptconfig.h"
#include "policy/commandpolicy.h"
#include "privileged/helpercontract.h"
#include "privileged/helperjobs.h"
#include "privileged/messagebox.h"

#include <KAuth/ActionReply>
#include <KJob>
#include <QMultiMap>
#include <QSettings>

using namespace SettingsKeys;

namespace {

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

int msecsOf(const QTime& time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() : 0;
}

QStringList sorted(QStringList values)
{
    values.sort();
    return values;
}

} // namespace

void SettingsDialog::accept()
{
    if (m_saving)
        return;
    // A command the helper would refuse is caught here, where it was typed, not at the next
    // upgrade; nothing is saved and the dialog stays open.
    const QString refusal = refusalOfCommands(gatherGlobalSettings());
    if (!refusal.isEmpty()) {
        reportFailure(tr("Nothing was saved: %1").arg(refusal));
        return;
    }
    m_saving = true;
    saveUserSettings();
    if (!m_aptConfig.isEmpty())
        saveAptSettings();
    saveSources();
    saveGlobalSettings();
    m_saving = false;
    QDialog::accept();
}

QString SettingsDialog::refusalOfCommands(const QVariantMap& settings) const
{
    if (settings == m_globalSettings)
        return QString(); // as stored: not this dialog's mistake
    const auto text = [&settings](const char* key) { return settings.value(QLatin1String(key)).toString(); };
    QString refusal = refusalOfCommand(CommandRole::Upgrade, text(HelperContract::UpgradeCommandSettingKey));
    if (refusal.isEmpty())
        refusal = refusalOfCommand(CommandRole::FixBroken, text(HelperContract::FixBrokenCommandSettingKey));
    if (refusal.isEmpty())
        refusal = refusalOfPackageManagerCommand(text(HelperContract::PackageManagerKey));
    return refusal;
}

void SettingsDialog::reject()
{
    // Waiting for the helper runs an event loop in which a close request may arrive.
    if (m_saving)
        return;
    QDialog::reject();
}

void SettingsDialog::saveUserSettings()
{
    QSettings settings;
    settings.beginGroup(key(General));
    settings.setValue(key(ShowMessage), ui->showMessageCheckBox->isChecked());
    settings.setValue(key(MessageTimeout), ui->messageTimeoutSpinBox->value() * 1000);
    settings.setValue(key(NotifyInterval), msecsOf(ui->notifyTimeEdit->time()));
    settings.setValue(key(AptCacheCheckInterval), msecsOf(ui->aptIntervalTimeEdit->time()));
    settings.setValue(key(HideTray), ui->hideTrayCheckBox->isChecked());
    settings.setValue(key(HideTrayDelay), ui->hideTrayDelaySpinBox->value() * 1000);
    settings.setValue(key(HideTrayDeferred), ui->hideTrayDeferredCheckBox->isChecked());
    settings.setValue(key(SkipNotificationDelay), m_skipNotificationDelay);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        reportFailure(tr("Unable to save the settings to %1.").arg(settings.fileName()));
}

void SettingsDialog::saveAptSettings()
{
    QMultiMap<QString, QString> config;
    config.insert(key(PeriodicEnable),
                  ui->enableCheckBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    config.insert(key(UpdatePackageLists), QString::number(ui->updatePackageListsSpinBox->value()));
    config.insert(key(DownloadUpgradeablePackages),
                  QString::number(ui->downloadUpgradeablePackagesSpinBox->value()));
    config.insert(key(UnattendedUpgrade), QString::number(ui->unattendedUpgradeSpinBox->value()));
    config.insert(key(AutocleanInterval), QString::number(ui->autocleanIntervalSpinBox->value()));
    // A level the list cannot show is written back as it was set, never as "-1", which
    // neither APT nor the helper takes.
    const int verbose = ui->verboseComboBox->currentIndex();
    config.insert(key(Verbose), verbose >= 0 ? QString::number(verbose) : m_aptConfig.value(key(Verbose)));
    config.insert(key(Mail), ui->mailLineEdit->text());
    for (const QString& pattern : qAsConst(m_originPatterns))
        config.insert(key(OriginsPattern), pattern);
    for (const QString& package : qAsConst(m_ignoredPackages))
        config.insert(key(PackageBlacklist), package);

    // Order within a list means nothing to unattended-upgrades, so only the values count;
    // a key the loaded configuration lacks always differs.
    QStringList keys = config.uniqueKeys();
    keys << key(OriginsPattern) << key(PackageBlacklist);
    keys.removeDuplicates();
    const QMultiMap<QString, QString> loaded(m_aptConfig);
    bool changed = false;
    for (const QString& name : qAsConst(keys)) {
        if (sorted(loaded.values(name)) != sorted(config.values(name))) {
            changed = true;
            break;
        }
    }
    if (!changed)
        return;

    // One empty value makes the writer clear the list instead of leaving it out.
    if (m_originPatterns.isEmpty())
        config.insert(key(OriginsPattern), QString());
    if (m_ignoredPackages.isEmpty())
        config.insert(key(PackageBlacklist), QString());
    runHelperAction(HelperContract::SetAptConfigAction,
                    {{QLatin1String(HelperContract::DataKey), generateAptConfig(config)}},
                    tr("Unable to write APT settings. Error: %1"));
}

void SettingsDialog::saveSources()
{
    QList<SourceEntry> entries;
    QTreeWidget* tree = ui->sourcesTreeWidget;
    for (int row = 0; row < tree->topLevelItemCount(); ++row) {
        auto* item = dynamic_cast<SourceItem*>(tree->topLevelItem(row));
        if (!item)
            continue;
        SourceEntry entry = item->entry();
        entry.enabled = item->checkState(0) == Qt::Checked;
        entries.append(entry);
    }
    if (entries == m_sourceList.entries())
        return;
    m_sourceList.setEntries(entries);
    runHelperAction(HelperContract::SetSourceListAction,
                    {{QLatin1String(HelperContract::DataKey), m_sourceList.toFileMap()},
                     {QLatin1String(HelperContract::SourceDirKey), SourceList::listDirectory(m_aptConfig)}},
                    tr("Unable to write source.list. Error: %1"));
}

void SettingsDialog::saveGlobalSettings()
{
    const QVariantMap settings = gatherGlobalSettings();
    if (settings == m_globalSettings)
        return;
    m_globalSettings = settings;
    runHelperAction(HelperContract::SetAppConfigAction, settings,
                    tr("Unable to save global configuration. Error: %1"));
}

void SettingsDialog::runHelperAction(const char* name, const QVariantMap& arguments,
                                     const QString& failureText)
{
    // exec() waits in a loop that leaves out user input, and the next action starts only
    // after this one ended: the helper takes one action at a time.
    KJob* job = HelperJobs::current().execute(HelperContract::makeAction(QLatin1String(name), arguments),
                                              this, [](const QVariantMap&) {});
    if (job->exec())
        return;
    const int error = job->error();
    // The user said no, or gave up asking: nothing to tell them.
    if (error == KAuth::ActionReply::AuthorizationDeniedError ||
        error == KAuth::ActionReply::UserCancelledError)
        return;
    // Anything else means the change was not made, which the user must learn.
    reportFailure(failureText.arg(HelperJobs::failureReason(job)));
}

void SettingsDialog::reportFailure(const QString& text)
{
    MessageBox::critical(nullptr, tr("Error"), text);
}
