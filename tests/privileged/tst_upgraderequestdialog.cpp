#include "dialogtesting.h"
#include "testsupport.h"

#include "privileged/messagebox.h"
#include "privileged/systempaths.h"
#include "privileged/upgraderequestdialog.h"

#include <QAction>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>
#include <memory>
#include <signal.h>
#include <unistd.h>

using DialogTesting::runWhileOpen;

namespace {

// The checker's stand-in answers "-p" and "-s" from files next to it and logs every call.
// <n>.out and <n>.err are printed, <n>.code is the exit code; <n>.crash makes it die of a
// signal after printing; <n>.hang makes it sleep for a minute, with its pid in <n>.pid.
const QByteArray CheckerScript = R"(d=$(dirname "$0")
echo "$1" >> "$d/calls"
case "$1" in -p|-s) ;; *) exit 2 ;; esac
n=${1#-}
if [ -e "$d/$n.hang" ]; then echo $$ > "$d/$n.pid.new"; mv "$d/$n.pid.new" "$d/$n.pid"; exec sleep 60; fi
cat "$d/$n.out" 2>/dev/null
cat "$d/$n.err" >&2 2>/dev/null
[ -e "$d/$n.crash" ] && kill -SEGV $$
exit $(cat "$d/$n.code" 2>/dev/null || echo 0)
)";

const qint64 Base = 300000000;

QString textOf(const char* kind)
{
    return QStringLiteral("The following packages will be %1:").arg(QLatin1String(kind));
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

class TstUpgradeRequestDialog : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    QString path(const QString& name) const { return m_dir->filePath(name); }
    void put(const QString& name, const QByteArray& contents = {})
    {
        QVERIFY(TestSupport::writeFile(path(name), contents));
    }
    QStringList calls() const
    {
        return QString::fromUtf8(TestSupport::readFile(path(QStringLiteral("calls"))))
            .split('\n', Qt::SkipEmptyParts);
    }
    // Called inside the listing's loop: waits until the hanging checker has really started.
    void waitUntilHanging() const
    {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path(QStringLiteral("p.pid"))), 30000);
    }
    // The hanging checker was stopped, not left to run its minute.
    void verifyStopped() const
    {
        const pid_t pid = TestSupport::readFile(path(QStringLiteral("p.pid"))).trimmed().toInt();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, 0), -1);
    }
    void setRoot(const QString& root)
    {
        SystemPaths paths = SystemPaths::current();
        paths.rootFileSystem = root;
        SystemPaths::setCurrent(paths);
    }

    static QToolButton* button(QDialog& dialog)
    {
        return dialog.findChild<QToolButton*>(QStringLiteral("showPackagesButton"));
    }
    static QListWidget* list(QDialog& dialog)
    {
        return dialog.findChild<QListWidget*>(QStringLiteral("packageListWidget"));
    }
    static QStringList items(QDialog& dialog)
    {
        QStringList texts;
        for (int row = 0; row < list(dialog)->count(); ++row)
            texts << list(dialog)->item(row)->text();
        return texts;
    }
    static QPushButton* ok(QDialog& dialog)
    {
        return DialogTesting::buttons(dialog)->button(QDialogButtonBox::Ok);
    }
    int run(UpgradeRequestDialog& dialog, const std::function<void()>& whileOpen)
    {
        return runWhileOpen(
            dialog, [&] { return dialog.exec(); }, whileOpen);
    }

