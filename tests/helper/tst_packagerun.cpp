#include "recordingchannel.h"
#include "testsupport.h"

#include "helper/commandpolicy.h"
#include "helper/packagerun.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using TestSupport::readFile;
using TestSupport::writeScript;

// The commands run the scripts standing in for apt-get in a directory of their own. Every run
// appends its operation to "calls" beside them.
class TstPackageRun : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    HelperSettings m_settings;

    QString file(const QString& name) const { return m_dir.filePath(name); }
    QByteArray calls() const { return readFile(file("calls")); }

    // `body` runs after the operation was logged; $op is the operation word.
    void fakeAptGet(const QByteArray& body)
    {
        const QByteArray log = "calls=" + QFile::encodeName(file("calls")) +
                               "\n"
                               "for w in \"$@\"; do case $w in -*|*=*) ;; *) op=$w;; esac; done\n"
                               "echo $op >> $calls\n";
        QVERIFY(writeScript(file("bin/apt-get"), log + body));
    }

    static CheckedCommand command(const QString& line, CommandRole role)
    {
        const CheckedCommand checked = checkCommand(line, role);
        if (!checked.isAcceptable())
            qFatal("%s", qPrintable(checked.error));
        return checked;
    }
    static CheckedCommand update() { return command("apt-get update", CommandRole::Update); }
    static CheckedCommand upgrade() { return command("apt-get -y dist-upgrade", CommandRole::Upgrade); }
    static CheckedCommand fix() { return command("apt-get -y -f install", CommandRole::FixBroken); }

