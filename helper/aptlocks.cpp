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
    const QVector<std::optional<LockHolder>> holders = LockHolder::of(m_files);
    for (int i = 0; i < m_files.size(); ++i) {
        const std::optional<LockHolder>& holder = holders.at(i);
        if (!holder)
            continue;
        const QString file = QDir::cleanPath(m_files.at(i));
        if (holder->pid <= 0)
            lines << QCoreApplication::translate("AptLocks",
                                                 "%1 is locked by a program the helper cannot name.")
                         .arg(file);
        else
            lines << QCoreApplication::translate("AptLocks", "%1 is locked by process %2: %3")
                         .arg(file)
                         .arg(holder->pid)
                         .arg(holder->command);
    }
    return lines;
}
