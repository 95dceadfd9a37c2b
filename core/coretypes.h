#pragma once

// What the core's process, or one of its modal dialogs, is doing.
enum Operation : int {
    Idle = 0,
    PackageManager = 1,
    Upgrade = 2,
    AutoCheck = 3,
    ManualCheck = 4,
};

enum TrayState : int {
    UpToDate = 0,
    UpdatesAvailable = 1,
    Error = 2,
    // dpkg was interrupted: nothing can be installed until it has finished.
    RepairNeeded = 3,
};

// How the core shows what it found: the tray icon, or one notification where there is no
// tray (a desktop without one, or a phone shell, whose notification may carry the shell's own
// component).
enum class Presentation {
    Tray,
    Notification,
    PhoneNotification,
};
