#pragma once

#include "app/commands/Command.h"

#include <QHash>
#include <QList>
#include <QObject>

#include <vector>

class QAction;
class QWidget;

// The commands of one window, each once, in the order added (the menus' order). The menus
// show their actions; the keyboard preferences, the shortcut overview and the clash check
// read them here.
class CommandRegistry : public QObject
{
    Q_OBJECT

public:
    explicit CommandRegistry(QWidget *window);

    // The registry of `window`, or nullptr when it has none.
    static CommandRegistry *of(const QWidget *window);
    // The command whose action this is, or nullptr when the action is no command's.
    static const Command *commandOf(const QAction *action);

    // Makes the command's action with the command's text and default keys. An id given
    // twice is a programming error; the first command keeps it.
    QAction *add(Command command);
    // nullptr for an id no command has.
    QAction *action(const QString &id) const;
    const QList<QAction *> &actions() const { return m_actions; }

    // Enables each command by its own rule.
    void refresh(const CommandContext &context) const;

private:
    std::vector<Command> m_commands; // parallel to m_actions
    QList<QAction *> m_actions;
    QHash<QString, qsizetype> m_indexOfId;
};
