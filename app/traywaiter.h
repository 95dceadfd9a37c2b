#pragma once

#include <QObject>

class QTimer;
struct xcb_connection_t;

// Waits for the desktop's tray, which at login may come after the notifier: a
// StatusNotifierWatcher with a host on the session bus, or an XEmbed tray (the owner of
// the X selection _NET_SYSTEM_TRAY_S<screen>). Nothing here blocks: the watcher is asked
// asynchronously with a short time-out, and asked again while it hangs.
class TrayWaiter : public QObject
{
    Q_OBJECT
public:
    // Starts waiting at once, for waitMs at most.
    TrayWaiter(int waitMs, QObject* parent);
    ~TrayWaiter() override;

signals:
    // Once; statusNotifierHost tells which kind of tray Qt will use.
    void found(bool statusNotifierHost);
    void timedOut();

private:
    void askWatcher();
    bool hasXEmbedTray();
    void finish(bool statusNotifierHost);

    xcb_connection_t* m_x11 = nullptr;
    unsigned m_selection = 0;
    QTimer* m_poll = nullptr;
    QTimer* m_deadline = nullptr;
    bool m_asking = false;
    bool m_done = false;
};
