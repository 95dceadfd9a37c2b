// The helper's own rules, without KAuth: what its allow-lists accept (the rows of
// tests/fixtures/helper/policy.txt) and how it runs the package tool, with fake programs.
#include "helper/childprocess.h"
#include "helper/packagerun.h"
#include "policy/aptfilepolicy.h"
#include "policy/commandpolicy.h"

#include <QtTest>

namespace {

// Stand for dpkg (says whether a signal reached it) and apt-config (names dpkg's status file).
const char FakeDpkg[] = R"(#!/usr/bin/perl
$| = 1; $SIG{TERM} = $SIG{INT} = sub { print "dpkg interrupted\n"; exit 1 };
print "started\n"; sleep 2; print "dpkg done\n";
)";
// Like "apt-config shell NAME KEY", it answers under the name asked for.
const char FakeAptConfig[] = "#!/bin/sh\necho \"$2='$(dirname \"$0\")/status'\"\n";

// Asks to stop once the program has started.
class Channel : public ActionChannel
{
public:
    QStringList outputs;
    void send(const QVariantMap& data) override { outputs << data.value("output").toString(); }
    bool stopRequested() override { return outputs.contains("started"); }
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

    // An upgrade (after "apt-get update") with a fake apt-get: its script, the reply status and
    // what the log must and must not show.
    void upgradeRun_data()
    {
        QTest::addColumn<QByteArray>("aptGet");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("notShown");
        QTest::newRow("a stop waits for dpkg")
            << QByteArray(
                   "exit 0 if $op eq 'update'; system(\"$bin/dpkg\"); print \"apt-get interrupted\\n\"; "
                   "exit 130;")
            << "canceled"
            << "will be finished"
            << "dpkg interrupted";
        QTest::newRow("a failed update goes on")
            << QByteArray("if ($op eq 'update') { print \"E: Failed to fetch\\n\"; exit 100 } print "
                          "\"upgraded\\n\";")
            << "success"
            << "upgraded"
            << "";
        QTest::newRow("a hung update is interrupted")
            << QByteArray("if ($op eq 'update') { sleep 30; exit 0 } print \"upgraded\\n\";") << "success"
            << "did not finish within"
            << "";
        QTest::newRow("an endless line is cut")
            << QByteArray("print 'x' x 200000; print \"\\nupgraded\\n\";") << "success"
            << "longer than"
            << "";
        QTest::newRow("dpkg left interrupted")
            << QByteArray("mkdir \"$bin/updates\"; open(my $f, '>', \"$bin/updates/0001\"); exit 100;")
            << "failed"
            << "dpkg --configure -a"
            << "";
    }

    void upgradeRun()
    {
        QFETCH(QByteArray, aptGet);
        QFETCH(QString, status);
        QFETCH(QString, shown);
        QFETCH(QString, notShown);
        QTemporaryDir bin;
        QVERIFY(install(bin.filePath("dpkg"), FakeDpkg) &&
                install(bin.filePath("apt-config"), FakeAptConfig));
        QVERIFY(install(bin.filePath("apt-get"),
                        "#!/usr/bin/perl\n$| = 1; $SIG{INT} = sub {}; my $bin = $0 =~ s|/[^/]*$||r; my $op = "
                        "$ARGV[-1];\n" +
                            aptGet));
        HelperSettings settings;
        settings.binDir = bin.path();
        settings.stopGraceMs = settings.killGraceMs = 100;
        settings.updateLimitMs = 300;
        Channel channel;
        const CheckedCommand update = checkCommand("apt-get update", CommandRole::Update);
        const CheckedCommand upgrade = checkCommand("apt-get -y dist-upgrade", CommandRole::Upgrade);
        PackageRun run(settings, channel);
        QCOMPARE(run.upgrade(&update, upgrade, nullptr), status);
        const QString log = channel.outputs.join('|');
        QVERIFY2(log.contains(shown) && (notShown.isEmpty() || !log.contains(notShown)),
                 qPrintable(log.right(300)));
        QCOMPARE(run.dpkgInterrupted(), log.contains("dpkg --configure -a"));
        for (const QString& line : qAsConst(channel.outputs))
            QVERIFY(line.size() <= ChildProcess::MaxLineBytes);
    }
};

QTEST_GUILESS_MAIN(TstHelper)
#include "tst_helper.moc"
