#include "aptlocks.h"

#include "aptconfigvalues.h"

#include "pkgsystem/lockholder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

AptLocks::AptLocks(const HelperSettings& settings)
{
    QString error;
    const QStringList values =
        aptConfigValues(settings,
                        {QStringLiteral("Dir::State::status/f"), QStringLiteral("Dir::State::Lists/d"),
                         QStringLiteral("Dir::Cache::Archives/d")},
                        &error);
    if (!error.isEmpty())
        return;
    if (!values.at(0).isEmpty()) {
        const QString dpkgDir = QFileInfo(values.at(0)).path();
        m_files << dpkgDir + QLatin1String("/lock-frontend") << dpkgDir + QLatin1String("/lock");
    }
    for (int i = 1; i < values.size(); ++i) {
        if (!values.at(i).isEmpty())
            m_files << values.at(i) + QLatin1String("/lock");
    }
}

QStringList AptLocks::holders() const
{
    QStringList lines;
    for (const QString& file : m_files) {
        const QString holder = describeHolder(file);
        if (!holder.isEmpty())
            lines << holder;
    }
    return lines;
}

QString AptLocks::describeHolder(const QString& lockFile)
{
    const std::optional<LockHolder> holder = LockHolder::of(lockFile);
    if (!holder)
        return QString();
    const QString file = QDir::cleanPath(lockFile);
    if (holder->pid <= 0)
        return QCoreApplication::translate("AptLocks", "%1 is locked by a program the helper cannot name.")
            .arg(file);
    return QCoreApplication::translate("AptLocks", "%1 is locked by process %2: %3")
        .arg(file)
        .arg(holder->pid)
        .arg(holder->command);
}
