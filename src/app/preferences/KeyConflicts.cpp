#include "app/preferences/KeyConflicts.h"

#include "app/preferences/ShortcutSettings.h"
#include "app/window/ShortcutsDialog.h"
#include "app/commands/CommandRegistry.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

// A dialog of the window has keys of its own, which fire only while it is active; a menu is
// a window of its own too, but its actions' keys fire in the window it belongs to.
bool firesIn(const QAction *action, const QMainWindow *window)
{
    for (const QObject *object = action->parent(); object && object != window; object = object->parent()) {
        const auto *widget = qobject_cast<const QWidget *>(object);
        if (widget && widget->isWindow() && !qobject_cast<const QMenu *>(widget))
            return false;
    }
    return true;
}

} // namespace

KeyConflicts::KeyConflicts(QMainWindow *window)
{
    for (QAction *menuAction : window->menuBar()->actions()) {
        QMenu *menu = menuAction->menu();
        if (!menu)
            continue;
        // The menu bar opens a menu with Alt and its title's underlined letter.
        const QKeySequence mnemonic = QKeySequence::mnemonic(menuAction->text());
        if (!mnemonic.isEmpty())
            m_reserved.append({mnemonic, tr("the %1 menu").arg(ShortcutsDialog::plainText(menu->title()))});
    }
    if (const CommandRegistry *registry = CommandRegistry::of(window)) {
        for (QAction *action : registry->actions()) {
            if (ShortcutSettings::isCustomisable(action))
                m_commands.append(action);
        }
    }
    for (QAction *action : window->findChildren<QAction *>()) {
        if (ShortcutSettings::isCustomisable(action) || !firesIn(action, window))
            continue;
        for (const QKeySequence &keys : action->shortcuts())
            m_reserved.append({keys, displayName(action)});
    }
}

bool KeyConflicts::clash(const QKeySequence &a, const QKeySequence &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const int common = std::min(a.count(), b.count());
    for (int i = 0; i < common; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

QString KeyConflicts::displayName(const QAction *action)
{
    const QString name = ShortcutSettings::commandName(action);
    const QString menu = ShortcutsDialog::menuPath(action);
    return menu.isEmpty() ? name : tr("%1 ▸ %2").arg(menu, name);
}

QStringList KeyConflicts::holdersOf(QAction *action, const QKeySequence &keys, const KeysOf &keysOf) const
{
    QStringList holders;
    for (QAction *other : m_commands) {
        if (other != action && clash(keys, keysOf(other)))
            holders << displayName(other);
    }
    for (const Reserved &reserved : m_reserved) {
        if (clash(keys, reserved.keys))
            holders << reserved.name;
    }
    return holders;
}

QStringList KeyConflicts::describe(const KeysOf &keysOf) const
{
    const auto sentence = [](const QString &first, const QKeySequence &firstKeys, const QString &second,
                             const QKeySequence &secondKeys) {
        const QString text = firstKeys == secondKeys ? tr("%1 (%2) and %3 (%4) have the same keys.")
                                                     : tr("%1 (%2) and %3 (%4): the keys of one begin with the other's.");
        return text.arg(first, firstKeys.toString(QKeySequence::NativeText), second,
                        secondKeys.toString(QKeySequence::NativeText));
    };
    QStringList sentences;
    for (qsizetype i = 0; i < m_commands.size(); ++i) {
        QAction *action = m_commands.at(i);
        const QKeySequence keys = keysOf(action);
        // Each pair of commands once.
        for (qsizetype j = i + 1; j < m_commands.size(); ++j) {
            const QKeySequence otherKeys = keysOf(m_commands.at(j));
            if (clash(keys, otherKeys))
                sentences << sentence(displayName(action), keys, displayName(m_commands.at(j)), otherKeys);
        }
        for (const Reserved &reserved : m_reserved) {
            if (clash(keys, reserved.keys))
                sentences << sentence(displayName(action), keys, reserved.name, reserved.keys);
        }
    }
    return sentences;
}
