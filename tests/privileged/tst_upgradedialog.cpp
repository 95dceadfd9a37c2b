#include "dialogtesting.h"
#include "fakehelperjobs.h"

#include "privileged/commands.h"
#include "privileged/messagebox.h"
#include "privileged/upgradedialog.h"

#include <QAction>
#include <QDesktopServices>
#include <QUrl>
#include <QtTest>

using namespace DialogTesting;

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

class TstUpgradeDialog : public QObject
{
    Q_OBJECT

private:
    int run(UpgradeDialog& dialog, const std::function<void()>& whileOpen,
            const QString& upgradeCommand = QStringLiteral("apt-get -y dist-upgrade"))
    {
        return runWhileOpen(
            dialog,
            [&] {
                return dialog.exec(QStringLiteral("apt-get update"), upgradeCommand,
                                   QStringLiteral("apt-get -y -f install"));
            },
            whileOpen);
    }

private Q_SLOTS:
    void init() { MessageBox::takeShownTexts(); }
    void cleanup() { MessageBox::setAutoAnswer(false); }

    void formAsBuilt()
    {
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("UpgradeDialog"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Upgrading system"));
        QCOMPARE(dialog.size(), QSize(579, 407));
        QCOMPARE(bar(dialog)->value(), 0);
        QCOMPARE(bar(dialog)->minimum(), 0);
        QCOMPARE(bar(dialog)->maximum(), 100);
        QVERIFY(!buttons(dialog)->isEnabled());
        QCOMPARE(buttons(dialog)->standardButtons(),
                 QDialogButtonBox::StandardButtons(QDialogButtonBox::Abort));
        QVERIFY(log(dialog)->isReadOnly());
        QVERIFY(jobs.actions.isEmpty());
    }

    void execSendsTheUpgradeAction_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("sent");
        QTest::newRow("plain") << "apt-get -y dist-upgrade"
                               << "apt-get -y dist-upgrade -o Apt::Status-fd=2";
        QTest::newRow("built-in keeps its option")
            << defaultCommand(UpgradeCommandIndex) << defaultCommand(UpgradeCommandIndex);
        QTest::newRow("other letter case still gets it")
            << "apt-get -o apt::status-fd=2 upgrade"
            << "apt-get -o apt::status-fd=2 upgrade -o Apt::Status-fd=2";
        QTest::newRow("empty is sent too") << ""
                                           << " -o Apt::Status-fd=2";
    }

    void execSendsTheUpgradeAction()
    {
        QFETCH(QString, command);
        QFETCH(QString, sent);
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        const int result = run(
            dialog,
            [&] {
                QVERIFY(jobs.job && jobs.job->started);
                QVERIFY(buttons(dialog)->isEnabled());
                QCOMPARE(buttons(dialog)->standardButtons(),
                         QDialogButtonBox::StandardButtons(QDialogButtonBox::Cancel));
                dialog.reject();
            },
            command);
        QCOMPARE(result, 0);
        QCOMPARE(jobs.actions.size(), 1);
        const KAuth::Action& action = jobs.actions.first();
        QCOMPARE(action.name(), QStringLiteral("org.nordwave.tarn.upgradehelper.upgrade"));
        QCOMPARE(action.helperId(), QStringLiteral("org.nordwave.tarn.upgradehelper"));
        QCOMPARE(action.timeout(), 36000000);
        QCOMPARE(action.parentWidget(), &dialog);
        const QVariantMap expected = {
            {QStringLiteral("update_command"), QStringLiteral("apt-get update")},
            {QStringLiteral("upgrade_command"), sent},
            {QStringLiteral("fix_broken_command"), QStringLiteral("apt-get -y -f install")},
        };
        QCOMPARE(action.arguments(), expected);
    }

