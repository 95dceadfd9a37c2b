#include "settingsdialog.h"
#include "ui_settingsdialog.h"

#include "aptconfigreading.h"
#include "originspatterndialog.h"
#include "packageblacklistdialog.h"
#include "settingskeys.h"
#include "sourceeditor.h"

#include "aptconf/aptconfig.h"
#include "aptconf/periodicvalue.h"
#include "base/commands.h"
#include "base/messagebox.h"
#include "base/systempaths.h"
#include "platform/tarnintegration.h"
#include "privileged/helpercontract.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QKeySequence>
#include <QMultiMap>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <algorithm>

using namespace SettingsKeys;

namespace {

const QString DateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

// Only repository rows are shown; comments and blank lines stay in the tree, hidden, so that
// they keep their places in the files.
void hideUnlessRepository(QTreeWidgetItem* item)
{
    const auto* source = dynamic_cast<const SourceItem*>(item);
    item->setHidden(source && !source->entry().valid);
}

// The editors inside spin boxes and combo boxes change together with their owners, whose
// own signals are tracked.
bool isInnerEditor(const QWidget* widget)
{
    const QWidget* owner = widget->parentWidget();
    return qobject_cast<const QAbstractSpinBox*>(owner) || qobject_cast<const QComboBox*>(owner);
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent), ui(new Ui::SettingsDialog)
{
    // APT answers while the widgets are built; its values are in place before the dialog shows.
    AptConfigReading aptConfig;
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    ui->AUSGroupBox->hide();
    m_unattendedUpgradesInstalled = QFile::exists(SystemPaths::current().unattendedUpgrades);
    ui->warningLabel->setVisible(!m_unattendedUpgradesInstalled);
    adjustSize();

    // A bare X session has no icon theme: Qt's own arrows stand in for the theme's.
    ui->moveUpSourceButton->setIcon(
        QIcon::fromTheme(QStringLiteral("go-up"), style()->standardIcon(QStyle::SP_ArrowUp)));
    ui->moveDownSourceButton->setIcon(
        QIcon::fromTheme(QStringLiteral("go-down"), style()->standardIcon(QStyle::SP_ArrowDown)));
    ui->moveUpSourceButton->setEnabled(false);
    ui->moveDownSourceButton->setEnabled(false);
    ui->removeSourceButton->setEnabled(false);
    ui->editSourceButton->setEnabled(false);

    loadUserSettings();
    loadGlobalSettings();
    m_globalSettings = gatherGlobalSettings();
    connect(ui->checkForUpdatesButton, &QPushButton::clicked, this, &SettingsDialog::checkForUpdatesRequest);
    loadAptSettings(&aptConfig);
    loadSources();
    trackChanges();

    tarnAddHelpShortcut(this);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::setUpgradablePackagesCount(int count)
{
    ui->updatesStatusLabel->setText(tr("Number of the upgradable packages: %1").arg(count));
}

void SettingsDialog::loadUserSettings()
{
    QSettings settings;
    settings.beginGroup(key(General));
    ui->showMessageCheckBox->setChecked(settings.value(key(ShowMessage), true).toBool());
    ui->messageTimeoutSpinBox->setValue(settings.value(key(MessageTimeout), 15000).toInt() / 1000);
    showInterval(ui->notifyTimeEdit, settings.value(key(NotifyInterval), 1800000).toInt(), &m_notifyInterval);
    showInterval(ui->aptIntervalTimeEdit, settings.value(key(AptCacheCheckInterval), 1800000).toInt(),
                 &m_aptCacheCheckInterval);
    ui->hideTrayCheckBox->setChecked(settings.value(key(HideTray), true).toBool());
    ui->hideTrayDelaySpinBox->setValue(settings.value(key(HideTrayDelay), 5000).toInt() / 1000);
    ui->hideTrayDeferredCheckBox->setChecked(settings.value(key(HideTrayDeferred), false).toBool());
    const qint64 skipNotificationDelay = settings.value(key(SkipNotificationDelay), qint64(-1)).toLongLong();
    const QDateTime since = settings.value(key(SkipNotificationSince)).toDateTime();

    // The same rule as the tray's: a delay without a start counts from now.
    const QDateTime now = QDateTime::currentDateTime();
    if (skipNotificationDelay > 0 && since.secsTo(now) < skipNotificationDelay) {
        ui->nextCheckLabel->setText(tr("Notification is deferred to %1")
                                        .arg(since.addSecs(skipNotificationDelay).toString(DateTimeFormat)));
        ui->notifyTimeEdit->setEnabled(false);
    } else {
        showNextNotification();
        ui->resetDeferredNotificationButton->setEnabled(false);
    }
}

void SettingsDialog::showInterval(QTimeEdit* edit, int stored, StoredInterval* interval)
{
    // A time edit shows less than a day; the nearest it can show stands for the rest.
    const int msecs = qBound(edit->minimumTime().msecsSinceStartOfDay(), stored,
                             edit->maximumTime().msecsSinceStartOfDay());
    edit->setTime(QTime::fromMSecsSinceStartOfDay(msecs));
    interval->stored = stored;
    interval->shown = edit->time();
    if (msecs != stored)
        edit->setToolTip(tr("The stored interval is %n second(s), which this field cannot show; it is kept "
                            "unless you change this field.",
                            nullptr, stored / 1000));
}

int SettingsDialog::intervalToSave(const QTimeEdit* edit, const StoredInterval& interval)
{
    const QTime time = edit->time();
    if (time == interval.shown)
        return interval.stored;
    return time.isValid() ? time.msecsSinceStartOfDay() : 0;
}

void SettingsDialog::showNextNotification()
{
    const QTime interval = ui->notifyTimeEdit->time();
    const QDateTime next =
        QDateTime::currentDateTime().addMSecs(interval.isValid() ? interval.msecsSinceStartOfDay() : 0);
    ui->nextCheckLabel->setText(tr("Next notification will be at %1").arg(next.toString(DateTimeFormat)));
}

void SettingsDialog::loadGlobalSettings()
{
    const auto value = [](const char* name, int defaultIndex) {
        return globalCommand(QLatin1String(name), defaultIndex);
    };
    ui->PMToolLineEdit->setText(value(HelperContract::PackageManagerKey, PackageManagerCommandIndex));
    ui->upgCmdLineEdit->setText(value(HelperContract::UpgradeCommandSettingKey, UpgradeCommandIndex));
    ui->fixBrokenCmdLineEdit->setText(
        value(HelperContract::FixBrokenCommandSettingKey, FixBrokenCommandIndex));
}

void SettingsDialog::loadAptSettings(AptConfigReading* reading)
{
    bool ok = false;
    QString error;
    m_aptConfig = reading->result(&ok, &error);
    if (!ok) {
        m_aptConfig.clear();
        ui->enableCheckBox->setChecked(false);
        ui->enableCheckBox->setEnabled(false);
        // Nothing of APT's is written after a failed read, so nothing may be edited either.
        ui->originsPatternButton->setEnabled(false);
        ui->packageBlackListButton->setEnabled(false);
        MessageBox::critical(nullptr, tr("Error"), tr("Unable to read APT settings. Error: %1").arg(error));
        return;
    }
    const QMultiMap<QString, QString> config(m_aptConfig);
    ui->enableCheckBox->setChecked(PeriodicValue::isEnabled(config.value(key(PeriodicEnable))));
    for (const auto& [name, box] : periodicSpinBoxes())
        box->setValue(PeriodicValue::intervalDays(config.value(key(name)), box->maximum()));
    ui->verboseComboBox->setCurrentIndex(config.value(key(Verbose)).toInt());
    ui->mailLineEdit->setText(config.value(key(Mail)));
    // Newest first, which is the reverse of APT's order; saving turns it round again.
    m_originPatterns = config.values(key(OriginsPattern));
    m_ignoredPackages = config.values(key(PackageBlacklist));
    m_allowedOrigins = config.values(key(AllowedOrigins));
    std::reverse(m_allowedOrigins.begin(), m_allowedOrigins.end());
    m_aptShown = aptValuesShown();
    noteValuesKeptAsSet();
    // Only what the user set through this dialog is written to the notifier's file, which
    // APT reads last: keys it already holds stay in it, the others stay the distribution's.
    QFile own(ownAptConfigPath());
    if (own.open(QIODevice::ReadOnly))
        m_ownAptKeys = aptConfigFileKeys(own.readAll());
}

void SettingsDialog::noteValuesKeptAsSet()
{
    const QMultiMap<QString, QString> config(m_aptConfig);
    const auto note = [&](QWidget* control, const char* name, const QString& shown) {
        const QString value = config.value(key(name));
        if (!value.isEmpty() && shown != value)
            control->setToolTip(
                tr("APT's configuration sets \"%1\", which this field cannot show exactly; it "
                   "is kept as set unless you change this field.")
                    .arg(value));
    };
    const auto shown = [this](const char* name) { return m_aptShown.value(key(name)).value(0); };
    note(ui->enableCheckBox, PeriodicEnable, shown(PeriodicEnable));
    for (const auto& [name, box] : periodicSpinBoxes())
        note(box, name, shown(name));
    // A level the list lacks is kept as set (see aptValuesShown()), yet the list shows none.
    const int verbose = ui->verboseComboBox->currentIndex();
    note(ui->verboseComboBox, Verbose, verbose >= 0 ? QString::number(verbose) : QString());
}

std::vector<std::pair<const char*, QSpinBox*>> SettingsDialog::periodicSpinBoxes() const
{
    return {{UpdatePackageLists, ui->updatePackageListsSpinBox},
            {DownloadUpgradeablePackages, ui->downloadUpgradeablePackagesSpinBox},
            {UnattendedUpgrade, ui->unattendedUpgradeSpinBox},
            {AutocleanInterval, ui->autocleanIntervalSpinBox}};
}

QMap<QString, QStringList> SettingsDialog::aptValuesShown() const
{
    QMap<QString, QStringList> values;
    const auto set = [&](const char* name, const QString& value) { values.insert(key(name), {value}); };
    set(PeriodicEnable, ui->enableCheckBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    for (const auto& [name, box] : periodicSpinBoxes())
        set(name, QString::number(box->value()));
    // A level the list cannot show is written back as it was set, never as the list's "-1"
    // for no row, which would change it.
    const int verbose = ui->verboseComboBox->currentIndex();
    set(Verbose, verbose >= 0 ? QString::number(verbose) : m_aptConfig.value(key(Verbose)));
    set(Mail, ui->mailLineEdit->text());
    values.insert(key(OriginsPattern), m_originPatterns);
    values.insert(key(PackageBlacklist), m_ignoredPackages);
    return values;
}

void SettingsDialog::loadSources()
{
    // Without APT's configuration the list locations are unknown; reading and rewriting
    // whatever lies at the paths made from nothing could only do harm.
    if (m_aptConfig.isEmpty()) {
        ui->repositoriesTab->setEnabled(false);
        return;
    }
    m_sourceList.load(m_aptConfig);
    QTreeWidget* tree = ui->sourcesTreeWidget;
    for (const SourceEntry& entry : qAsConst(m_sourceList.entries())) {
        auto* item = new SourceItem(entry);
        tree->addTopLevelItem(item);
        hideUnlessRepository(item);
    }
    for (int column = 0; column < tree->columnCount(); ++column)
        tree->resizeColumnToContents(column);
}

void SettingsDialog::trackChanges()
{
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &SettingsDialog::enableOk);
    for (QSpinBox* box : findChildren<QSpinBox*>())
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, &SettingsDialog::enableOk);
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (!isInnerEditor(edit))
            connect(edit, &QLineEdit::textChanged, this, &SettingsDialog::enableOk);
    }
    for (QComboBox* box : findChildren<QComboBox*>()) {
        connect(box, &QComboBox::currentTextChanged, this, &SettingsDialog::enableOk);
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &SettingsDialog::enableOk);
    }
    for (QTimeEdit* edit : findChildren<QTimeEdit*>())
        connect(edit, &QTimeEdit::timeChanged, this, &SettingsDialog::enableOk);
    for (QTreeWidget* tree : findChildren<QTreeWidget*>())
        connect(tree, &QTreeWidget::itemChanged, this, &SettingsDialog::enableOk);
}

