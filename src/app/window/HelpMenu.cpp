#include "app/window/HelpMenu.h"

#include "app/window/AboutDialog.h"
#include "app/window/ShortcutsDialog.h"
#include "app/commands/CommandRegistry.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

QMenu *HelpMenu::add(QMainWindow *window)
{
    CommandRegistry *registry = CommandRegistry::of(window);
    if (!registry)
        registry = new CommandRegistry(window);
    const auto help = [](const char *id, const char *sourceText) {
        Command command;
        command.id = QString::fromLatin1(id);
        command.sourceText = sourceText;
        command.text = QCoreApplication::translate("HelpMenu", sourceText);
        command.fixedKeys = true;
        return command;
    };
    QMenu *menu = window->menuBar()->addMenu(QCoreApplication::translate("HelpMenu", "&Help"));
    Command shortcuts = help("cuewright.help.keyboardShortcuts", QT_TRANSLATE_NOOP("HelpMenu", "&Keyboard Shortcuts"));
    shortcuts.keys = QKeySequence::HelpContents;
    shortcuts.run = [window] { ShortcutsDialog::show(window); };
    menu->addAction(registry->add(std::move(shortcuts)));
    Command about = help("cuewright.help.about", QT_TRANSLATE_NOOP("HelpMenu", "&About Cuewright"));
    about.role = QAction::AboutRole;
    about.run = [window] { AboutDialog::show(window); };
    menu->addAction(registry->add(std::move(about)));
    return menu;
}