    void progressMapsAppendToTheLog_data()
    {
        QTest::addColumn<QVariantMap>("data");
        QTest::addColumn<QStringList>("appended");
        const auto message = [](const char* value) {
            return QVariantMap{{"type", "message"}, {"message", value}};
        };
        QTest::newRow("output") << QVariantMap{{"type", "output"}, {"output", "Reading package lists..."}}
                                << QStringList{"Reading package lists..."};
        QTest::newRow("output is not trimmed")
            << QVariantMap{{"type", "output"}, {"output", "  two  "}} << QStringList{"  two  "};
        QTest::newRow("output without text") << QVariantMap{{"type", "output"}} << QStringList{""};
        QTest::newRow("updating") << message("updating") << QStringList{"<b>Updating package list...<\\b>"};
        QTest::newRow("upgrading") << message("upgrading") << QStringList{"<b>Upgrading...<\\b>"};
        QTest::newRow("fixing_broken")
            << message("fixing_broken") << QStringList{"<b>Fixing broken packages...<\\b>"};
        QTest::newRow("waiting") << message("waiting") << QStringList{"<b>Waiting...<\\b>"};
        QTest::newRow("disabling") << message("disabling_security_features")
                                   << QStringList{"Disabling security features"};
        QTest::newRow("enabling") << message("enabling_security_features")
                                  << QStringList{"Enabling security features"};
        QTest::newRow("unknown message") << message("rebooting") << QStringList{};
        QTest::newRow("message in other case") << message("Updating") << QStringList{};
        QTest::newRow("no type") << QVariantMap{{"output", "x"}} << QStringList{};
        QTest::newRow("unknown type") << QVariantMap{{"type", "debug"}, {"output", "x"}} << QStringList{};
        QTest::newRow("progress adds no line")
            << QVariantMap{{"type", "progress"}, {"progress", 5}} << QStringList{};
    }

    void progressMapsAppendToTheLog()
    {
        QFETCH(QVariantMap, data);
        QFETCH(QStringList, appended);
        UpgradeDialog dialog;
        log(dialog)->append(QStringLiteral("first"));
        dialog.onNewData(data);
        QCOMPARE(log(dialog)->toHtml(), logOf(QStringList{"first"} + appended));
    }

    void progressSetsTheBar_data()
    {
        QTest::addColumn<QVariant>("progress");
        QTest::addColumn<int>("bar");
        // The bar starts at 50 in each row.
        QTest::newRow("number truncated") << QVariant(42.9) << 42;
        QTest::newRow("text truncated") << QVariant("42.9") << 42;
        QTest::newRow("integer") << QVariant(7) << 7;
        QTest::newRow("zero") << QVariant("0") << 0;
        QTest::newRow("hundred") << QVariant(100) << 100;
        QTest::newRow("not a number") << QVariant("half") << 0;
        QTest::newRow("empty") << QVariant("") << 0;
        QTest::newRow("missing") << QVariant() << 0;
        QTest::newRow("nan") << QVariant("nan") << 0;
        QTest::newRow("above range") << QVariant(101) << 50;
        QTest::newRow("below range") << QVariant(-3) << 50;
        QTest::newRow("beyond int") << QVariant("1e300") << 50;
        QTest::newRow("infinite") << QVariant("inf") << 50;
        QTest::newRow("just below zero truncates to zero") << QVariant(-0.5) << 0;
    }

    void progressSetsTheBar()
    {
        QFETCH(QVariant, progress);
        QFETCH(int, bar);
        UpgradeDialog dialog;
        DialogTesting::bar(dialog)->setValue(50);
        QVariantMap data{{"type", "progress"}};
        if (progress.isValid())
            data.insert(QStringLiteral("progress"), progress);
        dialog.onNewData(data);
        QCOMPARE(DialogTesting::bar(dialog)->value(), bar);
        QCOMPARE(log(dialog)->toHtml(), logOf({}));
    }

    void progressArrivesThroughTheJob()
    {
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        run(dialog, [&] {
            emit jobs.job->newData({{"type", "output"}, {"output", "line"}});
            emit jobs.job->newData({{"type", "progress"}, {"progress", "33.3"}});
            QCOMPARE(bar(dialog)->value(), 33);
            QCOMPARE(log(dialog)->toHtml(), logOf({"line"}));
            dialog.reject();
        });
    }

