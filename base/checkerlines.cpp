#include "checkerlines.h"

QVector<QStringList> checkerRecords(const QString& output)
{
    QVector<QStringList> records;
    const QStringList lines = output.trimmed().split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        QStringList fields = line.split(QLatin1Char(';'));
        if (fields.size() == 5)
            records << fields;
    }
    return records;
}
