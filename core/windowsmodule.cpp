#include "windowsmodule.h"

#include "notifierwindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {
QString modulePath()
{
    const QString besideProgram =
        QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(NotifierWindowsModuleName));
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    return QDir(QStringLiteral(TARN_MODULE_DIR)).filePath(QLatin1String(NotifierWindowsModuleName));
}
} // namespace

NotifierWindows* WindowsModule::windows(QString* error)
{
    static NotifierWindows* loaded = nullptr;
    if (loaded)
        return loaded;
    QLibrary library(modulePath());
    auto entry = reinterpret_cast<NotifierWindowsEntry>(library.resolve(NotifierWindowsEntryName));
    if (!entry) {
        *error = library.errorString();
        return nullptr;
    }
    loaded = entry();
    if (!loaded) {
        // An upgrade replaced the module under the running program.
        *error = QCoreApplication::translate("WindowsModule", "%1 belongs to another version of the program.")
                     .arg(library.fileName());
    }
    return loaded;
}
