// Texts and arithmetic the tray and the phone notification are built from.
#include "core/deferral.h"
#include "core/updatetext.h"
#include "platform/tarnintegration.h"

#include <QtTest>

class TestCoreTexts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { tarnLoadTranslations(QStringLiteral(TARN_BUILD_TRANSLATIONS)); }

    void tooltip_data()
    {
        QTest::addColumn<int>("upgradable");
        QTest::addColumn<int>("newPackages");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing") << 0 << 0 << 0 << "T:<br>Click to run system upgrade";
        QTest::newRow("one upgrade")
            << 1 << 0 << 0 << "T:<br><b>1</b> package will be upgraded<br>Click to run system upgrade";
        QTest::newRow("3 upgraded, 1 removed")
            << 3 << 0 << 1
            << "T:<br><b>3</b> packages will be upgraded<br><b>1</b> package will be removed<br>"
               "Click to run system upgrade";
        QTest::newRow("all three")
            << 2 << 5 << 7
            << "T:<br><b>2</b> packages will be upgraded<br><b>5</b> packages will be "
               "installed<br><b>7</b> packages will be removed<br>Click to run system upgrade";
        QTest::newRow("only new")
            << 0 << 2 << 0 << "T:<br><b>2</b> packages will be installed<br>Click to run system upgrade";
    }
    void tooltip()
    {
        QFETCH(int, upgradable);
        QFETCH(int, newPackages);
        QFETCH(int, removed);
        QFETCH(QString, expected);
        QCOMPARE(updatesTooltip(QStringLiteral("T"), upgradable, newPackages, removed), expected);
    }

    void phoneText_data()
    {
        QTest::addColumn<int>("upgradable");
        QTest::addColumn<int>("newPackages");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("3, 0, 1") << 3 << 0 << 1
                                 << "<b>3</b> packages will be upgraded, <b>1</b> package will be removed. "
                                    "Click to run system upgrade";
        QTest::newRow("one new") << 0 << 1 << 0
                                 << "<b>1</b> package will be installed. Click to run system upgrade";
    }
    void phoneText()
    {
        QFETCH(int, upgradable);
        QFETCH(int, newPackages);
        QFETCH(int, removed);
        QFETCH(QString, expected);
        QCOMPARE(phoneNotificationText(upgradable, newPackages, removed), expected);
    }

    void deferral_data()
    {
        const QDateTime now(QDate(2026, 3, 1), QTime(12, 0, 0));
        QTest::addColumn<qint64>("delay");
        QTest::addColumn<QDateTime>("since");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("deferred");
        QTest::newRow("no delay (-1)") << qint64(-1) << now << now << false;
        QTest::newRow("delay 0") << qint64(0) << now << now << false;
        QTest::newRow("just started") << qint64(3600) << now << now << true;
        QTest::newRow("one second before the end") << qint64(3600) << now.addSecs(-3599) << now << true;
        QTest::newRow("the boundary second ends it") << qint64(3600) << now.addSecs(-3600) << now << false;
        QTest::newRow("long over") << qint64(3600) << now.addDays(-3) << now << false;
        QTest::newRow("invalid start counts as now") << qint64(60) << QDateTime() << now << true;
        QTest::newRow("start in the future") << qint64(60) << now.addSecs(600) << now << true;
        QTest::newRow("a month, 64-bit seconds") << qint64(2592000) << now.addDays(-29) << now << true;
    }
    void deferral()
    {
        QFETCH(qint64, delay);
        QFETCH(QDateTime, since);
        QFETCH(QDateTime, now);
        QFETCH(bool, deferred);
        QCOMPARE(isDeferred(delay, since, now), deferred);
    }
};

QTEST_GUILESS_MAIN(TestCoreTexts)
#include "tst_coretexts.moc"
