// What OK does: the per-user settings are written here, each system-wide part that changed
// goes to the privileged helper.
#include "settingsdialog.h"
#include "ui_settingsdialog.h"

#include "settingskeys.h"

#include "aptconf/aptconfig.h"
#include "base/messagebox.h"
#include "policy/commandpolicy.h"
#include "privileged/helpercontract.h"
#include "privileged/helperjobs.h"

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
    // Caught here, where it was typed, with nothing saved and the dialog kept open: a command
    // the helper would refuse (else found only at the next upgrade), or a repository row that
    // cannot be written (else it would silently vanish from its file).
    QString refusal = refusalOfCommands(gatherGlobalSettings());
    if (refusal.isEmpty())
        refusal = incompleteSourceRow();
    if (!refusal.isEmpty()) {
        reportFailure(tr("Nothing was saved: %1").arg(refusal));
        return;
    }
    m_saving = true;
    saveUserSettings();
    // A step that did not take effect keeps the dialog open with everything typed; the
    // steps that did are not sent again at the next OK.
    const bool saved = (m_aptConfig.isEmpty() || saveAptSettings()) && saveSources() && saveGlobalSettings();
    m_saving = false;
    if (saved)
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

QString SettingsDialog::incompleteSourceRow() const
{
    const QTreeWidget* tree = ui->sourcesTreeWidget;
    int shown = 0;
    for (int row = 0; row < tree->topLevelItemCount(); ++row) {
        const auto* item = dynamic_cast<const SourceItem*>(tree->topLevelItem(row));
        if (!item || item->isHidden())
            continue;
        ++shown;
        const SourceEntry& entry = item->entry();
        if (entry.isUsable())
            continue;
        const QString name = entry.uri.isEmpty() ? entry.type : entry.uri;
        if (entry.uri.isEmpty() && entry.distribution.isEmpty())
            return tr("repository row %1 (%2) has neither a URI nor a distribution.").arg(shown).arg(name);
        if (entry.uri.isEmpty())
            return tr("repository row %1 (%2) has no URI.").arg(shown).arg(name);
        if (entry.distribution.isEmpty())
            return tr("repository row %1 (%2) has no distribution.").arg(shown).arg(name);
        return tr("repository row %1 (%2) is not a repository line.").arg(shown).arg(name);
    }
    return QString();
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
    settings.setValue(key(NotifyInterval), intervalToSave(ui->notifyTimeEdit, m_notifyInterval));
    settings.setValue(key(AptCacheCheckInterval),
                      intervalToSave(ui->aptIntervalTimeEdit, m_aptCacheCheckInterval));
    settings.setValue(key(HideTray), ui->hideTrayCheckBox->isChecked());
    settings.setValue(key(HideTrayDelay), ui->hideTrayDelaySpinBox->value() * 1000);
    settings.setValue(key(HideTrayDeferred), ui->hideTrayDeferredCheckBox->isChecked());
    if (m_deferralReset)
        settings.setValue(key(SkipNotificationDelay), qint64(-1));
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        reportFailure(tr("Unable to save the settings to %1.").arg(settings.fileName()));
}

bool SettingsDialog::saveAptSettings()
{
    // Order within a list means nothing to unattended-upgrades, so only the values count; a
    // missing key and an empty value were shown alike, so they compare alike.
    const QMap<QString, QStringList> shown = aptValuesShown();
    QStringList changed;
    for (auto it = shown.cbegin(); it != shown.cend(); ++it) {
        if (sorted(it.value()) != sorted(m_aptShown.value(it.key())))
            changed.append(it.key());
    }
    if (changed.isEmpty())
        return true;

    // What the user did not change now is written as loaded, never as a control shows it.
    const QMultiMap<QString, QString> loaded(m_aptConfig);
    QStringList keys = m_ownAptKeys + changed;
    keys.removeDuplicates();
    QMultiMap<QString, QString> config;
    for (const QString& name : qAsConst(keys)) {
        QStringList values = changed.contains(name) ? shown.value(name) : QStringList(loaded.values(name));
        // One empty value makes the writer clear a list instead of leaving it out.
        if (values.isEmpty())
            values.append(QString());
        for (const QString& value : qAsConst(values))
            config.insert(name, value);
    }
    if (!runHelperAction(HelperContract::SetAptConfigAction,
                         {{QLatin1String(HelperContract::DataKey), generateAptConfig(config)}},
                         tr("Unable to write APT settings. Error: %1")))
        return false;
    m_aptShown = shown;
    m_ownAptKeys = keys;
    return true;
}

