// The smallest Qt 5 tray program: an icon with a tooltip and a one-entry menu, nothing
// else. bench-notifier.sh measures the notifier against it. With --theme-icon the icon is
// looked up in the icon theme first, as a tray program showing a theme icon must do: the
// floor for such a program, which the benchmark prints for reference.
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
    const bool themeIcon = application.arguments().contains(QStringLiteral("--theme-icon"));
    QSystemTrayIcon tray{themeIcon ? QIcon::fromTheme(QStringLiteral("updates-available"), QIcon(pixmap))
                                   : QIcon(pixmap)};
    tray.setToolTip(QStringLiteral("Smallest tray program"));
    tray.setContextMenu(&menu);
    tray.show();
    return application.exec();
}
