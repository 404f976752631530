#include "model/UndoManager.h"

#include "model/Fatal.h"

#include <QTimer>

#include <utility>

UndoManager::UndoManager(QObject *parent)
    : QObject(parent)
{
}

UndoManager::~UndoManager() = default;

void UndoManager::registerUndo(std::function<void()> action, Scope scope)
{
    if (m_mode == Mode::Normal && m_groupLevel == 0)
        openEventGroup();
    // While undoing or redoing, this is the group that replay() collects.
    m_openGroup.actions.append(std::move(action));
    if (scope == Scope::File)
        m_openGroup.changesFile = true;
}

void UndoManager::beginUndoGrouping()
{
    if (m_mode == Mode::Normal && m_groupLevel == 0)
        openEventGroup();
    openGroup();
}

void UndoManager::endUndoGrouping()
{
    if (m_groupLevel == 0)
        CUEWRIGHT_FATAL("endUndoGrouping without beginUndoGrouping");
    closeGroup();
}

void UndoManager::setActionName(const QString &name)
{
    if (m_groupLevel > 0 || m_mode != Mode::Normal) {
        m_openGroup.name = name;
    } else if (!m_undoStack.isEmpty()) {
        m_undoStack.last().name = name;
        notify();
    }
}

void UndoManager::runAsOneStep(const QString &name, const std::function<void()> &change)
{
    beginUndoGrouping();
    const qsizetype before = m_openGroup.actions.size();
    change();
    if (m_openGroup.actions.size() > before)
        setActionName(name);
    endUndoGrouping();
}

void UndoManager::runAsPartOfBurst(const QString &name, quint64 burst, const std::function<void()> &change)
{
    // The step is filed at once, so that nothing else this event records joins the burst
    // (inside a caller's explicit group, that group decides).
    const bool outermost = m_mode == Mode::Normal && (m_groupLevel == 0 || (m_groupLevel == 1 && m_eventGroupOpen));
    if (outermost)
        closeEventGroup();
    const bool joins = burst != 0 && outermost && m_redoStack.isEmpty()
        && !m_undoStack.isEmpty() && m_undoStack.last().burst == burst && m_cleanIndex != m_fileSteps;
    beginUndoGrouping();
    if (joins) {
        m_openGroup = m_undoStack.takeLast();
        m_fileSteps -= m_openGroup.changesFile ? 1 : 0;
    }
    change();
    setActionName(name);
    m_openGroup.burst = burst;
    endUndoGrouping();
    if (outermost)
        closeEventGroup();
}

void UndoManager::openEventGroup()
{
    // Everything the current event registers becomes one step.
    m_eventGroupOpen = true;
    openGroup();
    if (m_eventGroupCloseScheduled)
        return;
    m_eventGroupCloseScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_eventGroupCloseScheduled = false;
        closeEventGroup();
    });
}

void UndoManager::openGroup()
{
    if (m_groupLevel == 0 && m_mode == Mode::Normal)
        m_openGroup = Group();
    ++m_groupLevel;
}

void UndoManager::closeGroup()
{
    --m_groupLevel;
    if (m_mode != Mode::Normal)
        return; // replay() files what an undo or redo records
    if (m_groupLevel == 1 && m_eventGroupOpen) {
        // an explicit group inside the event's group: the event group stays open
        return;
    }
    if (m_groupLevel > 0)
        return;
    m_eventGroupOpen = false;
    if (m_openGroup.actions.isEmpty())
        return;
    if (m_cleanIndex > m_fileSteps)
        m_cleanIndex = -1; // the saved state lay in the redo history that is now gone
    pushUndo(std::exchange(m_openGroup, Group()));
    m_redoStack.clear();
    notify();
}

void UndoManager::pushUndo(Group group)
{
    m_fileSteps += group.changesFile ? 1 : 0;
    m_undoStack.append(std::move(group));
}

void UndoManager::closeEventGroup()
{
    if (!m_eventGroupOpen)
        return;
    while (m_groupLevel > 0)
        closeGroup();
}

bool UndoManager::canUndo() const
{
    return !m_undoStack.isEmpty() || (m_eventGroupOpen && !m_openGroup.actions.isEmpty());
}

bool UndoManager::canRedo() const
{
    return !m_redoStack.isEmpty();
}

QString UndoManager::undoActionName() const
{
    return m_undoStack.isEmpty() ? QString() : m_undoStack.last().name;
}

QString UndoManager::redoActionName() const
{
    return m_redoStack.isEmpty() ? QString() : m_redoStack.last().name;
}

void UndoManager::undo()
{
    closeEventGroup();
    // Reachable from a nested event loop (an alert in the middle of a grouped edit):
    // refused, as the group's own edits are not finished.
    if (!CUEWRIGHT_EXPECT(m_groupLevel == 0, "undo inside an open undo group"))
        return;
    if (m_undoStack.isEmpty())
        return;
    replay(m_undoStack, m_redoStack, Mode::Undoing);
}

void UndoManager::redo()
{
    closeEventGroup();
    // Reachable from a nested event loop (an alert in the middle of a grouped edit):
    // refused, as the group's own edits are not finished.
    if (!CUEWRIGHT_EXPECT(m_groupLevel == 0, "redo inside an open undo group"))
        return;
    if (m_redoStack.isEmpty())
        return;
    replay(m_redoStack, m_undoStack, Mode::Redoing);
}

void UndoManager::replay(QList<Group> &from, QList<Group> &to, Mode mode)
{
    Group group = from.takeLast();
    if (mode == Mode::Undoing && group.changesFile)
        --m_fileSteps;
    m_mode = mode;
    m_openGroup = Group();
    m_openGroup.name = group.name;
    // The inverses run in the opposite order of their registration.
    for (auto it = group.actions.crbegin(); it != group.actions.crend(); ++it)
        (*it)();
    m_mode = Mode::Normal;
    if (!m_openGroup.actions.isEmpty()) {
        if (mode == Mode::Redoing)
            pushUndo(std::move(m_openGroup));
        else
            to.append(std::move(m_openGroup));
    }
    m_openGroup = Group();
    notify();
}

void UndoManager::setClean()
{
    closeEventGroup();
    m_cleanIndex = m_fileSteps;
    notify();
}

void UndoManager::setCleanUnreachable()
{
    closeEventGroup();
    m_cleanIndex = -1;
    notify();
}

bool UndoManager::isClean() const
{
    return m_cleanIndex == m_fileSteps && !(m_eventGroupOpen && m_openGroup.changesFile);
}

void UndoManager::removeAllActions()
{
    closeEventGroup();
    const bool clean = isClean();
    m_undoStack.clear();
    m_redoStack.clear();
    m_fileSteps = 0;
    m_cleanIndex = clean ? 0 : -1;
    notify();
}

void UndoManager::notify()
{
    const bool clean = isClean();
    emit stateChanged();
    if (clean != m_wasClean) {
        m_wasClean = clean;
        emit cleanChanged(clean);
    }
}
