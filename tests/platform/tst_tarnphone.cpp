// The phone notification layer against the fake notification server (fakedesk.py)
// on a private session bus of the test's own.
#include "platform/tarnphone.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

using TarnPhone::TarnNotificationDbusNotifier;
using TarnPhone::TarnNotificationsModelDbusNotifier;

namespace {
const QString Python = QStringLiteral("/usr/bin/python3");
const QString FakeDesk = QStringLiteral(TARN_SOURCE_DIR "/tests/desktop/fakedesk.py");
const QString BusConfig = QStringLiteral(TARN_SOURCE_DIR "/tests/desktop/session-bus.conf");
const QString Description = QStringLiteral(
    "<b>3</b> packages will be upgraded, <b>1</b> package will be removed. Click to run system upgrade");
const QString Component =
    QStringLiteral("file:///usr/share/tarn-mobile/notifications/UpdateNotification.qml");

QVariantMap notificationData(const QString& description = Description)
{
    return {
        {QStringLiteral("description"), description},
        {QStringLiteral("caption"), QStringLiteral("Update Notifier")},
        {QStringLiteral("icon"), QStringLiteral("image://ThemeImageProvider/update_for_install")},
        {QStringLiteral("customComponentPath"), Component},
    };
}
} // namespace

class TestTarnPhone : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_address;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<TarnNotificationsModelDbusNotifier> m_model;

    QString logPath() const { return m_dir.filePath(QStringLiteral("fakedesk.jsonl")); }

    // The fake server with extra options; returns when it owns its names. Without
    // events, the bus's news of the new owner stays queued meanwhile.
    void startServer(const QStringList& options = QStringList(), bool events = true)
    {
        stopServer();
        QFile::remove(logPath());
        m_server = std::make_unique<QProcess>();
        m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server->start(Python, QStringList{FakeDesk, QStringLiteral("serve"), QStringLiteral("--no-watcher"),
                                            QStringLiteral("--log"), logPath()} +
                                    options);
        if (events) {
            QTRY_VERIFY_WITH_TIMEOUT(!this->events(QStringLiteral("ready")).isEmpty(), 10000);
            return;
        }
        QElapsedTimer clock;
        clock.start();
        while (this->events(QStringLiteral("ready")).isEmpty() && clock.elapsed() < 10000)
            QThread::msleep(10);
        QVERIFY(!this->events(QStringLiteral("ready")).isEmpty());
    }

    void stopServer()
    {
        if (!m_server)
            return;
        m_server->terminate();
        QVERIFY(m_server->waitForFinished(5000));
        m_server.reset();
        // Gone from the bus too, so the next one is a new owner.
        auto* bus = QDBusConnection::sessionBus().interface();
        QTRY_VERIFY(!bus->isServiceRegistered(QStringLiteral("org.example.FakeDesk")).value());
    }

    // The logged calls of one kind, oldest first.
    QList<QJsonObject> events(const QString& kind) const
    {
        QList<QJsonObject> found;
        QFile log(logPath());
        if (!log.open(QIODevice::ReadOnly))
            return found;
        for (const QByteArray& line : log.readAll().split('\n')) {
            const QJsonObject event = QJsonDocument::fromJson(line).object();
            if (event.value(QStringLiteral("ev")).toString() == kind)
                found << event;
        }
        return found;
    }
    QJsonObject lastNotify() const
    {
        const QList<QJsonObject> notifies = events(QStringLiteral("Notify"));
        return notifies.isEmpty() ? QJsonObject() : notifies.last();
    }

    // Makes the server emit one of its signals.
    void serverControl(const QString& command, uint id, const QString& argument)
    {
        QProcess ctl;
        ctl.setProcessChannelMode(QProcess::ForwardedChannels);
        ctl.start(Python, {FakeDesk, QStringLiteral("ctl"), command, QString::number(id), argument});
        QVERIFY(ctl.waitForFinished(10000));
        QCOMPARE(ctl.exitCode(), 0);
    }
    void invokeAction(uint id, const QString& key)
    {
        serverControl(QStringLiteral("invoke-action"), id, key);
    }
    void closeByServer(uint id, uint reason)
    {
        serverControl(QStringLiteral("close-notification"), id, QString::number(reason));
    }

    TarnNotificationDbusNotifier* addNotification(const QVariantMap& data = notificationData())
    {
        return m_model->addNotification(5, false, false, data);
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed");
        if (QProcess::execute(Python, {QStringLiteral("-c"), QStringLiteral("import gi")}) != 0)
            QSKIP("python3-gi is not installed");
        QVERIFY(m_dir.isValid());
        m_bus.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=") + BusConfig, QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
        QVERIFY(m_bus.waitForStarted());
        QTRY_VERIFY(m_bus.canReadLine());
        m_address = QString::fromLocal8Bit(m_bus.readLine()).trimmed();
        // Read when the session bus is first used, which is after this.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toLocal8Bit());
        QVERIFY(QDBusConnection::sessionBus().isConnected());
    }

    void cleanupTestCase()
    {
        m_model.reset();
        stopServer();
        m_bus.terminate();
        m_bus.waitForFinished(5000);
    }

    void init() { m_model = std::make_unique<TarnNotificationsModelDbusNotifier>(); }

    void cleanup()
    {
        m_model.reset();
        stopServer();
    }

    void addSendsOneNotification()
    {
        startServer();
        TarnNotificationDbusNotifier* notification = addNotification();
        QVERIFY(notification);
        QCOMPARE(notification->parent(), m_model.get());

        const QList<QJsonObject> notifies = events(QStringLiteral("Notify"));
        QCOMPARE(notifies.size(), 1);
        const QJsonObject notify = notifies.first();
        QCOMPARE(notification->id(), notify.value(QStringLiteral("id")).toInt());
        QVERIFY(notification->id() != 0);
        QCOMPARE(notify.value(QStringLiteral("replaces_id")).toInt(), 0);
        QCOMPARE(notify.value(QStringLiteral("summary")).toString(), QStringLiteral("Update Notifier"));
        QCOMPARE(notify.value(QStringLiteral("app_name")).toString(), QStringLiteral("Update Notifier"));
        QCOMPARE(notify.value(QStringLiteral("body")).toString(), Description);
        QCOMPARE(notify.value(QStringLiteral("app_icon")).toString(), QStringLiteral("updates-available"));
        QCOMPARE(notify.value(QStringLiteral("actions")).toArray(),
                 QJsonArray({QStringLiteral("upgrade"), QStringLiteral("Upgrade")}));
        QCOMPARE(notify.value(QStringLiteral("expire_timeout")).toInt(), 0);
        const QJsonObject hints = notify.value(QStringLiteral("hints")).toObject();
        QCOMPARE(hints.value(QStringLiteral("resident")), QJsonValue(true));
        QCOMPARE(hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("tarn-update-notifier"));
        QCOMPARE(hints.value(QStringLiteral("x-tarn-custom-component-path")).toString(), Component);
        QCOMPARE(hints.value(QStringLiteral("suppress-sound")), QJsonValue(true));
    }

    void soundLeavesTheServersChoice()
    {
        startServer();
        QVERIFY(m_model->addNotification(5, true, true, notificationData()));
        QVERIFY(!lastNotify()
                     .value(QStringLiteral("hints"))
                     .toObject()
                     .contains(QStringLiteral("suppress-sound")));
    }

    void body_data()
    {
        QTest::addColumn<QString>("capabilities");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("body");
        const QString plain = QStringLiteral(
            "3 packages will be upgraded, 1 package will be removed. Click to run system upgrade");
        QTest::newRow("markup shown") << "actions,body,body-markup" << Description << Description;
        QTest::newRow("markup stripped") << "actions,body" << Description << plain;
        QTest::newRow("no capabilities at all") << "" << Description << plain;
        QTest::newRow("entities decoded") << "body"
                                          << "<i>a</i> &amp;&lt;b&gt; &amp;amp;"
                                          << "a &<b> &amp;";
        QTest::newRow("line breaks kept") << "body"
                                          << "one<br>two<BR/>three"
                                          << "one\ntwo\nthree";
        QTest::newRow("entities kept with markup") << "body-markup"
                                                   << "a &amp; b"
                                                   << "a &amp; b";
    }
    void body()
    {
        QFETCH(QString, capabilities);
        QFETCH(QString, description);
        QFETCH(QString, body);
        startServer({QStringLiteral("--capabilities"), capabilities});
        TarnNotificationDbusNotifier* notification = addNotification(notificationData(description));
        QVERIFY(notification);
        QCOMPARE(lastNotify().value(QStringLiteral("body")).toString(), body);
        // An update goes through the same rule.
        notification->updateDataMap(
            {{QStringLiteral("description"), description + QStringLiteral("<b>!</b>")}});
        QCOMPARE(events(QStringLiteral("Notify")).size(), 2);
        const bool markup = capabilities.split(QLatin1Char(',')).contains(QStringLiteral("body-markup"));
        QCOMPARE(lastNotify().value(QStringLiteral("body")).toString(),
                 body + (markup ? QStringLiteral("<b>!</b>") : QStringLiteral("!")));
        // The capabilities are asked once per server.
        QCOMPARE(events(QStringLiteral("GetCapabilities")).size(), 1);
    }

    void icon_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("appIcon");
        QTest::newRow("the shell's update image") << "image://ThemeImageProvider/update_for_install"
                                                  << "updates-available";
        QTest::newRow("another shell image") << "image://ThemeImageProvider/something_else"
                                             << "tarn-update-notifier";
        QTest::newRow("an icon name") << "dialog-information"
                                      << "dialog-information";
        QTest::newRow("a file URL") << "file:///usr/share/icons/x.png"
                                    << "file:///usr/share/icons/x.png";
        QTest::newRow("another URL") << "https://example.org/x.png"
                                     << "tarn-update-notifier";
        QTest::newRow("none") << ""
                              << "tarn-update-notifier";
    }
    void icon()
    {
        QFETCH(QString, icon);
        QFETCH(QString, appIcon);
        startServer();
        QVariantMap data = notificationData();
        data.insert(QStringLiteral("icon"), icon);
        QVERIFY(addNotification(data));
        QCOMPARE(lastNotify().value(QStringLiteral("app_icon")).toString(), appIcon);
    }

    void updateReplacesTheNotification()
    {
        startServer();
        TarnNotificationDbusNotifier* notification = addNotification();
        QVERIFY(notification);
        const int id = notification->id();
        const QString text =
            QStringLiteral("<b>7</b> packages will be upgraded. Click to run system upgrade");
        notification->updateDataMap({{QStringLiteral("description"), text}});

        const QList<QJsonObject> notifies = events(QStringLiteral("Notify"));
        QCOMPARE(notifies.size(), 2);
        const QJsonObject first = notifies.at(0);
        const QJsonObject second = notifies.at(1);
        QCOMPARE(second.value(QStringLiteral("replaces_id")).toInt(), id);
        QCOMPARE(second.value(QStringLiteral("body")).toString(), text);
        // Everything that was not in the update stays as it was.
        for (const char* key : {"summary", "app_icon", "actions", "hints", "expire_timeout"})
            QCOMPARE(second.value(QLatin1String(key)), first.value(QLatin1String(key)));
        QCOMPARE(notification->id(), id);
        QVERIFY(events(QStringLiteral("CloseNotification")).isEmpty());
    }

    void removeClosesOnlyOurs_data()
    {
        QTest::addColumn<int>("offset"); // from our id
        QTest::addColumn<bool>("closed");
        QTest::newRow("our id") << 0 << true;
        QTest::newRow("another id") << 1000 << false;
    }
    void removeClosesOnlyOurs()
    {
        QFETCH(int, offset);
        QFETCH(bool, closed);
        startServer();
        TarnNotificationDbusNotifier* notification = addNotification();
        QVERIFY(notification);
        const int id = notification->id();
        m_model->removeNotification(0);
        m_model->removeNotification(id + offset);
        const QList<QJsonObject> closes = events(QStringLiteral("CloseNotification"));
        QCOMPARE(closes.size(), closed ? 1 : 0);
        if (closed) {
            QCOMPARE(closes.first().value(QStringLiteral("id")).toInt(), id);
            QCOMPARE(notification->id(), 0);
            // Nothing is left to close a second time.
            m_model->removeNotification(id);
            QCOMPARE(events(QStringLiteral("CloseNotification")).size(), 1);
        }
    }

    void actions_data()
    {
        QTest::addColumn<int>("offset"); // from our id
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("emitted");
        QTest::newRow("upgrade on ours") << 0 << "upgrade" << 1;
        QTest::newRow("default on ours") << 0 << "default" << 0;
        QTest::newRow("another key on ours") << 0 << "Upgrade" << 0;
        QTest::newRow("upgrade on another") << 1000 << "upgrade" << 0;
        QTest::newRow("upgrade on id 0") << -1 << "upgrade" << 0;
    }
    void actions()
    {
        QFETCH(int, offset);
        QFETCH(QString, key);
        QFETCH(int, emitted);
        startServer();
        TarnNotificationDbusNotifier* notification = addNotification();
        QVERIFY(notification);
        QSignalSpy spy(notification, &TarnNotificationDbusNotifier::newData);
        const uint id = static_cast<uint>(notification->id());
        invokeAction(offset < 0 ? 0 : id + static_cast<uint>(offset), key);
        // The server's signals arrive in order: once this one is seen, the one above was handled.
        invokeAction(id, QStringLiteral("upgrade"));
        QTRY_COMPARE(spy.size(), emitted + 1);
        for (const QList<QVariant>& arguments : spy)
            QCOMPARE(arguments.value(0).toString(), QStringLiteral("upgrade"));
    }

    void actionFromAnotherProgramIgnored()
    {
        startServer();
        TarnNotificationDbusNotifier* notification = addNotification();
        QVERIFY(notification);
        QSignalSpy spy(notification, &TarnNotificationDbusNotifier::newData);
        const uint id = static_cast<uint>(notification->id());
        {
            QDBusConnection other = QDBusConnection::connectToBus(m_address, QStringLiteral("impostor"));
            QVERIFY(other.isConnected());
            QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                             QStringLiteral("org.freedesktop.Notifications"),
                                                             QStringLiteral("ActionInvoked"));
            signal << id << QStringLiteral("upgrade");
            QVERIFY(other.send(signal));
            // The bus handles a connection's messages in order: after this reply the
            // signal was delivered or dropped.
            QVERIFY(other.interface()->isServiceRegistered(QStringLiteral("org.example.FakeDesk")).value());
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("impostor"));
        invokeAction(id, QStringLiteral("upgrade"));
        QTRY_COMPARE(spy.size(), 1);
    }

    void closedByServerShowsAfreshOnUpdate()
    {
        startServer();
        TarnNotificationDbusNotifier* notification = addNotification();
        QVERIFY(notification);
        QSignalSpy spy(notification, &TarnNotificationDbusNotifier::newData);
        const uint id = static_cast<uint>(notification->id());

        // Someone else's notification closing changes nothing.
        closeByServer(id + 1000, 2);
        invokeAction(id, QStringLiteral("upgrade"));
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(notification->id(), static_cast<int>(id));

        closeByServer(id, 2); // dismissed by the user
        QTRY_COMPARE(notification->id(), 0);
        const QString text =
            QStringLiteral("<b>2</b> packages will be upgraded. Click to run system upgrade");
        notification->updateDataMap({{QStringLiteral("description"), text}});
        const QList<QJsonObject> notifies = events(QStringLiteral("Notify"));
        QCOMPARE(notifies.size(), 2);
        QCOMPARE(notifies.last().value(QStringLiteral("replaces_id")).toInt(), 0);
        QCOMPARE(notifies.last().value(QStringLiteral("body")).toString(), text);
        QCOMPARE(notifies.last().value(QStringLiteral("summary")).toString(),
                 QStringLiteral("Update Notifier"));
        const uint fresh = static_cast<uint>(notifies.last().value(QStringLiteral("id")).toInt());
        QVERIFY(fresh != id);
        QCOMPARE(notification->id(), static_cast<int>(fresh));

        // The old id is no longer ours; the new one is.
        invokeAction(id, QStringLiteral("upgrade"));
        invokeAction(fresh, QStringLiteral("upgrade"));
        QTRY_COMPARE(spy.size(), 2);
    }

    void noServer_data()
    {
        QTest::addColumn<QStringList>("options"); // of the fake server; null: none runs
        QTest::newRow("nothing on the bus") << QStringList();
        QTest::newRow("no notification service") << QStringList{QStringLiteral("--no-notifications")};
        QTest::newRow("Notify refused") << QStringList{QStringLiteral("--refuse-notify")};
    }
    void noServer()
    {
        QFETCH(QStringList, options);
        if (!options.isEmpty())
            startServer(options);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!addNotification());
        QVERIFY(!addNotification());
        // Answered at once, not after the calls' timeout.
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(m_model->children().size() <= 2); // the proxy and the owner watcher, no notifications
        m_model->removeNotification(1);
        if (options.contains(QStringLiteral("--refuse-notify")))
            QCOMPARE(events(QStringLiteral("NotifyRefused")).size(), 2);
    }

    void serverReplaced()
    {
        startServer();
        TarnNotificationDbusNotifier* notification = addNotification();
        QVERIFY(notification);
        const int id = notification->id();

        stopServer();
        QTRY_COMPARE(notification->id(), 0);
        // Nobody to show it: nothing breaks, and it stays hidden.
        notification->updateDataMap({{QStringLiteral("description"), QStringLiteral("<b>4</b> x")}});
        QCOMPARE(notification->id(), 0);

        // The next server knows nothing of the old id, and has other capabilities.
        QDBusServiceWatcher watcher(QStringLiteral("org.freedesktop.Notifications"),
                                    QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForRegistration);
        QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
        startServer({QStringLiteral("--capabilities"), QStringLiteral("actions,body")}, false);
        QVERIFY(registered.isEmpty());
        notification->updateDataMap({{QStringLiteral("description"), QStringLiteral("<b>5</b> y")}});
        const QJsonObject notify = lastNotify();
        QCOMPARE(notify.value(QStringLiteral("replaces_id")).toInt(), 0);
        QCOMPARE(notify.value(QStringLiteral("body")).toString(), QStringLiteral("5 y"));
        QCOMPARE(notification->id(), notify.value(QStringLiteral("id")).toInt());
        Q_UNUSED(id)
        // The news of the new owner, handled only now, does not make it forget the new id.
        QTRY_COMPARE(registered.size(), 1);
        QCOMPARE(notification->id(), notify.value(QStringLiteral("id")).toInt());
    }
};

QTEST_GUILESS_MAIN(TestTarnPhone)
#include "tst_tarnphone.moc"
