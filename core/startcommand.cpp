#include "startcommand.h"

#include <QProcess>

bool startCommand(QProcess* process, const QString& command, QIODevice::OpenMode mode)
{
    QStringList words = QProcess::splitCommand(command);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    process->start(program, words, mode);
    return true;
}
