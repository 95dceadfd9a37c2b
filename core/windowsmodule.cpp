#include "windowsmodule.h"

#include "notifierwindows.h"

#include "buildid.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <cstring>

QString WindowsModule::path()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString dir =
        programDir == QLatin1String(TARN_BIN_DIR) ? QStringLiteral(TARN_MODULE_DIR) : programDir;
    return QDir(dir).filePath(QLatin1String(NotifierWindowsModuleName));
}

NotifierWindows* WindowsModule::windows(QString* error)
{
    static NotifierWindows* loaded = nullptr;
    if (loaded)
        return loaded;
    QLibrary library(path());
    // Everything resolved now: a symbol missing later would end the program mid-click.
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library.load()) {
        *error = library.errorString();
        return nullptr;
    }
    // Its interface is C++: only the very build the program comes from may be called.
    const auto* buildId = reinterpret_cast<const char*>(library.resolve(NotifierWindowsBuildIdName));
    auto entry = reinterpret_cast<NotifierWindowsEntry>(library.resolve(NotifierWindowsEntryName));
    if (!buildId || !entry || std::strncmp(buildId, TARN_BUILD_ID, sizeof TARN_BUILD_ID) != 0) {
        *error = QCoreApplication::translate("WindowsModule", "%1 belongs to another build of the program.")
                     .arg(library.fileName());
        return nullptr;
    }
    loaded = entry();
    return loaded;
}