QList<SourceEntry> SettingsDialog::shownSources(const QTreeWidgetItem* except) const
{
    QList<SourceEntry> entries;
    const QTreeWidget* tree = ui->sourcesTreeWidget;
    for (int row = 0; row < tree->topLevelItemCount(); ++row) {
        const auto* item = dynamic_cast<const SourceItem*>(tree->topLevelItem(row));
        if (!item || item == except)
            continue;
        SourceEntry entry = item->entry();
        entry.enabled = item->checkState(0) == Qt::Checked;
        entries.append(entry);
    }
    return entries;
}

bool SettingsDialog::saveSources()
{
    const QList<SourceEntry> entries = shownSources();
    if (entries == m_sourceList.entries())
        return true;
    SourceList saved = m_sourceList;
    saved.setEntries(entries);
    const QVariantMap files = saved.toFileMap();
    if (files.isEmpty()) {
        m_sourceList = saved; // rows moved and moved back: nothing to write
        return true;
    }
    // What another program wrote meanwhile would be lost under the copy read at opening.
    const QStringList changedOnDisk = saved.changedOnDisk(files.keys());
    if (!changedOnDisk.isEmpty()) {
        reportFailure(
            tr("The repositories were not saved: another program changed %n list file(s) since this "
               "window read them: %1. Cancel and open the settings again to edit what they hold now.",
               nullptr, changedOnDisk.size())
                .arg(changedOnDisk.join(QLatin1String(", "))));
        return false;
    }
    if (!runHelperAction(
            HelperContract::SetSourceListAction,
            {{QLatin1String(HelperContract::DataKey), files},
             {QLatin1String(HelperContract::SourceDirKey), SourceList::listDirectory(m_aptConfig)}},
            tr("Unable to write source.list. Error: %1")))
        return false;
    saved.markWritten(files);
    m_sourceList = saved;
    return true;
}

bool SettingsDialog::saveGlobalSettings()
{
    const QVariantMap settings = gatherGlobalSettings();
    if (settings == m_globalSettings)
        return true;
    if (!runHelperAction(HelperContract::SetAppConfigAction, settings,
                         tr("Unable to save global configuration. Error: %1")))
        return false;
    m_globalSettings = settings;
    return true;
}

bool SettingsDialog::runHelperAction(const char* name, const QVariantMap& arguments,
                                     const QString& failureText)
{
    // exec() waits in a loop that leaves out user input, and the next action starts only
    // after this one ended: the helper takes one action at a time.
    KJob* job = HelperJobs::current().execute(HelperContract::makeAction(QLatin1String(name), arguments),
                                              this, [](const QVariantMap&) {});
    if (job->exec())
        return true;
    const int error = job->error();
    // The user said no, or gave up asking: nothing to tell them, and the dialog stays open
    // for another try or Cancel.
    if (error == KAuth::ActionReply::AuthorizationDeniedError ||
        error == KAuth::ActionReply::UserCancelledError)
        return false;
    // Anything else means the change was not made, which the user must learn.
    reportFailure(failureText.arg(HelperJobs::failureReason(job)));
    return false;
}

void SettingsDialog::reportFailure(const QString& text)
{
    MessageBox::critical(nullptr, tr("Error"), text);
}
