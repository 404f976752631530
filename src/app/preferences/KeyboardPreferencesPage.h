#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QWidget>

#include "app/preferences/KeyConflicts.h"

class QAction;
class QKeySequenceEdit;
class QLabel;
class QMainWindow;
class QTreeWidget;
class QTreeWidgetItem;

// Preferences ▸ Keyboard: every command of the window's command table whose keys the user
// may set, with its keys, which the user can change, clear or reset. Nothing changes
// until apply(); then the keys hold in every window and at the next start. Keys that
// clash are shown and cannot be applied.
class KeyboardPreferencesPage : public QWidget
{
    Q_OBJECT

public:
    explicit KeyboardPreferencesPage(QMainWindow *window, QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    QKeySequenceEdit *keysEdit() const { return m_keys; }
    QLabel *conflictLabel() const { return m_conflict; }
    // The keys the page now shows for a command (changed or not).
    QKeySequence keysOf(QAction *action) const;
    // Gives `action` new keys on the page.
    void setKeys(QAction *action, const QKeySequence &keys);
    bool hasConflicts() const { return m_hasConflicts; }

public slots:
    // Does nothing while keys clash.
    void apply();

signals:
    void conflictsChanged(bool hasConflicts);

private:
    QAction *currentAction() const;
    void showCurrent();
    void updateItem(QTreeWidgetItem *item);
    void showConflicts();

    QTreeWidget *m_tree;
    QKeySequenceEdit *m_keys;
    QLabel *m_conflict;
    KeyConflicts m_conflicts;
    QList<QAction *> m_actions;
    QHash<QAction *, QKeySequence> m_changed;
    bool m_hasConflicts = false;
};
