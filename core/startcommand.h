#pragma once

#include <QIODevice>
#include <QString>

class QProcess;

// Splits a command line by Qt's rules (quotes group words) and starts its first
// word with the others as arguments. False when the line holds no word.
bool startCommand(QProcess* process, const QString& command, QIODevice::OpenMode mode);