private Q_SLOTS:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        QVERIFY(TestSupport::writeScript(path(QStringLiteral("apt_check")), CheckerScript));
        SystemPaths paths;
        paths.aptCheck = path(QStringLiteral("apt_check"));
        paths.rootFileSystem = m_dir->path();
        SystemPaths::setCurrent(paths);
        MessageBox::takeShownTexts();
    }

    void cleanup()
    {
        MessageBox::setAutoAnswer(false);
        SystemPaths::setCurrent(SystemPaths());
    }

    void formAsBuilt()
    {
        UpgradeRequestDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("UpgradeRequestDialog"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Update Notifier"));
        QCOMPARE(dialog.size(), QSize(667, dialog.sizeHint().height()));
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("label"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Really upgrade system?"));
        QCOMPARE(label->alignment(), Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(button(dialog)->text(), QStringLiteral("List of packages"));
        QVERIFY(button(dialog)->isCheckable());
        QVERIFY(!button(dialog)->isChecked());
        QVERIFY(button(dialog)->autoRaise());
        QCOMPARE(button(dialog)->arrowType(), Qt::RightArrow);
        QCOMPARE(button(dialog)->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QVERIFY(list(dialog)->isHidden());
        QCOMPARE(list(dialog)->count(), 0);
        QCOMPARE(DialogTesting::buttons(dialog)->standardButtons(),
                 QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QVERIFY(calls().isEmpty()); // nothing runs before the user asks
    }

    void listing_data()
    {
        QTest::addColumn<QByteArray>("listing");
        QTest::addColumn<QStringList>("shown");
        const QString up = textOf("upgraded");
        const QString in = textOf("installed");
        const QString rm = textOf("removed");

        QTest::newRow("upgrade with label")
            << QByteArray("u;libfoo;1.0;1.1;security") << QStringList{up, "security: libfoo (1.0 => 1.1)"};
        QTest::newRow("upgrade without label")
            << QByteArray("u;libfoo;1.0;1.1;") << QStringList{up, "libfoo (1.0 => 1.1)"};
        QTest::newRow("install without label") << QByteArray("i;bar;;2.0;") << QStringList{in, "bar (2.0)"};
        QTest::newRow("install with label")
            << QByteArray("i;bar;;2.0;backports") << QStringList{in, "backports: bar (2.0)"};
        QTest::newRow("remove never shows a label")
            << QByteArray("d;baz;3.1;;x") << QStringList{rm, "baz (3.1)"};
        QTest::newRow("remove without label") << QByteArray("d;baz;3.1;;") << QStringList{rm, "baz (3.1)"};
        QTest::newRow("four fields") << QByteArray("u;libfoo;1.0;1.1") << QStringList{};
        QTest::newRow("six fields") << QByteArray("u;libfoo;1.0;1.1;security;x") << QStringList{};
        QTest::newRow("upper-case kind") << QByteArray("U;libfoo;1.0;1.1;") << QStringList{};
        QTest::newRow("unknown kind") << QByteArray("r;libfoo;1.0;1.1;") << QStringList{};
        QTest::newRow("kind with blank") << QByteArray("u ;libfoo;1.0;1.1;") << QStringList{};
        QTest::newRow("nothing") << QByteArray("") << QStringList{};
        QTest::newRow("only white space") << QByteArray(" \n\n ") << QStringList{};
        QTest::newRow("groups in fixed order, lines in their own order")
            << QByteArray("d;r1;1;;\nu;u1;1;2;\ni;n1;;1;\nU;skipped;1;2;\nu;u2;3;4;sec\nd;r2;2;;\ni;n2;;5;\n")
            << QStringList{up,       "u1 (1 => 2)", "sec: u2 (3 => 4)", in, "n1 (1)", "n2 (5)", rm,
                           "r1 (1)", "r2 (2)"};
        QTest::newRow("headers only for groups with lines")
            << QByteArray("d;r1;1;;\nu;libfoo;1.0;1.1\n") << QStringList{rm, "r1 (1)"};
        QTest::newRow("blank lines around and between")
            << QByteArray("\n\n  u;a;1;2;\n\ni;b;;1;  \n\n") << QStringList{up, "a (1 => 2)", in, "b (1)"};
        QTest::newRow("placeholders in fields stay text")
            << QByteArray("u;lib%2;%3;%1;%1") << QStringList{up, "%1: lib%2 (%3 => %1)"};
        QTest::newRow("local 8-bit text")
            << QByteArray("i;caf\xc3\xa9;;1;") << QStringList{in, "caf\u00e9 (1)"};
    }

    void listing()
    {
        QFETCH(QByteArray, listing);
        QFETCH(QStringList, shown);
        put("p.out", listing);
        UpgradeRequestDialog dialog;
        button(dialog)->setChecked(true); // no sizes: the checker prints nothing for "-s"
        QCOMPARE(items(dialog), shown);
        QCOMPARE(calls(), (QStringList{"-p", "-s"}));
    }

    void sizes_data()
    {
        QTest::addColumn<QByteArray>("sizes");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("download and freed")
            << QByteArray("1499;-2400")
            << QStringList{"Need to get 2 kB of archives.",
                           "After this operation, 3 kB disk space will be freed."};
        QTest::newRow("nothing at all")
            << QByteArray("0;0")
            << QStringList{"After this operation, 1 kB of additional disk space will be used."};
        QTest::newRow("used") << QByteArray("1000;999")
                              << QStringList{
                                     "Need to get 2 kB of archives.",
                                     "After this operation, 1 kB of additional disk space will be used."};
        QTest::newRow("white space around")
            << QByteArray(" \n 999 ; 2500 \n")
            << QStringList{"Need to get 1 kB of archives.", "After this operation, 3 kB of additional disk "
                                                            "space will be used."};
        QTest::newRow("negative download gives no line")
            << QByteArray("-5;-1") << QStringList{"After this operation, 1 kB disk space will be freed."};
        QTest::newRow("field that does not parse counts as 0")
            << QByteArray("lots;12x")
            << QStringList{"After this operation, 1 kB of additional disk space will be used."};
        QTest::newRow("empty fields")
            << QByteArray(";")
            << QStringList{"After this operation, 1 kB of additional disk space will be used."};
        QTest::newRow("64-bit extremes")
            << QByteArray("9223372036854775807;-9223372036854775808")
            << QStringList{"Need to get 9223372036854776 kB of archives.",
                           "After this operation, 9223372036854776 kB disk space will be freed."};
        QTest::newRow("one field") << QByteArray("1499") << QStringList{};
        QTest::newRow("three fields") << QByteArray("1499;1;2") << QStringList{};
        QTest::newRow("two lines") << QByteArray("1;2\n3;4") << QStringList{};
        QTest::newRow("silent") << QByteArray() << QStringList{};
    }

    void sizes()
    {
        QFETCH(QByteArray, sizes);
        QFETCH(QStringList, shown);
        put("p.out", "u;a;1;2;\n");
        put("s.out", sizes);
        UpgradeRequestDialog dialog;
        button(dialog)->setChecked(true);
        QCOMPARE(items(dialog), QStringList({textOf("upgraded"), "a (1 => 2)"}) + shown);
    }

    void sizesFromAFailingRunAreStillShown()
    {
        // Only the listing's exit decides; the sizes are shown whenever they have their shape.
        put("p.out", "u;a;1;2;\n");
        put("s.out", "2000;0");
        put("s.code", "1");
        UpgradeRequestDialog dialog;
        button(dialog)->setChecked(true);
        QCOMPARE(items(dialog).mid(2),
                 QStringList({"Need to get 3 kB of archives.",
                              "After this operation, 1 kB of additional disk space will "
                              "be used."}));
    }

    void listingFailure_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<bool>("crash");
        QTest::addColumn<QByteArray>("errors");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("exit 100 with apt's lines")
            << QByteArray("100") << false
            << QByteArray("E: Could not open lock file\nW: Some index files failed\n")
            << QStringList{"Error: Unknown error", "E: Could not open lock file",
                           "W: Some index files failed"};
        QTest::newRow("exit 1, standard error trimmed, inner blank line kept")
            << QByteArray("1") << false << QByteArray("\n  E: one\n\nE: two  \n\n")
            << QStringList{"Error: Unknown error", "E: one", "", "E: two"};
        QTest::newRow("exit 1 without a word")
            << QByteArray("1") << false << QByteArray() << QStringList{"Error: Unknown error"};
        QTest::newRow("crash") << QByteArray("0") << true << QByteArray("E: bad\n")
                               << QStringList{"Error: Process crashed", "E: bad"};
    }

    void listingFailure()
    {
        QFETCH(QByteArray, code);
        QFETCH(bool, crash);
        QFETCH(QByteArray, errors);
        QFETCH(QStringList, shown);
        put("p.out", "u;a;1;2;\n"); // not shown: the run failed
        put("p.err", errors);
        put("p.code", code);
        if (crash)
            put("p.crash");
        put("s.out", "1499;-2400");
        UpgradeRequestDialog dialog;
        button(dialog)->setChecked(true);
        QCOMPARE(items(dialog), shown);
        QCOMPARE(calls(), QStringList{"-p"}); // no sizes after a failure
    }

    void checkerThatCannotStart_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("shown");
        QTest::newRow("missing") << false << "Error: execvp: No such file or directory";
        QTest::newRow("not executable") << true << "Error: execvp: Permission denied";
    }

    void checkerThatCannotStart()
    {
        QFETCH(bool, exists);
        QFETCH(QString, shown);
        SystemPaths paths = SystemPaths::current();
        paths.aptCheck = path(QStringLiteral("no_checker"));
        if (exists)
            put("no_checker", "#!/bin/sh\necho 'u;a;1;2;'\n");
        SystemPaths::setCurrent(paths);
        UpgradeRequestDialog dialog;
        button(dialog)->setChecked(true);
        QCOMPARE(items(dialog), QStringList{shown});
        // The user can still confirm.
        MessageBox::setAutoAnswer(true);
        QCOMPARE(run(dialog, [&] { ok(dialog)->click(); }), int(QDialog::Accepted));
    }

    void receivingWhileTheCheckerRuns()
    {
        put("p.hang");
        UpgradeRequestDialog dialog;
        QStringList seen;
        QTimer::singleShot(0, &dialog, [&] {
            waitUntilHanging();
            seen = items(dialog);
            dialog.reject();
        });
        button(dialog)->setChecked(true);
        QCOMPARE(seen, QStringList{"Receiving package list..."});
    }

    void collapsingAndExpandingRunsTheCheckerOnce()
    {
        put("p.out", "u;a;1;2;\n");
        put("s.out", "1499;-2400");
        UpgradeRequestDialog dialog;
        dialog.show();
        button(dialog)->setChecked(true);
        const QStringList loaded = items(dialog);
        QCOMPARE(loaded.size(), 4);
        QVERIFY(!list(dialog)->isHidden());
        QCOMPARE(button(dialog)->arrowType(), Qt::DownArrow);
        QCOMPARE(dialog.minimumHeight(), 50);
        QCOMPARE(dialog.maximumHeight(), 4096);
        const int expandedHeight = dialog.sizeHint().height();

        button(dialog)->setChecked(false);
        QVERIFY(list(dialog)->isHidden());
        QCOMPARE(button(dialog)->arrowType(), Qt::RightArrow);
        QCOMPARE(dialog.minimumHeight(), dialog.maximumHeight()); // fixed while folded
        QCOMPARE(dialog.maximumHeight(), dialog.sizeHint().height());
        QVERIFY(dialog.maximumHeight() < expandedHeight); // the list's room is given back

        put("p.out", "i;other;;1;\n");
        button(dialog)->setChecked(true);
        QVERIFY(!list(dialog)->isHidden());
        QCOMPARE(dialog.maximumHeight(), 4096);
        QCOMPARE(items(dialog), loaded);
        QCOMPARE(calls(), (QStringList{"-p", "-s"}));
    }

    void togglingWhileTheCheckerRunsStartsNoSecond()
    {
        put("p.out", "u;a;1;2;\n");
        put("p.hang");
        UpgradeRequestDialog dialog;
        dialog.show();
        QTimer::singleShot(0, &dialog, [&] {
            waitUntilHanging();
            button(dialog)->setChecked(false);
            button(dialog)->setChecked(true);
            QCOMPARE(items(dialog), QStringList{"Receiving package list..."});
            QCOMPARE(calls(), QStringList{"-p"});
            dialog.reject();
        });
        button(dialog)->setChecked(true);
        QCOMPARE(calls(), QStringList{"-p"});
    }

    void expandBeforeShow()
    {
        put("p.out", "d;old;1;;\n");
        UpgradeRequestDialog dialog;
        dialog.expandPackageList();
        QVERIFY(button(dialog)->isChecked());
        QVERIFY(button(dialog)->isHidden());
        QVERIFY(!list(dialog)->isHidden());
        QCOMPARE(items(dialog), (QStringList{textOf("removed"), "old (1)"}));
        QCOMPARE(calls(), (QStringList{"-p", "-s"}));

        const int result = run(dialog, [&] {
            QVERIFY(list(dialog)->isVisible());
            QVERIFY(!button(dialog)->isVisible());
            dialog.reject();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(calls(), (QStringList{"-p", "-s"})); // showing loads nothing again
    }

    void closingWhileTheListingRuns_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("result");
        QTest::newRow("Cancel") << false << int(QDialog::Rejected);
        QTest::newRow("Ok") << true << int(QDialog::Accepted);
    }

    void closingWhileTheListingRuns()
    {
        QFETCH(bool, accept);
        QFETCH(int, result);
        put("p.hang");
        MessageBox::setAutoAnswer(true); // Yes, should the disk here be short
        UpgradeRequestDialog dialog;
        bool handlerDone = false;
        QElapsedTimer clock;
        clock.start();
        const int got = run(dialog, [&] {
            QTimer::singleShot(0, &dialog, [&] {
                waitUntilHanging();
                QVERIFY(dialog.isVisible());
                DialogTesting::buttons(dialog)
                    ->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                    ->click();
                QVERIFY(!dialog.isVisible());
            });
            button(dialog)->setChecked(true); // returns when the listing's loop ends
            handlerDone = true;
        });
        QVERIFY(handlerDone);
        QCOMPARE(got, result);
        // The closed dialog did not wait for the checker's minute: it was stopped.
        QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
        verifyStopped();
        QCOMPARE(calls(), accept ? QStringList({"-p", "-s"}) : QStringList{"-p"});
        QCOMPARE(items(dialog), QStringList{});

        // Opened again, the list loads afresh.
        QFile::remove(path("p.hang"));
        put("p.out", "u;a;1;2;\n");
        button(dialog)->setChecked(false);
        button(dialog)->setChecked(true);
        QCOMPARE(items(dialog), (QStringList{textOf("upgraded"), "a (1 => 2)"}));
    }

    void goneWhileTheListingRuns_data()
    {
        QTest::addColumn<bool>("expand");
        QTest::addColumn<bool>("close");
        QTest::newRow("deleteLater, toggled") << false << false;
        QTest::newRow("deleteLater, expandPackageList") << true << false;
        QTest::newRow("closed with delete-on-close, toggled") << false << true;
        QTest::newRow("closed with delete-on-close, expandPackageList") << true << true;
    }

    void goneWhileTheListingRuns()
    {
        QFETCH(bool, expand);
        QFETCH(bool, close);
        put("p.hang");
        QPointer<UpgradeRequestDialog> dialog = new UpgradeRequestDialog;
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        QTimer::singleShot(0, this, [&] {
            waitUntilHanging();
            if (close)
                dialog->close();
            else
                dialog->deleteLater();
        });
        if (expand)
            dialog->expandPackageList();
        else
            button(*dialog)->setChecked(true);
        // The handler returned into the button's signal with the dialog still there; it goes
        // once the event loop has it again.
        QVERIFY(!dialog.isNull());
        verifyStopped();
        // Generous: a sanitizer build on a loaded machine is slow to get there.
        QTRY_VERIFY_WITH_TIMEOUT(dialog.isNull(), 30000);
    }

    void requiredSpace_data()
    {
        QTest::addColumn<QString>("sizes");
        QTest::addColumn<qint64>("required");
        QTest::newRow("download added, freed space never subtracted") << "10;-5" << Base + 10;
        QTest::newRow("both added") << "10;5" << Base + 15;
        QTest::newRow("white space") << "\n 7 ; 3 \n" << Base + 10;
        QTest::newRow("no sizes") << "" << Base;
        QTest::newRow("one field") << "10" << Base;
        QTest::newRow("three fields") << "10;5;1" << Base;
        QTest::newRow("field that does not parse") << "x;5" << Base + 5;
        QTest::newRow("negative download lowers nothing") << "-1000;0" << Base;
        QTest::newRow("saturates instead of overflowing")
            << "9223372036854775807;9223372036854775807" << std::numeric_limits<qint64>::max();
    }

    void requiredSpace()
    {
        QFETCH(QString, sizes);
        QFETCH(qint64, required);
        QCOMPARE(UpgradeRequestDialog::requiredSpace(sizes), required);
    }

    void shortOfSpaceAsks_data()
    {
        QTest::addColumn<QByteArray>("sizes");
        QTest::addColumn<bool>("readableRoot");
        QTest::addColumn<QString>("required");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        // More than any disk holds.
        const QByteArray huge = "9000000000000000000;-5";
        QTest::newRow("Yes accepts") << huge << true << "9000000000300001" << int(QMessageBox::Yes)
                                     << int(QDialog::Accepted);
        QTest::newRow("No rejects") << huge << true << "9000000000300001" << int(QMessageBox::No)
                                    << int(QDialog::Rejected);
        QTest::newRow("box closed otherwise rejects")
            << huge << true << "9000000000300001" << int(QMessageBox::NoButton) << int(QDialog::Rejected);
        QTest::newRow("change counted")
            << QByteArray("8000000000000000000;1000000000000000000") << true << "9000000000300001"
            << int(QMessageBox::No) << int(QDialog::Rejected);
        // A root whose free space cannot be read counts as short.
        QTest::newRow("unknown space, no sizes")
            << QByteArray() << false << "300001" << int(QMessageBox::Yes) << int(QDialog::Accepted);
        QTest::newRow("unknown space, sizes") << QByteArray("5000000;-5") << false << "305001"
                                              << int(QMessageBox::No) << int(QDialog::Rejected);
    }

    void shortOfSpaceAsks()
    {
        QFETCH(QByteArray, sizes);
        QFETCH(bool, readableRoot);
        QFETCH(QString, required);
        QFETCH(int, answer);
        QFETCH(int, result);
        put("s.out", sizes);
        if (!readableRoot)
            setRoot(path("no/such/dir"));
        UpgradeRequestDialog dialog;
        MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        const int got = run(dialog, [&] { ok(dialog)->click(); });
        QCOMPARE(got, result);
        QCOMPARE(MessageBox::takeShownTexts(),
                 QStringList{QStringLiteral("Free disk space is less than %1 kB. Do you want to upgrade now?")
                                 .arg(required)});
        QCOMPARE(calls(), QStringList{"-s"});
    }

    void enoughSpaceAcceptsWithoutAQuestion_data()
    {
        QTest::addColumn<QByteArray>("sizes");
        QTest::newRow("no sizes") << QByteArray();
        QTest::newRow("small upgrade") << QByteArray("1000;2000");
        QTest::newRow("freeing more than the base") << QByteArray("0;-900000000");
    }

    void enoughSpaceAcceptsWithoutAQuestion()
    {
        QFETCH(QByteArray, sizes);
        const qint64 available = QStorageInfo(m_dir->path()).bytesAvailable();
        if (available < Base + 200000000)
            QSKIP("the temporary directory's file system has less than 500 MB free");
        put("s.out", sizes);
        MessageBox::setAutoAnswer(true);
        UpgradeRequestDialog dialog;
        QCOMPARE(run(dialog, [&] { ok(dialog)->click(); }), int(QDialog::Accepted));
        QCOMPARE(MessageBox::takeShownTexts(), QStringList{});
    }

    void cancelRunsNothing()
    {
        MessageBox::setAutoAnswer(true);
        UpgradeRequestDialog dialog;
        QCOMPARE(run(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }), int(QDialog::Rejected));
        QCOMPARE(calls(), QStringList{});
        QCOMPARE(MessageBox::takeShownTexts(), QStringList{});
    }

    void f1ShowsTheHelp()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        UpgradeRequestDialog dialog;
        QAction* help = DialogTesting::helpAction(dialog);
        QVERIFY(help);
        help->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QVERIFY(catcher.urls.first().fragment().isEmpty()); // the empty topic
    }
};

QTEST_MAIN(TstUpgradeRequestDialog)
#include "tst_upgraderequestdialog.moc"
