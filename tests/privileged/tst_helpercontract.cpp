#include "privileged/commands.h"
#include "privileged/helpercontract.h"

#include <QWidget>
#include <QtTest>

class TstHelperContract : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusFdIsAddedOnce_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("sent");
        QTest::newRow("plain") << "apt-get dist-upgrade"
                               << "apt-get dist-upgrade -o Apt::Status-fd=2";
        QTest::newRow("present") << "apt-get -o Apt::Status-fd=2 upgrade"
                                 << "apt-get -o Apt::Status-fd=2 upgrade";
        QTest::newRow("present with another fd") << "apt-get -o Apt::Status-fd=1 upgrade"
                                                 << "apt-get -o Apt::Status-fd=1 upgrade";
        QTest::newRow("case differs") << "apt-get -o APT::Status-Fd=2 upgrade"
                                      << "apt-get -o APT::Status-Fd=2 upgrade -o Apt::Status-fd=2";
        QTest::newRow("built-in") << defaultCommand(UpgradeCommandIndex)
                                  << defaultCommand(UpgradeCommandIndex);
    }

    void statusFdIsAddedOnce()
    {
        QFETCH(QString, command);
        QFETCH(QString, sent);
        QCOMPARE(HelperContract::withStatusFd(command), sent);
    }

    void actionsCarryIdAndTimeout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("timeout");
        QTest::newRow("upgrade") << "upgrade" << 36000000;
        QTest::newRow("update") << "update" << 3600000;
        // Writes wait for the password too: minutes, not libdbus's 25 s.
        QTest::newRow("setaptconfig") << "setaptconfig" << 300000;
        QTest::newRow("setsourcelist") << "setsourcelist" << 300000;
        QTest::newRow("setappconfig") << "setappconfig" << 300000;
    }

    void actionsCarryIdAndTimeout()
    {
        QFETCH(QString, name);
        QFETCH(int, timeout);
        QWidget parent;
        const QVariantMap arguments{{"data", QByteArray("x")}};
        const KAuth::Action action = HelperContract::makeAction(name, arguments, &parent);
        QCOMPARE(action.name(), "org.nordwave.tarn.upgradehelper." + name);
        QCOMPARE(action.helperId(), QStringLiteral("org.nordwave.tarn.upgradehelper"));
        QCOMPARE(action.timeout(), timeout);
        QCOMPARE(action.arguments(), arguments);
        QCOMPARE(action.parentWidget(), &parent);
        QCOMPARE(HelperContract::makeAction(name, {}).parentWidget(), nullptr);
    }
};

QTEST_MAIN(TstHelperContract)
#include "tst_helpercontract.moc"
