// The helper's own rules, without KAuth: what its allow-lists accept (the rows of
// tests/fixtures/helper/policy.txt) and how it runs the package tool, with a fake apt-get.
#include "helper/childprocess.h"
#include "helper/packagerun.h"
#include "policy/aptfilepolicy.h"
#include "policy/commandpolicy.h"

#include <QtTest>

#include <unistd.h>

namespace {

// Asks to stop once the program has started, and in any case after `stopAfterMs`, so a run
// that would never end fails its test instead of hanging it.
class Channel : public ActionChannel
{
public:
    QStringList outputs;
    QDeadlineTimer stopAfterMs{60000};
    void send(const QVariantMap& data) override { outputs << data.value("output").toString(); }
    bool stopRequested() override { return outputs.contains("started") || stopAfterMs.hasExpired(); }
};

bool install(const QString& path, const QByteArray& text)
{
    QFile program(path);
    return program.open(QIODevice::WriteOnly) && program.write(text) == text.size() &&
           program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
}

} // namespace

class TstHelper : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A command line, APT configuration text or list file path, and whether the helper may act on it.
    void policy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("input");
        QFile rows(QStringLiteral(TARN_POLICY_ROWS));
        QVERIFY2(rows.open(QIODevice::ReadOnly | QIODevice::Text), TARN_POLICY_ROWS);
        static const QRegularExpression row(QStringLiteral("^(\\S+)\\s+(accept|refuse) ?(.*)$"));
        for (int number = 1; !rows.atEnd(); ++number) {
            const QString line = QString::fromUtf8(rows.readLine()).remove(QLatin1Char('\n'));
            const QRegularExpressionMatch match = row.match(line);
            QVERIFY2(match.hasMatch() || line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')),
                     qPrintable(QStringLiteral("line %1 is not a row").arg(number)));
            if (match.hasMatch())
                QTest::addRow("line %d: %s", number, qPrintable(line.left(70)))
                    << match.captured(1) << (match.captured(2) == QLatin1String("accept"))
                    << match.captured(3)
                           .replace(QLatin1String("\\n"), QLatin1String("\n"))
                           .replace(QLatin1String("\\x00"), QString(QChar(0)))
                           .replace(QLatin1String("\\xa0"), QString(QChar(0xa0)));
        }
    }

    void policy()
    {
        QFETCH(QString, kind);
        QFETCH(bool, accepted);
        QFETCH(QString, input);
        QString error;
        if (kind == QLatin1String("aptconf"))
            error = checkAptConfigText(input.toLatin1());
        else if (kind == QLatin1String("pmtool"))
            error = refusalOfPackageManagerCommand(input);
        else if (kind == QLatin1String("list"))
            error = checkSourceListPath(input, QStringLiteral("/etc/apt/sources.list"),
                                        QStringLiteral("/etc/apt/sources.list.d/"));
        else
            error = refusalOfCommand(kind == QLatin1String("update") ? CommandRole::Update
                                     : kind == QLatin1String("fix")  ? CommandRole::FixBroken
                                                                     : CommandRole::Upgrade,
                                     input);
        QVERIFY2(error.isEmpty() == accepted, qPrintable(error.isEmpty() ? "accepted" : error));
    }

    // An upgrade (after "apt-get update") with a fake apt-get, or a repair with a fake dpkg: its
    // script, the reply status and what the log must and must not show.
    void upgradeRun_data()
    {
        QTest::addColumn<QByteArray>("aptGet");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("notShown");
        QTest::addColumn<bool>("repair"); // the script is dpkg's, run by a repair
        QTest::newRow("a stop in the repair still tells of dpkg's journal")
            << QByteArray("exit 0 if $op eq 'update'; if ($op eq 'dist-upgrade') { print \"E: Unmet "
                          "dependencies.\\n\"; exit 100 } mkdir \"$bin/updates\"; open(my $f, '>', "
                          "\"$bin/updates/0001\"); print \"started\\n\"; sleep 30;")
            << "canceled"
            << "dpkg --configure -a"
            << "" << false;
        QTest::newRow("an orphaned dpkg is waited for")
            << QByteArray("exit 0 if $op eq 'update'; if (!fork()) { $0 = 'dpkg'; mkdir \"$bin/updates\"; "
                          "open(my $f, '>', \"$bin/updates/0001\"); close $f; sleep 3; unlink "
                          "\"$bin/updates/0001\"; exit 0 } select(undef, undef, undef, 0.05) until -e "
                          "\"$bin/updates/0001\"; print \"upgraded\\n\";")
            << "success"
            << "upgraded"
            << "dpkg --configure -a" << false;
        QTest::newRow("a failed update goes on")
            << QByteArray("if ($op eq 'update') { print \"E: Failed to fetch\\n\"; exit 100 } print "
                          "\"upgraded\\n\";")
            << "success"
            << "upgraded"
            << "" << false;
        QTest::newRow("a hung update is interrupted")
            << QByteArray("if ($op eq 'update') { sleep 30; exit 0 } print \"upgraded\\n\";") << "success"
            << "did not finish within"
            << "" << false;
        QTest::newRow("an endless line is cut")
            << QByteArray("print 'x' x 200000; print \"\\nupgraded\\n\";") << "success"
            << "longer than"
            << "" << false;
        QTest::newRow("dpkg left interrupted")
            << QByteArray("mkdir \"$bin/updates\"; open(my $f, '>', \"$bin/updates/0001\"); exit 100;")
            << "failed"
            << "dpkg --configure -a"
            << "" << false;
        QTest::newRow("a stop in the repair's dpkg lets it finish")
            << QByteArray("print \"started\\n\"; sleep 1; print \"configured\\n\";") << "success"
            << "The stop came too late"
            << "" << true;
    }

    void upgradeRun()
    {
        QFETCH(QByteArray, aptGet);
        QFETCH(QString, status);
        QFETCH(QString, shown);
        QFETCH(QString, notShown);
        QFETCH(bool, repair);
        // The real apt-config names dpkg's status file in a folder with a quote in its name, which
        // it quotes its own way; nothing of this machine's APT configuration is read.
        QTemporaryDir bin(QDir::tempPath() + "/tarn'XXXXXX");
        QVERIFY(QFile::link("/usr/bin/apt-config", bin.filePath("apt-config")) &&
                QDir(bin.path()).mkdir("parts"));
        QVERIFY(install(bin.filePath("apt.conf"),
                        QString("Dir::Etc::main \"/dev/null\"; Dir::Etc::parts \"%1/parts\"; "
                                "Dir::State::status \"%1/status\";\n")
                            .arg(bin.path())
                            .toUtf8()));
        QVERIFY(install(bin.filePath(repair ? "dpkg" : "apt-get"),
                        "#!/usr/bin/perl\n$| = 1; $SIG{INT} = sub {}; my $bin = $0 =~ s|/[^/]*$||r; my $op = "
                        "$ARGV[-1];\n" +
                            aptGet));
        HelperSettings settings;
        settings.binDir = bin.path();
        settings.aptConfig = bin.filePath("apt.conf");
        settings.stopGraceMs = settings.killGraceMs = 100;
        settings.updateLimitMs = 300;
        Channel channel;
        const CheckedCommand update = checkCommand("apt-get update", CommandRole::Update);
        const CheckedCommand upgrade = checkCommand("apt-get -y dist-upgrade", CommandRole::Upgrade);
        const CheckedCommand fix = checkCommand("apt-get -y -f install", CommandRole::FixBroken);
        PackageRun run(settings, channel);
        QCOMPARE(repair ? run.repair(nullptr) : run.upgrade(&update, upgrade, &fix), status);
        const QString log = channel.outputs.join('|');
        QVERIFY2(log.contains(shown) && (notShown.isEmpty() || !log.contains(notShown)),
                 qPrintable(log.right(300)));
        QCOMPARE(run.dpkgInterrupted(), log.contains("dpkg --configure -a"));
        for (const QString& line : qAsConst(channel.outputs))
            QVERIFY(line.size() <= ChildProcess::MaxLineBytes);
    }

    // The real apt-get on the APT fixture while another program holds one of APT's locks: the
    // log names that program; the update fails at its limit, lock waits included, the upgrade
    // at the limit of its lock waits, and the repair (dpkg itself) waits until it is stopped.
    void heldLockIsNamedAndBounded_data()
    {
        QTest::addColumn<QString>("lockFile");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("status");
        QTest::newRow("the lists' lock, at the update") << "var/lib/apt/lists/lock"
                                                        << "update"
                                                        << "failed";
        QTest::newRow("dpkg's frontend lock, at the upgrade") << "var/lib/dpkg/lock-frontend"
                                                              << "upgrade"
                                                              << "failed";
        QTest::newRow("dpkg's database lock, at the repair") << "var/lib/dpkg/lock"
                                                             << "repair"
                                                             << "canceled";
    }
    void heldLockIsNamedAndBounded()
    {
        QFETCH(QString, lockFile);
        QFETCH(QString, action);
        QFETCH(QString, status);
        if (getuid() != 0)
            QSKIP("apt-get needs root");
        QTemporaryDir dir;
        QCOMPARE(QProcess::execute("bash", {TARN_APT_FIXTURE, dir.filePath("fixture")}), 0);
        const QString lock = dir.filePath("fixture/root/" + lockFile);
        QProcess holder;
        holder.start("/usr/bin/python3", {"-c",
                                          "import fcntl, sys; f = open(sys.argv[1], 'a'); fcntl.lockf(f, "
                                          "fcntl.LOCK_EX); print('held', flush=True); sys.stdin.read()",
                                          lock});
        QVERIFY(holder.waitForReadyRead(10000));
        const qint64 holderPid = holder.processId();
        HelperSettings settings;
        settings.aptConfig = dir.filePath("fixture/apt.conf");
        settings.updateLimitMs = 3000;
        settings.lockWaitLimitMs = status == "failed" ? 3000 : 600000;
        settings.lockRetryMs = 200;
        Channel channel;
        channel.stopAfterMs.setRemainingTime(status == "failed" ? 30000 : 3000);
        PackageRun run(settings, channel);
        QCOMPARE(action == "update" ? run.update(checkCommand("apt-get update", CommandRole::Update))
                 : action == "repair"
                     ? run.repair(nullptr)
                     : run.upgrade(nullptr, checkCommand("apt-get -y dist-upgrade", CommandRole::Upgrade),
                                   nullptr),
                 status);
        holder.close();
        const QString log = channel.outputs.join('|');
        QVERIFY2(log.contains(QString("%1 is locked by process %2: /usr/bin/python3 -c import fcntl")
                                  .arg(QDir::cleanPath(lock))
                                  .arg(holderPid)),
                 qPrintable(log));
        // APT's and dpkg's complaints about the lock are said once, not at every try.
        const int complaints = log.count("Unable to lock") + log.count("Could not get lock") +
                               log.count("locked by another") + log.count("lock file") + log.count("db-lock");
        QVERIFY2(complaints == 1, qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TstHelper)
#include "tst_helper.moc"
