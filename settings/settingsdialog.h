#pragma once

#include "aptconf/sourcelist.h"

#include <QDialog>
#include <QMap>
#include <QStringList>
#include <QTime>
#include <QVariantMap>
#include <memory>
#include <utility>
#include <vector>

class AptConfigReading;
class QSpinBox;
class QTimeEdit;
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
    void loadAptSettings(AptConfigReading* reading);
    // Tells at each APT control whose loaded value it cannot show exactly that it is kept.
    void noteValuesKeptAsSet();
    void loadSources();
    void trackChanges();
    void enableOk();
    void updateSourceButtons();
    // The row a move by step (-1 up, +1 down) lands the row at: the next shown row of the
    // same file; -1 when there is none.
    int sourceMoveTarget(int row, int step) const;
    // The entries of the tab's rows, each as its check box says, but `except`'s.
    QList<SourceEntry> shownSources(const QTreeWidgetItem* except = nullptr) const;
    void moveSource(int step);
    // APT's values as the controls would write them: key -> values, newest first.
    QMap<QString, QStringList> aptValuesShown() const;
    // The APT::Periodic interval keys with the spin boxes that show them, in days.
    std::vector<std::pair<const char*, QSpinBox*>> periodicSpinBoxes() const;

    // Saving, in the order accept() runs it; each helper step returns false when it did not
    // take effect, and the dialog then stays open with the user's edits.
    void saveUserSettings();
    bool saveAptSettings();
    bool saveSources();
    bool saveGlobalSettings();
    // Runs one helper action and waits for it; a failure is reported with failureText.
    bool runHelperAction(const char* name, const QVariantMap& arguments, const QString& failureText);
    void reportFailure(const QString& text);
    // Why a shown repository row cannot be written, naming it; empty when all can.
    QString incompleteSourceRow() const;

    std::unique_ptr<Ui::SettingsDialog> ui;
    // An interval stored in the per-user settings and the time its edit showed at opening:
    // an edit the user left alone writes back what was stored, even what it cannot show.
    struct StoredInterval
    {
        int stored = 0;
        QTime shown;
    };
    void showInterval(QTimeEdit* edit, int stored, StoredInterval* interval);
    static int intervalToSave(const QTimeEdit* edit, const StoredInterval& interval);

    QMap<QString, QString> m_aptConfig; // as read; empty when reading failed
    // The values the controls showed at opening (then as last sent), and the keys the
    // notifier's own APT file sets: only these and what the user changed are written.
    QMap<QString, QStringList> m_aptShown;
    QStringList m_ownAptKeys;
    StoredInterval m_notifyInterval;
    StoredInterval m_aptCacheCheckInterval;
    QVariantMap m_globalSettings; // as gathered at opening, then as last sent
    bool m_unattendedUpgradesInstalled = false;
    QStringList m_originPatterns;
    QStringList m_allowedOrigins; // in APT's order; never written
    QStringList m_ignoredPackages;
    SourceList m_sourceList;
    // Only Reset writes the delay: the tray may set a new one while the dialog is open.
    bool m_deferralReset = false;
    bool m_saving = false;
};