void SettingsDialog::enableOk()
{
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(true);
}

bool SettingsDialog::hasNonInteractiveOption(const QString& command)
{
    // A substring test, as the option may be bundled with others ("-fy").
    return command.contains(QLatin1String("-y")) || command.contains(QLatin1String("--yes")) ||
           command.contains(QLatin1String("--assume-yes"));
}

QString SettingsDialog::addNonInteractiveOption(const QString& command)
{
    QStringList words = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return QString();
    words.insert(1, QStringLiteral("-y"));
    return words.join(QLatin1Char(' '));
}

void SettingsDialog::checkCommandsInteractivity()
{
    const bool upgradeOk = hasNonInteractiveOption(ui->upgCmdLineEdit->text());
    const bool fixBrokenOk = hasNonInteractiveOption(ui->fixBrokenCmdLineEdit->text());
    if (upgradeOk && fixBrokenOk)
        return;
    MessageBox::information(
        nullptr, tr("Attention!"),
        tr("Interactivity is not supported yet.\n") +
            tr("The upgrade and fix commands must contain \na non-interactive option and it "
               "will be added."));
    const struct
    {
        bool ok;
        QLineEdit* edit;
        QString failure;
    } commands[] = {
        {upgradeOk, ui->upgCmdLineEdit, tr("Unable to add non-interactive option \nto upgrade command")},
        {fixBrokenOk, ui->fixBrokenCmdLineEdit,
         tr("Unable to add non-interactive option \nto fix broken command")},
    };
    for (const auto& command : commands) {
        if (command.ok)
            continue;
        const QString fixed = addNonInteractiveOption(command.edit->text());
        if (fixed.isEmpty())
            MessageBox::critical(nullptr, tr("Error"), command.failure);
        else
            command.edit->setText(fixed);
    }
}

