#include "helper/commandpolicy.h"
#include "privileged/commands.h"

#include <QtTest>

Q_DECLARE_METATYPE(CommandRole)

class TstCommandPolicy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void acceptedCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<CommandRole>("role");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        const QStringList conffile = {"-o", "Dpkg::Options::=--force-confdef", "-o",
                                      "Dpkg::Options::=--force-confold"};
        QTest::newRow("built-in update") << defaultCommand(UpdateCommandIndex) << CommandRole::Update
                                         << "apt-get" << QStringList{"-y"} + conffile + QStringList{"update"};
        QTest::newRow("built-in upgrade")
            << defaultCommand(UpgradeCommandIndex) << CommandRole::Upgrade << "apt-get"
            << QStringList{"-y", "-f", "-o", "Apt::Status-fd=2"} + conffile + QStringList{"dist-upgrade"};
        QTest::newRow("built-in fix-broken")
            << defaultCommand(FixBrokenCommandIndex) << CommandRole::FixBroken << "apt-get"
            << QStringList{"-y", "-f"} + conffile + QStringList{"install"};
        QTest::newRow("dialog's status option")
            << "apt-get -y dist-upgrade -o Apt::Status-fd=2" << CommandRole::Upgrade << "apt-get"
            << QStringList{"-y", "dist-upgrade", "-o", "Apt::Status-fd=2"};
        QTest::newRow("apt full-upgrade") << "/usr/bin/apt --assume-yes full-upgrade" << CommandRole::Upgrade
                                          << "apt" << QStringList{"--assume-yes", "full-upgrade"};
        QTest::newRow("upgrade") << "apt-get --yes -q upgrade" << CommandRole::Upgrade << "apt-get"
                                 << QStringList{"--yes", "-q", "upgrade"};
        QTest::newRow("fix with long option")
            << "/usr/bin/apt-get install --fix-broken" << CommandRole::FixBroken << "apt-get"
            << QStringList{"install", "--fix-broken"};
        QTest::newRow("keys in any case")
            << "apt-get -o DPKG::OPTIONS::=--force-confnew -o dpkg::use-pty=0 update" << CommandRole::Update
            << "apt-get"
            << QStringList{"-o", "DPKG::OPTIONS::=--force-confnew", "-o", "dpkg::use-pty=0", "update"};
        QTest::newRow("counts") << "apt-get -o Acquire::Retries=3 -o quiet=1 update" << CommandRole::Update
                                << "apt-get"
                                << QStringList{"-o", "Acquire::Retries=3", "-o", "quiet=1", "update"};
    }

    void acceptedCommands()
    {
        QFETCH(QString, command);
        QFETCH(CommandRole, role);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        const CheckedCommand checked = checkCommand(command, role);
        QVERIFY2(checked.isAcceptable(), qPrintable(checked.error));
        QCOMPARE(checked.program, program);
        QCOMPARE(checked.arguments, arguments);
    }

    void refusedCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<CommandRole>("role");
        QTest::addColumn<QString>("named"); // the offending word the error must name
        const CommandRole up = CommandRole::Upgrade;
        QTest::newRow("empty") << "" << up << "empty";
        QTest::newRow("blank") << "   " << up << "empty";
        QTest::newRow("shell") << "sh -c 'apt-get upgrade'" << up << "\"sh\"";
        QTest::newRow("bash path") << "/bin/bash -c id" << up << "\"/bin/bash\"";
        QTest::newRow("other directory") << "/tmp/apt-get dist-upgrade" << up << "\"/tmp/apt-get\"";
        QTest::newRow("relative path") << "./apt-get dist-upgrade" << up << "\"./apt-get\"";
        QTest::newRow("dpkg") << "dpkg -i /tmp/x.deb" << up << "\"dpkg\"";
        QTest::newRow("semicolon") << "apt-get dist-upgrade; rm -rf /" << up << "\"dist-upgrade;\"";
        QTest::newRow("semicolon word") << "apt-get dist-upgrade ; id" << up << "\";\"";
        QTest::newRow("and") << "apt-get dist-upgrade && id" << up << "\"&&\"";
        QTest::newRow("substitution") << "apt-get $(id) dist-upgrade" << up << "\"$(id)\"";
        QTest::newRow("backticks") << "apt-get dist-upgrade `id`" << up << "\"`id`\"";
        QTest::newRow("redirect") << "apt-get dist-upgrade > /etc/passwd" << up << "\">\"";
        QTest::newRow("unknown option")
            << "apt-get --allow-unauthenticated dist-upgrade" << up << "\"--allow-unauthenticated\"";
        QTest::newRow("joined short options") << "apt-get -yf dist-upgrade" << up << "\"-yf\"";
        QTest::newRow("config file option") << "apt-get -c /tmp/evil.conf dist-upgrade" << up << "\"-c\"";
        QTest::newRow("option long form")
            << "apt-get --option APT::Color=1 dist-upgrade" << up << "\"--option\"";
        QTest::newRow("update hook") << "apt-get -o APT::Update::Pre-Invoke::=id update"
                                     << CommandRole::Update << "\"APT::Update::Pre-Invoke::\"";
        QTest::newRow("post hook") << "apt-get -o APT::Update::Post-Invoke-Success::=id update"
                                   << CommandRole::Update << "\"APT::Update::Post-Invoke-Success::\"";
        QTest::newRow("dpkg hook") << "apt-get -o DPkg::Pre-Invoke::=id dist-upgrade" << up
                                   << "\"DPkg::Pre-Invoke::\"";
        QTest::newRow("dpkg hook other case")
            << "apt-get -o dpkg::post-invoke::=id dist-upgrade" << up << "\"dpkg::post-invoke::\"";
        QTest::newRow("pre-install-pkgs") << "apt-get -o DPkg::Pre-Install-Pkgs::=/tmp/x dist-upgrade" << up
                                          << "\"DPkg::Pre-Install-Pkgs::\"";
        QTest::newRow("dir") << "apt-get -o Dir::Etc::sourcelist=/tmp/s.list update" << CommandRole::Update
                             << "\"Dir::Etc::sourcelist\"";
        QTest::newRow("dir bin") << "apt-get -o Dir::Bin::dpkg=/tmp/dpkg dist-upgrade" << up
                                 << "\"Dir::Bin::dpkg\"";
        QTest::newRow("apt config") << "apt-get -o APT::Config=/tmp/c update" << CommandRole::Update
                                    << "\"APT::Config\"";
        QTest::newRow("dpkg pre-invoke option")
            << "apt-get -o Dpkg::Options::=--pre-invoke=id dist-upgrade" << up << "\"--pre-invoke=id\"";
        QTest::newRow("dpkg root option")
            << "apt-get -o Dpkg::Options::=--root=/tmp dist-upgrade" << up << "\"--root=/tmp\"";
        QTest::newRow("status fd elsewhere") << "apt-get -o APT::Status-fd=7 dist-upgrade" << up << "\"7\"";
        QTest::newRow("option without value") << "apt-get -o quiet dist-upgrade" << up << "\"quiet\"";
        QTest::newRow("dangling -o") << "apt-get dist-upgrade -o" << up << "\"-o\"";
        QTest::newRow("wrong operation") << "apt-get install foo" << up << "\"install\"";
        QTest::newRow("remove") << "apt-get -y remove systemd" << up << "\"remove\"";
        QTest::newRow("update as upgrade") << "apt-get update" << up << "\"update\"";
        QTest::newRow("upgrade as update")
            << "apt-get dist-upgrade" << CommandRole::Update << "\"dist-upgrade\"";
        QTest::newRow("extra word") << "apt-get dist-upgrade now" << up << "\"now\"";
        QTest::newRow("no operation") << "apt-get -y" << up << "no operation";
        QTest::newRow("package after install -f")
            << "apt-get -f install evil" << CommandRole::FixBroken << "\"evil\"";
        QTest::newRow("local deb after install -f")
            << "apt-get -f install /tmp/evil.deb" << CommandRole::FixBroken << "\"/tmp/evil.deb\"";
        QTest::newRow("install without -f") << "apt-get -y install" << CommandRole::FixBroken << "-f";
        QTest::newRow("fix as upgrade") << "apt-get -f install" << up << "\"install\"";
    }

    void refusedCommands()
    {
        QFETCH(QString, command);
        QFETCH(CommandRole, role);
        QFETCH(QString, named);
        const CheckedCommand checked = checkCommand(command, role);
        QVERIFY(!checked.isAcceptable());
        QVERIFY2(checked.error.contains(named), qPrintable(checked.error));
    }

    void aptConfigAccepted_data()
    {
        QTest::addColumn<QByteArray>("text");
        // What the notifier writes for its settings dialog.
        QTest::newRow("generated") << QByteArray(
            "// This file was generated by tarn-update-notifier\n"
            "APT::Periodic::AutocleanInterval \"7\";\n"
            "APT::Periodic::Download-Upgradeable-Packages \"1\";\n"
            "APT::Periodic::Enable \"1\";\n"
            "APT::Periodic::Unattended-Upgrade \"1\";\n"
            "APT::Periodic::Update-Package-Lists \"1\";\n"
            "APT::Periodic::Verbose \"0\";\n"
            "Unattended-Upgrade::Mail \"root@example.org\";\n"
            "#clear Unattended-Upgrade::Origins-Pattern;\n"
            "Unattended-Upgrade::Origins-Pattern {\n"
            "    \"origin=Debian,codename=${distro_codename},label=Debian-Security\";\n"
            "    \"o=Debian,a=stable\";\n"
            "};\n"
            "#clear Unattended-Upgrade::Package-Blacklist;\n"
            "Unattended-Upgrade::Package-Blacklist {\n"
            "    \"linux-image-.*\";\n"
            "};\n");
        QTest::newRow("banner only") << QByteArray("// This file was generated by tarn-update-notifier\n");
        QTest::newRow("empty lists") << QByteArray("#clear Unattended-Upgrade::Origins-Pattern;\n"
                                                   "Unattended-Upgrade::Origins-Pattern {\n};\n");
        QTest::newRow("empty mail") << QByteArray("Unattended-Upgrade::Mail \"\";\n");
        QTest::newRow("latin-1 element")
            << QByteArray("Unattended-Upgrade::Package-Blacklist {\n    \"caf\xe9\";\n};\n");
        QTest::newRow("comment chars inside quotes")
            << QByteArray("Unattended-Upgrade::Package-Blacklist {\n    \"a#b//c{};\";\n};\n");
    }

    void aptConfigAccepted()
    {
        QFETCH(QByteArray, text);
        QCOMPARE(checkAptConfigText(text), QString());
    }

    void aptConfigRefused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("dpkg hook") << QByteArray(
                                          "APT::Periodic::Enable \"1\";\nDPkg::Pre-Invoke { \"id\"; };\n")
                                   << "DPkg::Pre-Invoke";
        QTest::newRow("dpkg hook list")
            << QByteArray("DPkg::Pre-Invoke {\n    \"touch /tmp/x\";\n};\n") << "DPkg::Pre-Invoke";
        QTest::newRow("update hook") << QByteArray("APT::Update::Post-Invoke \"id\";\n")
                                     << "APT::Update::Post-Invoke";
        QTest::newRow("hook behind a setting")
            << QByteArray("APT::Periodic::Enable \"1\"; DPkg::Post-Invoke { \"id\"; };\n")
            << "DPkg::Post-Invoke";
        QTest::newRow("quote in an element") << QByteArray("Unattended-Upgrade::Package-Blacklist {\n    "
                                                           "\"x\"; DPkg::Pre-Invoke { \"id\"; }; //\";\n};\n")
                                             << "DPkg::Pre-Invoke";
        QTest::newRow("include") << QByteArray("#include /tmp/evil.conf\n") << "#include";
        QTest::newRow("dir") << QByteArray("Dir::Etc \"/tmp\";\n") << "Dir::Etc";
        QTest::newRow("apt config") << QByteArray("APT::Config \"/tmp/c\";\n") << "APT::Config";
        QTest::newRow("scoped form") << QByteArray("DPkg {\n Pre-Invoke { \"id\"; };\n};\n") << "DPkg";
        QTest::newRow("nested in allowed list")
            << QByteArray("Unattended-Upgrade::Package-Blacklist {\n    DPkg::Pre-Invoke \"id\";\n};\n")
            << "DPkg::Pre-Invoke";
        QTest::newRow("other unattended key")
            << QByteArray("Unattended-Upgrade::Allowed-Origins {\n};\n") << "Allowed-Origins";
        QTest::newRow("clearing all of it")
            << QByteArray("#clear Unattended-Upgrade;\n") << "Unattended-Upgrade";
        QTest::newRow("periodic value") << QByteArray("APT::Periodic::Enable \"1; rm -rf /\";\n") << "rm -rf";
        QTest::newRow("mail as option") << QByteArray("Unattended-Upgrade::Mail \"-Sx=y\";\n") << "-Sx=y";
        QTest::newRow("unclosed list")
            << QByteArray("Unattended-Upgrade::Package-Blacklist {\n \"a\";\n") << "not closed";
        QTest::newRow("block comment") << QByteArray("// x /*\nDPkg::Pre-Invoke \"id\";\n// */\n") << "/*";
        QTest::newRow("bare block comment") << QByteArray("/* APT::Periodic::Enable \"1\"; */\n") << "/*";
        QTest::newRow("plain list value")
            << QByteArray("Unattended-Upgrade::Origins-Pattern \"x\";\n") << "Origins-Pattern";
        QTest::newRow("control character") << QByteArray("Unattended-Upgrade::Mail \"a\x01"
                                                         "b\";\n")
                                           << "control";
    }

    void aptConfigRefused()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, named);
        const QString error = checkAptConfigText(text);
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(named), qPrintable(error));
    }

    void listPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("accepted");
        // As the notifier builds them: "/" + Dir::Etc + "/" + name, with a double slash.
        QTest::newRow("main list") << "/etc/apt//sources.list" << true;
        QTest::newRow("main list plain") << "/etc/apt/sources.list" << true;
        QTest::newRow("list file") << "/etc/apt//sources.list.d/tarn.list" << true;
        QTest::newRow("list file in capitals") << "/etc/apt/sources.list.d/OTHER.LIST" << true;
        QTest::newRow("up and out") << "/etc/apt/sources.list.d/../../shadow.list" << false;
        QTest::newRow("up and back") << "/etc/apt/sources.list.d/../sources.list.d/x.list" << false;
        QTest::newRow("dot") << "/etc/apt/./sources.list" << false;
        QTest::newRow("not a list") << "/etc/apt/sources.list.d/x.sources" << false;
        QTest::newRow("list in name only") << "/etc/apt/sources.list.d/x.list.save" << false;
        QTest::newRow("hidden") << "/etc/apt/sources.list.d/.x.list" << false;
        QTest::newRow("bare extension") << "/etc/apt/sources.list.d/.list" << false;
        QTest::newRow("below the directory") << "/etc/apt/sources.list.d/sub/x.list" << false;
        QTest::newRow("elsewhere") << "/etc/cron.d/x.list" << false;
        QTest::newRow("relative") << "etc/apt/sources.list" << false;
        QTest::newRow("the directory") << "/etc/apt/sources.list.d" << false;
        QTest::newRow("passwd") << "/etc/passwd" << false;
        QTest::newRow("newline") << "/etc/apt/sources.list.d/a\nb.list" << false;
    }

    void listPaths()
    {
        QFETCH(QString, path);
        QFETCH(bool, accepted);
        const QString error = checkSourceListPath(path, QStringLiteral("/etc/apt/sources.list"),
                                                  QStringLiteral("/etc/apt/sources.list.d/"));
        QVERIFY2(error.isEmpty() == accepted, qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TstCommandPolicy)
#include "tst_commandpolicy.moc"
