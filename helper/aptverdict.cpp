#include "aptverdict.h"

#include "childprocess.h"
#include "policy/aptfilepolicy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// APT answers in well under a second; this only keeps a stuck APT from holding the helper.
constexpr int AptLimitMs = 60000;

bool writeScratch(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

AptVerdict::AptVerdict(const HelperSettings& settings) : m_settings(settings) {}

QString AptVerdict::onConfiguration(const QByteArray& text) const
{
    QTemporaryDir scratch;
    const QString parts = scratch.filePath(QStringLiteral("apt.conf.d"));
    const QString main = scratch.filePath(QStringLiteral("apt.conf"));
    // Only the candidate is read: a broken file elsewhere must not block its repair.
    if (!scratch.isValid() || !QDir().mkdir(parts) ||
        !writeScratch(parts + QLatin1String("/99tarn-update-notifier"), text) ||
        !writeScratch(main, QByteArrayLiteral("Dir::Etc::main \"/dev/null\";\nDir::Etc::parts \"") +
                                QFile::encodeName(parts) + QByteArrayLiteral("\";\n")))
        return QCoreApplication::translate("AptVerdict", "Cannot prepare a scratch copy for APT to read");
    QStringList environment;
    for (const QString& variable : m_settings.childEnvironment()) {
        if (!variable.startsWith(QLatin1String("APT_CONFIG=")))
            environment << variable;
    }
    environment << QStringLiteral("APT_CONFIG=") + main;
    return run(QStringLiteral("apt-config"), {QStringLiteral("dump")}, environment,
               QCoreApplication::translate("AptVerdict", "APT configuration"));
}

QString AptVerdict::onSourceLists(const QMap<QString, QByteArray>& files, const QString& mainList,
                                  const QString& listDir) const
{
    QTemporaryDir scratch;
    const QString scratchList = scratch.filePath(QStringLiteral("sources.list"));
    const QString scratchParts = scratch.filePath(QStringLiteral("sources.list.d"));
    if (!scratch.isValid() || !QDir().mkdir(scratchParts))
        return QCoreApplication::translate("AptVerdict", "Cannot prepare a scratch copy for APT to read");
    const auto scratchPath = [&](const QString& path) {
        return QDir::cleanPath(path) == QDir::cleanPath(mainList)
                   ? scratchList
                   : scratchParts + QLatin1Char('/') + QFileInfo(path).fileName();
    };
    // The current lists, then the new ones over them.
    QStringList current = {mainList};
    const QStringList names = aptListFileNames(m_settings.underRoot(listDir));
    for (const QString& name : names)
        current << listDir + QLatin1Char('/') + name;
    for (const QString& path : qAsConst(current)) {
        QFile file(m_settings.underRoot(path));
        if (file.exists() &&
            !(file.open(QIODevice::ReadOnly) && writeScratch(scratchPath(path), file.readAll())))
            return QCoreApplication::translate("AptVerdict", "Cannot copy %1 for APT to read").arg(path);
    }
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        if (!writeScratch(scratchPath(it.key()), it.value()))
            return QCoreApplication::translate("AptVerdict", "Cannot prepare a scratch copy for APT to read");
    }
    QString verdict =
        run(QStringLiteral("apt-get"),
            {QStringLiteral("indextargets"), QStringLiteral("-o"),
             QStringLiteral("Dir::Etc::sourcelist=") + scratchList, QStringLiteral("-o"),
             QStringLiteral("Dir::Etc::sourceparts=") + scratchParts},
            m_settings.childEnvironment(), QCoreApplication::translate("AptVerdict", "source lists"));
    // APT names the copies; the user knows the files. The folder goes first: the main list's
    // copy is a prefix of it.
    return verdict.replace(scratchParts + QLatin1Char('/'), QDir::cleanPath(listDir) + QLatin1Char('/'))
        .replace(scratchList, mainList);
}

QString AptVerdict::run(const QString& program, const QStringList& arguments, const QStringList& environment,
                        const QString& what) const
{
    ChildProcess apt(m_settings.binDir + QLatin1Char('/') + program, arguments, environment);
    QStringList lines;
    const QString failure = apt.runToEnd(AptLimitMs, &lines);
    if (!failure.isEmpty())
        return failure;
    if (apt.exitCode() == 0)
        return QString();
    QStringList errors;
    for (const QString& line : qAsConst(lines)) {
        if (line.startsWith(QLatin1String("E: ")))
            errors << line;
    }
    // apt-get reads the lists twice and so says each error twice.
    errors.removeDuplicates();
    return QCoreApplication::translate("AptVerdict", "Refused %1: APT cannot read it: %2")
        .arg(what, errors.join(QLatin1Char(' ')));
}
