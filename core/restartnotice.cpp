#include "restartnotice.h"

#include "base/systempaths.h"

#include <QCoreApplication>
#include <QFile>

RestartNotice RestartNotice::read()
{
    RestartNotice notice;
    const SystemPaths& paths = SystemPaths::current();
    notice.needed = QFile::exists(paths.rebootRequired);
    if (!notice.needed)
        return notice;
    QFile list(paths.rebootRequiredPackages);
    if (list.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            const QString name = line.trimmed();
            if (!name.isEmpty() && !notice.packages.contains(name))
                notice.packages << name;
        }
    }
    return notice;
}

QString RestartNotice::text() const
{
    if (packages.isEmpty())
        return QCoreApplication::translate("NotifierCore", "A restart is needed to finish the upgrade");
    return QCoreApplication::translate("NotifierCore", "A restart is needed to finish the upgrade of: %1")
        .arg(packages.join(QStringLiteral(", ")));
}
