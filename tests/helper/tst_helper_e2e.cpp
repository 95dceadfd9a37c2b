// Through real KAuth: client -> private system bus -> polkitd -> the bus-activated helper.
// Runs under e2e/run-e2e.sh, which provides the bus and the helper's sandbox ($TARN_E2E_ROOT).
#include "privileged/helpercontract.h"
#include "privileged/helperjobs.h"

#include <KAuth/ActionReply>
#include <KJob>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QtTest>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace HelperContract;

namespace {

// A request as the notifier makes it, collecting its progress maps.
struct Request
{
    explicit Request(const KAuth::Action& made) : action(made)
    {
        job.reset(
            HelperJobs::current().execute(action, &context, [this](const QVariantMap& map) { maps << map; }));
        job->setAutoDelete(false);
    }
    Request(const QString& name, const QVariantMap& arguments) : Request(makeAction(name, arguments)) {}
    // Starts it; true once it has finished within `ms`.
    bool runFor(int ms)
    {
        QSignalSpy finished(job.get(), &KJob::result);
        job->start();
        return finished.wait(ms);
    }
    QString status() const { return HelperJobs::current().replyData(job.get()).value(MessageKey).toString(); }
    QString secret() const { return action.arguments().value(RequestKey).toString(); }
    bool got(const QString& key, const QString& value) const
    {
        return std::any_of(maps.cbegin(), maps.cend(),
                           [&](const QVariantMap& m) { return m.value(key) == value; });
    }

    KAuth::Action action;
    QObject context;
    std::unique_ptr<KJob> job;
    QList<QVariantMap> maps;
};

// The finished action's error code (0 for success) and text, or its reply status.
QPair<int, QString> run(const QString& name, const QVariantMap& arguments)
{
    Request request(name, arguments);
    request.job->exec();
    const int error = request.job->error();
    return {error, error ? HelperJobs::failureReason(request.job.get()) : request.status()};
}

// Sends a stop by secret; returns once the helper has taken it.
QDBusMessage stop(const QString& secret)
{
    QDBusMessage message = QDBusMessage::createMethodCall(HelperId, StopPath, StopInterface, StopMethod);
    return QDBusConnection::systemBus().call(message << secret);
}

// Holds APT's list lock of the fixture, as another package manager would (-1: not held).
int holdListsLock()
{
    const QByteArray path = qgetenv("TARN_E2E_FIXTURE") + "/root/var/lib/apt/lists/lock";
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0640);
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    if (fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0)
        return fd;
    ::close(fd);
    return -1;
}

// A bus connection of `user` (the bus asks the socket who connected); this process stays root.
QDBusConnection connectAs(const QString& user)
{
    QDBusConnection::systemBus(); // Qt's bus thread starts as root
    const passwd* account = ::getpwnam(qPrintable(user));
    gid_t groups[64];
    int count = 64;
    if (!account || ::getgrouplist(account->pw_name, account->pw_gid, groups, &count) < 0)
        return QDBusConnection(user);
    const bool switched =
        ::setgroups(count, groups) == 0 && ::setegid(account->pw_gid) == 0 && ::seteuid(account->pw_uid) == 0;
    QDBusConnection connection =
        switched ? QDBusConnection::connectToBus(QDBusConnection::SystemBus, user) : QDBusConnection(user);
    if (::seteuid(0) != 0 || ::setegid(0) != 0 || ::setgroups(0, nullptr) != 0)
        qFatal("cannot become root again");
    return connection;
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
        const QByteArray owner = info.st_uid ? ':' + QByteArray::number(info.st_uid) : QByteArray();
        entries.insert(path.mid(top.size()),
                       QByteArray::number(info.st_mode & 07777, 8) + owner + ' ' + data);
    }
    return entries;
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
    int m_signals = 0;

