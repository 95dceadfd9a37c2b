#pragma once

// The notifier restarts itself when its program file was replaced. The running copy
// only asks for it and leaves its event loop; main() starts the new copy once the
// old one has given up its single-instance lock, so the new copy never forwards its
// command line to the dying one.
void requestRestart();
bool isRestartRequested();
