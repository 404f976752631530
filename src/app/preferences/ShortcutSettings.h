#pragma once

#include <QCoreApplication>
#include <QKeySequence>
#include <QString>

#include <optional>

class CommandRegistry;
class QAction;
class QMainWindow;
class QSettings;

// The keys a user gave menu commands in place of their defaults, kept in the settings
// under "shortcuts/<command id>", whatever language the menus are shown in.
class ShortcutSettings
{
    Q_DECLARE_TR_FUNCTIONS(ShortcutSettings)

public:
    // Gives each command of `registry` the keys the user chose for it, if any, once keys
    // stored the old way have been moved.
    static void applyUserKeys(const CommandRegistry &registry);
    // Earlier versions stored keys under the command's English menu text without "&" and
    // "…" ("shortcuts/Revert to Saved"). Once per settings, each such key moves to its
    // command's id with its value, "no keys" included. A name that no command has now is
    // left as it was: nothing reads it, and nothing of the user's is lost.
    static void moveToCommandIds(QSettings &settings, const CommandRegistry &registry);

    // A command of a window whose keys the user can change.
    static bool isCustomisable(const QAction *action);
    static QString commandId(const QAction *action);
    // The command's name as its menu first showed it: Undo, not "Undo Merge Subtitles".
    static QString commandName(const QAction *action);
    static QKeySequence defaultShortcut(const QAction *action);
    // The user's keys for the command; an empty sequence means "no keys".
    static std::optional<QKeySequence> userShortcut(const QString &commandId);
    // Stores keys for the command, or forgets them when they are the default.
    static void setShortcut(QAction *action, const QKeySequence &keys);
    // Gives every registered action of every open window the keys stored for it.
    static void applyToAllWindows();
    // Stored keys that clash (kept by hand or by an older version) would leave each
    // other dead: the command whose keys the user set loses them and gets its default
    // back if that is free, or no keys. Tells the user over `window` what changed.
    static void repairConflicts(QMainWindow *window);
};
