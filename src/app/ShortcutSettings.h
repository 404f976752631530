#pragma once

#include <QKeySequence>
#include <QString>

#include <optional>

class QAction;

// The keys a user gave menu commands in place of their defaults, kept in the settings
// under "shortcuts/<command>", where the command is the menu text without "&" and "…".
class ShortcutSettings
{
public:
    // Names the action, remembers its default keys and gives it the user's, if any.
    static void registerAction(QAction *action);

    static QString commandId(const QAction *action);
    static QKeySequence defaultShortcut(const QAction *action);
    // The user's keys for the command; an empty sequence means "no keys".
    static std::optional<QKeySequence> userShortcut(const QString &commandId);
    // Stores keys for the command, or forgets them when they are the default.
    static void setShortcut(QAction *action, const QKeySequence &keys);
    // Gives every registered action of every open window the keys stored for it.
    static void applyToAllWindows();
};
