#pragma once

#include <QByteArray>
#include <QString>

namespace TestSupport {

// Writes a file whole, creating its directory; returns false on failure.
bool writeFile(const QString& path, const QByteArray& contents);
QByteArray readFile(const QString& path);
// Writes an executable shell script (a "#!/bin/sh" line is prepended).
bool writeScript(const QString& path, const QByteArray& body);

} // namespace TestSupport
