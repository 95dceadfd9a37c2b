// Whether dpkg was left half done, from a status file's text and the names in its journal.
#include "pkgsystem/dpkgstate.h"

#include <QtTest>

class TstDpkgState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void isInterrupted_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QString>("journal"); // a file in dpkg's journal folder, or none
        QTest::addColumn<bool>("interrupted");
        const QByteArray done = "Package: a\nStatus: install ok installed\nVersion: 1\n\n";
        const auto package = [&](const char* status) {
            return done + "Package: b\nStatus: " + status + "\n";
        };
        QTest::newRow("all installed") << done << "" << false;
        QTest::newRow("half configured") << package("install ok half-configured") << "" << true;
        QTest::newRow("half installed") << package("install reinstreq half-installed") << "" << true;
        QTest::newRow("unpacked, not configured") << package("install ok unpacked") << "" << true;
        QTest::newRow("the words in a description")
            << package("install ok installed\nDescription: b\n Status: install ok unpacked") << "" << false;
        QTest::newRow("a journal entry") << done << "0003" << true;
        QTest::newRow("dpkg's scratch file in the journal folder") << done << "tmp.i" << false;
    }

    void isInterrupted()
    {
        QFETCH(QByteArray, status);
        QFETCH(QString, journal);
        QFETCH(bool, interrupted);
        QTemporaryDir dir;
        const QString statusFile = dir.filePath("status");
        const QString journalDir = dir.filePath("updates");
        QVERIFY(QDir(dir.path()).mkdir("updates"));
        QFile file(statusFile);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(status) == status.size());
        file.close();
        QVERIFY(journal.isEmpty() || QFile(journalDir + '/' + journal).open(QIODevice::WriteOnly));
        QCOMPARE(DpkgState::isInterrupted(statusFile, journalDir), interrupted);
    }
};

QTEST_GUILESS_MAIN(TstDpkgState)
#include "tst_dpkgstate.moc"
