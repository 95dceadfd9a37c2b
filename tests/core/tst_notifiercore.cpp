// The notifier core on the offscreen platform, with a scripted checker and its
// settings in temporary places: what the tray does beyond a single check's answer.
#include "base/messagebox.h"
#include "base/systempaths.h"
#include "core/notifiercore.h"
#include "core/trayicon.h"
#include "testsupport.h"

#include <QMenu>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The tray menu's entry of that text; the menus have no parent, so they are top-level widgets.
QAction* menuEntry(const QString& text)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const QList<QAction*> actions = widget->actions();
        const auto found = std::find_if(actions.cbegin(), actions.cend(),
                                        [&](const QAction* action) { return action->text() == text; });
        if (qobject_cast<QMenu*>(widget) && found != actions.cend())
            return *found;
    }
    return nullptr;
}
} // namespace

class TestNotifierCore : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    SystemPaths m_paths;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_paths.aptCheck = m_dir.filePath(QStringLiteral("apt_check"));
        m_paths.globalConfig = m_dir.filePath(QStringLiteral("tarn-update-notifier.conf"));
        m_paths.packageCache = m_dir.filePath(QStringLiteral("pkgcache.bin"));
        // Nothing of this machine's dpkg (an interrupted run, a held lock) reaches the tray here.
        m_paths.dpkgStatus = m_dir.filePath(QStringLiteral("status"));
        m_paths.dpkgJournalDir = m_dir.filePath(QStringLiteral("updates"));
        m_paths.aptLockFiles = QStringList{m_dir.filePath(QStringLiteral("lock"))};
        SystemPaths::setCurrent(m_paths);
        MessageBox::setAutoAnswer(true);
        QVERIFY(TestSupport::writeScript(m_paths.aptCheck, "echo '3;0;0'\n"));
        QVERIFY(TestSupport::writeFile(m_paths.packageCache, "cache"));
        QVERIFY(TestSupport::writeFile(m_paths.globalConfig, "[%General]\nPMTool=/bin/true\n"));
    }

    // A remind-later choice holds the reminders back for its time, and only for its time.
    void reminderAfterRemindLater_data()
    {
        QTest::addColumn<qint64>("delay");
        QTest::addColumn<int>("chosenSecondsAgo"); // -1: no start stored
        QTest::addColumn<bool>("reminded");
        QTest::newRow("no deferral") << qint64(-1) << -1 << true;
        QTest::newRow("an hour, chosen a minute ago") << qint64(3600) << 60 << false;
        QTest::newRow("an hour, chosen two hours ago") << qint64(3600) << 7200 << true;
        QTest::newRow("a week, chosen eight days ago") << qint64(604800) << 691200 << true;
        QTest::newRow("a delay without a start") << qint64(3600) << -1 << false;
    }
    void reminderAfterRemindLater()
    {
        QFETCH(qint64, delay);
        QFETCH(int, chosenSecondsAgo);
        QFETCH(bool, reminded);
        QSettings settings;
        settings.clear();
        settings.setValue(QStringLiteral("General/hideTray"), false);
        settings.setValue(QStringLiteral("General/messageTimeout"), 0); // would never expire
        settings.setValue(QStringLiteral("General/skipNotificationDelay"), delay);
        if (chosenSecondsAgo >= 0)
            settings.setValue(QStringLiteral("General/skipNotificationSince"),
                              QDateTime::currentDateTime().addSecs(-chosenSecondsAgo));
        settings.sync();

        NotifierCore core(false, Presentation::Tray, nullptr);
        auto* tray = core.findChild<TrayIcon*>(QStringLiteral("trayIcon"));
        auto* checker = core.findChild<QProcess*>(QStringLiteral("process"));
        QSignalSpy balloons(tray, &TrayIcon::balloonShown);
        QSignalSpy finished(checker, &QProcess::finished);
        QMetaObject::invokeMethod(&core, "checkForUpdates");
        QVERIFY(finished.wait(10000));
        QTRY_COMPARE(tray->toolTip().contains(QStringLiteral("<b>3</b>")), true);
        QMetaObject::invokeMethod(&core, "showUpdates"); // the reminder timer's tick
        QCOMPARE(balloons.count() > 0, reminded);
        if (reminded)
            QCOMPARE(balloons.constLast().at(3).toInt(), 5000);
    }

    // Each "Remind me later in" choice hides the icon when so set and holds the reminders back
    // for its time, a restart included.
    void remindLaterChoices_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<qint64>("hours");
        for (const auto& [entry, hours] : {std::pair{"1 hour", 1},
                                           {"12 hours", 12},
                                           {"1 day", 24},
                                           {"2 days", 48},
                                           {"a week", 168},
                                           {"a month", 720}})
            QTest::newRow(entry) << QString(entry) << qint64(hours);
    }
    void remindLaterChoices()
    {
        QFETCH(QString, entry);
        QFETCH(qint64, hours);
        QSettings().clear();
        QSettings().setValue(QStringLiteral("General/hideTrayDeferred"), true);
        {
            NotifierCore core(false, Presentation::Tray, nullptr);
            auto* tray = core.findChild<TrayIcon*>(QStringLiteral("trayIcon"));
            QMetaObject::invokeMethod(&core, "checkForUpdates");
            QTRY_VERIFY_WITH_TIMEOUT(
                tray->isVisible() && tray->toolTip().contains(QStringLiteral("<b>3</b>")), 10000);
            QAction* choice = menuEntry(entry);
            QVERIFY(choice);
            choice->trigger();
            QVERIFY(!tray->isVisible());
        }
        QCOMPARE(QSettings().value(QStringLiteral("General/skipNotificationDelay")).toLongLong(),
                 hours * 3600);
        NotifierCore restarted(false, Presentation::Tray, nullptr);
        const qint64 endsInMs = restarted.findChild<QTimer*>(QStringLiteral("deferralEndTimer"))->interval();
        QVERIFY2(qAbs(endsInMs - qMin(hours, qint64(24)) * 3600000) < 60000,
                 qPrintable(QString::number(endsInMs)));
    }

    // Stored delays, however odd (hand-edited), arm each timer within sound bounds.
    void storedDelays_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QString>("timer");
        QTest::addColumn<int>("interval"); // to within a second
        const QDateTime now = QDateTime::currentDateTime();
        const auto deferral = [](const QVariant& delay, const QDateTime& since) {
            return QVariantMap{{QStringLiteral("skipNotificationDelay"), delay},
                               {QStringLiteral("skipNotificationSince"), since}};
        };
        QTest::newRow("check: unset") << QVariantMap{} << "checkTimer" << 1800000;
        QTest::newRow("check: 0") << QVariantMap{{"aptCacheCheckInterval", 0}} << "checkTimer" << 60000;
        QTest::newRow("check: junk") << QVariantMap{{"aptCacheCheckInterval", "x"}} << "checkTimer" << 60000;
        QTest::newRow("check: an hour")
            << QVariantMap{{"aptCacheCheckInterval", 3600000}} << "checkTimer" << 3600000;
        QTest::newRow("reminder: unset") << QVariantMap{} << "reminderTimer" << 1800000;
        QTest::newRow("reminder: 1 s") << QVariantMap{{"notifyInterval", 1000}} << "reminderTimer" << 60000;
        QTest::newRow("icon hiding: 0") << QVariantMap{{"hideTrayDelay", 0}} << "hideTimer" << 3000;
        QTest::newRow("deferral: 2^63-1 s")
            << deferral(Q_INT64_C(9223372036854775807), now.addSecs(-60)) << "deferralEndTimer" << 86400000;
        QTest::newRow("deferral: 1e16 s")
            << deferral("1e16", now.addSecs(-60)) << "deferralEndTimer" << 86400000;
        QTest::newRow("deferral: an hour, chosen a year ahead")
            << deferral(3600, now.addDays(366)) << "deferralEndTimer" << 3600000;
    }
    void storedDelays()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QString, timer);
        QFETCH(int, interval);
        QSettings settings;
        settings.clear();
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            settings.setValue(QStringLiteral("General/") + it.key(), it.value());
        settings.sync();
        NotifierCore core(false, Presentation::Tray, nullptr);
        const int armed = core.findChild<QTimer*>(timer)->interval();
        QVERIFY2(qAbs(armed - interval) <= 1000, qPrintable(QString::number(armed)));
    }

    // When a deferral that hid the icon runs out by the wall clock, the icon and the
    // reminder come back: by its timer, or at the next tick after a suspend.
    void deferralEnds_data()
    {
        QTest::addColumn<qint64>("delay");
        QTest::addColumn<int>("chosenSecondsAgo");
        QTest::addColumn<int>("suspendedSeconds"); // the clock's jump before the next tick
        QTest::newRow("its timer") << qint64(2) << 0 << 0;
        QTest::newRow("chosen while the clock was a year ahead") << qint64(2) << -366 * 86400 << 0;
        QTest::newRow("a suspend past its end") << qint64(3600) << 0 << 7200;
    }
    void deferralEnds()
    {
        QFETCH(qint64, delay);
        QFETCH(int, chosenSecondsAgo);
        QFETCH(int, suspendedSeconds);
        QSettings settings;
        settings.clear();
        settings.setValue(QStringLiteral("General/hideTrayDeferred"), true);
        settings.setValue(QStringLiteral("General/skipNotificationDelay"), delay);
        settings.setValue(QStringLiteral("General/skipNotificationSince"),
                          QDateTime::currentDateTime().addSecs(-chosenSecondsAgo));
        settings.sync();
        NotifierCore core(false, Presentation::Tray, nullptr);
        auto* tray = core.findChild<TrayIcon*>(QStringLiteral("trayIcon"));
        QSignalSpy balloons(tray, &TrayIcon::balloonShown);
        QMetaObject::invokeMethod(&core, "checkForUpdates");
        QTRY_VERIFY_WITH_TIMEOUT(tray->toolTip().contains(QStringLiteral("<b>3</b>")), 10000);
        QVERIFY(!tray->isVisible());
        SystemPaths later = m_paths;
        later.now = [suspendedSeconds] { return QDateTime::currentDateTime().addSecs(suspendedSeconds); };
        SystemPaths::setCurrent(later);
        const auto restore = qScopeGuard([this] { SystemPaths::setCurrent(m_paths); });
        QMetaObject::invokeMethod(core.findChild<QTimer*>(QStringLiteral("checkTimer")), "timeout");
        QTRY_VERIFY2_WITH_TIMEOUT(tray->isVisible() && balloons.count() == 1,
                                  qPrintable(QStringLiteral("visible %1, balloons %2, tooltip %3")
                                                 .arg(tray->isVisible())
                                                 .arg(balloons.count())
                                                 .arg(tray->toolTip())),
                                  10000);
    }

    // The package manager's tooltip goes when it exits, though nothing changed; however much
    // it prints, nobody reads it.
    void packageManagerTooltipEnds()
    {
        QSettings().clear();
        NotifierCore core(false, Presentation::Tray, nullptr);
        auto* tray = core.findChild<TrayIcon*>(QStringLiteral("trayIcon"));
        QMetaObject::invokeMethod(&core, "checkForUpdates");
        QTRY_VERIFY(tray->toolTip().contains(QStringLiteral("<b>3</b>")));
        const QString before = tray->toolTip();
        QMetaObject::invokeMethod(&core, "runPackageManager",
                                  Q_ARG(QString, QStringLiteral("/usr/bin/head -c 1000000 /dev/zero")));
        QVERIFY(tray->toolTip() != before);
        QTRY_COMPARE(tray->toolTip(), before);
    }

    // The package manager runs as the administrator wrote its command line, an unquoted
    // comma (which QSettings reads as a list) included, or as typed in the settings; its
    // menu entry is greyed out while its program is missing.
    void packageManagerAsWritten_data()
    {
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("offered");
        QTest::newRow("plain") << QByteArray("/bin/echo a b") << QString() << QStringList{"a", "b"} << true;
        QTest::newRow("unquoted comma")
            << QByteArray("/bin/echo a, b") << QString() << QStringList{"a,", "b"} << true;
        QTest::newRow("typed in the settings")
            << QByteArray("/bin/echo stored") << "/bin/echo typed" << QStringList{"typed"} << true;
        QTest::newRow("program missing")
            << QByteArray("/nonexistent/manager") << "/bin/echo typed" << QStringList{"typed"} << false;
    }
    void packageManagerAsWritten()
    {
        QFETCH(QByteArray, written);
        QFETCH(QString, typed);
        QSettings().clear();
        QVERIFY(TestSupport::writeFile(m_paths.globalConfig, "[%General]\nPMTool=" + written + "\n"));
        NotifierCore core(false, Presentation::Tray, nullptr);
        QVERIFY(TestSupport::writeFile(m_paths.globalConfig, "[%General]\nPMTool=/bin/true\n"));
        QTEST(menuEntry(QStringLiteral("&Package Manager"))->isEnabled(), "offered");
        auto* process = core.findChild<QProcess*>(QStringLiteral("process"));
        QMetaObject::invokeMethod(&core, "runPackageManager", Q_ARG(QString, typed));
        QCOMPARE(MessageBox::takeShownTexts(), QStringList());
        QCOMPARE(process->program(), QStringLiteral("/bin/echo"));
        QTEST(process->arguments(), "arguments");
        QVERIFY(process->waitForFinished());
    }

    // A click on the icon under an open error box opens no second box.
    void errorBoxesDoNotStack()
    {
        QSettings().clear();
        QVERIFY(TestSupport::writeFile(m_paths.globalConfig, "[%General]\nupgCommand=\n"));
        NotifierCore core(false, Presentation::Tray, nullptr);
        QVERIFY(TestSupport::writeFile(m_paths.globalConfig, "[%General]\nPMTool=/bin/true\n"));
        auto* tray = core.findChild<TrayIcon*>(QStringLiteral("trayIcon"));
        QMetaObject::invokeMethod(&core, "checkForUpdates");
        QTRY_VERIFY(tray->toolTip().contains(QStringLiteral("<b>3</b>")));
        MessageBox::setNextAnswer(QMessageBox::Ok,
                                  [&core] { core.onTrayIconActivated(QSystemTrayIcon::Trigger); });
        core.onTrayIconActivated(QSystemTrayIcon::Trigger);
        QCOMPARE(MessageBox::takeShownTexts().size(), 1);
    }
};

QTEST_MAIN(TestNotifierCore)
#include "tst_notifiercore.moc"
