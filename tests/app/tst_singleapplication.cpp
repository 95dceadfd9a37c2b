// Single instance across processes: this test binary is its own second instance.
#include "app/qtsingleapplication.h"

#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
// When started with this as its first argument the binary acts as a plain
// instance: prints whether another runs, forwards its second argument and exits.
const char SecondaryRole[] = "--secondary";

int runSecondary(int argc, char** argv)
{
    QtSingleApplication app(argc, argv);
    if (!app.isRunning())
        return 3;
    return app.sendMessage(QString::fromUtf8(argv[2]), 5000) ? 0 : 4;
}
} // namespace

class TestSingleApplication : public QObject
{
    Q_OBJECT
private:
    QtSingleApplication* app() const { return static_cast<QtSingleApplication*>(qApp); }

    int runSecondaryProcess(const QString& message)
    {
        QProcess secondary;
        secondary.start(QCoreApplication::applicationFilePath(),
                        {QString::fromLatin1(SecondaryRole), message});
        // The receiver's event loop must run for the acknowledgement: wait with it.
        for (int i = 0; i < 1000 && secondary.state() != QProcess::NotRunning; ++i)
            QTest::qWait(10);
        return secondary.exitCode();
    }

private slots:
    void firstInstanceIsPrimary() { QVERIFY(!app()->isRunning()); }

    void messagesReachThePrimary_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("plain") << "/usr/bin/tarn-update-notifier|||--quit|||/home/user";
        QTest::newRow("non-ASCII and separators")
            << QString::fromUtf8("/usr/bin/x|||--silent|||/home/jörg/dir|||with separator");
        QTest::newRow("empty") << QString();
    }
    void messagesReachThePrimary()
    {
        QFETCH(QString, message);
        QSignalSpy received(app(), &QtSingleApplication::messageReceived);
        QCOMPARE(runSecondaryProcess(message), 0);
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.at(0).at(0).toString(), message);
    }

    void keyDependsOnUserAndPathOnly_data()
    {
        QTest::addColumn<QString>("pathA");
        QTest::addColumn<uint>("userA");
        QTest::addColumn<QString>("pathB");
        QTest::addColumn<uint>("userB");
        QTest::addColumn<bool>("same");
        QTest::newRow("same user and path") << "/usr/bin/t" << 1000u << "/usr/bin/t" << 1000u << true;
        QTest::newRow("other user") << "/usr/bin/t" << 1000u << "/usr/bin/t" << 1001u << false;
        QTest::newRow("other path") << "/usr/bin/t" << 1000u << "/opt/t" << 1000u << false;
    }
    void keyDependsOnUserAndPathOnly()
    {
        QFETCH(QString, pathA);
        QFETCH(uint, userA);
        QFETCH(QString, pathB);
        QFETCH(uint, userB);
        QTEST(QtSingleApplication::instanceKey(pathA, userA) ==
                  QtSingleApplication::instanceKey(pathB, userB),
              "same");
    }
};

int main(int argc, char** argv)
{
    if (argc >= 3 && qstrcmp(argv[1], SecondaryRole) == 0)
        return runSecondary(argc, argv);
    // A private runtime directory, so the lock and socket never meet a real instance.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QtSingleApplication app(argc, argv);
    TestSingleApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleapplication.moc"
