// Start-up decisions that need no desktop.
#include "app/notifierstarter.h"

#include <QtTest>

class TestNotifierStarter : public QObject
{
    Q_OBJECT
private slots:
    void mobileSession_data()
    {
        QTest::addColumn<QString>("desktopSession");
        QTest::addColumn<QString>("launcherSettings");
        QTest::addColumn<bool>("mobile");
        QTest::newRow("nothing set") << QString() << QString() << false;
        QTest::newRow("plasma") << "plasma" << QString() << false;
        QTest::newRow("capitals with blanks") << " Plasma-MOBILE " << QString() << true;
        QTest::newRow("phosh-mobile") << "phosh-mobile" << QString() << true;
        QTest::newRow("mobile inside a word") << "automobiles" << QString() << true;
        QTest::newRow("launcher settings of blanks only") << "plasma"
                                                          << "   " << false;
        QTest::newRow("launcher settings") << "plasma"
                                           << "/etc/launcher.conf" << true;
    }
    void mobileSession()
    {
        QFETCH(QString, desktopSession);
        QFETCH(QString, launcherSettings);
        QTEST(NotifierStarter::isMobileSession(desktopSession, launcherSettings), "mobile");
    }
};

QTEST_GUILESS_MAIN(TestNotifierStarter)
#include "tst_notifierstarter.moc"
