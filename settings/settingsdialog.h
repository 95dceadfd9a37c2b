#pragma once

#include "aptconf/sourcelist.h"

#include <QDialog>
#include <QMap>
#include <QStringList>
#include <QVariantMap>
#include <memory>

class QTreeWidgetItem;

namespace Ui {
class SettingsDialog;
}

// The window in which the user tunes the notifier, APT's periodic tasks and unattended
// upgrades, and the repositories. It is modeless and deletes itself when closed. OK writes
// the per-user settings directly and hands each system-wide part that changed to the
// privileged helper, one action at a time.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(QWidget* parent = nullptr);
    ~SettingsDialog() override;

    void setUpgradablePackagesCount(int count);

    // The three global-configuration values of the fields, after the command check.
    QVariantMap gatherGlobalSettings();
    // Why the helper would refuse a command of `settings`; empty when it takes them all.
    QString refusalOfCommands(const QVariantMap& settings) const;
    // Adds "-y" to an upgrade or fix-broken command that lacks a non-interactive option.
    void checkCommandsInteractivity();
    static bool hasNonInteractiveOption(const QString& command);
    // The command with "-y" after its program; empty when it has no second word.
    static QString addNonInteractiveOption(const QString& command);

    // True while OK waits for the helper. The helper takes one action at a time, so nothing
    // else may start one meanwhile (the wait shuts out user input, not D-Bus calls).
    bool isSaving() const { return m_saving; }

    // A close request while OK is writing would delete the dialog under the running save.
    void reject() override;

Q_SIGNALS:
    void checkForUpdatesRequest();
    void runPackageManagerRequest(QString command);

public Q_SLOTS:
    void accept() override;

private Q_SLOTS:
    void on_morePushButton_toggled(bool checked);
    void on_runPMButton_clicked();
    void on_enableCheckBox_toggled(bool checked);
    void on_originsPatternButton_clicked();
    void on_packageBlackListButton_clicked();
    void on_sourcesTreeWidget_currentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem*);
    void on_moveUpSourceButton_clicked();
    void on_moveDownSourceButton_clicked();
    void on_removeSourceButton_clicked();
    void on_editSourceButton_clicked();
    void on_addSourceButton_clicked();
    void on_resetDeferredNotificationButton_clicked();
    void on_PMToolBrowseToolButton_clicked();

private:
    // Loading, in the order the constructor runs it.
    void loadUserSettings();
    void showNotificationTime();
    void showNextNotification();
    void loadGlobalSettings();
    void loadAptSettings();
    void loadSources();
    void trackChanges();
    void enableOk();

    // Saving, in the order accept() runs it.
    void saveUserSettings();
    void saveAptSettings();
    void saveSources();
    void saveGlobalSettings();
    // Runs one helper action and waits for it; a failure is reported with failureText.
    void runHelperAction(const char* name, const QVariantMap& arguments, const QString& failureText);
    void reportFailure(const QString& text);

    std::unique_ptr<Ui::SettingsDialog> ui;
    QMap<QString, QString> m_aptConfig; // as read; empty when reading failed
    QVariantMap m_globalSettings;       // as gathered at opening, then as last sent
    bool m_unattendedUpgradesInstalled = false;
    QStringList m_originPatterns;
    QStringList m_ignoredPackages;
    SourceList m_sourceList;
    qint64 m_skipNotificationDelay = -1; // seconds; -1 after Reset
    bool m_saving = false;
};
