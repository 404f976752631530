#include "app/HelpMenu.h"

#include "app/AboutDialog.h"
#include "app/ShortcutsDialog.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

QMenu *HelpMenu::add(QMainWindow *window)
{
    QMenu *menu = window->menuBar()->addMenu(QCoreApplication::translate("HelpMenu", "&Help"));
    QAction *shortcuts = menu->addAction(QCoreApplication::translate("HelpMenu", "&Keyboard Shortcuts"));
    shortcuts->setShortcut(QKeySequence::HelpContents);
    QObject::connect(shortcuts, &QAction::triggered, window, [window] { ShortcutsDialog::show(window); });
    QAction *about = menu->addAction(QCoreApplication::translate("HelpMenu", "&About Cuewright"));
    about->setMenuRole(QAction::AboutRole);
    QObject::connect(about, &QAction::triggered, window, [window] { AboutDialog::show(window); });
    return menu;
}
