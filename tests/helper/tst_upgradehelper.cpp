#include "recordingchannel.h"
#include "testsupport.h"

#include "helper/upgradehelper.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using KAuth::ActionReply;
using TestSupport::readFile;
using TestSupport::writeFile;
using TestSupport::writeScript;

namespace {

// Every file below `root`, with its contents: what "nothing changed" is compared against.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        files.insert(path.mid(root.size()), info.isSymLink() ? "-> " + QFile::encodeName(info.symLinkTarget())
                                            : info.isFile()  ? readFile(path)
                                                             : QByteArray("<dir>"));
    }
    return files;
}

} // namespace

// The actions called in-process: the checks, the runs and the writes, without KAuth.
class TstUpgradeHelper : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    HelperSettings m_settings;
    QString m_root;

    QString bin(const QString& name) const { return m_settings.binDir + '/' + name; }
    QString underRoot(const QString& path) const { return m_root + path; }

    static void verifyRefused(const ActionReply& reply, const QString& named)
    {
        QCOMPARE(reply.type(), ActionReply::HelperErrorType);
        QCOMPARE(reply.error(), -1);
        QVERIFY2(reply.errorDescription().contains(named), qPrintable(reply.errorDescription()));
    }

private Q_SLOTS:
    void init()
    {
        static int round = 0;
        const QString base = m_dir.filePath(QString::number(++round));
        m_root = base + "/root";
        m_settings = HelperSettings();
        m_settings.root = m_root;
        m_settings.binDir = base + "/bin";
        m_settings.lockRetryMs = 50;
        QVERIFY(QDir().mkpath(m_root + "/etc/apt/apt.conf.d"));
        QVERIFY(QDir().mkpath(m_root + "/etc/apt/sources.list.d"));
        QVERIFY(
            writeFile(m_root + "/etc/apt/sources.list", "deb http://deb.debian.org/debian bookworm main\n"));
        QVERIFY(writeFile(m_root + "/etc/apt/sources.list.d/a.list", "deb http://a.example/ a main\n"));
        QVERIFY(writeFile(base + "/outside", "precious\n"));
        // Anything that runs leaves a trace.
        QVERIFY(writeScript(bin("apt-get"), "echo \"$*\" >> " + QFile::encodeName(base + "/ran") + "\n"));
        QVERIFY(writeScript(bin("apt-config"), "echo \"MAIN='/etc/apt/sources.list'\"\n"
                                               "echo \"PARTS='/etc/apt/sources.list.d/'\"\n"));
    }

    void refusedCommandsRunNothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QVariantMap>("args");
        QTest::addColumn<QString>("named");
        const QVariantMap good = {{"update_command", "apt-get update"},
                                  {"upgrade_command", "apt-get -y dist-upgrade -o Apt::Status-fd=2"},
                                  {"fix_broken_command", "apt-get -y -f install"}};
        const auto with = [&](const char* key, const char* value) {
            QVariantMap args = good;
            args.insert(key, value);
            return args;
        };
        QTest::newRow("update: shell")
            << "update" << QVariantMap{{"update_command", "sh -c 'apt-get update'"}} << "\"sh\"";
        QTest::newRow("update: empty") << "update" << QVariantMap{} << "empty";
        QTest::newRow("update: hook")
            << "update" << QVariantMap{{"update_command", "apt-get -o APT::Update::Pre-Invoke::=id update"}}
            << "APT::Update::Pre-Invoke";
        QTest::newRow("upgrade: bad update")
            << "upgrade" << with("update_command", "apt-get update; id") << "update;";
        QTest::newRow("upgrade: bad upgrade")
            << "upgrade" << with("upgrade_command", "apt-get $(id) dist-upgrade") << "$(id)";
        QTest::newRow("upgrade: no upgrade") << "upgrade" << with("upgrade_command", "") << "empty";
        QTest::newRow("upgrade: bad fix, checked first")
            << "upgrade" << with("fix_broken_command", "apt-get -f install evil") << "\"evil\"";
    }

    void refusedCommandsRunNothing()
    {
        QFETCH(QString, action);
        QFETCH(QVariantMap, args);
        QFETCH(QString, named);
        RecordingChannel channel;
        UpgradeHelper helper(m_settings, &channel);
        const ActionReply reply = action == "update" ? helper.update(args) : helper.upgrade(args);
        verifyRefused(reply, named);
        QVERIFY(channel.sent.isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath("ran")));
        QVERIFY(!QFileInfo::exists(QFileInfo(m_settings.binDir).path() + "/ran"));
    }

    void upgradeRunsTheGivenCommands()
    {
        RecordingChannel channel;
        UpgradeHelper helper(m_settings, &channel);
        const ActionReply reply = helper.upgrade({{"update_command", "apt-get update"},
                                                  {"upgrade_command", "apt-get -y full-upgrade"},
                                                  {"fix_broken_command", ""}});
        QVERIFY(reply.succeeded());
        QCOMPARE(reply.data().value("message").toString(), "success");
        QCOMPARE(readFile(QFileInfo(m_settings.binDir).path() + "/ran"),
                 QByteArray("update\n-y full-upgrade\n"));
    }

    void updateReportsFailedToStart()
    {
        QVERIFY(QFile::remove(bin("apt-get")));
        RecordingChannel channel;
        const ActionReply reply =
            UpgradeHelper(m_settings, &channel).update({{"update_command", "apt-get update"}});
        QVERIFY(reply.succeeded());
        QCOMPARE(reply.data().value("message").toString(), "failed_to_start");
    }

    void aptConfigIsWritten()
    {
        const QByteArray text = "// This file was generated by tarn-update-notifier\n"
                                "APT::Periodic::Update-Package-Lists \"1\";\n"
                                "#clear Unattended-Upgrade::Package-Blacklist;\n"
                                "Unattended-Upgrade::Package-Blacklist {\n};\n";
        const ActionReply reply = UpgradeHelper(m_settings, nullptr).setaptconfig({{"data", text}});
        QVERIFY2(reply.succeeded(), qPrintable(reply.errorDescription()));
        QCOMPARE(UpgradeHelper::aptConfigPath(), "/etc/apt/apt.conf.d/99tarn-update-notifier");
        QCOMPARE(readFile(underRoot("/etc/apt/apt.conf.d/99tarn-update-notifier")), text);

        const QByteArray second = "APT::Periodic::Update-Package-Lists \"0\";\n";
        QVERIFY(UpgradeHelper(m_settings, nullptr).setaptconfig({{"data", second}}).succeeded());
        QCOMPARE(readFile(underRoot("/etc/apt/apt.conf.d/99tarn-update-notifier")), second);
        QCOMPARE(readFile(underRoot("/etc/apt/apt.conf.d/99tarn-update-notifier.save")), text);
    }

    void aptConfigRefusalsChangeNothing_data()
    {
        QTest::addColumn<QVariant>("data");
        QTest::addColumn<QString>("named");
        QTest::newRow("hook") << QVariant(QByteArray(
                                     "APT::Periodic::Enable \"1\";\nDPkg::Pre-Invoke { \"id\"; };\n"))
                              << "DPkg::Pre-Invoke";
        QTest::newRow("oversize") << QVariant(QByteArray("// ") + QByteArray(1024 * 1024, 'x') + "\n")
                                  << "larger than";
        QTest::newRow("missing") << QVariant() << "no APT configuration";
        QTest::newRow("not text") << QVariant(QVariantMap{{"a", 1}}) << "no APT configuration";
    }

    void aptConfigRefusalsChangeNothing()
    {
        QFETCH(QVariant, data);
        QFETCH(QString, named);
        QVERIFY(writeFile(underRoot("/etc/apt/apt.conf.d/99tarn-update-notifier"),
                          "APT::Periodic::Enable \"0\";\n"));
        const auto before = snapshot(m_root);
        QVariantMap args;
        if (data.isValid())
            args.insert("data", data);
        verifyRefused(UpgradeHelper(m_settings, nullptr).setaptconfig(args), named);
        QCOMPARE(snapshot(m_root), before);
    }

    void sourceListsAreWritten()
    {
        const QVariantMap files = {
            {"/etc/apt//sources.list", "deb http://deb.debian.org/debian bookworm main contrib\n"},
            {"/etc/apt//sources.list.d/a.list", "# deb http://a.example/ a main\n"},
            {"/etc/apt//sources.list.d/new.list", "deb http://new.example/ n main\n"},
        };
        const ActionReply reply =
            UpgradeHelper(m_settings, nullptr)
                .setsourcelist({{"data", files}, {"sourceDir", "/etc/apt//sources.list.d"}});
        QVERIFY2(reply.succeeded(), qPrintable(reply.errorDescription()));
        QCOMPARE(readFile(underRoot("/etc/apt/sources.list")),
                 QByteArray("deb http://deb.debian.org/debian bookworm main contrib\n"));
        QCOMPARE(readFile(underRoot("/etc/apt/sources.list.save")),
                 QByteArray("deb http://deb.debian.org/debian bookworm main\n"));
        QCOMPARE(readFile(underRoot("/etc/apt/sources.list.d/a.list")),
                 QByteArray("# deb http://a.example/ a main\n"));
        QCOMPARE(readFile(underRoot("/etc/apt/sources.list.d/a.list.save")),
                 QByteArray("deb http://a.example/ a main\n"));
        QCOMPARE(readFile(underRoot("/etc/apt/sources.list.d/new.list")),
                 QByteArray("deb http://new.example/ n main\n"));
        QCOMPARE(QDir(underRoot("/etc/apt/sources.list.d")).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"a.list", "a.list.save", "new.list"}));
    }

    void sourceListRefusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("sourceDir");
        QTest::addColumn<QString>("named");
        const QString dir = "/etc/apt//sources.list.d";
        QTest::newRow("up and out") << "/etc/apt/sources.list.d/../../../outside" << dir << "..";
        QTest::newRow("other file") << "/etc/passwd" << dir << "/etc/passwd";
        QTest::newRow("not a list") << "/etc/apt/sources.list.d/evil.conf" << dir << "evil.conf";
        QTest::newRow("config part") << "/etc/apt/apt.conf.d/00evil" << dir << "00evil";
        QTest::newRow("symlink out") << "/etc/apt/sources.list.d/link.list" << dir << "not a regular file";
        QTest::newRow("directory") << "/etc/apt/sources.list.d/dir.list" << dir << "not a regular file";
        QTest::newRow("caller's directory") << "/tmp/x/a.list"
                                            << "/tmp/x"
                                            << "list directory";
        QTest::newRow("empty directory") << "/etc/apt/sources.list.d/b.list"
                                         << ""
                                         << "list directory";
    }

    void sourceListRefusalsChangeNothing()
    {
        QFETCH(QString, path);
        QFETCH(QString, sourceDir);
        QFETCH(QString, named);
        QVERIFY(QFile::link(QFileInfo(m_root).path() + "/outside",
                            underRoot("/etc/apt/sources.list.d/link.list")));
        QVERIFY(QDir().mkpath(underRoot("/etc/apt/sources.list.d/dir.list")));
        const auto before = snapshot(QFileInfo(m_root).path());
        // A good entry travels with the bad one: nothing at all may be written.
        const QVariantMap files = {{"/etc/apt//sources.list", "deb changed\n"}, {path, "deb evil\n"}};
        verifyRefused(
            UpgradeHelper(m_settings, nullptr).setsourcelist({{"data", files}, {"sourceDir", sourceDir}}),
            named);
        QCOMPARE(snapshot(QFileInfo(m_root).path()), before);
    }

    void sourceListOversizeIsRefused()
    {
        const auto before = snapshot(m_root);
        const QVariantMap files = {{"/etc/apt/sources.list.d/a.list", QString(600 * 1024, 'a')},
                                   {"/etc/apt/sources.list.d/b.list", QString(600 * 1024, 'b')}};
        verifyRefused(UpgradeHelper(m_settings, nullptr)
                          .setsourcelist({{"data", files}, {"sourceDir", "/etc/apt/sources.list.d"}}),
                      "larger than");
        QCOMPARE(snapshot(m_root), before);
    }

    void sourceListLocationsComeFromApt()
    {
        // The real apt-config, moved to another configuration directory.
        m_settings.binDir = "/usr/bin";
        const QString conf = m_dir.filePath("apt.conf");
        QVERIFY(writeFile(conf, "Dir::Etc \"/srv/etc/apt/\";\nDir::Etc::sourceparts \"lists.d\";\n"));
        m_settings.aptConfig = conf;
        QVERIFY(QDir().mkpath(underRoot("/srv/etc/apt/lists.d")));

        verifyRefused(UpgradeHelper(m_settings, nullptr)
                          .setsourcelist({{"data", QVariantMap{{"/etc/apt/sources.list.d/a.list", "x\n"}}},
                                          {"sourceDir", "/etc/apt/sources.list.d"}}),
                      "list directory");
        const ActionReply reply =
            UpgradeHelper(m_settings, nullptr)
                .setsourcelist({{"data", QVariantMap{{"/srv/etc/apt//lists.d/x.list", "deb x\n"},
                                                     {"/srv/etc/apt//sources.list", "deb main\n"}}},
                                {"sourceDir", "/srv/etc/apt//lists.d"}});
        QVERIFY2(reply.succeeded(), qPrintable(reply.errorDescription()));
        QCOMPARE(readFile(underRoot("/srv/etc/apt/lists.d/x.list")), QByteArray("deb x\n"));
        QCOMPARE(readFile(underRoot("/srv/etc/apt/sources.list")), QByteArray("deb main\n"));
    }

    void appConfigIsWritten()
    {
        const QVariantMap settings = {
            {"PMTool", "/usr/bin/synaptic-pkexec"},
            {"upgCommand", "apt-get -y -o Dpkg::Options::=\"--force-confold\" dist-upgrade"},
            {"fixBrokenCommand", "apt-get -y -f install"}};
        QVariantMap args = settings;
        args.insert("ignored", "not written");
        const ActionReply reply = UpgradeHelper(m_settings, nullptr).setappconfig(args);
        QVERIFY2(reply.succeeded(), qPrintable(reply.errorDescription()));
        const QString path = underRoot("/etc/tarn-update-notifier.conf");
        // The group "General", as the notifier reads it (Qt writes it "[%General]").
        QVERIFY(readFile(path).startsWith("[%General]\n"));
        QSettings written(path, QSettings::IniFormat);
        QCOMPARE(written.childGroups(), QStringList{"General"});
        written.beginGroup("General");
        QCOMPARE(written.allKeys(), (QStringList{"PMTool", "fixBrokenCommand", "upgCommand"}));
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            QCOMPARE(written.value(it.key()).toString(), it.value().toString());
    }

    void appConfigRefusalsChangeNothing_data()
    {
        QTest::addColumn<QVariantMap>("args");
        QTest::addColumn<QString>("named");
        QTest::newRow("missing") << QVariantMap{{"PMTool", "x"}, {"upgCommand", "y"}} << "fixBrokenCommand";
        QTest::newRow("not text") << QVariantMap{{"PMTool", 1},
                                                 {"upgCommand", "y"},
                                                 {"fixBrokenCommand", "z"}}
                                  << "PMTool";
        QTest::newRow("oversize") << QVariantMap{{"PMTool", QString(1024 * 1024 + 1, 'x')},
                                                 {"upgCommand", "y"},
                                                 {"fixBrokenCommand", "z"}}
                                  << "larger than";
    }

    void appConfigRefusalsChangeNothing()
    {
        QFETCH(QVariantMap, args);
        QFETCH(QString, named);
        QVERIFY(writeFile(underRoot("/etc/tarn-update-notifier.conf"), "[General]\nPMTool=old\n"));
        const auto before = snapshot(m_root);
        verifyRefused(UpgradeHelper(m_settings, nullptr).setappconfig(args), named);
        QCOMPARE(snapshot(m_root), before);
    }

    void policyAsksForAnAdministratorEveryTime()
    {
        // What polkit gets from the .actions file: admin authentication, kept a few minutes,
        // for every action, and nothing for inactive sessions.
        QFile policy(QStringLiteral(TARN_POLICY_FILE));
        QVERIFY2(policy.open(QIODevice::ReadOnly), TARN_POLICY_FILE);
        const QString text = QString::fromUtf8(policy.readAll());
        for (const char* action : {"upgrade", "update", "setaptconfig", "setsourcelist", "setappconfig"}) {
            const QString id = QStringLiteral("org.nordwave.tarn.upgradehelper.") + action;
            const int start = text.indexOf("<action id=\"" + id + "\"");
            QVERIFY2(start >= 0, qPrintable(id));
            const QString block = text.mid(start, text.indexOf("</action>", start) - start);
            QVERIFY2(block.contains("<allow_active>auth_admin_keep</allow_active>"), qPrintable(block));
            QVERIFY2(block.contains("<allow_inactive>no</allow_inactive>"), qPrintable(block));
        }
        QCOMPARE(text.count("<action id="), 5);
    }
};

QTEST_GUILESS_MAIN(TstUpgradeHelper)
#include "tst_upgradehelper.moc"