QVariantMap SettingsDialog::gatherGlobalSettings()
{
    checkCommandsInteractivity();
    return {
        {QLatin1String(HelperContract::PackageManagerKey), ui->PMToolLineEdit->text()},
        {QLatin1String(HelperContract::UpgradeCommandSettingKey), ui->upgCmdLineEdit->text()},
        {QLatin1String(HelperContract::FixBrokenCommandSettingKey), ui->fixBrokenCmdLineEdit->text()},
    };
}

void SettingsDialog::on_morePushButton_toggled(bool checked)
{
    ui->AUSGroupBox->setVisible(checked);
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        adjustSize();
}

void SettingsDialog::on_runPMButton_clicked()
{
    emit runPackageManagerRequest(ui->PMToolLineEdit->text());
}

void SettingsDialog::on_enableCheckBox_toggled(bool checked)
{
    // Unattended upgrades need their package; the other periodic tasks are APT's own.
    ui->unattendedUpgradeSpinBox->setEnabled(checked && m_unattendedUpgradesInstalled);
}

void SettingsDialog::on_originsPatternButton_clicked()
{
    OriginsPatternDialog dialog(m_originPatterns, m_allowedOrigins, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_originPatterns = dialog.patterns();
    enableOk();
}

void SettingsDialog::on_packageBlackListButton_clicked()
{
    PackageBlackListDialog dialog(m_ignoredPackages, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_ignoredPackages = dialog.packages();
    enableOk();
}

void SettingsDialog::on_sourcesTreeWidget_currentItemChanged(QTreeWidgetItem*, QTreeWidgetItem*)
{
    updateSourceButtons();
}

void SettingsDialog::updateSourceButtons()
{
    QTreeWidget* tree = ui->sourcesTreeWidget;
    QTreeWidgetItem* current = tree->currentItem();
    const bool any = current && !current->isHidden();
    const int row = tree->indexOfTopLevelItem(current);
    ui->moveUpSourceButton->setEnabled(any && sourceMoveTarget(row, -1) >= 0);
    ui->moveDownSourceButton->setEnabled(any && sourceMoveTarget(row, +1) >= 0);
    ui->removeSourceButton->setEnabled(any);
    ui->editSourceButton->setEnabled(any);
}

int SettingsDialog::sourceMoveTarget(int row, int step) const
{
    const QTreeWidget* tree = ui->sourcesTreeWidget;
    const auto fileOf = [tree, this](int index) {
        const auto* item = dynamic_cast<const SourceItem*>(tree->topLevelItem(index));
        const QString file = item ? item->entry().file : QString();
        return file.isEmpty() ? m_sourceList.sourceListPath() : file;
    };
    if (row < 0)
        return -1;
    int target = row + step;
    while (target >= 0 && target < tree->topLevelItemCount() && tree->topLevelItem(target)->isHidden())
        target += step;
    // The order of the rows is the order within each file: a row never moves to another file.
    if (target < 0 || target >= tree->topLevelItemCount() || fileOf(target) != fileOf(row))
        return -1;
    return target;
}

void SettingsDialog::on_moveUpSourceButton_clicked()
{
    moveSource(-1);
}

void SettingsDialog::on_moveDownSourceButton_clicked()
{
    moveSource(+1);
}

void SettingsDialog::moveSource(int step)
{
    QTreeWidget* tree = ui->sourcesTreeWidget;
    QTreeWidgetItem* current = tree->currentItem();
    const int row = tree->indexOfTopLevelItem(current);
    const int target = sourceMoveTarget(row, step);
    if (target < 0)
        return;
    const QList<int> order = SourceList::swappedOrder(shownSources(), qMin(row, target), qMax(row, target));
    QList<QTreeWidgetItem*> items;
    for (int index : order)
        items.append(tree->topLevelItem(index));
    while (tree->topLevelItemCount() > 0)
        tree->takeTopLevelItem(0);
    tree->addTopLevelItems(items);
    // A row taken out of the tree forgets that it was hidden.
    for (QTreeWidgetItem* item : qAsConst(items))
        hideUnlessRepository(item);
    tree->setCurrentItem(current);
    enableOk();
}

void SettingsDialog::on_removeSourceButton_clicked()
{
    QTreeWidget* tree = ui->sourcesTreeWidget;
    const int row = tree->indexOfTopLevelItem(tree->currentItem());
    if (row < 0)
        return;
    const QList<int> rows = SourceList::removedRows(shownSources(), row);
    for (auto index = rows.crbegin(); index != rows.crend(); ++index)
        delete tree->takeTopLevelItem(*index);
    // The new current row was chosen while the old one was still counted.
    updateSourceButtons();
    enableOk();
}

void SettingsDialog::on_editSourceButton_clicked()
{
    auto* item = dynamic_cast<SourceItem*>(ui->sourcesTreeWidget->currentItem());
    if (!item)
        return;
    // The row's check box may have been toggled since the entry was stored; the editor must
    // not undo that when its result is stored back.
    SourceEntry entry = item->entry();
    entry.enabled = item->checkState(0) == Qt::Checked;
    SourceEditor editor(entry, this);
    editor.setOtherRows(shownSources(item));
    if (editor.exec() != QDialog::Accepted)
        return;
    item->setEntry(editor.entry());
    enableOk();
}

void SettingsDialog::on_addSourceButton_clicked()
{
    SourceEditor editor(this);
    editor.setOtherRows(shownSources());
    if (editor.exec() != QDialog::Accepted)
        return;
    // New repositories are one-line entries of the main list; the row says so.
    SourceEntry entry = editor.entry();
    entry.file = m_sourceList.sourceListPath();
    ui->sourcesTreeWidget->addTopLevelItem(new SourceItem(entry));
    enableOk();
}

void SettingsDialog::on_resetDeferredNotificationButton_clicked()
{
    showNextNotification();
    ui->resetDeferredNotificationButton->setEnabled(false);
    m_deferralReset = true;
    ui->notifyTimeEdit->setEnabled(ui->showMessageCheckBox->isChecked());
    enableOk();
}

void SettingsDialog::on_PMToolBrowseToolButton_clicked()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Select Package Manager"), QStringLiteral("/usr/bin"));
    if (path.isEmpty())
        return;
    ui->PMToolLineEdit->setText(path);
    enableOk();
}