    void endStatus_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("appended");
        QTest::addColumn<bool>("closes");
        QTest::newRow("success") << "success" << QStringList{"<b>Upgrade copmlete<\\b>"} << false;
        QTest::newRow("failed") << "failed" << QStringList{"<b>Upgrade failed<\\b>"} << false;
        QTest::newRow("canceled") << "canceled" << QStringList{"<b>Upgrade canceled<\\b>"} << true;
        QTest::newRow("failed_to_start")
            << "failed_to_start" << QStringList{"<b>Unable to start package tool<\\b>"} << false;
        QTest::newRow("unknown") << "done" << QStringList{} << false;
        QTest::newRow("none") << "" << QStringList{} << false;
    }

    void endStatus()
    {
        QFETCH(QString, status);
        QFETCH(QStringList, appended);
        QFETCH(bool, closes);
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        const int result = run(dialog, [&] {
            emit jobs.job->newData({{"type", "output"}, {"output", "log"}});
            jobs.job->finish(0, {{"message", status}});
            QCOMPARE(dialog.isVisible(), !closes);
            QCOMPARE(buttons(dialog)->standardButtons(),
                     QDialogButtonBox::StandardButtons(QDialogButtonBox::Ok));
            QVERIFY(buttons(dialog)->isEnabled());
            if (!closes)
                buttons(dialog)->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(result, closes ? 0 : 1);
        QCOMPARE(log(dialog)->toHtml(), logOf(QStringList{"log"} + appended));
        QVERIFY(jobs.killedJobs.isEmpty());
    }

    void frameworkErrorClosesWithoutALine_data()
    {
        QTest::addColumn<int>("error");
        QTest::newRow("helper error") << -1;
        QTest::newRow("denied") << 4;
        QTest::newRow("timeout") << 8;
    }

    void frameworkErrorClosesWithoutALine()
    {
        QFETCH(int, error);
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        const int result = run(dialog, [&] { jobs.job->finish(error, {{"message", "success"}}); });
        QCOMPARE(result, 0);
        QCOMPARE(log(dialog)->toHtml(), logOf({}));
        // The buttons are left as they were.
        QCOMPARE(buttons(dialog)->standardButtons(),
                 QDialogButtonBox::StandardButtons(QDialogButtonBox::Cancel));
        QVERIFY(buttons(dialog)->isEnabled());
    }

    void abortConfirmedStopsTheJob()
    {
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        MessageBox::setNextAnswer(QMessageBox::Yes);
        const int result = run(dialog, [&] {
            buttons(dialog)->button(QDialogButtonBox::Cancel)->click();
            QCOMPARE(MessageBox::takeShownTexts(), QStringList{"Really abort the system upgrade process?"});
            QCOMPARE(jobs.killedJobs, QList<KJob*>{jobs.job.data()});
            QVERIFY(!buttons(dialog)->isEnabled());
            QVERIFY(dialog.isVisible()); // waits for the helper's answer
            jobs.job->finish(0, {{"message", "canceled"}});
        });
        QCOMPARE(result, 0);
        QCOMPARE(log(dialog)->toHtml(), logOf({"<b>Upgrade canceled<\\b>"}));
    }

    void abortDeclinedDoesNothing()
    {
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        MessageBox::setNextAnswer(QMessageBox::No);
        const int result = run(dialog, [&] {
            buttons(dialog)->button(QDialogButtonBox::Cancel)->click();
            QCOMPARE(MessageBox::takeShownTexts(), QStringList{"Really abort the system upgrade process?"});
            QVERIFY(jobs.killedJobs.isEmpty());
            QVERIFY(buttons(dialog)->isEnabled());
            QVERIFY(dialog.isVisible());
            jobs.job->finish(0, {{"message", "success"}});
            buttons(dialog)->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(result, 1);
    }

    void abortNeverStopsAJobThatEndedMeanwhile()
    {
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        const int result = run(dialog, [&] {
            MessageBox::setNextAnswer(QMessageBox::Yes, [&] {
                jobs.job->finish(0, {{"message", "success"}});
            });
            dialog.abort();
            QVERIFY(jobs.killedJobs.isEmpty());
            QVERIFY(buttons(dialog)->isEnabled());
            buttons(dialog)->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(result, 1);
    }

    void abortWithoutARunningJobAsksNothing()
    {
        UpgradeDialog dialog;
        MessageBox::setAutoAnswer(true);
        dialog.abort();
        QVERIFY(MessageBox::takeShownTexts().isEmpty());
    }

    void escapeClosesWithoutQuestionOrStop()
    {
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        MessageBox::setAutoAnswer(true);
        const int result = run(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(result, 0);
        QVERIFY(MessageBox::takeShownTexts().isEmpty());
        QVERIFY(jobs.killedJobs.isEmpty());
        QVERIFY(jobs.job); // still running: nothing finished or deleted it
    }

    void closingTheWindowClosesWithoutQuestionOrStop()
    {
        FakeHelperJobs jobs;
        UpgradeDialog dialog;
        MessageBox::setAutoAnswer(true);
        const int result = run(dialog, [&] { dialog.close(); });
        QCOMPARE(result, 0);
        QVERIFY(MessageBox::takeShownTexts().isEmpty());
        QVERIFY(jobs.killedJobs.isEmpty());
    }

    void f1ShowsTheHelp()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        UpgradeDialog dialog;
        QAction* help = DialogTesting::helpAction(dialog);
        QVERIFY(help);
        help->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QVERIFY(catcher.urls.first().fragment().isEmpty()); // the empty topic
    }
};

QTEST_MAIN(TstUpgradeDialog)
#include "tst_upgradedialog.moc"
