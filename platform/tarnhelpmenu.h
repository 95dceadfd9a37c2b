#pragma once

#include <QMenu>

// The "Help" submenu of the tray menu: the user guide and an About box.
class TarnHelpMenu : public QMenu
{
    Q_OBJECT
public:
    explicit TarnHelpMenu(QWidget* parent = nullptr);

    // The About box's text: name, version, description and licence.
    static QString aboutText();

private slots:
    void onAboutTriggered();
};
