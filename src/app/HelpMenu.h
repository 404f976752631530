#pragma once

class QMainWindow;
class QMenu;

// The Help menu: the keyboard-shortcut overview (F1) and About Cuewright.
class HelpMenu
{
public:
    // Appends the menu to window's menu bar; call it after the other menus so the
    // shortcut overview finds them all and Help comes last.
    static QMenu *add(QMainWindow *window);
};
