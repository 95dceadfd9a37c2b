// The two questions that stand between the user and an unwanted change of the system: the
// free-space question before an upgrade, and the confirmation before an upgrade is stopped.
#include "dialogtesting.h"
#include "fakehelperjobs.h"
#include "testsupport.h"

#include "base/messagebox.h"
#include "base/systempaths.h"
#include "privileged/updatedialog.h"
#include "privileged/upgradedialog.h"
#include "privileged/upgraderequestdialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

using DialogTesting::runWhileOpen;

namespace {
QPushButton* button(QDialog* dialog, QDialogButtonBox::StandardButton which)
{
    return dialog->findChild<QDialogButtonBox*>()->button(which);
}

// The checker as the script `body` in `dir`, which also stands for the root file system unless
// `root` is given.
bool useChecker(const QTemporaryDir& dir, const QByteArray& body, const QString& root = QString())
{
    SystemPaths paths;
    paths.aptCheck = dir.filePath("apt_check");
    paths.rootFileSystem = root.isNull() ? dir.path() : root;
    SystemPaths::setCurrent(paths);
    return TestSupport::writeScript(paths.aptCheck, body);
}

// As the real checker: any other argument is refused on standard error with status 100.
bool useChecker(const QTemporaryDir& dir, const QByteArray& listing, const QByteArray& sizes,
                const QByteArray& keptBack)
{
    return useChecker(dir, "case $1 in -p) printf '" + listing + "' ;; -s) echo '" + sizes +
                               "' ;; -k) printf '" + keptBack +
                               "' ;; *) echo \"E: Unknown argument '$1'.\" >&2; exit 100 ;; esac\n");
}
} // namespace

