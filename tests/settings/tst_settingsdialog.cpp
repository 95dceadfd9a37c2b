// The settings dialog on the offscreen platform: its form, what it loads and how its
// controls behave. Saving has its own test.
#include "settings/originspatterndialog.h"
#include "settings/packageblacklistdialog.h"
#include "settings/settingsdialog.h"
#include "settings/sourceeditor.h"

#include "privileged/commands.h"

#include "scriptedhelperjobs.h"
#include "settingstesting.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using namespace SettingsTesting;

namespace {

const QString DateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QDateTime wholeSeconds(const QDateTime& time)
{
    return QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch());
}

// The value a widget shows, in the type the tests compare.
QVariant shownValue(QWidget* widget)
{
    if (auto* box = qobject_cast<QCheckBox*>(widget))
        return box->isChecked();
    if (auto* box = qobject_cast<QSpinBox*>(widget))
        return box->value();
    if (auto* edit = qobject_cast<QTimeEdit*>(widget))
        return edit->time();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* box = qobject_cast<QComboBox*>(widget))
        return box->currentIndex();
    qFatal("no shown value for %s", qPrintable(widget->objectName()));
}

QString defaultUpgrade()
{
    return defaultCommand(UpgradeCommandIndex);
}
QString defaultFixBroken()
{
    return defaultCommand(FixBrokenCommandIndex);
}

