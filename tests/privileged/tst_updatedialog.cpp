#include "dialogtesting.h"
#include "fakehelperjobs.h"

#include "privileged/commands.h"
#include "privileged/messagebox.h"
#include "privileged/updatedialog.h"

#include <QAction>
#include <QtTest>

using namespace DialogTesting;

class TstUpdateDialog : public QObject
{
    Q_OBJECT

private:
    int run(UpdateDialog& dialog, const std::function<void()>& whileOpen)
    {
        return runWhileOpen(
            dialog, [&] { return dialog.exec(defaultCommand(UpdateCommandIndex)); }, whileOpen);
    }

private Q_SLOTS:
    void init() { MessageBox::takeShownTexts(); }
    void cleanup() { MessageBox::setAutoAnswer(false); }

    void formAsBuilt()
    {
        UpdateDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("UpgradeDialog"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Updating package list"));
        QCOMPARE(dialog.size(), QSize(579, 407));
        QVERIFY(!buttons(dialog)->isEnabled());
        QCOMPARE(buttons(dialog)->standardButtons(),
                 QDialogButtonBox::StandardButtons(QDialogButtonBox::Abort));
        // No help shortcut in this dialog.
        for (QAction* action : dialog.actions())
            QVERIFY(action->shortcut() != QKeySequence(QKeySequence::HelpContents));
    }

    void execSendsTheUpdateAction()
    {
        FakeHelperJobs jobs;
        UpdateDialog dialog;
        run(dialog, [&] {
            QVERIFY(jobs.job && jobs.job->started);
            QVERIFY(buttons(dialog)->isEnabled());
            QCOMPARE(buttons(dialog)->standardButtons(),
                     QDialogButtonBox::StandardButtons(QDialogButtonBox::Cancel));
            dialog.reject();
        });
        QCOMPARE(jobs.actions.size(), 1);
        const KAuth::Action& action = jobs.actions.first();
        QCOMPARE(action.name(), QStringLiteral("org.nordwave.tarn.upgradehelper.update"));
        QCOMPARE(action.helperId(), QStringLiteral("org.nordwave.tarn.upgradehelper"));
        QCOMPARE(action.timeout(), 3600000);
        QCOMPARE(action.parentWidget(), &dialog);
        QCOMPARE(action.arguments(), (QVariantMap{{"update_command", defaultCommand(UpdateCommandIndex)}}));
    }

    void progressMapsAppendToTheLog_data()
    {
        QTest::addColumn<QVariantMap>("data");
        QTest::addColumn<QStringList>("appended");
        const auto message = [](const char* value) {
            return QVariantMap{{"type", "message"}, {"message", value}};
        };
        QTest::newRow("output") << QVariantMap{{"type", "output"}, {"output", "Hit:1 file:/repo"}}
                                << QStringList{"Hit:1 file:/repo"};
        QTest::newRow("output without text") << QVariantMap{{"type", "output"}} << QStringList{""};
        QTest::newRow("updating") << message("updating") << QStringList{"<b>Updating...<\\b>"};
        QTest::newRow("waiting") << message("waiting") << QStringList{"<b>Waiting...<\\b>"};
        QTest::newRow("upgrading is not shown") << message("upgrading") << QStringList{};
        QTest::newRow("fixing_broken is not shown") << message("fixing_broken") << QStringList{};
        QTest::newRow("security is not shown") << message("disabling_security_features") << QStringList{};
        QTest::newRow("no type") << QVariantMap{{"message", "updating"}} << QStringList{};
    }

    void progressMapsAppendToTheLog()
    {
        QFETCH(QVariantMap, data);
        QFETCH(QStringList, appended);
        UpdateDialog dialog;
        dialog.onNewData(data);
        QCOMPARE(log(dialog)->toHtml(), logOf(appended));
    }

    void progressIsIgnored_data()
    {
        QTest::addColumn<QVariant>("progress");
        QTest::newRow("number") << QVariant(42.9);
        QTest::newRow("text") << QVariant("42.9");
        QTest::newRow("not a number") << QVariant("half");
    }

    void progressIsIgnored()
    {
        QFETCH(QVariant, progress);
        UpdateDialog dialog;
        bar(dialog)->setValue(17);
        dialog.onNewData({{"type", "progress"}, {"progress", progress}});
        QCOMPARE(bar(dialog)->value(), 17);
        QCOMPARE(log(dialog)->toHtml(), logOf({}));
    }

    void endStatus_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("appended");
        QTest::addColumn<int>("result"); // -2: stays open until Ok
        QTest::newRow("success accepts at once") << "success" << QStringList{"<b>Update complete<\\b>"} << 1;
        QTest::newRow("failed") << "failed" << QStringList{"<b>Update failed<\\b>"} << -2;
        QTest::newRow("canceled") << "canceled" << QStringList{"<b>Update canceled<\\b>"} << 0;
        QTest::newRow("failed_to_start")
            << "failed_to_start" << QStringList{"<b>Unable to start package tool<\\b>"} << -2;
        QTest::newRow("unknown") << "finished" << QStringList{} << -2;
    }