public Q_SLOTS:
    void countSignal() { ++m_signals; }

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
        QTest::newRow("list file with CRLF line ends")
            << "setsourcelist"
            << lists({{"/etc/apt//sources.list.d/c.list", "# c\r\n" + list.chopped(1) + "\r\n"}})
            << "/etc/apt/sources.list.d/c.list" << 0644 << QByteArray("# c\r\n" + list.chopped(1) + "\r\n");
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
        // Another owner's file stays theirs; the backup before the last is replaced, not kept.
        expected.insert(entry,
                        QByteArray::number(oldMode ? oldMode : 0644, 8) + (oldMode ? ":1 " : " ") + written);
        if (oldMode) {
            const int fd = ::open(QFile::encodeName(m_root + file).constData(), O_WRONLY | O_CREAT, oldMode);
            QCOMPARE(::write(fd, "old\n", 4), ssize_t(4));
            QCOMPARE(::fchown(fd, 1, 1), 0);
            ::close(fd);
            QFile previous(m_root + file + ".save");
            QVERIFY(previous.open(QIODevice::WriteOnly) && previous.write("older\n") == 6);
            expected.insert(entry + ".save", QByteArray::number(oldMode, 8) + ":1 old\n");
        }
        const auto [error, text] = run(action, args);
        QVERIFY2(error == 0, qPrintable(text));
        QCOMPARE(snapshot(m_top), expected);
    }

    // Refused by the helper, for the reason given; for another user (uid 65534, not in
    // kelmora-admin) already by the bus. Either way no file changes.
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
        QTest::newRow("APT configuration larger than the limit")
            << "setaptconfig" << QVariantMap{{"data", QByteArray(HelperContract::MaxDataBytes + 1, '/')}}
            << English << "larger than";
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
            << "setsourcelist"
            << lists({{"/etc/apt//sources.list", "# x\ndeb http://deb.example/ bookworm\n"}}) << English
            << "Malformed entry 2 in list file /etc/apt/sources.list (Component)";
        QTest::newRow("list with a NUL")
            << "setsourcelist" << lists({{"/etc/apt//sources.list", QByteArray("# a\0b\n", 6)}}) << English
            << "Refused";
        QTest::newRow("shell as update, for a German caller")
            << "update" << QVariantMap{{"update_command", shell}} << "de_DE"
            << "Abgelehnt: Aktualisierungsbefehl:";
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
            QVERIFY2(error != 0 && text.count(reason) == 1, qPrintable(text));
        else
            QVERIFY2(error == KAuth::ActionReply::DBusError && text.contains("Rejected send message"),
                     qPrintable(text));
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
        Request upgrade("upgrade", {{"update_command", ""},
                                    {"upgrade_command", "apt-get -y dist-upgrade"},
                                    {"fix_broken_command", ""}});
        const auto log = [&] {
            QStringList lines;
            for (const QVariantMap& map : qAsConst(upgrade.maps))
                lines << map.value(OutputKey).toString();
            return lines.join('\n');
        };
        QSignalSpy finished(upgrade.job.get(), &KJob::result);
        upgrade.job->start();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(fixture + "/postinst-started"), 60000);
        HelperJobs::current().kill(upgrade.job.get());
        QTRY_VERIFY2_WITH_TIMEOUT(log().contains("Packages are being installed"), qPrintable(log()), 10000);
        QVERIFY(QFile(fixture + "/postinst-release").open(QIODevice::WriteOnly));
        QVERIFY(finished.wait(60000));
        QCOMPARE(upgrade.job->error(), 0);
        QCOMPARE(upgrade.status(), QString(SuccessStatus));
        QVERIFY2(log().contains("The stop came too late"), qPrintable(log()));
        QVERIFY(!HelperJobs::current().replyData(upgrade.job.get()).contains(DpkgInterruptedKey));
        QProcess query;
        query.start("dpkg-query",
                    {"--admindir=" + fixture + "/var/lib/dpkg", "-W", "-f=${Status}", "waiter"});
        QVERIFY(query.waitForFinished());
        QCOMPARE(query.readAll(), QByteArray("install ok installed"));
        QCOMPARE(QDir(fixture + "/var/lib/dpkg/updates").entryList({"[0-9]*"}, QDir::Files), QStringList());
        QCOMPARE(processesOf(fixture), QStringList());
    }

    // dpkg killed with its group during a postinst, as by a power cut, leaves the package half
    // configured; the repair finishes it, then runs APT's repair if given. A fix-broken command
    // that is not allowed is refused before anything runs.
    void repairFinishesInterruptedDpkg_data()
    {
        QTest::addColumn<QString>("fixBroken");
        QTest::addColumn<QString>("answer"); // the reply status, or words of the refusal
        QTest::addColumn<QString>("logged"); // a line of the log; empty: no progress at all
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("dpkg alone") << "" << SuccessStatus << "Setting up waiter (1.1) ..."
                                    << QByteArray("install ok installed");
        QTest::newRow("fix-broken command not allowed") << "apt-get -y install foo"
                                                        << "Refused fix-broken command"
                                                        << "" << QByteArray("install ok half-configured");
        QTest::newRow("dpkg, then APT") << "apt-get -y -f install" << SuccessStatus
                                        << "Reading package lists..." << QByteArray("install ok installed");
    }

    void repairFinishesInterruptedDpkg()
    {
        QFETCH(QString, fixBroken);
        QFETCH(QString, answer);
        QFETCH(QString, logged);
        QFETCH(QByteArray, after);
        const QString fixture = qEnvironmentVariable("TARN_E2E_FIXTURE") + "/root";
        if (!QFile::exists(fixture + "/bin/sh"))
            QSKIP("needs run-e2e.sh --fixture with FIXTURE_WAITING_POSTINST=1");
        const QStringList dpkgOptions = {"--root=" + fixture, "--admindir=" + fixture + "/var/lib/dpkg",
                                         "--log=" + fixture + "/var/log/dpkg.log"};
        const auto waiter = [&] {
            QProcess query;
            query.start("dpkg-query", {dpkgOptions.at(1), "-W", "-f=${Status}", "waiter"});
            return query.waitForFinished() ? query.readAll() : QByteArray();
        };
        const auto journal = [&] {
            return QDir(fixture + "/var/lib/dpkg/updates").entryList({"[0-9]*"}, QDir::Files);
        };
        QFile::remove(fixture + "/postinst-started");
        QFile::remove(fixture + "/postinst-release");
        const QDir repo(fixture + "/../repo/main");
        QProcess dpkg;
        dpkg.start("setsid",
                   QStringList{"dpkg"} + dpkgOptions +
                       QStringList{"-i", repo.filePath(repo.entryList({"waiter_1.1_*.deb"}).value(0))});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(fixture + "/postinst-started"), 30000);
        QCOMPARE(::kill(-pid_t(dpkg.processId()), SIGKILL), 0);
        QVERIFY(dpkg.waitForFinished());
        QTRY_COMPARE(processesOf(fixture), QStringList());
        QCOMPARE(waiter(), QByteArray("install ok half-configured"));
        QVERIFY(!journal().isEmpty());

        QVERIFY(QFile(fixture + "/postinst-release").open(QIODevice::WriteOnly));
        Request repair("repair", {{"fix_broken_command", fixBroken}});
        QVERIFY(repair.runFor(120000));
        const int error = repair.job->error();
        const QString text = error ? HelperJobs::failureReason(repair.job.get()) : repair.status();
        QVERIFY2(text.contains(answer) && (error == 0) == (answer == SuccessStatus), qPrintable(text));
        QVERIFY(logged.isEmpty() ? repair.maps.isEmpty() : repair.got(OutputKey, logged));
        QCOMPARE(waiter(), after);
        QCOMPARE(journal().isEmpty(), error == 0);
    }

    // Only root and kelmora-admin reach the helper: the bus refuses anybody else's calls, of any
    // interface, and keeps the helper's broadcasts (progress, results) from them.
    void onlyAdministratorsReachHelper_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("call"); // interface.member, or "signals" of an action root runs
        QTest::addColumn<bool>("reached");
        for (const auto& [user, reached] : {std::pair("nobody", false), std::pair("tarn-e2e-admin", true)})
            for (const char* call : {"org.kde.kf5auth.performAction", "org.kde.kf5auth.stopAction",
                                     "org.nordwave.tarn.upgradehelper.Stop.Stop",
                                     "org.freedesktop.DBus.Introspectable.Introspect", "signals"})
                QTest::addRow("%s: %s", user, call) << QString(user) << QString(call) << reached;
    }

    void onlyAdministratorsReachHelper()
    {
        QFETCH(QString, user);
        QFETCH(QString, call);
        QFETCH(bool, reached);
        if (getuid() != 0)
            QSKIP("needs root");
        QDBusConnection bus = connectAs(user);
        QVERIFY(bus.isConnected());
        const QString action = QString(HelperId) + ".setaptconfig";
        if (call == "signals") {
            // A call's answer comes after all the bus sent before it, and Qt subscribes in order.
            const auto roundTrip = [&bus] {
                bus.call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                        "org.freedesktop.DBus", "GetId"));
                QCoreApplication::processEvents();
            };
            m_signals = 0;
            QVERIFY(bus.connect(QString(), "/", KAuthInterface, KAuthSignal, this, SLOT(countSignal())));
            roundTrip();
            run("setaptconfig", {{"data", QByteArray("DPkg::Pre-Invoke { \"id\"; };\n")}});
            roundTrip();
            QCOMPARE(m_signals > 0, reached);
        } else {
            const QString member = call.section('.', -1);
            QDBusMessage message = QDBusMessage::createMethodCall(HelperId, member == "Stop" ? StopPath : "/",
                                                                  call.section('.', 0, -2), member);
            QByteArray noArguments;
            QDataStream stream(&noArguments, QIODevice::WriteOnly);
            stream << QVariantMap();
            if (member == "performAction")
                message << action << bus.baseService().toUtf8() << QVariantMap() << noArguments;
            else if (member != "Introspect")
                message << action;
            const QDBusMessage reply = bus.call(message);
            QCOMPARE(reply.errorName() == "org.freedesktop.DBus.Error.AccessDenied", !reached);
            if (reached && member == "performAction") // polkit's verdict: no administrator
                QCOMPARE(
                    KAuth::ActionReply::deserialize(reply.arguments().value(0).toByteArray()).errorCode(),
                    KAuth::ActionReply::AuthorizationDeniedError);
        }
        QDBusConnection::disconnectFromBus(user);
    }

    // Requests while another runs: each is refused as busy within seconds and shows nothing of
    // the running one, which neither their stops nor stray stops end; the next request still
    // stops by its own stop.
    void stopsBelongToTheirRequest()
    {
        if (qEnvironmentVariableIsEmpty("TARN_E2E_FIXTURE"))
            QSKIP("needs run-e2e.sh --fixture");
        const QVariantMap update = {{"update_command", "apt-get update"}};
        int lock = holdListsLock();
        QVERIFY(lock >= 0);
        Request first("update", update);
        first.job->start();
        QTRY_VERIFY_WITH_TIMEOUT(first.got(MessageKey, WaitingMessage), 30000);
        Request second("update", update); // refused: ends when its start does not come
        second.job->start();
        HelperJobs::current().kill(second.job.get());
        QCOMPARE(stop("0123456789abcdef").type(), QDBusMessage::ReplyMessage);
        QDBusMessage kauthStop = QDBusMessage::createMethodCall(HelperId, "/", KAuthInterface, "stopAction");
        QCOMPARE(QDBusConnection::systemBus().call(kauthStop << QString(HelperId) + ".update").type(),
                 QDBusMessage::ReplyMessage);
        QVERIFY(second.runFor(StartWaitMs + 5000));
        Request third("update", update); // refused: ends at the first one's result
        QSignalSpy firstDone(first.job.get(), &KJob::result);
        QSignalSpy thirdDone(third.job.get(), &KJob::result);
        third.job->start();
        ::close(lock);
        QVERIFY(firstDone.wait(60000));
        QTRY_VERIFY_WITH_TIMEOUT(!thirdDone.isEmpty(), StartWaitMs + 5000);
        QCOMPARE(first.status(), QString(SuccessStatus));
        for (const Request* refused : {&second, &third}) {
            QCOMPARE(refused->job->error(), int(KAuth::ActionReply::HelperBusyError));
            QCOMPARE(refused->maps, {});
        }

        lock = holdListsLock();
        Request next("update", update);
        next.job->start();
        QTRY_VERIFY_WITH_TIMEOUT(next.got(MessageKey, WaitingMessage), 30000);
        QSignalSpy nextDone(next.job.get(), &KJob::result);
        HelperJobs::current().kill(next.job.get());
        QVERIFY(nextDone.wait(30000));
        ::close(lock);
        QCOMPARE(next.status(), QString(CanceledStatus));
    }

    // A stop sent before its request begins cancels that request before anything runs, and
    // only that one.
    void stopBeforeStartCancels()
    {
        if (qEnvironmentVariableIsEmpty("TARN_E2E_FIXTURE"))
            QSKIP("needs run-e2e.sh --fixture");
        Request stopped("update", {{"update_command", "apt-get update"}});
        QCOMPARE(stop(stopped.secret()).type(), QDBusMessage::ReplyMessage);
        QVERIFY(stopped.runFor(30000));
        QCOMPARE(stopped.status(), QString(CanceledStatus));
        QVERIFY(stopped.got(OutputKey, "Canceled before it began."));
        QVERIFY(!stopped.got(OutputKey, "Reading package lists..."));
        QCOMPARE(run("update", {{"update_command", "apt-get update"}}), qMakePair(0, QString(SuccessStatus)));
    }
};

QTEST_GUILESS_MAIN(TstHelperE2E)
#include "tst_helper_e2e.moc"
