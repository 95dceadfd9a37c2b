// The notifier core on the offscreen platform, with a scripted checker and the
// settings stores in temporary places.
#include "core/notifiercore.h"
#include "core/trayicon.h"
#include "platform/tarnintegration.h"
#include "privileged/commands.h"
#include "privileged/messagebox.h"
#include "privileged/systempaths.h"
#include "testsupport.h"

#include "../privileged/fakehelperjobs.h"

#include <KAuth/Action>
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
using Balloon = QList<QVariant>; // title, text, icon, msecs

QString upToDateTooltip()
{
    return QStringLiteral("Update Notifier: system is up-to-date");
}
} // namespace

class TestNotifierCore : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    SystemPaths m_paths;
    std::unique_ptr<NotifierCore> m_core;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // The scripted checker prints output and errorText, then exits with status.
    void setChecker(const QByteArray& output, const QByteArray& errorText = QByteArray(), int status = 0,
                    bool crash = false)
    {
        TestSupport::writeFile(path("checker/output"), output);
        TestSupport::writeFile(path("checker/stderr"), errorText);
        QByteArray body = "echo run >>'" + path("checker/runs").toLocal8Bit() + "'\n" + "cat '" +
                          path("checker/stderr").toLocal8Bit() + "' >&2\ncat '" +
                          path("checker/output").toLocal8Bit() + "'\n";
        if (crash)
            body += "kill -SEGV $$\n";
        body += "exit " + QByteArray::number(status) + "\n";
        QVERIFY(TestSupport::writeScript(m_paths.aptCheck, body));
    }
    int checkerRuns() const { return TestSupport::readFile(path("checker/runs")).count('\n'); }

    void writeUserSettings(const QVariantMap& values)
    {
        QSettings settings;
        settings.beginGroup(QStringLiteral("General"));
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }
    void writeGlobalSettings(const QVariantMap& values)
    {
        QSettings settings(m_paths.globalConfig, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("General"));
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }

    NotifierCore* makeCore(bool silent, bool desktopMode = true)
    {
        m_core = std::make_unique<NotifierCore>(silent, desktopMode, nullptr);
        return m_core.get();
    }
    TrayIcon* tray() const { return m_core->findChild<TrayIcon*>(QStringLiteral("trayIcon")); }
    QTimer* timer(const char* name) const { return m_core->findChild<QTimer*>(QString::fromLatin1(name)); }
    QProcess* process() const { return m_core->findChild<QProcess*>(QStringLiteral("process")); }
    QAction* action(const char* name) const
    {
        return tray()->contextMenu()->findChild<QAction*>(QString::fromLatin1(name));
    }
    QWidget* settingsDialog() const
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("SettingsDialog") && widget->isVisible())
                return widget;
        }
        return nullptr;
    }

    // Makes the next automatic check see a changed package cache.
    void touchCache()
    {
        static int step = 0;
        QFile cache(m_paths.packageCache);
        QVERIFY(cache.open(QIODevice::ReadWrite));
        QVERIFY(cache.setFileTime(QDateTime::currentDateTime().addSecs(++step),
                                  QFileDevice::FileModificationTime));
    }

    // Runs one automatic check to its end.
    void runCheck()
    {
        touchCache();
        const int before = checkerRuns();
        QSignalSpy finished(process(), &QProcess::finished);
        QMetaObject::invokeMethod(m_core.get(), "checkForUpdates");
        QVERIFY(process()->state() != QProcess::NotRunning);
        QVERIFY(finished.wait(10000));
        QCOMPARE(checkerRuns(), before + 1);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qRegisterMetaType<QProcess::ExitStatus>();
        QCoreApplication::setOrganizationName(QStringLiteral("tarn-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_notifiercore"));
        tarnLoadTranslations(QStringLiteral(TARN_BUILD_TRANSLATIONS));
        QVERIFY(m_dir.isValid());
        m_paths.aptCheck = path("bin/apt_check");
        m_paths.globalConfig = path("etc/tarn-update-notifier.conf");
        m_paths.packageCache = path("cache/pkgcache.bin");
        m_paths.aptListsDir = path("lists");
        m_paths.dpkgStatus = path("status");
        SystemPaths::setCurrent(m_paths);
        MessageBox::setAutoAnswer(true);
        // The settings dialog reads APT's configuration and lists: keep it in the sandbox.
        const QByteArray root = m_dir.path().toLocal8Bit();
        QVERIFY(TestSupport::writeScript(path("bin/apt-config"),
                                         "echo 'Dir \"" + root +
                                             "/\";'\n"
                                             "echo 'Dir::Etc \"" +
                                             root +
                                             "/etc/apt/\";'\n"
                                             "echo 'Dir::Etc::sourcelist \"sources.list\";'\n"
                                             "echo 'Dir::Etc::sourceparts \"sources.list.d\";'\n"));
        qputenv("PATH", path("bin").toLocal8Bit() + ':' + qgetenv("PATH"));
    }

    void init()
    {
        QSettings().clear();
        QFile::remove(m_paths.globalConfig);
        QFile::remove(path("checker/runs"));
        TestSupport::writeFile(m_paths.packageCache, "cache");
        // Quiet defaults for the tests; single tests override them.
        writeUserSettings({{QStringLiteral("hideTray"), false}});
        writeGlobalSettings({{QStringLiteral("PMTool"), QStringLiteral("/bin/true")}});
        setChecker("0;0;0\n");
        MessageBox::takeShownTexts();
    }

    void cleanup()
    {
        m_core.reset();
        QTest::qWait(0); // deleteLater of phone notifications and dialogs
    }

    void defaults()
    {
        QSettings().clear();
        QFile::remove(m_paths.globalConfig);
        makeCore(true);
        QCOMPARE(timer("reminderTimer")->interval(), 1800000);
        QVERIFY(timer("reminderTimer")->isActive());
        QCOMPARE(timer("checkTimer")->interval(), 1800000);
        QVERIFY(timer("checkTimer")->isActive());
        QCOMPARE(timer("hideTimer")->interval(), 5000);
        QCOMPARE(action("packageManagerAction")->isEnabled(),
                 QFile::exists(QStringLiteral("/usr/bin/synaptic-pkexec")));
        QCOMPARE(tray()->toolTip(), upToDateTooltip());
        QVERIFY(!action("upgradeAction")->isEnabled());
    }

    void oddSettings_data()
    {
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<bool>("reminderRunning");
        QTest::addColumn<int>("reminderInterval");
        QTest::addColumn<int>("checkInterval");
        QTest::addColumn<int>("hideDelay");
        QTest::newRow("text where numbers belong")
            << QVariantMap{{"notifyInterval", "soon"}, {"aptCacheCheckInterval", "x"}, {"hideTrayDelay", "y"}}
            << false << 0 << 0 << 0;
        QTest::newRow("reminder interval 0")
            << QVariantMap{{"notifyInterval", 0}} << false << 0 << 1800000 << 5000;
        QTest::newRow("negative reminder interval")
            << QVariantMap{{"notifyInterval", -5}} << false << -5 << 1800000 << 5000;
        QTest::newRow("reminders switched off")
            << QVariantMap{{"showMessage", false}} << false << 1800000 << 1800000 << 5000;
        QTest::newRow("numbers stored as text")
            << QVariantMap{{"notifyInterval", "60000"}, {"aptCacheCheckInterval", "120000"}} << true << 60000
            << 120000 << 5000;
    }
    void oddSettings()
    {
        QFETCH(QVariantMap, values);
        QFETCH(bool, reminderRunning);
        writeUserSettings(values);
        makeCore(true);
        QCOMPARE(timer("reminderTimer")->isActive(), reminderRunning);
        QTEST(timer("reminderTimer")->interval(), "reminderInterval");
        QTEST(timer("checkTimer")->interval(), "checkInterval");
        QTEST(timer("hideTimer")->interval(), "hideDelay");
    }

    void zeroReminderIntervalIsNotStored()
    {
        writeUserSettings({{QStringLiteral("notifyInterval"), 0}, {QStringLiteral("showMessage"), true}});
        makeCore(false);
        QVERIFY(!timer("reminderTimer")->isActive());
        QCOMPARE(QSettings().value(QStringLiteral("General/showMessage")).toBool(), true);
        // Reminders are off in memory: updates bring no balloon.
        QSignalSpy balloons(tray(), &TrayIcon::balloonShown);
        setChecker("3;0;0");
        runCheck();
        QCOMPARE(balloons.count(), 0);
    }

    void packageManagerCheck_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("existing path") << "/bin/true" << true;
        QTest::newRow("missing path") << "/nonexistent/synaptic-pkexec" << false;
        QTest::newRow("word, then an existing path") << "pkexec /bin/true" << true;
        QTest::newRow("word, then a missing path") << "pkexec /nonexistent/tool" << false;
        QTest::newRow("words without paths") << "pkexec synaptic" << true;
        QTest::newRow("several blanks") << "  /bin/true   --flag  " << true;
        QTest::newRow("empty") << "" << true;
    }
    void packageManagerCheck()
    {
        QFETCH(QString, command);
        writeGlobalSettings({{QStringLiteral("PMTool"), command}});
        makeCore(true);
        QTEST(action("packageManagerAction")->isEnabled(), "enabled");
    }

    void checkOutcome_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("errorText");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<bool>("upgradeEnabled");
        QTest::addColumn<QString>("balloon");
        const QString invalid =
            QStringLiteral("Error while checking apt cache: invalid output from ") + QStringLiteral("%1");
        QTest::newRow("3;1;0")
            << QByteArray("3;1;0\n") << QByteArray()
            << "Update Notifier:<br><b>3</b> packages will be upgraded<br><b>1</b> package "
               "will be installed<br>Click to run system upgrade"
            << true << "There are 3 upgradable packages\nClick to run system upgrade";
        QTest::newRow("removals alone are no update")
            << QByteArray("0;0;2") << QByteArray() << upToDateTooltip() << false << QString();
        QTest::newRow("new packages alone are")
            << QByteArray("0;2;0") << QByteArray()
            << "Update Notifier:<br><b>2</b> packages will be installed<br>Click to run system upgrade"
            << true << QString();
        QTest::newRow("blanks around")
            << QByteArray(" 5;0;0\n") << QByteArray()
            << "Update Notifier:<br><b>5</b> packages will be upgraded<br>Click to run "
               "system upgrade"
            << true << "There are 5 upgradable packages\nClick to run system upgrade";
        QTest::newRow("two numbers") << QByteArray("5;0") << QByteArray() << "Error" << false << invalid;
        QTest::newRow("four numbers") << QByteArray("5;0;0;1") << QByteArray() << "Error" << false << invalid;
        QTest::newRow("letters") << QByteArray("a;b;c") << QByteArray() << "Error" << false << invalid;
        QTest::newRow("no output") << QByteArray() << QByteArray() << "Error" << false << invalid;
        QTest::newRow("apt error") << QByteArray("1;0;0") << QByteArray("E: boom\n") << "Error" << false
                                   << "Error while checking apt cache:  boom";
        QTest::newRow("warning is ignored")
            << QByteArray("2;0;0") << QByteArray("W: lists are old\n")
            << "Update Notifier:<br><b>2</b> packages will be upgraded<br>Click to run system upgrade" << true
            << "There are 2 upgradable packages\nClick to run system upgrade";
        QTest::newRow("too large for an int")
            << QByteArray("4294967296;0;0") << QByteArray() << upToDateTooltip() << false << QString();
    }
    void checkOutcome()
    {
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, errorText);
        QFETCH(QString, balloon);
        writeUserSettings({{QStringLiteral("hideTray"), true}});
        makeCore(false);
        QSignalSpy balloons(tray(), &TrayIcon::balloonShown);
        setChecker(output, errorText);
        runCheck();
        QTEST(tray()->toolTip(), "tooltip");
        QTEST(action("upgradeAction")->isEnabled(), "upgradeEnabled");
        QVERIFY(tray()->isVisible());
        if (balloon.isEmpty()) {
            QCOMPARE(balloons.count(), 0);
        } else {
            QCOMPARE(balloons.count(), 1);
            QCOMPARE(balloons.at(0).at(1).toString(), balloon.arg(m_paths.aptCheck));
        }
        QVERIFY(MessageBox::takeShownTexts().isEmpty());
    }

    void checkerFailures_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("crash");
        QTest::addColumn<bool>("box");
        QTest::newRow("non-zero exit") << 1 << false << true;
        QTest::newRow("crash") << 0 << true << false;
    }
    void checkerFailures()
    {
        QFETCH(int, status);
        QFETCH(bool, crash);
        QFETCH(bool, box);
        makeCore(false);
        setChecker("3;0;0", QByteArray(), status, crash);
        runCheck();
        QCOMPARE(tray()->toolTip(), QStringLiteral("Error"));
        const QStringList texts = MessageBox::takeShownTexts();
        QCOMPARE(texts.size(), box ? 1 : 0);
        if (box) {
            QVERIFY2(texts.first().startsWith(QStringLiteral("Unable to check for updates<br>Command: ") +
                                              m_paths.aptCheck + QStringLiteral(" <br>Error: ")),
                     qPrintable(texts.first()));
        }
    }

    void missingChecker()
    {
        makeCore(false);
        QFile::remove(m_paths.aptCheck);
        touchCache();
        QMetaObject::invokeMethod(m_core.get(), "checkForUpdates");
        QTRY_COMPARE(tray()->toolTip(), QStringLiteral("Error"));
        QVERIFY(MessageBox::takeShownTexts().isEmpty());
    }

    void unchangedCacheRunsNothing()
    {
        makeCore(true);
        runCheck();
        QMetaObject::invokeMethod(m_core.get(), "checkForUpdates");
        QCOMPARE(process()->state(), QProcess::NotRunning);
        QCOMPARE(checkerRuns(), 1);
    }

    // Without APT's binary cache the lists and dpkg's status tell whether anything changed.
    void missingCacheFileFallsBackToListsAndStatus()
    {
        QFile::remove(m_paths.packageCache);
        QDir().mkpath(m_paths.aptListsDir);
        TestSupport::writeFile(m_paths.dpkgStatus, "Package: a\n");
        makeCore(true);
        QSignalSpy finished(process(), &QProcess::finished);
        QMetaObject::invokeMethod(m_core.get(), "checkForUpdates");
        QVERIFY(finished.wait(10000));
        QMetaObject::invokeMethod(m_core.get(), "checkForUpdates");
        QCOMPARE(process()->state(), QProcess::NotRunning);
        QFile status(m_paths.dpkgStatus);
        QVERIFY(status.open(QIODevice::ReadWrite));
        QVERIFY(
            status.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        QMetaObject::invokeMethod(m_core.get(), "checkForUpdates");
        QVERIFY(finished.wait(10000));
        QCOMPARE(checkerRuns(), 2);
    }

    void errorAfterUpdates()
    {
        writeUserSettings({{QStringLiteral("hideTray"), true}, {QStringLiteral("hideTrayDelay"), 10}});
        makeCore(true);
        setChecker("3;0;1");
        runCheck();
        QVERIFY(action("upgradeAction")->isEnabled());
        setChecker("", "E: broken");
        runCheck();
        QCOMPARE(tray()->toolTip(), QStringLiteral("Error"));
        QVERIFY(!action("upgradeAction")->isEnabled());
        QTest::qWait(50); // longer than the hide delay: the icon must stay
        QVERIFY(tray()->isVisible());
    }

    void silentStartHidesAndStaysQuiet()
    {
        writeUserSettings({{QStringLiteral("hideTray"), true}});
        makeCore(true);
        QVERIFY(!tray()->isVisible());
        QSignalSpy balloons(tray(), &TrayIcon::balloonShown);
        setChecker("3;0;0");
        runCheck();
        QVERIFY(tray()->isVisible());  // updates show the icon
        QCOMPARE(balloons.count(), 0); // but no balloon in the first 10 s
        setChecker("a;b;c");
        runCheck();
        QCOMPARE(balloons.count(), 0); // nor an error balloon
    }

    void nonSilentStartOpensSettingsAndKeepsIconWhileVisible()
    {
        writeUserSettings({{QStringLiteral("hideTray"), true}, {QStringLiteral("hideTrayDelay"), 20}});
        makeCore(false);
        QMetaObject::invokeMethod(m_core.get(), "showSettings");
        QWidget* dialog = settingsDialog();
        QVERIFY(dialog);
        runCheck(); // up to date: the hide timer runs
        QVERIFY(timer("hideTimer")->isActive());
        QTRY_VERIFY(!timer("hideTimer")->isActive());
        QVERIFY(tray()->isVisible()); // the visible dialog keeps it
        QMetaObject::invokeMethod(dialog, "reject");
        QTRY_VERIFY(!tray()->isVisible()); // closing re-applies the state; the icon hides later
    }

    void acceptingSettingsReReads()
    {
        makeCore(true);
        QVERIFY(action("packageManagerAction")->isEnabled());
        QMetaObject::invokeMethod(m_core.get(), "showSettings");
        QWidget* dialog = settingsDialog();
        QVERIFY(dialog);
        // Changed behind the dialog's back: only a re-read notices. The dialog's own saving
        // is its tests' business; here only its accepted() signal matters.
        writeGlobalSettings({{QStringLiteral("PMTool"), QStringLiteral("/nonexistent/package-manager")}});
        QMetaObject::invokeMethod(dialog, "accepted");
        QTRY_VERIFY(!action("packageManagerAction")->isEnabled());
        QVERIFY(tray()->isVisible());
    }

    void remindLater_data()
    {
        QTest::addColumn<bool>("hideWhileDeferred");
        QTest::newRow("icon stays") << false;
        QTest::newRow("icon hides") << true;
    }
    void remindLater()
    {
        QFETCH(bool, hideWhileDeferred);
        writeUserSettings({{QStringLiteral("hideTrayDeferred"), hideWhileDeferred}});
        makeCore(false);
        setChecker("3;0;0");
        runCheck();
        QMenu* remindMenu = tray()->contextMenu()->findChild<QMenu*>(QStringLiteral("remindLaterMenu"));
        QAction* week = remindMenu->actions().at(4);
        QCOMPARE(week->text(), QStringLiteral("a week"));
        const QDateTime before = QDateTime::currentDateTime();
        week->trigger();
        QSettings settings;
        QCOMPARE(settings.value(QStringLiteral("General/skipNotificationDelay")).toLongLong(),
                 qint64(604800));
        const QDateTime since = settings.value(QStringLiteral("General/skipNotificationSince")).toDateTime();
        QVERIFY(since.isValid() && qAbs(since.secsTo(before)) <= 2);
        QCOMPARE(tray()->isVisible(), !hideWhileDeferred);

        QSignalSpy balloons(tray(), &TrayIcon::balloonShown);
        QMetaObject::invokeMethod(m_core.get(), "showUpdates");
        QCOMPARE(balloons.count(), 0);

        // The deferral survives a restart because it is stored.
        m_core.reset();
        makeCore(false);
        setChecker("3;0;0");
        QSignalSpy balloonsAfterRestart(tray(), &TrayIcon::balloonShown);
        runCheck();
        QCOMPARE(balloonsAfterRestart.count(), 0);
        QCOMPARE(tray()->isVisible(), !hideWhileDeferred);
    }

    void storedDelayWithoutStartDefers()
    {
        writeUserSettings({{QStringLiteral("skipNotificationDelay"), 3600}});
        makeCore(false);
        QSignalSpy balloons(tray(), &TrayIcon::balloonShown);
        setChecker("3;0;0");
        runCheck();
        QCOMPARE(balloons.count(), 0);
    }

    void expiredDeferralRemindsAgain()
    {
        writeUserSettings(
            {{QStringLiteral("skipNotificationDelay"), 3600},
             {QStringLiteral("skipNotificationSince"), QDateTime::currentDateTime().addSecs(-3600)}});
        makeCore(false);
        QSignalSpy balloons(tray(), &TrayIcon::balloonShown);
        setChecker("2;0;0");
        runCheck();
        QCOMPARE(balloons.count(), 1);
        QMetaObject::invokeMethod(m_core.get(), "showUpdates"); // the reminder timer's tick
        QCOMPARE(balloons.count(), 2);
        QCOMPARE(balloons.at(1).at(2).toInt(), int(QSystemTrayIcon::Warning));
        QCOMPARE(balloons.at(1).at(3).toInt(), 15000);
    }

    void manualCheckWithoutUpdates_data()
    {
        QTest::addColumn<bool>("hideTray");
        QTest::addColumn<int>("duration");
        QTest::newRow("icon kept") << false << 15000;
        QTest::newRow("icon hidden: the shorter hide delay") << true << 5000;
    }
    void manualCheckWithoutUpdates()
    {
        QFETCH(bool, hideTray);
        writeUserSettings({{QStringLiteral("hideTray"), hideTray}});
        makeCore(false);
        QSignalSpy balloons(tray(), &TrayIcon::balloonShown);
        QSignalSpy finished(process(), &QProcess::finished);
        FakeHelperJobs jobs;
        // The package lists are refreshed first, under the modal update dialog.
        QTimer::singleShot(0, [&jobs] {
            jobs.job->finish(0, {{QStringLiteral("message"), QStringLiteral("success")}});
        });
        QMetaObject::invokeMethod(m_core.get(), "checkForUpdatesManual");
        QCOMPARE(jobs.actions.size(), 1);
        QCOMPARE(jobs.actions.at(0).name(), QStringLiteral("org.nordwave.tarn.upgradehelper.update"));
        QVERIFY(finished.wait(10000));
        QCOMPARE(balloons.count(), 1);
        QCOMPARE(balloons.at(0).at(1).toString(), QStringLiteral("No updates are available"));
        QTEST(balloons.at(0).at(3).toInt(), "duration");
        QVERIFY(tray()->contextMenu()->isEnabled());
    }

    void rejectedListUpdateRunsNoCheck()
    {
        makeCore(false);
        FakeHelperJobs jobs;
        QTimer::singleShot(0, [&jobs] {
            jobs.job->finish(0, {{QStringLiteral("message"), QStringLiteral("canceled")}});
        });
        QMetaObject::invokeMethod(m_core.get(), "checkForUpdatesManual");
        QCOMPARE(process()->state(), QProcess::NotRunning);
        QCOMPARE(checkerRuns(), 0);
        QVERIFY(tray()->contextMenu()->isEnabled());
        QVERIFY(!timer("checkTimer")->signalsBlocked());
        QVERIFY(!tray()->signalsBlocked());
    }

    void packageManagerErrors_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("checkFollows");
        QTest::newRow("no stored setting, even with a command")
            << QString() << "/bin/true"
            << "NO setting for package managment tool\nPlease verify settings" << false;
        QTest::newRow("missing program")
            << "/bin/true"
            << "/nonexistent/pm"
            << "Unable to run package managment tool<br>Command: /nonexistent/pm "
               "<br>Error: "
            << false;
        QTest::newRow("a command of blanks") << "/bin/true"
                                             << "   "
                                             << "Unable to run package managment tool<br>Command:" << false;
        QTest::newRow("non-zero exit: no box, a check") << "/bin/true"
                                                        << "/bin/false" << QString() << true;
        QTest::newRow("quoted path with blanks")
            << "/bin/true"
            << "\"" + QString::fromLocal8Bit("%1") + "\"" << QString() << true;
        QTest::newRow("a crash: one box, no check")
            << "/bin/true"
            << "%2"
            << "Unable to run package managment tool<br>Command: " << false;
    }
    void packageManagerErrors()
    {
        QFETCH(QString, stored);
        QFETCH(QString, command);
        QFETCH(QString, box);
        QFETCH(bool, checkFollows);
        if (command.contains(QLatin1String("%1"))) {
            const QString spaced = path("dir with blanks/pm");
            QVERIFY(TestSupport::writeScript(spaced, "exit 0\n"));
            command = command.arg(spaced);
        }
        if (command == QLatin1String("%2")) {
            command = path("bin/crashing-pm");
            QVERIFY(TestSupport::writeScript(command, "kill -SEGV $$\n"));
        }
        writeGlobalSettings({{QStringLiteral("PMTool"), stored}});
        makeCore(true);
        touchCache();
        QMetaObject::invokeMethod(m_core.get(), "runPackageManager", Q_ARG(QString, command));
        if (checkFollows) {
            QTRY_COMPARE(checkerRuns(), 1);
        } else {
            QTest::qWait(100);
            QCOMPARE(checkerRuns(), 0);
        }
        QTRY_COMPARE(process()->state(), QProcess::NotRunning);
        const QStringList texts = MessageBox::takeShownTexts();
        if (box.isEmpty()) {
            QVERIFY2(texts.isEmpty(), qPrintable(texts.join(QLatin1Char('|'))));
        } else {
            QCOMPARE(texts.size(), 1);
            QVERIFY2(texts.first().startsWith(box), qPrintable(texts.first()));
        }
    }

    // Answers the next modal dialog from inside its own event loop: records its object
    // name and closes it with `result`.
    QString answerNextModal(const std::function<void(QDialog*)>& answer)
    {
        auto seen = std::make_shared<QString>();
        QTimer::singleShot(0, [seen, answer] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                *seen = dialog->objectName();
                answer(dialog);
            }
        });
        QMetaObject::invokeMethod(m_core.get(), "doUpgrade");
        QCoreApplication::processEvents();
        return *seen;
    }

    void upgradeGuards_data()
    {
        QTest::addColumn<QByteArray>("counts");
        QTest::addColumn<QString>("upgradeCommand");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("box");
        QTest::newRow("nothing to do")
            << QByteArray("0;0;2") << "apt-get dist-upgrade" << QString() << QString();
        QTest::newRow("only new packages") << QByteArray("0;2;0") << "apt-get dist-upgrade"
                                           << "UpgradeRequestDialog" << QString();
        QTest::newRow("no upgrade command") << QByteArray("3;0;0") << QString() << QString()
                                            << "Upgrade command does not set\nPlease verify settings";
    }
    void upgradeGuards()
    {
        QFETCH(QByteArray, counts);
        QFETCH(QString, upgradeCommand);
        QFETCH(QString, box);
        writeGlobalSettings({{QStringLiteral("upgCommand"), upgradeCommand}});
        makeCore(true);
        setChecker(counts);
        runCheck();
        const int runs = checkerRuns();
        QTEST(answerNextModal([](QDialog* dialog) { dialog->reject(); }), "dialog");
        const QStringList texts = MessageBox::takeShownTexts();
        QCOMPARE(texts, box.isEmpty() ? QStringList() : QStringList{box});
        // A rejected confirmation gives everything back and checks nothing.
        QVERIFY(tray()->contextMenu()->isEnabled());
        QVERIFY(!tray()->signalsBlocked());
        QVERIFY(!timer("checkTimer")->signalsBlocked());
        QVERIFY(!timer("reminderTimer")->signalsBlocked());
        touchCache();
        QCoreApplication::processEvents();
        QCOMPARE(checkerRuns(), runs);
    }

    void upgradeRunsTheHelperThenChecks()
    {
        writeGlobalSettings({{QStringLiteral("upgCommand"), QStringLiteral("apt-get -y dist-upgrade")},
                             {QStringLiteral("fixBrokenCommand"), QStringLiteral("apt-get -y -f install")}});
        makeCore(true);
        setChecker("2;0;0");
        runCheck();
        FakeHelperJobs jobs;
        bool silenced = false;
        QTimer::singleShot(0, [&] {
            // The confirmation: the tray is silent while it is open.
            silenced = !tray()->contextMenu()->isEnabled() && tray()->signalsBlocked();
            QTimer::singleShot(0, [&jobs] {
                // The progress dialog: the helper finishes, the user presses Ok.
                jobs.job->finish(0, {{QStringLiteral("message"), QStringLiteral("success")}});
                QTimer::singleShot(
                    0, [] { qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept(); });
            });
            qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept();
        });
        touchCache();
        setChecker("0;0;0");
        QSignalSpy finished(process(), &QProcess::finished);
        QMetaObject::invokeMethod(m_core.get(), "doUpgrade");
        QVERIFY(silenced);
        QCOMPARE(jobs.actions.size(), 1);
        const KAuth::Action upgrade = jobs.actions.at(0);
        QCOMPARE(upgrade.name(), QStringLiteral("org.nordwave.tarn.upgradehelper.upgrade"));
        QCOMPARE(upgrade.arguments().value(QStringLiteral("update_command")).toString(), defaultCommand(0));
        QVERIFY(upgrade.arguments()
                    .value(QStringLiteral("upgrade_command"))
                    .toString()
                    .startsWith(QStringLiteral("apt-get -y dist-upgrade")));
        QCOMPARE(upgrade.arguments().value(QStringLiteral("fix_broken_command")).toString(),
                 QStringLiteral("apt-get -y -f install"));
        // The follow-up check shows the upgraded system.
        QVERIFY(finished.wait(10000));
        QCOMPARE(tray()->toolTip(), upToDateTooltip());
        QVERIFY(tray()->contextMenu()->isEnabled());
        QVERIFY(!tray()->signalsBlocked());
    }

    void checksWaitWhileTheConfirmationIsOpen()
    {
        makeCore(true);
        setChecker("2;0;0");
        runCheck();
        const int runs = checkerRuns();
        answerNextModal([this](QDialog* dialog) {
            touchCache();
            QMetaObject::invokeMethod(m_core.get(), "onAptCacheMayBeUpdated");
            dialog->reject();
        });
        QCOMPARE(process()->state(), QProcess::NotRunning);
        QCOMPARE(checkerRuns(), runs);
    }

    void trayClicks_data()
    {
        QTest::addColumn<QByteArray>("counts");
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("single click with updates")
            << QByteArray("1;0;0") << int(QSystemTrayIcon::Trigger) << "UpgradeRequestDialog";
        QTest::newRow("single click, nothing upgradable")
            << QByteArray("0;2;0") << int(QSystemTrayIcon::Trigger) << QString();
        QTest::newRow("double click never upgrades")
            << QByteArray("1;0;0") << int(QSystemTrayIcon::DoubleClick) << QString();
        QTest::newRow("middle click")
            << QByteArray("1;0;0") << int(QSystemTrayIcon::MiddleClick) << QString();
    }
    void trayClicks()
    {
        QFETCH(QByteArray, counts);
        QFETCH(int, reason);
        makeCore(true);
        setChecker(counts);
        runCheck();
        auto seen = std::make_shared<QString>();
        QTimer::singleShot(0, [seen] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                *seen = dialog->objectName();
                dialog->reject();
            }
        });
        emit tray()->activated(QSystemTrayIcon::ActivationReason(reason));
        QCoreApplication::processEvents();
        QTEST(*seen, "dialog");
    }

    void mobileModeHasNoTray()
    {
        makeCore(true, false);
        QVERIFY(!m_core->findChild<TrayIcon*>());
        setChecker("3;0;0");
        runCheck();
        setChecker("0;0;0");
        runCheck();
    }
};

QTEST_MAIN(TestNotifierCore)
#include "tst_notifiercore.moc"
