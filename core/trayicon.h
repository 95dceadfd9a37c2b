#pragma once

#include <QSystemTrayIcon>

// The notifier's tray icon. Balloons go through showBalloon() so that what the
// user was shown can be observed where no tray host draws it (tests).
class TrayIcon : public QSystemTrayIcon
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);

    void showBalloon(const QString& title, const QString& text, QSystemTrayIcon::MessageIcon icon, int msecs);

signals:
    void balloonShown(const QString& title, const QString& text, int icon, int msecs);
};
