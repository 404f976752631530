#include "app/commands/CommandRegistry.h"

#include "model/Fatal.h"

#include <QAction>
#include <QWidget>

CommandRegistry::CommandRegistry(QWidget *window)
    : QObject(window)
{
}

CommandRegistry *CommandRegistry::of(const QWidget *window)
{
    return window ? window->findChild<CommandRegistry *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

const Command *CommandRegistry::commandOf(const QAction *action)
{
    const auto *registry = action ? qobject_cast<const CommandRegistry *>(action->parent()) : nullptr;
    if (!registry)
        return nullptr;
    const qsizetype index = registry->m_actions.indexOf(action);
    return index < 0 ? nullptr : &registry->m_commands[size_t(index)];
}

QAction *CommandRegistry::add(Command command)
{
    if (!CUEWRIGHT_EXPECT(!m_indexOfId.contains(command.id), "a command id given twice"))
        return m_actions.at(m_indexOfId.value(command.id));
    auto *action = new QAction(command.text, this);
    action->setObjectName(command.id);
    action->setShortcut(command.keys);
    action->setMenuRole(command.role);
    if (!command.toolTip.isEmpty()) {
        action->setToolTip(command.toolTip);
        action->setStatusTip(command.toolTip);
    }
    if (command.run)
        connect(action, &QAction::triggered, action, command.run);
    m_indexOfId.insert(command.id, m_actions.size());
    m_actions.append(action);
    m_commands.push_back(std::move(command));
    return action;
}

QAction *CommandRegistry::action(const QString &id) const
{
    const auto it = m_indexOfId.constFind(id);
    return it == m_indexOfId.cend() ? nullptr : m_actions.at(*it);
}

void CommandRegistry::refresh(const CommandContext &context) const
{
    for (qsizetype i = 0; i < m_actions.size(); ++i) {
        const Command &command = m_commands[size_t(i)];
        m_actions.at(i)->setEnabled(!command.enabled || command.enabled(context));
    }
}