// Lines of a list file: A, a comment H, B.

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Sandbox> m_sandbox;
    QPointer<SettingsDialog> m_dialog;

    SettingsDialog* open()
    {
        m_dialog = new SettingsDialog;
        return m_dialog;
    }
    template <class T> T* find(const char* name) const { return child<T>(m_dialog.data(), name); }
    QTreeWidget* tree() const { return find<QTreeWidget>("sourcesTreeWidget"); }
    QTreeWidgetItem* rowWithUri(const QString& uri) const { return SettingsTesting::rowWithUri(tree(), uri); }
    // Which of up, down, remove and edit are enabled, as "1" and "0".
    QString sourceButtonStates() const
    {
        QString states;
        for (const char* name :
             {"moveUpSourceButton", "moveDownSourceButton", "removeSourceButton", "editSourceButton"})
            states += find<QAbstractButton>(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return states;
    }

private Q_SLOTS:
    void initTestCase() { initSettingsTests("tst_settingsdialog"); }
    void init() { m_sandbox = std::make_unique<Sandbox>(); }
    void cleanup()
    {
        delete m_dialog.data();
        m_sandbox.reset();
    }

    void form()
    {
        open();
        QCOMPARE(m_dialog->objectName(), QStringLiteral("SettingsDialog"));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Update notifier - Settings"));
        QVERIFY(m_dialog->testAttribute(Qt::WA_DeleteOnClose));
        auto* tabs = find<QTabWidget>("tabWidget");
        QCOMPARE(tabs->count(), 4);
        QCOMPARE(tabs->currentIndex(), 0);
        const QStringList titles = {"General Settings", "Notification", "Unattended Upgrades",
                                    "Repositories"};
        for (int tab = 0; tab < tabs->count(); ++tab)
            QCOMPARE(tabs->tabText(tab), titles.at(tab));
        QVERIFY(find<QGroupBox>("AUSGroupBox")->isHidden());
        QVERIFY(!okButton(m_dialog)->isEnabled());
        QCOMPARE(sourceButtonStates(), QStringLiteral("0000"));
        auto* header = tree()->headerItem();
        QCOMPARE(tree()->columnCount(), 5);
        QCOMPARE(header->text(0), QStringLiteral("Enabled"));
        QCOMPARE(header->text(4), QStringLiteral("Sections"));
        QVERIFY(!tree()->rootIsDecorated());
        QCOMPARE(find<QTimeEdit>("aptIntervalTimeEdit")->displayFormat(), QStringLiteral("h'h' m'm' s's'"));
        QCOMPARE(find<QTimeEdit>("aptIntervalTimeEdit")->maximumTime(), QTime(23, 59, 59));
        QCOMPARE(find<QSpinBox>("hideTrayDelaySpinBox")->minimum(), 3);
        QCOMPARE(find<QSpinBox>("hideTrayDelaySpinBox")->maximum(), 360);
        QCOMPARE(find<QSpinBox>("messageTimeoutSpinBox")->maximum(), 60);
        auto* lists = find<QSpinBox>("updatePackageListsSpinBox");
        QCOMPARE(lists->maximum(), 100);
        QCOMPARE(lists->specialValueText(), QStringLiteral("Disabled"));
        QCOMPARE(lists->suffix(), QStringLiteral("days"));
        QCOMPARE(find<QComboBox>("verboseComboBox")->itemText(3),
                 QStringLiteral("Progress + command output + tracing"));

        bool help = false;
        for (QAction* action : m_dialog->actions())
            help = help || action->shortcut() == QKeySequence(QKeySequence::HelpContents);
        QVERIFY(help);
    }

    void tabOrder()
    {
        const QStringList expected = {"checkForUpdatesButton",
                                      "tabWidget",
                                      "hideTrayCheckBox",
                                      "hideTrayDelaySpinBox",
                                      "hideTrayDeferredCheckBox",
                                      "aptIntervalTimeEdit",
                                      "morePushButton",
                                      "showMessageCheckBox",
                                      "messageTimeoutSpinBox",
                                      "notifyTimeEdit",
                                      "resetDeferredNotificationButton",
                                      "enableCheckBox",
                                      "updatePackageListsSpinBox",
                                      "downloadUpgradeablePackagesSpinBox",
                                      "unattendedUpgradeSpinBox",
                                      "autocleanIntervalSpinBox",
                                      "mailLineEdit",
                                      "verboseComboBox",
                                      "originsPatternButton",
                                      "packageBlackListButton",
                                      "PMToolLineEdit",
                                      "upgCmdLineEdit",
                                      "sourcesTreeWidget",
                                      "moveUpSourceButton",
                                      "moveDownSourceButton",
                                      "addSourceButton",
                                      "editSourceButton",
                                      "removeSourceButton",
                                      "fixBrokenCmdLineEdit",
                                      "PMToolBrowseToolButton",
                                      "runPMButton"};
        open();
        QStringList seen;
        QWidget* start = find<QWidget>("checkForUpdatesButton");
        QWidget* widget = start;
        do {
            const QString name = widget->objectName();
            if (expected.contains(name) && !seen.contains(name))
                seen.append(name);
            widget = widget->nextInFocusChain();
        } while (widget != start);
        QCOMPARE(seen, expected);
    }

    void userUnits_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored"); // invalid: not stored
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QVariant>("shown");
        QTest::addColumn<QVariant>("saved");

        QTest::newRow("messageTimeout 15500") << "messageTimeout" << QVariant(15500)
                                              << "messageTimeoutSpinBox" << QVariant(15) << QVariant(15000);
        QTest::newRow("messageTimeout default")
            << "messageTimeout" << QVariant() << "messageTimeoutSpinBox" << QVariant(15) << QVariant(15000);
        QTest::newRow("messageTimeout junk") << "messageTimeout" << QVariant("junk")
                                             << "messageTimeoutSpinBox" << QVariant(5) << QVariant(5000);
        QTest::newRow("notifyInterval 30 min") << "notifyInterval" << QVariant(1800000) << "notifyTimeEdit"
                                               << QVariant(QTime(0, 30)) << QVariant(1800000);
        QTest::newRow("notifyInterval default") << "notifyInterval" << QVariant() << "notifyTimeEdit"
                                                << QVariant(QTime(0, 30)) << QVariant(1800000);
        QTest::newRow("notifyInterval 24 h") << "notifyInterval" << QVariant(86400000) << "notifyTimeEdit"
                                             << QVariant(QTime(0, 0)) << QVariant(0);
        QTest::newRow("notifyInterval -1")
            << "notifyInterval" << QVariant(-1) << "notifyTimeEdit" << QVariant(QTime(0, 0)) << QVariant(0);
        QTest::newRow("notifyInterval 1h23m45s") << "notifyInterval" << QVariant(5025000) << "notifyTimeEdit"
                                                 << QVariant(QTime(1, 23, 45)) << QVariant(5025000);
        QTest::newRow("aptCacheCheckInterval 30 min")
            << "aptCacheCheckInterval" << QVariant(1800000) << "aptIntervalTimeEdit" << QVariant(QTime(0, 30))
            << QVariant(1800000);
        QTest::newRow("aptCacheCheckInterval 24 h")
            << "aptCacheCheckInterval" << QVariant(86400000) << "aptIntervalTimeEdit" << QVariant(QTime(0, 0))
            << QVariant(0);
        QTest::newRow("aptCacheCheckInterval -1")
            << "aptCacheCheckInterval" << QVariant(-1) << "aptIntervalTimeEdit" << QVariant(QTime(0, 0))
            << QVariant(0);
        QTest::newRow("hideTrayDelay 5000")
            << "hideTrayDelay" << QVariant(5000) << "hideTrayDelaySpinBox" << QVariant(5) << QVariant(5000);
        QTest::newRow("hideTrayDelay default")
            << "hideTrayDelay" << QVariant() << "hideTrayDelaySpinBox" << QVariant(5) << QVariant(5000);
        QTest::newRow("hideTrayDelay 7400")
            << "hideTrayDelay" << QVariant(7400) << "hideTrayDelaySpinBox" << QVariant(7) << QVariant(7000);
        QTest::newRow("showMessage default")
            << "showMessage" << QVariant() << "showMessageCheckBox" << QVariant(true) << QVariant(true);
        QTest::newRow("showMessage off") << "showMessage" << QVariant(false) << "showMessageCheckBox"
                                         << QVariant(false) << QVariant(false);
        QTest::newRow("hideTray default")
            << "hideTray" << QVariant() << "hideTrayCheckBox" << QVariant(true) << QVariant(true);
        QTest::newRow("hideTray off")
            << "hideTray" << QVariant(false) << "hideTrayCheckBox" << QVariant(false) << QVariant(false);
        QTest::newRow("hideTrayDeferred default")
            << "hideTrayDeferred" << QVariant() << "hideTrayDeferredCheckBox" << QVariant(false)
            << QVariant(false);
        QTest::newRow("hideTrayDeferred on")
            << "hideTrayDeferred" << QVariant(true) << "hideTrayDeferredCheckBox" << QVariant(true)
            << QVariant(true);
        QTest::newRow("skipNotificationDelay kept")
            << "skipNotificationDelay" << QVariant(qint64(3600)) << QString() << QVariant() << QVariant(3600);
        QTest::newRow("skipNotificationDelay default")
            << "skipNotificationDelay" << QVariant() << QString() << QVariant() << QVariant(-1);
    }
    void userUnits()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, widget);
        QFETCH(QVariant, shown);
        QFETCH(QVariant, saved);
        if (stored.isValid())
            Sandbox::writeUserSettings({{key, stored}});
        ScriptedHelperJobs jobs;
        open();
        if (!widget.isEmpty())
            QCOMPARE(shownValue(find<QWidget>(widget.toLatin1().constData())), shown);
        m_dialog->accept();
        QCOMPARE(Sandbox::userSetting(key).toLongLong(), saved.toLongLong());
        QCOMPARE(Sandbox::userSetting(key).toString(), saved.toString());
        QCOMPARE(jobs.names(), QStringList()); // nothing system-wide changed
        QCOMPARE(MessageBox::takeShownTexts(), QStringList());
    }

    void aptUnits_data()
    {
        QTest::addColumn<QByteArray>("dump");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QVariant>("shown");

        QTest::newRow("Enable 1") << QByteArray("APT::Periodic::Enable \"1\";\n") << "enableCheckBox"
                                  << QVariant(true);
        QTest::newRow("Enable 0") << QByteArray("APT::Periodic::Enable \"0\";\n") << "enableCheckBox"
                                  << QVariant(false);
        QTest::newRow("Enable true") << QByteArray("APT::Periodic::Enable \"true\";\n") << "enableCheckBox"
                                     << QVariant(false);
        QTest::newRow("Enable missing") << QByteArray() << "enableCheckBox" << QVariant(true);
        QTest::newRow("lists 7") << QByteArray("APT::Periodic::Update-Package-Lists \"7\";\n")
                                 << "updatePackageListsSpinBox" << QVariant(7);
        QTest::newRow("lists junk") << QByteArray("APT::Periodic::Update-Package-Lists \"always\";\n")
                                    << "updatePackageListsSpinBox" << QVariant(0);
        QTest::newRow("download 2") << QByteArray("APT::Periodic::Download-Upgradeable-Packages \"2\";\n")
                                    << "downloadUpgradeablePackagesSpinBox" << QVariant(2);
        QTest::newRow("unattended 3") << QByteArray("APT::Periodic::Unattended-Upgrade \"3\";\n")
                                      << "unattendedUpgradeSpinBox" << QVariant(3);
        QTest::newRow("autoclean 21") << QByteArray("APT::Periodic::AutocleanInterval \"21\";\n")
                                      << "autocleanIntervalSpinBox" << QVariant(21);
        QTest::newRow("verbose 2") << QByteArray("APT::Periodic::Verbose \"2\";\n") << "verboseComboBox"
                                   << QVariant(2);
        QTest::newRow("mail") << QByteArray("Unattended-Upgrade::Mail \"admin@example.org\";\n")
                              << "mailLineEdit" << QVariant("admin@example.org");
        QTest::newRow("no mail") << QByteArray() << "mailLineEdit" << QVariant("");
    }
    void aptUnits()
    {
        QFETCH(QByteArray, dump);
        QFETCH(QString, widget);
        QFETCH(QVariant, shown);
        m_sandbox->setDump(dump);
        open();
        QCOMPARE(shownValue(find<QWidget>(widget.toLatin1().constData())), shown);
        if (shown == QVariant(0))
            QCOMPARE(find<QSpinBox>("updatePackageListsSpinBox")->text(), QStringLiteral("Disabled"));
        QVERIFY(!okButton(m_dialog)->isEnabled());
    }

    void listsShownNewestFirst()
    {
        m_sandbox->setDump("Unattended-Upgrade::Origins-Pattern:: \"origin=A\";\n"
                           "Unattended-Upgrade::Origins-Pattern:: \"origin=B\";\n"
                           "Unattended-Upgrade::Package-Blacklist:: \"one\";\n"
                           "Unattended-Upgrade::Package-Blacklist:: \"two\";\n");
        open();
        QStringList patterns;
        QVERIFY(
            whileModal<OriginsPatternDialog>([this] { find<QPushButton>("originsPatternButton")->click(); },
                                             [&patterns](OriginsPatternDialog* dialog) {
                                                 patterns = dialog->patterns();
                                                 dialog->reject();
                                             }));
        QCOMPARE(patterns, (QStringList{"origin=B", "origin=A"}));
        QStringList packages;
        QVERIFY(whileModal<PackageBlackListDialog>(
            [this] { find<QPushButton>("packageBlackListButton")->click(); },
            [&packages](PackageBlackListDialog* dialog) {
                packages = dialog->packages();
                dialog->reject();
            }));
        QCOMPARE(packages, (QStringList{"two", "one"}));
        QVERIFY(!okButton(m_dialog)->isEnabled()); // rejected: no change
    }

    void subDialogsAcceptedEnableOk_data()
    {
        QTest::addColumn<bool>("patterns");
        QTest::newRow("origin patterns") << true;
        QTest::newRow("ignored packages") << false;
    }
    void subDialogsAcceptedEnableOk()
    {
        QFETCH(bool, patterns);
        open();
        const auto press = [this, patterns] {
            find<QPushButton>(patterns ? "originsPatternButton" : "packageBlackListButton")->click();
        };
        QVERIFY(whileModal<QDialog>(press, [](QDialog* dialog) { dialog->accept(); }));
        QVERIFY(okButton(m_dialog)->isEnabled());
    }

    void deferralLabel_data()
    {
        QTest::addColumn<qint64>("delay");
        QTest::addColumn<int>("sinceSecondsAgo");
        QTest::addColumn<bool>("deferred");
        QTest::newRow("an hour from 10 minutes ago") << qint64(3600) << 600 << true;
        QTest::newRow("an hour from 2 hours ago") << qint64(3600) << 7200 << false;
        QTest::newRow("delay 0") << qint64(0) << 600 << false;
        QTest::newRow("delay -1") << qint64(-1) << 600 << false;
    }
    void deferralLabel()
    {
        QFETCH(qint64, delay);
        QFETCH(int, sinceSecondsAgo);
        QFETCH(bool, deferred);
        const QDateTime since = wholeSeconds(QDateTime::currentDateTime().addSecs(-sinceSecondsAgo));
        Sandbox::writeUserSettings({{"skipNotificationDelay", delay},
                                    {"skipNotificationSince", since},
                                    {"notifyInterval", 5400000}});
        const QDateTime before = wholeSeconds(QDateTime::currentDateTime());
        open();
        const QDateTime after = QDateTime::currentDateTime();
        const QString label = find<QLabel>("nextCheckLabel")->text();
        QCOMPARE(find<QTimeEdit>("notifyTimeEdit")->isEnabled(), !deferred);
        QCOMPARE(find<QPushButton>("resetDeferredNotificationButton")->isEnabled(), deferred);
        if (deferred) {
            QCOMPARE(label, "Notification is deferred to " + since.addSecs(delay).toString(DateTimeFormat));
            return;
        }
        const QString prefix = QStringLiteral("Next notification will be at ");
        QVERIFY2(label.startsWith(prefix), qPrintable(label));
        const QDateTime next = QDateTime::fromString(label.mid(prefix.size()), DateTimeFormat);
        QVERIFY2(next >= before.addSecs(5400) && next <= after.addSecs(5400), qPrintable(label));
    }

    void resetAloneEnablesOkAndSavesMinusOne_data()
    {
        QTest::addColumn<bool>("showMessage");
        QTest::newRow("reminders on") << true;
        QTest::newRow("reminders off") << false;
    }
    void resetAloneEnablesOkAndSavesMinusOne()
    {
        QFETCH(bool, showMessage);
        Sandbox::writeUserSettings({{"skipNotificationDelay", qint64(3600)},
                                    {"skipNotificationSince", QDateTime::currentDateTime().addSecs(-600)},
                                    {"showMessage", showMessage}});
        ScriptedHelperJobs jobs;
        open();
        auto* reset = find<QPushButton>("resetDeferredNotificationButton");
        QVERIFY(reset->isEnabled());
        QVERIFY(!find<QTimeEdit>("notifyTimeEdit")->isEnabled());
        QVERIFY(!okButton(m_dialog)->isEnabled());
        reset->click();
        QVERIFY(okButton(m_dialog)->isEnabled());
        QVERIFY(!reset->isEnabled());
        QCOMPARE(find<QTimeEdit>("notifyTimeEdit")->isEnabled(), showMessage);
        QVERIFY(find<QLabel>("nextCheckLabel")->text().startsWith("Next notification will be at "));
        okButton(m_dialog)->click();
        QCOMPARE(Sandbox::userSetting("skipNotificationDelay").toLongLong(), qint64(-1));
        QCOMPARE(jobs.names(), QStringList());
    }

    void nonInteractiveOption_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("has");
        QTest::addColumn<QString>("added");
        QTest::newRow("two words") << "apt-get upgrade" << false << "apt-get -y upgrade";
        QTest::newRow("many spaces") << "apt-get    upgrade" << false << "apt-get -y upgrade";
        QTest::newRow("outer spaces") << "  apt-get upgrade " << false << "apt-get -y upgrade";
        QTest::newRow("one word") << "upgrade" << false << "";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("-y") << "apt-get -y upgrade" << true << "apt-get -y -y upgrade";
        QTest::newRow("--yes") << "apt-get --yes upgrade" << true << "apt-get -y --yes upgrade";
        QTest::newRow("--assume-yes")
            << "apt-get --assume-yes upgrade" << true << "apt-get -y --assume-yes upgrade";
        QTest::newRow("package holding -y")
            << "apt-get install python3-yaml" << true << "apt-get -y install python3-yaml";
        QTest::newRow("case matters") << "apt-get -Y upgrade" << false << "apt-get -y -Y upgrade";
    }
    void nonInteractiveOption()
    {
        QFETCH(QString, command);
        QFETCH(bool, has);
        QFETCH(QString, added);
        QCOMPARE(SettingsDialog::hasNonInteractiveOption(command), has);
        QCOMPARE(SettingsDialog::addNonInteractiveOption(command), added);
    }

    void commandCheckAtOpening_data()
    {
        const QString info =
            QStringLiteral("Interactivity is not supported yet.\nThe upgrade and fix commands must "
                           "contain \na non-interactive option and it will be added.");
        QTest::addColumn<QString>("upgrade");
        QTest::addColumn<QString>("fixBroken");
        QTest::addColumn<QString>("shownUpgrade");
        QTest::addColumn<QString>("shownFixBroken");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("defaults pass")
            << QString() << QString() << defaultUpgrade() << defaultFixBroken() << QStringList();
        QTest::newRow("upgrade fixed") << "apt-get upgrade" << QString() << "apt-get -y upgrade"
                                       << defaultFixBroken() << QStringList{info};
        QTest::newRow("spaces collapsed") << "apt-get   upgrade"
                                          << "apt-get  install  -f"
                                          << "apt-get -y upgrade"
                                          << "apt-get -y install -f" << QStringList{info};
        QTest::newRow("one-word upgrade")
            << "upgrade" << QString() << "upgrade" << defaultFixBroken()
            << QStringList{info, "Unable to add non-interactive option \nto upgrade command"};
        QTest::newRow("one-word fix")
            << QString() << "fix" << defaultUpgrade() << "fix"
            << QStringList{info, "Unable to add non-interactive option \nto fix broken command"};
        QTest::newRow("package holding -y")
            << "apt-get install python3-yaml" << QString() << "apt-get install python3-yaml"
            << defaultFixBroken() << QStringList();
    }
    void commandCheckAtOpening()
    {
        QFETCH(QString, upgrade);
        QFETCH(QString, fixBroken);
        QFETCH(QString, shownUpgrade);
        QFETCH(QString, shownFixBroken);
        QFETCH(QStringList, boxes);
        QVariantMap global;
        if (!upgrade.isNull())
            global.insert("upgCommand", upgrade);
        if (!fixBroken.isNull())
            global.insert("fixBrokenCommand", fixBroken);
        m_sandbox->writeGlobalSettings(global);
        open();
        QCOMPARE(find<QLineEdit>("upgCmdLineEdit")->text(), shownUpgrade);
        QCOMPARE(find<QLineEdit>("fixBrokenCmdLineEdit")->text(), shownFixBroken);
        QCOMPARE(MessageBox::takeShownTexts(), boxes);
        QVERIFY(!okButton(m_dialog)->isEnabled());
        QCOMPARE(find<QLineEdit>("PMToolLineEdit")->text(), QStringLiteral("/usr/bin/synaptic-pkexec"));
    }

    void globalSettingsFileLayouts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        QTest::newRow("group General") << QByteArray("[%General]\nPMTool=/usr/bin/a\n") << "/usr/bin/a";
        QTest::newRow("top level") << QByteArray("[General]\nPMTool=/usr/bin/b\n") << "/usr/bin/b";
        QTest::newRow("group wins") << QByteArray(
                                           "[General]\nPMTool=/usr/bin/b\n[%General]\nPMTool=/usr/bin/a\n")
                                    << "/usr/bin/a";
        QTest::newRow("empty value kept") << QByteArray("[%General]\nPMTool=\n") << "";
        QTest::newRow("other group ignored")
            << QByteArray("[Other]\nPMTool=/usr/bin/c\n") << "/usr/bin/synaptic-pkexec";
    }
    void globalSettingsFileLayouts()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        QVERIFY(TestSupport::writeFile(SystemPaths::current().globalConfig, file));
        open();
        QCOMPARE(find<QLineEdit>("PMToolLineEdit")->text(), shown);
    }

    void enableWiring_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("installed, enabled") << true << true;
        QTest::newRow("installed, disabled") << true << false;
        QTest::newRow("missing, enabled") << false << true;
        QTest::newRow("missing, disabled") << false << false;
    }
    void enableWiring()
    {
        QFETCH(bool, installed);
        QFETCH(bool, enabled);
        m_sandbox->setUnattendedUpgradesInstalled(installed);
        m_sandbox->setDump(enabled ? "APT::Periodic::Enable \"1\";\n" : "APT::Periodic::Enable \"0\";\n");
        open();
        const QStringList followers = {"updatePackageListsSpinBox", "downloadUpgradeablePackagesSpinBox",
                                       "autocleanIntervalSpinBox", "verboseComboBox", "mailLineEdit"};
        auto* enable = find<QCheckBox>("enableCheckBox");
        auto* unattended = find<QSpinBox>("unattendedUpgradeSpinBox");
        QCOMPARE(find<QLabel>("warningLabel")->isHidden(), installed);
        QCOMPARE(enable->isChecked(), enabled);
        for (int round = 0; round < 2; ++round) {
            for (const QString& name : followers)
                QVERIFY2(find<QWidget>(name.toLatin1().constData())->isEnabled() == enable->isChecked(),
                         qPrintable(name));
            QCOMPARE(unattended->isEnabled(), enable->isChecked() && installed);
            enable->toggle();
        }
    }

    void aptReadFailure_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("status");
        QTest::newRow("exit 100 with output") << QByteArray("E: Syntax error") << 100;
        QTest::newRow("exit 100 without output") << QByteArray() << 100;
    }
    void aptReadFailure()
    {
        QFETCH(QByteArray, output);
        QFETCH(int, status);
        m_sandbox->setFailingAptConfig(output, status);
        m_sandbox->writeMainList(AHB);
        ScriptedHelperJobs jobs;
        open();
        QCOMPARE(MessageBox::takeShownTexts(),
                 QStringList{"Unable to read APT settings. Error: " + QString::fromLocal8Bit(output)});
        auto* enable = find<QCheckBox>("enableCheckBox");
        QVERIFY(!enable->isChecked());
        QVERIFY(!enable->isEnabled());
        for (const char* name : {"updatePackageListsSpinBox", "downloadUpgradeablePackagesSpinBox",
                                 "unattendedUpgradeSpinBox", "autocleanIntervalSpinBox", "verboseComboBox",
                                 "mailLineEdit", "originsPatternButton", "packageBlackListButton"})
            QVERIFY2(!find<QWidget>(name)->isEnabled(), name);
        QCOMPARE(tree()->topLevelItemCount(), 0);
        QVERIFY(!find<QWidget>("addSourceButton")->isEnabled());

        find<QCheckBox>("hideTrayCheckBox")->toggle();
        okButton(m_dialog)->click();
        QCOMPARE(jobs.names(), QStringList()); // nothing of APT's is written
        QCOMPARE(Sandbox::userSetting("hideTray").toBool(), false);
    }

    void aptConfigCrash()
    {
        QVERIFY(TestSupport::writeScript(m_sandbox->path("bin/apt-config"), "kill -SEGV $$\n"));
        open();
        const QStringList shown = MessageBox::takeShownTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith("Unable to read APT settings. Error: ") &&
                     shown.first().size() > QStringLiteral("Unable to read APT settings. Error: ").size(),
                 qPrintable(shown.first()));
        QVERIFY(!find<QCheckBox>("enableCheckBox")->isEnabled());
    }

    void repositoriesLoaded()
    {
        m_sandbox->writeMainList("deb http://main.example/ stable main\n"
                                 "\n"
                                 "# deb http://off.example/ stable main\n"
                                 "## deb http://comment.example/ stable main\n");
        m_sandbox->writeListFile("c.list", "deb http://c.example/ c main\n");
        m_sandbox->writeListFile("B.list", "deb-src http://b.example/ b main contrib\n");
        m_sandbox->writeListFile("a.list", "deb [arch=amd64] http://a.example/ a main\n");
        m_sandbox->writeListFile("d.sources", "Types: deb\n");
        open();
        QCOMPARE(rowsOf(tree()),
                 (QStringList{"http://main.example/", "hidden: ", "http://off.example/",
                              "hidden: ## deb http://comment.example/ stable main", "http://a.example/",
                              "http://b.example/", "http://c.example/"}));
        QTreeWidgetItem* off = rowWithUri("http://off.example/");
        QCOMPARE(off->checkState(0), Qt::Unchecked);
        QCOMPARE(rowWithUri("http://main.example/")->checkState(0), Qt::Checked);
        QTreeWidgetItem* b = rowWithUri("http://b.example/");
        QCOMPARE(b->text(1), QStringLiteral("deb-src"));
        QCOMPARE(b->text(3), QStringLiteral("b"));
        QCOMPARE(b->text(4), QStringLiteral("main contrib"));
        QVERIFY(!okButton(m_dialog)->isEnabled());
    }

    void moves_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QStringList>("rows");
        const QString a = QStringLiteral("http://a.example/");
        const QString b = QStringLiteral("http://b.example/");
        const QString h = QStringLiteral("hidden: # H");
        QTest::newRow("B up over H") << AHB << b << true << QStringList{b, a, h};
        QTest::newRow("A down over H") << AHB << a << false << QStringList{h, b, a};
        QTest::newRow("A up: first") << AHB << a << true << QStringList{a, h, b};
        QTest::newRow("B down: last") << AHB << b << false << QStringList{a, h, b};
        QTest::newRow("A up: only hidden above")
            << QByteArray("# H\n" + AHB.left(AHB.indexOf('#'))) << a << true << QStringList{h, a};
        QTest::newRow("B down: only hidden below")
            << QByteArray(AHB + "# H\n") << b << false << QStringList{a, h, b, h};
    }
    void moves()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, current);
        QFETCH(bool, up);
        QFETCH(QStringList, rows);
        m_sandbox->writeMainList(list);
        open();
        const QStringList before = rowsOf(tree());
        QTreeWidgetItem* item = rowWithUri(current);
        tree()->setCurrentItem(item);
        find<QToolButton>(up ? "moveUpSourceButton" : "moveDownSourceButton")->click();
        QCOMPARE(rowsOf(tree()), rows);
        QCOMPARE(tree()->currentItem(), item);
        QCOMPARE(okButton(m_dialog)->isEnabled(), rows != before);
    }

    void sourceButtons_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("current"); // a URI, a hidden line, or nothing
        QTest::addColumn<QString>("enabled"); // up, down, remove, edit
        QTest::newRow("first visible") << AHB << "http://a.example/"
                                       << "0111";
        QTest::newRow("last visible") << AHB << "http://b.example/"
                                      << "1011";
        QTest::newRow("no current row") << AHB << ""
                                        << "0000";
        QTest::newRow("only visible row")
            << QByteArray("# H\ndeb http://a.example/ s m\n# H2\n") << "http://a.example/"
            << "0011";
        QTest::newRow("every row hidden") << QByteArray("# H\n# H2\n") << "hidden"
                                          << "0000";
    }
    void sourceButtons()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, current);
        QFETCH(QString, enabled);
        m_sandbox->writeMainList(list);
        open();
        tree()->setCurrentItem(tree()->topLevelItem(tree()->topLevelItemCount() - 1));
        if (current == QLatin1String("hidden"))
            tree()->setCurrentItem(tree()->topLevelItem(0));
        else if (current.isEmpty())
            tree()->setCurrentItem(nullptr);
        else
            tree()->setCurrentItem(rowWithUri(current));
        QCOMPARE(sourceButtonStates(), enabled);
    }

    void removeSource()
    {
        m_sandbox->writeMainList(AHB);
        open();
        tree()->setCurrentItem(rowWithUri("http://a.example/"));
        find<QPushButton>("removeSourceButton")->click();
        QCOMPARE(rowsOf(tree()), (QStringList{"hidden: # H", "http://b.example/"}));
        QVERIFY(okButton(m_dialog)->isEnabled());
        tree()->setCurrentItem(nullptr);
        QMetaObject::invokeMethod(m_dialog, "on_removeSourceButton_clicked");
        QCOMPARE(tree()->topLevelItemCount(), 2);
    }

    void addSource_data()
    {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted") << "http://new.example/" << true;
        QTest::newRow("accepted without URI") << "" << true;
        QTest::newRow("cancelled") << "http://new.example/" << false;
    }
    void addSource()
    {
        QFETCH(QString, uri);
        QFETCH(bool, accept);
        m_sandbox->writeMainList(AHB + "# trailing comment\n");
        open();
        const int before = tree()->topLevelItemCount();
        QVERIFY(whileModal<SourceEditor>([this] { find<QPushButton>("addSourceButton")->click(); },
                                         [&](SourceEditor* editor) {
                                             QCOMPARE(editor->windowTitle(),
                                                      QStringLiteral("Add Repository"));
                                             child<QLineEdit>(editor, "uriLineEdit")->setText(uri);
                                             child<QLineEdit>(editor, "distLineEdit")->setText("bookworm");
                                             child<QLineEdit>(editor, "sectionsLineEdit")->setText("main");
                                             accept ? editor->accept() : editor->reject();
                                         }));
        QCOMPARE(okButton(m_dialog)->isEnabled(), accept);
        if (!accept) {
            QCOMPARE(tree()->topLevelItemCount(), before);
            return;
        }
        QCOMPARE(tree()->topLevelItemCount(), before + 1);
        QTreeWidgetItem* added = tree()->topLevelItem(before); // after the hidden comment
        QVERIFY(!added->isHidden());
        QCOMPARE(added->text(2), uri);
        QCOMPARE(added->text(3), QStringLiteral("bookworm"));
        QCOMPARE(added->checkState(0), Qt::Unchecked);
    }

    void editSource_data()
    {
        QTest::addColumn<bool>("uncheckFirst");
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted") << false << true;
        QTest::newRow("cancelled") << false << false;
        QTest::newRow("unchecked, then accepted") << true << true;
        QTest::newRow("unchecked, then cancelled") << true << false;
    }
    void editSource()
    {
        QFETCH(bool, uncheckFirst);
        QFETCH(bool, accept);
        m_sandbox->writeMainList(AHB);
        open();
        QTreeWidgetItem* a = rowWithUri("http://a.example/");
        if (uncheckFirst)
            a->setCheckState(0, Qt::Unchecked);
        tree()->setCurrentItem(a);
        SourceEntry shown;
        QVERIFY(whileModal<SourceEditor>([this] { find<QPushButton>("editSourceButton")->click(); },
                                         [&](SourceEditor* editor) {
                                             QCOMPARE(editor->windowTitle(),
                                                      QStringLiteral("Edit Repository"));
                                             QCOMPARE(child<QLineEdit>(editor, "uriLineEdit")->text(),
                                                      QStringLiteral("http://a.example/"));
                                             child<QLineEdit>(editor, "distLineEdit")->setText("testing");
                                             accept ? editor->accept() : editor->reject();
                                             shown = editor->entry();
                                         }));
        QCOMPARE(a->text(3), accept ? QStringLiteral("testing") : QStringLiteral("stable"));
        // A check box toggled before editing stays as the user left it.
        QCOMPARE(a->checkState(0), uncheckFirst ? Qt::Unchecked : Qt::Checked);
        QCOMPARE(static_cast<SourceItem*>(a)->entry().enabled, accept ? !uncheckFirst : true);
        QCOMPARE(okButton(m_dialog)->isEnabled(), accept || uncheckFirst);
    }

    void trackedChanges_data()
    {
        QTest::addColumn<QString>("widget");
        for (const char* name :
             {"hideTrayCheckBox", "hideTrayDelaySpinBox", "hideTrayDeferredCheckBox", "aptIntervalTimeEdit",
              "showMessageCheckBox", "messageTimeoutSpinBox", "notifyTimeEdit", "enableCheckBox",
              "updatePackageListsSpinBox", "downloadUpgradeablePackagesSpinBox", "unattendedUpgradeSpinBox",
              "autocleanIntervalSpinBox", "mailLineEdit", "verboseComboBox", "PMToolLineEdit",
              "upgCmdLineEdit", "fixBrokenCmdLineEdit", "sourcesTreeWidget"})
            QTest::newRow(name) << name;
    }
    void trackedChanges()
    {
        QFETCH(QString, widget);
        m_sandbox->writeMainList(AHB);
        open();
        QVERIFY(!okButton(m_dialog)->isEnabled());
        QWidget* changed = find<QWidget>(widget.toLatin1().constData());
        if (auto* box = qobject_cast<QCheckBox*>(changed))
            box->toggle();
        else if (auto* spin = qobject_cast<QSpinBox*>(changed))
            spin->setValue(spin->value() + 1);
        else if (auto* time = qobject_cast<QTimeEdit*>(changed))
            time->setTime(time->time().addSecs(60));
        else if (auto* line = qobject_cast<QLineEdit*>(changed))
            line->setText(line->text() + "x");
        else if (auto* combo = qobject_cast<QComboBox*>(changed))
            combo->setCurrentIndex(3);
        else if (auto* sources = qobject_cast<QTreeWidget*>(changed))
            sources->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        QVERIFY(okButton(m_dialog)->isEnabled());
    }

    void buttonsAndSignals()
    {
        open();
        QSignalSpy check(m_dialog.data(), &SettingsDialog::checkForUpdatesRequest);
        QSignalSpy run(m_dialog.data(), &SettingsDialog::runPackageManagerRequest);
        find<QPushButton>("checkForUpdatesButton")->click();
        QCOMPARE(check.count(), 1);
        find<QLineEdit>("PMToolLineEdit")->setText("/usr/bin/unsaved");
        find<QPushButton>("runPMButton")->click();
        QCOMPARE(run.count(), 1);
        QCOMPARE(run.first().first().toString(), QStringLiteral("/usr/bin/unsaved"));
        m_dialog->setUpgradablePackagesCount(42);
        QCOMPARE(find<QLabel>("updatesStatusLabel")->text(),
                 QStringLiteral("Number of the upgradable packages: 42"));
    }

    void moreShowsAdvancedSettings()
    {
        open();
        m_dialog->show();
        auto* more = find<QPushButton>("morePushButton");
        QVERIFY(more->isCheckable());
        more->click();
        QVERIFY(find<QGroupBox>("AUSGroupBox")->isVisible());
        const int tall = m_dialog->height();
        more->click();
        QVERIFY(!find<QGroupBox>("AUSGroupBox")->isVisible());
        QVERIFY(m_dialog->height() < tall);
        QVERIFY(!okButton(m_dialog)->isEnabled()); // not a change
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
