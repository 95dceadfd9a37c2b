// readAptConfig against a scripted apt-config placed first on PATH, and the dump parser.
#include "aptconf/aptconfig.h"

#include "testsupport.h"

#include <QElapsedTimer>
#include <QMultiMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using Config = QMap<QString, QString>;

class TestAptConfigReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void parseDump_data();
    void parseDump();
    void listValuesComeNewestFirst();

    void capturedDump();
    void exitCodes_data();
    void exitCodes();
    void crash();
    void missingProgram();
    void nulByte();
    void timeout();
    void noOutputGivesDefaults();

private:
    void scriptAptConfig(const QByteArray& body);

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

void TestAptConfigReader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_dir.filePath(QStringLiteral("bin"))) + ':' + m_savedPath);
}

void TestAptConfigReader::cleanupTestCase()
{
    qputenv("PATH", m_savedPath);
}

void TestAptConfigReader::init()
{
    QFile::remove(m_dir.filePath(QStringLiteral("bin/apt-config")));
}

void TestAptConfigReader::scriptAptConfig(const QByteArray& body)
{
    QVERIFY(TestSupport::writeScript(m_dir.filePath(QStringLiteral("bin/apt-config")), body));
}

void TestAptConfigReader::parseDump_data()
{
    QTest::addColumn<QString>("dump");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("quoted zero") << "APT::Periodic::Enable \"0\";\n"
                                 << "APT::Periodic::Enable" << QStringList{"0"};
    QTest::newRow("default kept") << "APT::Periodic::Verbose \"2\";\n"
                                  << "APT::Periodic::Enable" << QStringList{"1"};
    QTest::newRow("empty value keeps default") << "APT::Periodic::Enable \"\";\n"
                                               << "APT::Periodic::Enable" << QStringList{"1"};
    QTest::newRow("list header adds nothing") << "Unattended-Upgrade::Origins-Pattern \"\";\n"
                                              << "Unattended-Upgrade::Origins-Pattern" << QStringList();
    QTest::newRow("blank inside value") << "Unattended-Upgrade::Origins-Pattern:: \"foo bar\";\n"
                                        << "Unattended-Upgrade::Origins-Pattern::" << QStringList{"foo bar"};
    QTest::newRow("pattern with blanks")
        << "Unattended-Upgrade::Origins-Pattern:: "
           "\"o=Debian Backports,a=${distro_codename}-backports,l=Debian Backports\";\n"
        << "Unattended-Upgrade::Origins-Pattern::"
        << QStringList{"o=Debian Backports,a=${distro_codename}-backports,l=Debian Backports"};
    QTest::newRow("semicolons inside value")
        << "DPkg::Post-Invoke:: \"test -x /bin/a && /bin/a; /bin/echo > /dev/null\";\n"
        << "DPkg::Post-Invoke::" << QStringList{"test -x /bin/a && /bin/a; /bin/echo > /dev/null"};
    QTest::newRow("no key made up at a semicolon") << "DPkg::Post-Invoke:: \"a; b \"c\";\n"
                                                   << "b" << QStringList();
    QTest::newRow("unquoted value loses first and last") << "Dir::Etc etc/apt/;\n"
                                                         << "Dir::Etc" << QStringList{"tc/apt"};
    QTest::newRow("trailing slash kept") << "Dir::Etc \"etc/apt/\";\n"
                                         << "Dir::Etc" << QStringList{"etc/apt/"};
    QTest::newRow("one character") << "Foo \"x\";\n"
                                   << "Foo" << QStringList{"x"};
    QTest::newRow("later value replaces") << "Foo \"a\";\nFoo \"b\";\n"
                                          << "Foo" << QStringList{"b"};
    QTest::newRow("no final semicolon") << "Foo \"a\"\n"
                                        << "Foo" << QStringList();
    QTest::newRow("no value at all") << "Foo;\n"
                                     << "Foo" << QStringList();
    QTest::newRow("carriage return and blanks around") << "   Foo  \"a b\" ;\r\n"
                                                       << "Foo" << QStringList{"a b"};
    QTest::newRow("no final line feed") << "Foo \"a\";"
                                        << "Foo" << QStringList{"a"};
    QTest::newRow("non-ASCII") << QString::fromUtf8("Foo \"caf\xc3\xa9\";\n") << "Foo"
                               << QStringList{QString::fromUtf8("caf\xc3\xa9")};
}

void TestAptConfigReader::parseDump()
{
    QFETCH(QString, dump);
    QFETCH(QString, key);
    QFETCH(QStringList, values);

    Config config = aptConfigDefaults();
    parseAptConfigDump(dump, &config);
    const QMultiMap<QString, QString> multi(config);
    QCOMPARE(multi.values(key), values);
}

void TestAptConfigReader::listValuesComeNewestFirst()
{
    Config config;
    parseAptConfigDump(QStringLiteral("Unattended-Upgrade::Origins-Pattern \"\";\n"
                                      "Unattended-Upgrade::Origins-Pattern:: \"A\";\n"
                                      "Unattended-Upgrade::Origins-Pattern:: \"B\";\n"
                                      "Unattended-Upgrade::Origins-Pattern:: \"A\";\n"),
                       &config);
    const QMultiMap<QString, QString> multi(config);
    QCOMPARE(multi.values(QStringLiteral("Unattended-Upgrade::Origins-Pattern::")),
             (QStringList{"A", "B", "A"}));
    QCOMPARE(config.size(), 3);
}

