// The smallest Qt 5 tray program: an icon with a tooltip and a one-entry menu, nothing
// else. bench-notifier.sh measures the notifier against it.
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    QMenu menu;
    menu.addAction(QStringLiteral("Quit"), &application, &QCoreApplication::quit);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkGreen);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.setToolTip(QStringLiteral("Smallest tray program"));
    tray.setContextMenu(&menu);
    tray.show();
    return application.exec();
}
