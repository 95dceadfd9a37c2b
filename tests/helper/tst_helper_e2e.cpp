// Through real KAuth: client -> private system bus -> polkitd -> the bus-activated helper.
// Runs under e2e/run-e2e.sh, which provides the bus and the helper's sandbox ($TARN_E2E_ROOT).
#include "privileged/helpercontract.h"

#include <KAuth/ExecuteJob>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The finished action's error code (0 for success) and text, or its reply status.
QPair<int, QString> run(const QString& name, const QVariantMap& arguments)
{
    KAuth::ExecuteJob* job = HelperContract::makeAction(name, arguments).execute();
    job->exec();
    return {job->error(), job->error() ? job->errorString() : job->data().value("message").toString()};
}

// Every entry below `top` with its mode and its contents (a symlink: its target).
QMap<QString, QByteArray> snapshot(const QString& top)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(top, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat info = {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        QFile file(path);
        const QByteArray data = S_ISREG(info.st_mode) && file.open(QIODevice::ReadOnly)
                                    ? file.readAll()
                                    : QFile::encodeName(QFile::symLinkTarget(path));
        entries.insert(path.mid(top.size()), QByteArray::number(info.st_mode & 07777, 8) + ' ' + data);
    }
    return entries;
}

// The stop the upgrade dialog sends.
void stopRunningAction(KAuth::ExecuteJob* job)
{
    QDBusMessage stop =
        QDBusMessage::createMethodCall(HelperContract::HelperId, "/", "org.kde.kf5auth", "stopAction");
    stop << job->action().name();
    QDBusConnection::systemBus().call(stop);
}

// The processes left chrooted into `root` (maintainer scripts) or running dpkg.
QStringList processesOf(const QString& root)
{
    QStringList found;
    const QStringList pids = QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs);
    for (const QString& pid : pids) {
        QFile comm("/proc/" + pid + "/comm");
        const QByteArray name = comm.open(QIODevice::ReadOnly) ? comm.readAll().trimmed() : QByteArray();
        if (QFile::symLinkTarget("/proc/" + pid + "/root") == root || name == "dpkg")
            found << pid + ' ' + name;
    }
    return found;
}

QVariantMap lists(const QVariantMap& files, const QString& sourceDir = "/etc/apt//sources.list.d")
{
    return {{"data", files}, {"sourceDir", sourceDir}};
}

} // namespace

class TstHelperE2E : public QObject
{
    Q_OBJECT

private:
    QString m_root; // where the helper writes
    QString m_top;  // m_root and what lies beside it

private Q_SLOTS:
    void initTestCase()
    {
        m_root = qEnvironmentVariable("TARN_E2E_ROOT");
        if (m_root.isEmpty())
            QSKIP("run by e2e/run-e2e.sh");
        m_top = QFileInfo(m_root).path();
    }

