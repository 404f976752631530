#pragma once

#include <QCoreApplication>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QAction;
class QMainWindow;

// Which keys of one window would clash. Two key sequences clash when they are equal or one
// begins with the other: Qt fires neither of two equal ones, and the shorter of the other
// kind never fires alone. Besides the commands the user can give keys to, the window holds
// keys the user cannot change (a menu title's Alt+letter, the Help menu's commands); those
// clash with a command's keys too.
class KeyConflicts
{
    Q_DECLARE_TR_FUNCTIONS(KeyConflicts)

public:
    using KeysOf = std::function<QKeySequence(QAction *)>;

    explicit KeyConflicts(QMainWindow *window);

    static bool clash(const QKeySequence &a, const QKeySequence &b);
    // "File ▸ Save": the menu and the command's fixed name.
    static QString displayName(const QAction *action);

    // The commands the user can give keys to, in the order of the window's commands.
    const QList<QAction *> &commands() const { return m_commands; }
    // What else holds keys clashing with `keys` for `action`, by name; each command's keys
    // are given by `keysOf`. Empty when the keys are free.
    QStringList holdersOf(QAction *action, const QKeySequence &keys, const KeysOf &keysOf) const;
    // One sentence per clashing pair, for the user; empty when there is none.
    QStringList describe(const KeysOf &keysOf) const;

private:
    struct Reserved
    {
        QKeySequence keys;
        QString name;
    };

    QList<QAction *> m_commands;
    QList<Reserved> m_reserved;
};