    void endStatus()
    {
        QFETCH(QString, status);
        QFETCH(QStringList, appended);
        QFETCH(int, result);
        FakeHelperJobs jobs;
        UpdateDialog dialog;
        const int got = run(dialog, [&] {
            jobs.job->finish(0, {{"message", status}});
            QCOMPARE(dialog.isVisible(), result == -2);
            QCOMPARE(buttons(dialog)->standardButtons(),
                     QDialogButtonBox::StandardButtons(QDialogButtonBox::Ok));
            QVERIFY(buttons(dialog)->isEnabled());
            if (result == -2)
                buttons(dialog)->button(QDialogButtonBox::Ok)->click();
        });
        // Ok after a failure gives 1 too: the caller checks again either way.
        QCOMPARE(got, result == -2 ? 1 : result);
        QCOMPARE(log(dialog)->toHtml(), logOf(appended));
    }

    void frameworkErrorClosesWithoutALine()
    {
        FakeHelperJobs jobs;
        UpdateDialog dialog;
        const int result = run(dialog, [&] { jobs.job->finish(4); });
        QCOMPARE(result, 0);
        QCOMPARE(log(dialog)->toHtml(), logOf({}));
        QCOMPARE(buttons(dialog)->standardButtons(),
                 QDialogButtonBox::StandardButtons(QDialogButtonBox::Cancel));
    }

    void abortConfirmedStopsTheJob()
    {
        FakeHelperJobs jobs;
        UpdateDialog dialog;
        MessageBox::setNextAnswer(QMessageBox::Yes);
        const int result = run(dialog, [&] {
            buttons(dialog)->button(QDialogButtonBox::Cancel)->click();
            QCOMPARE(MessageBox::takeShownTexts(),
                     QStringList{"Really abort the package list update process?"});
            QCOMPARE(jobs.killedJobs, QList<KJob*>{jobs.job.data()});
            QVERIFY(!buttons(dialog)->isEnabled());
            jobs.job->finish(0, {{"message", "canceled"}});
        });
        QCOMPARE(result, 0);
    }

    void abortDeclinedDoesNothing()
    {
        FakeHelperJobs jobs;
        UpdateDialog dialog;
        MessageBox::setNextAnswer(QMessageBox::No);
        const int result = run(dialog, [&] {
            buttons(dialog)->button(QDialogButtonBox::Cancel)->click();
            QVERIFY(jobs.killedJobs.isEmpty());
            QVERIFY(buttons(dialog)->isEnabled());
            jobs.job->finish(0, {{"message", "success"}});
        });
        QCOMPARE(result, 1);
        QCOMPARE(MessageBox::takeShownTexts(), QStringList{"Really abort the package list update process?"});
    }

    void abortNeverStopsAJobThatEndedMeanwhile()
    {
        FakeHelperJobs jobs;
        UpdateDialog dialog;
        const int result = run(dialog, [&] {
            MessageBox::setNextAnswer(QMessageBox::Yes, [&] {
                jobs.job->finish(0, {{"message", "failed"}});
            });
            dialog.abort();
            QVERIFY(jobs.killedJobs.isEmpty());
            buttons(dialog)->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(result, 1);
    }

    void escapeClosesWithoutQuestionOrStop()
    {
        FakeHelperJobs jobs;
        UpdateDialog dialog;
        MessageBox::setAutoAnswer(true);
        const int result = run(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(result, 0);
        QVERIFY(MessageBox::takeShownTexts().isEmpty());
        QVERIFY(jobs.killedJobs.isEmpty());
    }
};

QTEST_MAIN(TstUpdateDialog)
#include "tst_updatedialog.moc"
