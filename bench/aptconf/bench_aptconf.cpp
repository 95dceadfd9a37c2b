// Times parseFile + toFileMap over a 5,000-line list directory and readAptConfig on this
// machine, with one bare "apt-config dump" run beside it. Prints medians.
#include "aptconf/aptconfig.h"
#include "aptconf/sourcelist.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

const int Files = 50;
const int LinesPerFile = 100;

struct Figures
{
    double median = 0;
    double minimum = 0;
};

Figures measure(int runs, const std::function<void()>& work)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times.at(times.size() / 2), times.first()};
}

// Lines in the mix of real list files: repositories with and without options, disabled
// ones, comments and blank lines.
QString line(int file, int n)
{
    switch (n % 10) {
    case 0:
        return QStringLiteral("# Repository group %1 of file %2, kept by the administrator\n")
            .arg(n)
            .arg(file);
    case 1:
        return QStringLiteral("deb http://deb.debian.org/debian/ bookworm main contrib non-free-firmware\n");
    case 2:
        return QStringLiteral("deb-src http://deb.debian.org/debian/ bookworm main contrib\n");
    case 3:
        return QStringLiteral("deb [arch=amd64,i386 signed-by=/usr/share/keyrings/repo%1.gpg] "
                              "https://repo%1.example.org/apt stable main\n")
            .arg(file);
    case 4:
        return QStringLiteral("# deb-src https://repo%1.example.org/apt stable main\n").arg(file);
    case 5:
        return QStringLiteral("\n");
    case 6:
        return QStringLiteral(
            "deb [ arch=amd64 trusted=yes ] http://mirror.lan/debian bookworm main # local\n");
    case 7:
        return QStringLiteral("## See sources.list(5) for the format of these lines.\n");
    case 8:
        return QStringLiteral("deb http://security.debian.org/debian-security bookworm-security main\n");
    default:
        return QStringLiteral(
            "#deb cdrom:[Debian GNU/Linux 12.4.0 _Bookworm_ - Official amd64 DVD]/ bookworm "
            "main\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir dir;
    const QString etc = dir.path() + QStringLiteral("/etc/apt/");
    QDir().mkpath(etc + QStringLiteral("sources.list.d"));
    for (int f = 0; f < Files; ++f) {
        QFile file(etc + QStringLiteral("sources.list.d/repo%1.list").arg(f, 2, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QString text;
        for (int n = 0; n < LinesPerFile; ++n)
            text += line(f, n);
        file.write(text.toLocal8Bit());
    }
    QMap<QString, QString> config;
    config.insert(QStringLiteral("Dir::Etc"), etc);
    config.insert(QStringLiteral("Dir::Etc::sourcelist"), QStringLiteral("sources.list"));
    config.insert(QStringLiteral("Dir::Etc::sourceparts"), QStringLiteral("sources.list.d"));

    int entries = 0;
    int files = 0;
    const Figures parse = measure(21, [&] {
        SourceList list;
        list.load(config);
        entries = list.entries().size();
    });
    SourceList loaded;
    loaded.load(config);
    const Figures write = measure(21, [&] { files = loaded.toFileMap().size(); });
    const Figures both = measure(21, [&] {
        SourceList list;
        list.load(config);
        files = list.toFileMap().size();
    });
    out << QStringLiteral("list directory: %1 lines in %2 files\n").arg(entries).arg(files);
    out << QStringLiteral("  parseFile (all files)      median %1 ms, min %2 ms\n")
               .arg(parse.median, 0, 'f', 2)
               .arg(parse.minimum, 0, 'f', 2);
    out << QStringLiteral("  toFileMap                  median %1 ms, min %2 ms\n")
               .arg(write.median, 0, 'f', 2)
               .arg(write.minimum, 0, 'f', 2);
    out << QStringLiteral("  parseFile + toFileMap      median %1 ms, min %2 ms (%3 us per line)\n")
               .arg(both.median, 0, 'f', 2)
               .arg(both.minimum, 0, 'f', 2)
               .arg(both.median * 1000 / qMax(1, entries), 0, 'f', 2);

    int keys = 0;
    bool ok = false;
    QString error;
    const Figures read = measure(11, [&] { keys = readAptConfig(&ok, &error).size(); });
    const Figures dump = measure(11, [] {
        QProcess process;
        process.start(QStringLiteral("apt-config"), {QStringLiteral("dump")});
        process.waitForFinished(30000);
        process.readAllStandardOutput();
    });
    out << QStringLiteral("readAptConfig: %1, %2 entries\n").arg(ok ? QStringLiteral("ok") : error).arg(keys);
    out << QStringLiteral("  readAptConfig              median %1 ms, min %2 ms\n")
               .arg(read.median, 0, 'f', 2)
               .arg(read.minimum, 0, 'f', 2);
    out << QStringLiteral("  apt-config dump alone      median %1 ms, min %2 ms\n")
               .arg(dump.median, 0, 'f', 2)
               .arg(dump.minimum, 0, 'f', 2);
    return 0;
}
