#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// Undo by registering the inverse: whoever changes the data registers the action that
// changes it back. Actions registered while undoing become the redo, and those
// registered while redoing become the undo again, so redo needs no code of its own.
//
// Registrations are collected into groups; one group is one Undo menu step. Outside an
// explicit group, the registrations of one turn of the event loop form one group.
// The clean state marks the step at which the document was last saved. Steps that change
// only what the file does not hold (the video's shot changes) leave it where it is: the
// document stays saved through them and their undo.
class UndoManager : public QObject
{
    Q_OBJECT

public:
    // What an action restores: the saved file's contents, or something outside the file.
    enum class Scope { File, OutsideFile };

    explicit UndoManager(QObject *parent = nullptr);
    ~UndoManager() override;

    // A step changes the file when any of its actions does.
    void registerUndo(std::function<void()> action, Scope scope = Scope::File);
    void beginUndoGrouping();
    void endUndoGrouping();
    // Whatever `change` registers becomes one step named `name`; inside an open group
    // (the current event's), that group is the step and takes the name. A change that
    // registers nothing names nothing.
    void runAsOneStep(const QString &name, const std::function<void()> &change);
    // The same, but the change joins the newest step when that step was recorded under the
    // same `burst` (a non-zero number the caller keeps for a run of small edits, such as
    // typing) and nothing was recorded, undone or saved since.
    void runAsPartOfBurst(const QString &name, quint64 burst, const std::function<void()> &change);

    bool canUndo() const;
    bool canRedo() const;
    QString undoActionName() const;
    QString redoActionName() const;
    void undo();
    void redo();
    bool isUndoing() const { return m_mode == Mode::Undoing; }
    bool isRedoing() const { return m_mode == Mode::Redoing; }

    void setClean();
    // No step is the saved one (the document holds work that was never saved).
    void setCleanUnreachable();
    bool isClean() const;
    void removeAllActions();

    // Closes the group that collects the registrations of the current event, if one is open.
    void closeEventGroup();

signals:
    // canUndo, canRedo, the action names or the clean state may have changed.
    void stateChanged();
    void cleanChanged(bool clean);

private:
    struct Group
    {
        QList<std::function<void()>> actions;
        QString name;
        bool changesFile = false;
        quint64 burst = 0;
    };
    enum class Mode { Normal, Undoing, Redoing };

    // Names the step being recorded (or, while undoing or redoing, the step that results).
    void setActionName(const QString &name);
    void openEventGroup();
    void openGroup();
    void closeGroup();
    void replay(QList<Group> &from, QList<Group> &to, Mode mode);
    void notify();
    void pushUndo(Group group);

    QList<Group> m_undoStack;
    QList<Group> m_redoStack;
    Group m_openGroup;
    int m_groupLevel = 0;
    bool m_eventGroupOpen = false;
    bool m_eventGroupCloseScheduled = false;
    Mode m_mode = Mode::Normal;
    // Counted in steps that change the file: the undo stack holds m_fileSteps of them, and
    // held m_cleanIndex at the last save (-1 when that state is out of reach).
    int m_fileSteps = 0;
    int m_cleanIndex = 0;
    bool m_wasClean = true;
};
