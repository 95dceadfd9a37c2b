#include "helper/safewrite.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>

#include <sys/stat.h>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {
mode_t modeOf(const QString& path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

QStringList entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
} // namespace

class TstSafeWrite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newFileIs0644WithoutBackup()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("99tarn-update-notifier");
        const mode_t oldMask = ::umask(077); // the mode must not depend on the umask
        const QString error = replaceFile(path, "APT::Periodic::Enable \"1\";\n");
        ::umask(oldMask);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(readFile(path), QByteArray("APT::Periodic::Enable \"1\";\n"));
        QCOMPARE(modeOf(path), mode_t(0644));
        QCOMPARE(entries(dir.path()), QStringList{"99tarn-update-notifier"});
    }

    void replacingKeepsModeAndBackup()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("tarn.list");
        QVERIFY(writeFile(path, "deb old\n"));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
        QCOMPARE(replaceFile(path, "deb new\n"), QString());
        QCOMPARE(readFile(path), QByteArray("deb new\n"));
        QCOMPARE(modeOf(path), mode_t(0640));
        QCOMPARE(backupPath(path), path + ".save");
        QCOMPARE(readFile(path + ".save"), QByteArray("deb old\n"));
        QCOMPARE(modeOf(path + ".save"), mode_t(0640));

        // The backup is the version just replaced, not the first one.
        QCOMPARE(replaceFile(path, "deb newer\n"), QString());
        QCOMPARE(readFile(path + ".save"), QByteArray("deb new\n"));
        QCOMPARE(entries(dir.path()), (QStringList{"tarn.list", "tarn.list.save"}));
    }

    void emptyDataEmptiesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("f");
        QVERIFY(writeFile(path, "x"));
        QCOMPARE(replaceFile(path, QByteArray()), QString());
        QCOMPARE(QFileInfo(path).size(), qint64(0));
    }

    void symlinkIsRefusedAndNotFollowed()
    {
        QTemporaryDir dir;
        const QString outside = dir.filePath("outside");
        QVERIFY(writeFile(outside, "precious\n"));
        const QString link = dir.filePath("x.list");
        QVERIFY(QFile::link(outside, link));
        QVERIFY(!replaceFile(link, "evil\n").isEmpty());
        QCOMPARE(readFile(outside), QByteArray("precious\n"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(entries(dir.path()), (QStringList{"outside", "x.list"}));
    }

    void directoryIsRefused()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("d.list"));
        QVERIFY(!replaceFile(dir.filePath("d.list"), "x").isEmpty());
        QVERIFY(QFileInfo(dir.filePath("d.list")).isDir());
    }

    void missingDirectoryFailsCleanly()
    {
        QTemporaryDir dir;
        const QString error = replaceFile(dir.filePath("no/such/file"), "x");
        QVERIFY(!error.isEmpty());
        QVERIFY(error.contains(dir.filePath("no/such/file")));
    }

    void readersNeverSeeAHalfWrittenFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("sources.list");
        const QByteArray first(300000, 'a');
        const QByteArray second(200000, 'b');
        QVERIFY(writeFile(path, first));
        std::atomic<bool> done{false};
        std::atomic<int> bad{0};
        std::atomic<int> reads{0};
        std::thread reader([&] {
            while (!done) {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly)) {
                    ++bad; // the file must exist at every moment
                    continue;
                }
                const QByteArray seen = file.readAll();
                if (seen != first && seen != second)
                    ++bad;
                ++reads;
            }
        });
        for (int i = 0; i < 60; ++i)
            QCOMPARE(replaceFile(path, i % 2 ? first : second), QString());
        done = true;
        reader.join();
        QCOMPARE(bad.load(), 0);
        QVERIFY(reads.load() > 0);
    }
};

QTEST_GUILESS_MAIN(TstSafeWrite)
#include "tst_safewrite.moc"