    // An existing file is replaced with its mode kept and its old text in FILE.save; a new one
    // is readable for everybody (apt_check runs as the desktop user). Nothing else changes.
    void writesKeepBackupAndMode_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QVariantMap>("args");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("oldMode"); // 0: no file yet
        QTest::addColumn<QByteArray>("written");
        const QByteArray conf = "APT::Periodic::Enable \"1\";\n";
        const QByteArray list = "deb http://deb.example/ bookworm main contrib\n";
        QTest::newRow("APT configuration") << "setaptconfig" << QVariantMap{{"data", conf}}
                                           << "/etc/apt/apt.conf.d/99tarn-update-notifier" << 0640 << conf;
        QTest::newRow("main list") << "setsourcelist" << lists({{"/etc/apt//sources.list", list}})
                                   << "/etc/apt/sources.list" << 0600 << list;
        QTest::newRow("new list file")
            << "setsourcelist" << lists({{"/etc/apt//sources.list.d/a.list", list}})
            << "/etc/apt/sources.list.d/a.list" << 0 << list;
        const QByteArray stanza =
            "Types: deb\nURIs: http://deb.example/\nSuites: bookworm\nComponents: main\n";
        QTest::newRow("deb822 list file")
            << "setsourcelist" << lists({{"/etc/apt//sources.list.d/b.sources", stanza}})
            << "/etc/apt/sources.list.d/b.sources" << 0644 << stanza;
        QTest::newRow("notifier's system settings")
            << "setappconfig"
            << QVariantMap{{"PMTool", "/usr/bin/synaptic-pkexec"},
                           {"upgCommand", "apt-get -y dist-upgrade"},
                           {"fixBrokenCommand", "apt-get -y -f install"}}
            << "/etc/tarn-update-notifier.conf" << 0644
            << QByteArray("[%General]\nPMTool=/usr/bin/synaptic-pkexec\nfixBrokenCommand=apt-get -y -f "
                          "install\nupgCommand=apt-get -y dist-upgrade\n");
    }

    void writesKeepBackupAndMode()
    {
        QFETCH(QString, action);
        QFETCH(QVariantMap, args);
        QFETCH(QString, file);
        QFETCH(int, oldMode);
        QFETCH(QByteArray, written);
        auto expected = snapshot(m_top);
        const QString entry = m_root.mid(m_top.size()) + file;
        expected.insert(entry, QByteArray::number(oldMode ? oldMode : 0644, 8) + ' ' + written);
        if (oldMode) {
            const int fd = ::open(QFile::encodeName(m_root + file).constData(), O_WRONLY | O_CREAT, oldMode);
            QCOMPARE(::write(fd, "old\n", 4), ssize_t(4));
            ::close(fd);
            expected.insert(entry + ".save", QByteArray::number(oldMode, 8) + " old\n");
        }
        const auto [error, text] = run(action, args);
        QVERIFY2(error == 0, qPrintable(text));
        QCOMPARE(snapshot(m_top), expected);
    }

    // Refused by the helper, for the reason given; for another user (uid 65534) already by
    // polkit, which wants an administrator and finds none. Either way no file changes.
    void refusalsChangeNothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QVariantMap>("args");
        QTest::addColumn<QString>("language"); // the caller's
        QTest::addColumn<QString>("reason");   // words of the refusal
        const QString English = "C";
        const QString shell = QString("sh -c 'touch %1/ran'").arg(m_root);
        QTest::newRow("hook in the APT configuration")
            << "setaptconfig"
            << QVariantMap{{"data",
                            QByteArray("APT::Periodic::Enable \"1\";\nDPkg::Pre-Invoke { \"id\"; };\n")}}
            << English << "Refused";
        QTest::newRow("a German caller reads German")
            << "setaptconfig" << QVariantMap{{"data", QByteArray("DPkg::Pre-Invoke { \"id\"; };\n")}}
            << "de_DE"
            << "Abgelehnt";
        QTest::newRow("list outside the list folder")
            << "setsourcelist" << lists({{"/etc/apt//sources.list.d/../../cron.d/x.list", "deb x\n"}})
            << English << "Refused";
        QTest::newRow("list through a symlink")
            << "setsourcelist" << lists({{"/etc/apt//sources.list.d/link.list", "deb x\n"}}) << English
            << "link.list\": it is not a regular file";
        QTest::newRow("list folder of the caller's choice")
            << "setsourcelist" << lists({{"/etc/apt//sources.list.d/x.list", "deb x\n"}}, "/tmp/evil")
            << English << "is not APT's list directory";
        const QByteArray half(HelperContract::MaxDataBytes / 2 + 1, '#');
        QTest::newRow("lists larger than the limit together")
            << "setsourcelist"
            << lists({{"/etc/apt//sources.list", half}, {"/etc/apt//sources.list.d/x.list", half}}) << English
            << "larger than";
        QTest::newRow("good list with a bad path")
            << "setsourcelist" << lists({{"/etc/apt//sources.list", "deb x\n"}, {"/etc/passwd", "x\n"}})
            << English << "Refused";
        QTest::newRow("app settings incomplete")
            << "setappconfig" << QVariantMap{{"PMTool", "x"}} << English << "Refused";
        const auto app = [](const QString& pm, const QString& upgrade) {
            return QVariantMap{{"PMTool", pm}, {"upgCommand", upgrade}, {"fixBrokenCommand", ""}};
        };
        QTest::newRow("app settings: refused upgrade")
            << "setappconfig" << app("x", "apt-get install foo") << English << "Refused";
        QTest::newRow("app settings: control character")
            << "setappconfig" << app("x\ny", "apt-get upgrade") << English << "Refused";
        QTest::newRow("list APT cannot read")
            << "setsourcelist" << lists({{"/etc/apt//sources.list", "deb http://deb.example/ bookworm\n"}})
            << English << "Refused";
        QTest::newRow("list with a NUL")
            << "setsourcelist" << lists({{"/etc/apt//sources.list", QByteArray("# a\0b\n", 6)}}) << English
            << "Refused";
        QTest::newRow("shell as update")
            << "update" << QVariantMap{{"update_command", shell}} << English << "Refused";
        QTest::newRow("shell as upgrade")
            << "upgrade" << QVariantMap{{"update_command", ""}, {"upgrade_command", shell}} << English
            << "Refused";
    }

    void refusalsChangeNothing()
    {
        QFETCH(QString, action);
        QFETCH(QVariantMap, args);
        QFETCH(QString, language);
        QFETCH(QString, reason);
        QFile::link(m_top + "/outside", m_root + "/etc/apt/sources.list.d/link.list");
        const auto before = snapshot(m_top);
        QLocale::setDefault(QLocale(language));
        const auto [error, text] = run(action, args);
        QLocale::setDefault(QLocale::c());
        if (getuid() == 0)
            QVERIFY2(error != 0 && text.contains(reason), qPrintable(text));
        else
            QCOMPARE(error, int(KAuth::ActionReply::AuthorizationDeniedError));
        QCOMPARE(snapshot(m_top), before);
    }

    // The second of two list files cannot be replaced, for the reason given: the first stays, and
    // so do the backups.
    void listsChangeTogether_data()
    {
        QTest::addColumn<QString>("setup"); // shell commands: $L is the second file, $B a file beside
        QTest::addColumn<QString>("undo");
        QTest::addColumn<QString>("reason");
        QTest::newRow("its folder is full") << "mount -t tmpfs -o size=4k full ${L%/*}"
                                            << "umount ${L%/*}"
                                            << "Cannot write";
        QTest::newRow("it is bind-mounted") << "mount --bind $B $L"
                                            << "umount $L"
                                            << "Cannot keep a backup of $L: Invalid cross-device link";
        QTest::newRow("its backup's name is a folder's") << "mkdir $L.save"
                                                         << "rmdir $L.save"
                                                         << "Cannot keep a backup of $L: $L.save is a folder";
        QTest::newRow("its backup is bind-mounted") << "touch $L.save && mount --bind $B $L.save"
                                                    << "umount $L.save && rm $L.save"
                                                    << "Cannot keep a backup of $L: Device or resource busy; "
                                                       "the files already replaced were put back";
    }

    void listsChangeTogether()
    {
        QFETCH(QString, setup);
        QFETCH(QString, undo);
        QFETCH(QString, reason);
        const QString list = m_root + "/etc/apt/sources.list.d/a.list";
        const QString bound = m_top + "/bound";
        QVERIFY(QFile(list).open(QIODevice::WriteOnly) && QFile(bound).open(QIODevice::WriteOnly));
        const auto shell = [&](const QString& commands) {
            return QProcess::execute("sh", {"-c", QString("L=%1 B=%2; %3").arg(list, bound, commands)});
        };
        const auto before = snapshot(m_top);
        QCOMPARE(shell(setup), 0);
        const auto [error, text] =
            run("setsourcelist", lists({{"/etc/apt//sources.list", "deb http://deb.example/ bookworm main\n"},
                                        {"/etc/apt//sources.list.d/a.list", QByteArray(9000, '#') + "\n"}}));
        QCOMPARE(shell(undo), 0);
        QVERIFY2(error != 0 && text.contains(reason.replace("$L", list)), qPrintable(text));
        QCOMPARE(snapshot(m_top), before);
    }

    // Stopped while dpkg runs a postinst (the real apt-get runs dpkg in a session of its own),
    // the upgrade is let finish: nothing is signalled, and the helper answers once everything
    // it started has ended, with what really happened.
    void stopDuringDpkgLetsItFinish()
    {
        const QString fixture = qEnvironmentVariable("TARN_E2E_FIXTURE") + "/root";
        if (!QFile::exists(fixture + "/bin/sh"))
            QSKIP("needs run-e2e.sh --fixture with FIXTURE_WAITING_POSTINST=1");
        KAuth::ExecuteJob* job =
            HelperContract::makeAction("upgrade", {{"update_command", ""},
                                                   {"upgrade_command", "apt-get -y dist-upgrade"},
                                                   {"fix_broken_command", ""}})
                .execute();
        QStringList log;
        connect(job, &KAuth::ExecuteJob::newData, this,
                [&](const QVariantMap& data) { log << data.value("output").toString(); });
        QSignalSpy finished(job, &KJob::result);
        job->start();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(fixture + "/postinst-started"), 60000);
        stopRunningAction(job);
        QTRY_VERIFY2_WITH_TIMEOUT(log.join('|').contains("Packages are being installed"),
                                  qPrintable(log.join('\n')), 10000);
        QVERIFY(QFile(fixture + "/postinst-release").open(QIODevice::WriteOnly));
        QVERIFY(finished.wait(60000));
        QCOMPARE(job->error(), 0);
        QCOMPARE(job->data().value("message").toString(), QString("success"));
        QVERIFY2(log.join('|').contains("The stop came too late"), qPrintable(log.join('\n')));
        QVERIFY(!job->data().contains("dpkg_interrupted"));
        QProcess query;
        query.start("dpkg-query",
                    {"--admindir=" + fixture + "/var/lib/dpkg", "-W", "-f=${Status}", "waiter"});
        QVERIFY(query.waitForFinished());
        QCOMPARE(query.readAll(), QByteArray("install ok installed"));
        QCOMPARE(QDir(fixture + "/var/lib/dpkg/updates").entryList({"[0-9]*"}, QDir::Files), QStringList());
        QCOMPARE(processesOf(fixture), QStringList());
    }

    // A stop request is void outside its action, and only root and administrators may send one.
    void strayStopIsVoid()
    {
        run("setaptconfig", {{"data", QByteArray("APT::Periodic::Enable \"1\";\n")}}); // starts the helper
        QDBusMessage stop =
            QDBusMessage::createMethodCall(HelperContract::HelperId, "/", "org.kde.kf5auth", "stopAction");
        stop << QString(HelperContract::HelperId) + ".update";
        const QDBusMessage reply = QDBusConnection::systemBus().call(stop);
        if (getuid() != 0) {
            QCOMPARE(reply.errorName(), QString("org.freedesktop.DBus.Error.AccessDenied"));
            return;
        }
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        if (qEnvironmentVariableIsEmpty("TARN_E2E_FIXTURE"))
            QSKIP("needs run-e2e.sh --fixture");
        QCOMPARE(run("update", {{"update_command", "apt-get update"}}), qMakePair(0, QString("success")));
    }
};

QTEST_GUILESS_MAIN(TstHelperE2E)
#include "tst_helper_e2e.moc"
