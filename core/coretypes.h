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
};