class TestConfirmations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { SystemPaths::setCurrent(SystemPaths()); }

    void shortOfSpaceAsks_data()
    {
        QTest::addColumn<QByteArray>("sizes"); // what the checker prints for "-s"
        QTest::addColumn<bool>("readableRoot");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("kB"); // asked for: the upgrade's needs and 300 MB to spare
        const int yes = QMessageBox::Yes, no = QMessageBox::No;
        const QString huge = QStringLiteral("9000000000300001");
        QTest::newRow("download larger than any disk, Yes")
            << QByteArray("9000000000000000000;0") << true << yes << int(QDialog::Accepted) << huge;
        QTest::newRow("download larger than any disk, No")
            << QByteArray("9000000000000000000;0") << true << no << int(QDialog::Rejected) << huge;
        QTest::newRow("installed size larger than any disk")
            << QByteArray("0;9000000000000000000") << true << no << int(QDialog::Rejected) << huge;
        QTest::newRow("free space unknown")
            << QByteArray() << false << no << int(QDialog::Rejected) << QStringLiteral("300001");
    }

    void shortOfSpaceAsks()
    {
        QFETCH(QByteArray, sizes);
        QFETCH(bool, readableRoot);
        QFETCH(int, answer);
        QTemporaryDir dir;
        QVERIFY(
            useChecker(dir, "echo '" + sizes + "'\n", readableRoot ? dir.path() : dir.filePath("missing")));
        UpgradeRequestDialog request;
        MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        const int result =
            runWhileOpen([&] { return request.exec(); },
                         [](QDialog* dialog) { button(dialog, QDialogButtonBox::Ok)->click(); });
        QFETCH(QString, kB);
        QCOMPARE(MessageBox::takeShownTexts(),
                 QStringList{"Free disk space is less than " + kB + " kB. Do you want to upgrade now?"});
        QTEST(result, "result");
    }

    // What the upgrade will do, as the checker lists it: a summary, each kind under its heading,
    // security updates first, with label and versions, then the sizes, then what is left out.
    void listingShown_data()
    {
        QTest::addColumn<QByteArray>("listing");  // what the checker prints for "-p"
        QTest::addColumn<QByteArray>("sizes");    // for "-s"
        QTest::addColumn<QByteArray>("keptBack"); // and for "-k"
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("every kind, space freed")
            << QByteArray("u;bash;5.2.15-2;5.2.15-2+b2;\\nu;libc6;2.36-9;2.36-9+deb12u4;security\\n"
                          "i;linux-image-6.1.0-18;;6.1.76-1;\\nd;oldpkg;1.0;;\\n")
            << QByteArray("123456;-2048000") << QByteArray()
            << QStringList{"2 upgraded, 1 newly installed, 1 to remove; 124 kB to download; 2049 kB of disk "
                           "space freed",
                           "The following packages will be upgraded:",
                           "security: libc6 (2.36-9 => 2.36-9+deb12u4)",
                           "bash (5.2.15-2 => 5.2.15-2+b2)",
                           "The following packages will be installed:",
                           "linux-image-6.1.0-18 (6.1.76-1)",
                           "The following packages will be removed:",
                           "oldpkg (1.0)",
                           "Need to get 124 kB of archives.",
                           "After this operation, 2049 kB disk space will be freed."};
        QTest::newRow("space used, what the fixture holds back")
            << QByteArray("u;bash;5.2.15-2;5.2.15-2+b2;\\n") << QByteArray("0;5000")
            << QByteArray("clash;1.0;1.1;kept;removes:keeper\\nheld;1.0;1.1;held;\\n"
                          "needy;1.0;1.1;kept;needs:absent\\nphased;1.0;1.1;phased;0\\n")
            << QStringList{
                   "1 upgraded, 0 newly installed, 0 to remove; nothing to download; 6 kB of disk space "
                   "used",
                   "The following packages will be upgraded:",
                   "bash (5.2.15-2 => 5.2.15-2+b2)",
                   "After this operation, 6 kB of additional disk space will be used.",
                   "The following packages have been kept back:",
                   "clash (1.0 => 1.1): kept back because it would remove keeper",
                   "held (1.0 => 1.1): held by the administrator; release it with \"apt-mark unhold held\"",
                   "needy (1.0 => 1.1): kept back because it needs absent, which cannot be installed",
                   "phased (1.0 => 1.1): deferred by a phased rollout, offered to 0% of systems so far"};
    }
    void listingShown()
    {
        QFETCH(QByteArray, listing);
        QFETCH(QByteArray, sizes);
        QFETCH(QByteArray, keptBack);
        QTemporaryDir dir;
        QVERIFY(useChecker(dir, listing, sizes, keptBack));
        UpgradeRequestDialog request;
        QStringList shown;
        runWhileOpen([&] { return request.exec(); },
                     [&](QDialog* dialog) {
                         dialog->findChild<QToolButton*>("showPackagesButton")->click();
                         const auto* list = dialog->findChild<QListWidget*>();
                         for (int row = 0; row < list->count(); ++row)
                             shown << list->item(row)->text();
                         dialog->reject();
                     });
        QTEST(shown, "shown");
    }

    // An upgrade that removes a package the system needs asks again, naming it, with No as the
    // default, whether or not the list was shown.
    void neededRemovalAsks_data()
    {
        QTest::addColumn<QByteArray>("listing");
        QTest::addColumn<bool>("listShown");
        QTest::addColumn<int>("answer"); // NoButton: the box's default
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("asked");
        const QString ask = "The upgrade would remove %1 package(s) that the system needs (essential or of "
                            "priority required): %2. Do you really want to upgrade?";
        QTest::newRow("essential, list shown, default")
            << QByteArray("u;foo;1.0;1.1;\\nd;baz;1.0;;\\nd;keeper;1.0;;essential\\n") << true
            << int(QMessageBox::NoButton) << int(QDialog::Rejected) << QStringList{ask.arg("1", "keeper")};
        QTest::newRow("two, list folded, Yes")
            << QByteArray("d;halfdone;1.0;;required\\nd;keeper;1.0;;essential\\n") << false
            << int(QMessageBox::Yes) << int(QDialog::Accepted)
            << QStringList{ask.arg("2", "halfdone, keeper")};
        QTest::newRow("ordinary removal")
            << QByteArray("d;baz;1.0;;\\n") << false << int(QMessageBox::NoButton) << int(QDialog::Accepted)
            << QStringList();
    }
    void neededRemovalAsks()
    {
        QFETCH(QByteArray, listing);
        QFETCH(bool, listShown);
        QFETCH(int, answer);
        QTemporaryDir dir;
        QVERIFY(useChecker(dir, listing, "0;0", QByteArray()));
        if (answer == QMessageBox::NoButton)
            MessageBox::setAutoAnswer(true);
        else
            MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        UpgradeRequestDialog request;
        const int result =
            runWhileOpen([&] { return request.exec(); },
                         [&](QDialog* dialog) {
                             if (listShown)
                                 dialog->findChild<QToolButton*>("showPackagesButton")->click();
                             button(dialog, QDialogButtonBox::Ok)->click();
                         });
        MessageBox::setAutoAnswer(false);
        QTEST(MessageBox::takeShownTexts(), "asked");
        QTEST(result, "result");
    }

    // The checker is waited for with the dialog live: a hanging "-s" holds nothing up, a close
    // meanwhile is a No; a listing that prints without end is cut off with an error.
    void checkerRunsServeEvents()
    {
        QTemporaryDir dir;
        QVERIFY(useChecker(dir, "[ \"$1\" = -p ] && exec head -c 16000000 /dev/zero\nexec sleep 60\n"));
        UpgradeRequestDialog request;
        QString listing;
        const int result =
            runWhileOpen([&] { return request.exec(); },
                         [&](QDialog* dialog) {
                             dialog->findChild<QToolButton*>("showPackagesButton")->click();
                             if (QListWidgetItem* first = dialog->findChild<QListWidget*>()->item(0))
                                 listing = first->text();
                             QTimer::singleShot(100, dialog, &QDialog::reject);
                             button(dialog, QDialogButtonBox::Ok)->click();
                         });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(listing, "Error: " + dir.filePath("apt_check") + " printed more than expected");
    }

    void stopAsksFirst_data()
    {
        QTest::addColumn<bool>("listUpdate");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("stops");
        QTest::newRow("upgrade: Yes stops") << false << int(QMessageBox::Yes) << 1;
        QTest::newRow("upgrade: No stops nothing") << false << int(QMessageBox::No) << 0;
        QTest::newRow("list update: Yes stops") << true << int(QMessageBox::Yes) << 1;
    }

    void stopAsksFirst()
    {
        QFETCH(bool, listUpdate);
        QFETCH(int, answer);
        QFETCH(int, stops);
        FakeHelperJobs jobs;
        UpgradeDialog upgrade;
        UpdateDialog update;
        MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        runWhileOpen(
            [&] {
                return listUpdate
                           ? update.exec("apt-get update")
                           : upgrade.exec("apt-get update", "apt-get -y dist-upgrade", "apt-get -f install");
            },
            [](QDialog* dialog) {
                button(dialog, QDialogButtonBox::Cancel)->click();
                dialog->done(0);
            });
        QCOMPARE(MessageBox::takeShownTexts(),
                 QStringList{listUpdate ? "Really abort the package list update process?"
                                        : "Really abort the system upgrade process?"});
        QCOMPARE(jobs.killedJobs.size(), stops);
    }

    // Whatever the helper refuses, or the framework fails at, is explained in the progress
    // dialog, which stays until the user closes it; the tools' output is text, never markup.
    void endsAreExplained_data()
    {
        QTest::addColumn<QString>("action"); // the helper action the dialog runs
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("errorText");
        QTest::addColumn<bool>("dpkgInterrupted");
        QTest::addColumn<QString>("shown");
        const QString refusal = QStringLiteral("Refused: the program \"sh\" is not allowed");
        QTest::newRow("upgrade refused") << "upgrade" << -1 << refusal << false << refusal;
        QTest::newRow("update refused") << "update" << -1 << refusal << false << refusal;
        QTest::newRow("update failed")
            << "update" << 0 << QString() << false << QStringLiteral("Update failed");
        QTest::newRow("not authorized")
            << "upgrade" << 4 << QString() << false << QStringLiteral("You are not allowed");
        QTest::newRow("upgrade failed")
            << "upgrade" << 0 << QString() << false << QStringLiteral("Upgrade failed");
        QTest::newRow("helper busy") << "update" << 6 << QString() << false << QStringLiteral("is busy");
        QTest::newRow("markup in the output")
            << "upgrade" << 0 << QString() << false << QStringLiteral("<a href=x>y</a>");
        QTest::newRow("stopped, dpkg left unfinished")
            << "upgrade" << 0 << QString() << true << QStringLiteral("dpkg --configure -a");
        QTest::newRow("repair failed") << "repair" << 0 << QString() << false
                                       << QStringLiteral("Repairing the package system...\nRepair failed");
    }
    // The bar follows APT's percentages, and a successful upgrade ends with a full bar,
    // whatever dpkg's last status said.
    void successFillsTheBar()
    {
        FakeHelperJobs jobs;
        UpgradeDialog upgrade;
        int midway = 0;
        int value = 0;
        QString log;
        runWhileOpen(
            [&] { return upgrade.exec("apt-get update", "apt-get -y dist-upgrade", "apt-get -f install"); },
            [&](QDialog* dialog) {
                jobs.onData({{"type", "progress"}, {"progress", "42.5"}});
                midway = dialog->findChild<QProgressBar*>()->value();
                jobs.onData({{"type", "progress"}, {"progress", "99.5"}});
                jobs.job->finish(0, {{"message", "success"}});
                value = dialog->findChild<QProgressBar*>()->value();
                log = dialog->findChild<QTextBrowser*>()->toPlainText();
                button(dialog, QDialogButtonBox::Ok)->click();
            });
        // A list update that succeeded is accepted: only then does the notifier check again.
        UpdateDialog update;
        QCOMPARE(runWhileOpen([&] { return update.exec("apt-get update"); },
                              [&](QDialog*) {
                                  jobs.job->finish(0, {{"message", "success"}});
                              }),
                 int(QDialog::Accepted));
        QCOMPARE(midway, 42);
        QCOMPARE(value, 100);
        QVERIFY2(log.endsWith("Upgrade complete"), qPrintable(log));
    }

    void endsAreExplained()
    {
        QFETCH(QString, action);
        QFETCH(int, error);
        QFETCH(QString, errorText);
        QFETCH(bool, dpkgInterrupted);
        QFETCH(QString, shown);
        FakeHelperJobs jobs;
        UpgradeDialog upgradeDialog;
        UpdateDialog updateDialog;
        bool openAfterTheEnd = false;
        QString log;
        runWhileOpen(
            [&] {
                if (action == "repair")
                    return upgradeDialog.execRepair("apt-get -f install");
                return action == "upgrade" ? upgradeDialog.exec("apt-get update", "apt-get -y dist-upgrade",
                                                                "apt-get -f install")
                                           : updateDialog.exec("apt-get update");
            },
            [&](QDialog* dialog) {
                jobs.onData({{"type", "output"}, {"output", "<a href=x>y</a>"}});
                jobs.onData({{"type", "message"}, {"message", "repairing"}});
                const char* status = dpkgInterrupted ? "canceled" : "failed";
                jobs.job->finish(error, {{"message", status}, {"dpkg_interrupted", dpkgInterrupted}},
                                 errorText);
                openAfterTheEnd = dialog->isVisible();
                log = dialog->findChild<QTextBrowser*>()->toPlainText();
                button(dialog, QDialogButtonBox::Ok)->click();
            });
        QVERIFY(openAfterTheEnd);
        QVERIFY2(log.contains(shown), qPrintable(log));
        QVERIFY(jobs.actions.last().name().endsWith("." + action));
    }
};

QTEST_MAIN(TestConfirmations)
#include "tst_confirmations.moc"