// The captured dump of a real system, read through the scripted program; every line that
// carries a value must arrive whole.
void TestAptConfigReader::capturedDump()
{
    const QString fixture = QStringLiteral(APTCONF_FIXTURES "/apt-config-dump.txt");
    scriptAptConfig("exec /bin/cat '" + QFile::encodeName(fixture) + "'\n");

    bool ok = false;
    QString error = QStringLiteral("untouched");
    const QMultiMap<QString, QString> config(readAptConfig(&ok, &error));
    QVERIFY(ok);
    QCOMPARE(error, QStringLiteral("untouched"));

    QMultiMap<QString, QString> expected(aptConfigDefaults());
    const QRegularExpression entry(QStringLiteral("^(\\S+) \"(.+)\";$"));
    const QStringList lines = QString::fromUtf8(TestSupport::readFile(fixture)).split(QLatin1Char('\n'));
    QVERIFY(lines.size() > 200);
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = entry.match(line);
        if (!match.hasMatch())
            continue;
        if (match.captured(1).endsWith(QLatin1String("::")))
            expected.insert(match.captured(1), match.captured(2));
        else
            expected.replace(match.captured(1), match.captured(2));
    }
    QCOMPARE(config, expected);

    QCOMPARE(config.value(QStringLiteral("APT::Periodic::Enable")), QStringLiteral("1"));
    QCOMPARE(config.value(QStringLiteral("APT::Periodic::Update-Package-Lists")), QStringLiteral("1"));
    QCOMPARE(config.value(QStringLiteral("APT::Periodic::AutocleanInterval")), QStringLiteral("7"));
    QCOMPARE(config.value(QStringLiteral("Dir::Etc")), QStringLiteral("etc/apt"));
    QCOMPARE(config.value(QStringLiteral("Unattended-Upgrade::Mail")), QStringLiteral("root"));
    QCOMPARE(config.values(QStringLiteral("Unattended-Upgrade::Origins-Pattern::")),
             (QStringList{"o=Debian Backports,a=${distro_codename}-backports,l=Debian Backports",
                          "origin=Debian,codename=${distro_codename}-security,label=Debian-Security",
                          "origin=Debian,codename=${distro_codename},label=Debian-Security",
                          "origin=Debian,codename=${distro_codename},label=Debian"}));
    QCOMPARE(config.values(QStringLiteral("Unattended-Upgrade::Package-Blacklist::")),
             (QStringList{"postgresql-15", "libc6$", "linux-"}));
    QVERIFY(config.value(QStringLiteral("DPkg::Post-Invoke::")).contains(QLatin1String("; /bin/echo")));
    QVERIFY(!config.contains(QStringLiteral("Unattended-Upgrade::Origins-Pattern")));
}

void TestAptConfigReader::exitCodes_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("error");

    // The error is what the program printed on standard output, not its standard error.
    QTest::newRow("exit 100 with output") << QByteArray("printf 'Foo \"bar\";\\npartial'\n"
                                                        "printf 'E: Syntax error\\n' >&2\nexit 100\n")
                                          << "Foo \"bar\";\npartial";
    QTest::newRow("exit 100 silent") << QByteArray("printf 'E: Syntax error\\n' >&2\nexit 100\n") << "";
    // Qt reports a program that cannot start with this code; one that ran must still fail.
    QTest::newRow("exit 255") << QByteArray("printf 'Foo \"bar\";\\n'\nexit 255\n") << "Foo \"bar\";\n";
}

void TestAptConfigReader::exitCodes()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, error);
    scriptAptConfig(script);

    bool ok = true;
    QString text;
    const Config config = readAptConfig(&ok, &text);
    QVERIFY(!ok);
    QCOMPARE(text, error);
    QVERIFY(config.isEmpty());
}

void TestAptConfigReader::crash()
{
    scriptAptConfig("printf 'APT::Periodic::Enable \"0\";\\n'\nkill -SEGV $$\n");
    bool ok = true;
    QString error;
    const Config config = readAptConfig(&ok, &error);
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
    QVERIFY(config.isEmpty());
}

void TestAptConfigReader::missingProgram()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    bool ok = false;
    QString error = QStringLiteral("untouched");
    const Config config = readAptConfig(&ok, &error);
    qputenv("PATH", path);

    QVERIFY(ok);
    QCOMPARE(error, QStringLiteral("untouched"));
    QCOMPARE(config, aptConfigDefaults());
}

// Reading only the part before the NUL would look complete, and saving it would drop the rest.
void TestAptConfigReader::nulByte()
{
    scriptAptConfig("printf 'APT::Periodic::Enable \"0\";\\nFoo \"a\\000b\";\\n"
                    "Unattended-Upgrade::Origins-Pattern:: \"origin=Debian\";\\n'\n");
    bool ok = true;
    QString error;
    const Config config = readAptConfig(&ok, &error);
    QVERIFY(!ok);
    QVERIFY2(error.contains(QLatin1String("NUL")), qPrintable(error));
    QVERIFY(config.isEmpty());
}

// A partial dump must not pass for the whole configuration.
void TestAptConfigReader::timeout()
{
    scriptAptConfig("printf 'APT::Periodic::Enable \"0\";\\n'\nexec sleep 20\n");
    bool ok = true;
    QString error;
    QElapsedTimer timer;
    timer.start();
    const Config config = readAptConfig(&ok, &error, 300);
    QVERIFY(timer.elapsed() < 10000);
    QVERIFY(!ok);
    QVERIFY2(error.contains(QLatin1String("did not finish")), qPrintable(error));
    QVERIFY(config.isEmpty());
}

void TestAptConfigReader::noOutputGivesDefaults()
{
    scriptAptConfig("exit 0\n");
    bool ok = false;
    QString error;
    QCOMPARE(readAptConfig(&ok, &error), aptConfigDefaults());
    QVERIFY(ok);
}

QTEST_GUILESS_MAIN(TestAptConfigReader)
#include "tst_aptconfigreader.moc"
