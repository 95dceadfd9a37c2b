// The helper's own rules, without KAuth: what its allow-lists accept (the rows of
// tests/fixtures/helper/policy.txt) and how it stops the package tool.
#include "helper/commandpolicy.h"
#include "helper/packagerun.h"

#include <QtTest>

namespace {

// Stands in for apt-get: a forked child stands in for dpkg and says whether it got SIGINT.
const char FakeAptGet[] = R"(#!/usr/bin/perl
$| = 1; pipe(my $r, my $w);
$SIG{INT} = sub { print "dpkg interrupted\n"; exit 1 };
if (!fork) { close $w; <$r>; exit 0 }
my $stop = 0; $SIG{INT} = sub { $stop = 1 };
print "started\n"; sleep 1 until $stop;
close $w; wait; print "apt-get interrupted\n"; exit 130;
)";

// Asks to stop once the program has started.
class Channel : public ActionChannel
{
public:
    QStringList outputs;
    void send(const QVariantMap& data) override { outputs << data.value("output").toString(); }
    bool stopRequested() override { return outputs.contains("started"); }
};

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
                    << match.captured(3).replace(QLatin1String("\\n"), QLatin1String("\n"));
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
        else if (kind == QLatin1String("list"))
            error = checkSourceListPath(input, QStringLiteral("/etc/apt/sources.list"),
                                        QStringLiteral("/etc/apt/sources.list.d/"));
        else
            error = checkCommand(input, kind == QLatin1String("update") ? CommandRole::Update
                                        : kind == QLatin1String("fix")  ? CommandRole::FixBroken
                                                                        : CommandRole::Upgrade)
                        .error;
        QVERIFY2(error.isEmpty() == accepted, qPrintable(error.isEmpty() ? "accepted" : error));
    }

    // A stop while the package tool runs: SIGINT to apt-get alone, which then finishes the dpkg
    // run in progress and stops; a signal to its whole group would hit dpkg while it unpacks.
    void stopInterruptsAptGetOnly()
    {
        QTemporaryDir bin;
        QFile program(bin.filePath("apt-get"));
        QVERIFY(program.open(QIODevice::WriteOnly) && program.write(FakeAptGet) > 0 &&
                program.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        program.close();
        HelperSettings settings;
        settings.binDir = bin.path();
        Channel channel;
        const CheckedCommand upgrade = checkCommand("apt-get -y dist-upgrade", CommandRole::Upgrade);
        QCOMPARE(PackageRun(settings, channel).upgrade(nullptr, upgrade, nullptr), QString("canceled"));
        QVERIFY2(channel.outputs.contains("apt-get interrupted"), qPrintable(channel.outputs.join('|')));
        QVERIFY2(!channel.outputs.contains("dpkg interrupted"), qPrintable(channel.outputs.join('|')));
    }
};

QTEST_GUILESS_MAIN(TstHelper)
#include "tst_helper.moc"
