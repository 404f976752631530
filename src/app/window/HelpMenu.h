#pragma once

class QMainWindow;
class QMenu;

// The Help menu: the keyboard-shortcut overview (F1) and About Cuewright.
class HelpMenu
{
public:
    // Appends the menu to window's menu bar and its commands to the window's commands
    // (keys the user cannot change); call it after the other menus, so Help comes last.
    static QMenu *add(QMainWindow *window);
};
