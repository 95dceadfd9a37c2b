#include "trayicon.h"

TrayIcon::TrayIcon(QObject* parent) : QSystemTrayIcon(parent) {}

void TrayIcon::showBalloon(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon icon,
                           int msecs)
{
    showMessage(title, text, icon, msecs);
    emit balloonShown(title, text, int(icon), msecs);
}