private Q_SLOTS:
    void init()
    {
        QFile::remove(file("calls"));
        QFile::remove(file("bin/apt-get"));
        m_settings = HelperSettings();
        m_settings.binDir = file("bin");
        m_settings.lockRetryMs = 50;
        m_settings.aptConfig = "/sandbox/apt.conf";
    }

    void updateRunsWithAFixedEnvironment()
    {
        fakeAptGet("echo \"args:$*\"\n"
                   "echo \"env:HOME=${HOME-unset} LANG=${LANG-unset} LC_ALL=${LC_ALL-unset} "
                   "DEBIAN_FRONTEND=$DEBIAN_FRONTEND APT_CONFIG=$APT_CONFIG\"\n"
                   "echo \"path:$PATH\"\n"
                   "echo 'W: a warning' >&2\n");
        qputenv("HOME", "/root");
        qputenv("LANG", "de_DE.UTF-8");
        RecordingChannel channel;
        PackageRun run(m_settings, channel);
        QCOMPARE(run.update(command("apt-get -q -o Acquire::Retries=3 update", CommandRole::Update)),
                 "success");
        QCOMPARE(channel.messages(), QStringList{"updating"});
        const QStringList out = channel.outputs();
        QCOMPARE(out.size(), 4);
        QCOMPARE(out.at(0), "args:-q -o Acquire::Retries=3 update");
        QCOMPARE(out.at(1), "env:HOME=unset LANG=unset LC_ALL=unset DEBIAN_FRONTEND=noninteractive "
                            "APT_CONFIG=/sandbox/apt.conf");
        QVERIFY(out.at(2).startsWith("path:/"));
        QCOMPARE(out.at(3), "W: a warning");
    }

    void exitCodeDecides_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("status");
        QTest::newRow("exit 0") << QByteArray("exit 0\n") << "success";
        QTest::newRow("exit 100") << QByteArray("echo 'E: Some index files failed to download.'\nexit 100\n")
                                  << "failed";
        QTest::newRow("killed") << QByteArray("kill -9 $$\n") << "failed";
        QTest::newRow("last line without newline") << QByteArray("printf 'no end'\n") << "success";
    }

    void exitCodeDecides()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, status);
        fakeAptGet(body);
        RecordingChannel channel;
        QCOMPARE(PackageRun(m_settings, channel).update(update()), status);
        if (QByteArray(QTest::currentDataTag()) == "last line without newline")
            QCOMPARE(channel.outputs(), QStringList{"no end"});
    }

    void upgradeSequences_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("withFix");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QByteArray>("calls");
        QTest::addColumn<QStringList>("messages");
        const QByteArray brokenOnce =
            "n=$(grep -c dist-upgrade $calls)\n"
            "if [ $op = dist-upgrade ] && [ $n = 1 ]; then\n"
            "  echo \"You might want to run 'apt-get -f install' to correct these.\"\n"
            "  echo \"E: Unmet dependencies. Try 'apt-get -f install' with no packages.\" >&2\n"
            "  exit 100\n"
            "fi\n";
        QTest::newRow("plain") << QByteArray() << true << "success" << QByteArray("update\ndist-upgrade\n")
                               << QStringList{"updating", "upgrading"};
        QTest::newRow("broken, fixed, upgraded")
            << brokenOnce << true << "success" << QByteArray("update\ndist-upgrade\ninstall\ndist-upgrade\n")
            << QStringList{"updating", "upgrading", "fixing_broken", "upgrading"};
        QTest::newRow("broken without a fix command")
            << brokenOnce << false << "failed" << QByteArray("update\ndist-upgrade\n")
            << QStringList{"updating", "upgrading"};
        QTest::newRow("fix fails") << brokenOnce + "[ $op = install ] && exit 100\nexit 0\n"
                                   << true << "failed" << QByteArray("update\ndist-upgrade\ninstall\n")
                                   << QStringList{"updating", "upgrading", "fixing_broken"};
        QTest::newRow("still broken: one retry only")
            << QByteArray("[ $op = dist-upgrade ] && { echo 'E: Unmet dependencies.'; exit 100; }\nexit 0\n")
            << true << "failed" << QByteArray("update\ndist-upgrade\ninstall\ndist-upgrade\n")
            << QStringList{"updating", "upgrading", "fixing_broken", "upgrading"};
        QTest::newRow("other failure is not repaired")
            << QByteArray("[ $op = dist-upgrade ] && { echo 'E: Failed to fetch'; exit 100; }\nexit 0\n")
            << true << "failed" << QByteArray("update\ndist-upgrade\n")
            << QStringList{"updating", "upgrading"};
        QTest::newRow("failed update stops") << QByteArray("[ $op = update ] && exit 100\nexit 0\n") << true
                                             << "failed" << QByteArray("update\n") << QStringList{"updating"};
    }

    void upgradeSequences()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, withFix);
        QFETCH(QString, status);
        QFETCH(QByteArray, calls);
        QFETCH(QStringList, messages);
        fakeAptGet(body);
        RecordingChannel channel;
        const CheckedCommand up = update();
        const CheckedCommand repair = fix();
        QCOMPARE(PackageRun(m_settings, channel).upgrade(&up, upgrade(), withFix ? &repair : nullptr),
                 status);
        QCOMPARE(this->calls(), calls);
        QCOMPARE(channel.messages(), messages);
    }

    void upgradeWithoutUpdate()
    {
        fakeAptGet("");
        RecordingChannel channel;
        QCOMPARE(PackageRun(m_settings, channel).upgrade(nullptr, upgrade(), nullptr), "success");
        QCOMPARE(calls(), QByteArray("dist-upgrade\n"));
        QCOMPARE(channel.messages(), QStringList{"upgrading"});
    }

    void statusLinesBecomeProgress()
    {
        // With Apt::Status-fd=2 they share stderr with APT's messages.
        fakeAptGet("exec >&2\n"
                   "echo 'dlstatus:1:12.5:Retrieving file 1 of 8'\n"
                   "echo 'Unpacking foo (1.1) over (1.0) ...'\n"
                   "echo 'pmstatus:foo:42.8571:Installing foo'\n"
                   "echo 'pmstatus:foo:not-a-number:Installing foo'\n"
                   "echo 'pmconffile:/etc/foo.conf:50:x'\n"
                   "echo 'pmerror:bar:60:subprocess installed post-installation script returned error'\n"
                   "echo 'pmstatus:dpkg-exec:100:Running dpkg'\n");
        RecordingChannel channel;
        QCOMPARE(PackageRun(m_settings, channel).upgrade(nullptr, upgrade(), nullptr), "success");
        QCOMPARE(channel.progress(), (QList<double>{12.5, 42.8571, 100}));
        QCOMPARE(channel.outputs(),
                 (QStringList{"Unpacking foo (1.1) over (1.0) ...",
                              "bar: subprocess installed post-installation script returned error"}));
    }

    void statusLinesOnStandardOutput()
    {
        fakeAptGet("echo 'pmstatus:foo:50:Installing foo'\n");
        RecordingChannel channel;
        QCOMPARE(PackageRun(m_settings, channel).upgrade(nullptr, upgrade(), nullptr), "success");
        QCOMPARE(channel.progress(), QList<double>{50});
        QVERIFY(channel.outputs().isEmpty());
    }

    void lockedByAnotherManagerWaits()
    {
        // Busy twice, then free.
        fakeAptGet(
            "if [ $(wc -l < $calls) -le 2 ]; then\n"
            "  echo 'E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 "
            "(apt-get)' >&2\n"
            "  echo 'N: Be aware that removing the lock file is not a solution and may break your system.' "
            ">&2\n"
            "  echo 'E: Unable to acquire the dpkg frontend lock (/var/lib/dpkg/lock-frontend), is another "
            "process using it?' >&2\n"
            "  exit 100\n"
            "fi\n"
            "echo done\n");
        RecordingChannel channel;
        QCOMPARE(PackageRun(m_settings, channel).upgrade(nullptr, upgrade(), nullptr), "success");
        QCOMPARE(calls(), QByteArray("dist-upgrade\ndist-upgrade\ndist-upgrade\n"));
        QCOMPARE(channel.messages(), (QStringList{"upgrading", "waiting"}));
        QCOMPARE(
            channel.outputs(),
            (QStringList{
                "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (apt-get)",
                "done"}));
    }

    void lockNotOursToTakeFails()
    {
        // What APT says to a user without rights: no waiting for ever.
        fakeAptGet(
            "echo 'E: Could not open lock file /var/lib/apt/lists/lock - open (13: Permission denied)' >&2\n"
            "echo 'E: Unable to lock directory /var/lib/apt/lists/' >&2\n"
            "exit 100\n");
        RecordingChannel channel;
        QCOMPARE(PackageRun(m_settings, channel).update(update()), "failed");
        QCOMPARE(calls(), QByteArray("update\n"));
        QCOMPARE(channel.outputs().size(), 2);
    }

    void stopWhileWaitingForTheLock()
    {
        fakeAptGet("echo 'E: Could not get lock /var/lib/apt/lists/lock. It is held by process 1 (x)' "
                   ">&2\nexit 100\n");
        RecordingChannel channel;
        channel.stopWhen = [](const RecordingChannel& c) { return c.messages().contains("waiting"); };
        m_settings.lockRetryMs = 60000;
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(PackageRun(m_settings, channel).update(update()), "canceled");
        QVERIFY(elapsed.elapsed() < 5000);
    }

    void stopInterruptsTheProgram()
    {
        fakeAptGet("trap 'echo interrupted; exit 130' INT\n"
                   "echo started\n"
                   "while :; do sleep 0.05; done\n");
        RecordingChannel channel;
        channel.stopWhen = [](const RecordingChannel& c) { return c.outputs().contains("started"); };
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(PackageRun(m_settings, channel).upgrade(nullptr, upgrade(), nullptr), "canceled");
        QVERIFY(elapsed.elapsed() < 5000);
        const QStringList out = channel.outputs();
        QVERIFY2(out.contains("interrupted"), qPrintable(out.join('|')));
        QVERIFY(out.filter("dpkg --configure -a").isEmpty());
    }

    void stopWaitsForWhatTheProgramLeftBehind()
    {
        // The program ends at once, a child of it (think dpkg) finishes its work afterwards.
        fakeAptGet("trap 'exit 130' INT\n"
                   "(sleep 0.5; echo finished > " +
                   QFile::encodeName(file("marker")) +
                   ") &\n"
                   "echo started\n"
                   "while :; do sleep 0.05; done\n");
        QFile::remove(file("marker"));
        RecordingChannel channel;
        channel.stopWhen = [](const RecordingChannel& c) { return c.outputs().contains("started"); };
        QCOMPARE(PackageRun(m_settings, channel).upgrade(nullptr, upgrade(), nullptr), "canceled");
        QCOMPARE(readFile(file("marker")), QByteArray("finished\n"));
    }

    void programIgnoringTheStopIsEndedAndSaysSo()
    {
        fakeAptGet("trap '' INT\n"
                   "echo $$ > " +
                   QFile::encodeName(file("pid")) +
                   "\n"
                   "echo started\n"
                   "while :; do sleep 0.05; done\n");
        m_settings.stopGraceMs = 300;
        m_settings.killGraceMs = 300;
        RecordingChannel channel;
        channel.stopWhen = [](const RecordingChannel& c) { return c.outputs().contains("started"); };
        QCOMPARE(PackageRun(m_settings, channel).upgrade(nullptr, upgrade(), nullptr), "canceled");
        QCOMPARE(channel.outputs().filter("dpkg --configure -a").size(), 1);
        const pid_t pid = readFile(file("pid")).trimmed().toInt();
        QVERIFY(pid > 0);
        QVERIFY(::kill(pid, 0) != 0); // gone and reaped
    }

    void stopBeforeTheNextCommandRunsNothingMore()
    {
        fakeAptGet("exit 0\n");
        RecordingChannel channel;
        // Stop requested while the update runs: the upgrade must not start.
        channel.stopWhen = [this](const RecordingChannel&) { return calls().contains("update"); };
        const CheckedCommand up = update();
        QCOMPARE(PackageRun(m_settings, channel).upgrade(&up, upgrade(), nullptr), "canceled");
        QCOMPARE(calls(), QByteArray("update\n"));
    }

    void outputHeldOpenByADaemonDoesNotBlock()
    {
        fakeAptGet("(sleep 6 &)\necho installed\nexit 0\n");
        RecordingChannel channel;
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(PackageRun(m_settings, channel).update(update()), "success");
        QVERIFY(elapsed.elapsed() < 5000);
        QCOMPARE(channel.outputs(), QStringList{"installed"});
    }

    void missingProgramFailsToStart()
    {
        RecordingChannel channel;
        QCOMPARE(PackageRun(m_settings, channel).update(update()), "failed_to_start");
        QCOMPARE(channel.outputs().size(), 1);
        QVERIFY(channel.outputs().first().startsWith("Unable to start apt-get"));
    }
};

QTEST_GUILESS_MAIN(TstPackageRun)
#include "tst_packagerun.moc"
