#pragma once

#include <QKeySequence>
#include <QString>

#include <optional>

class QAction;

// The keys a user gave menu commands in place of their defaults, kept in the settings
// under "shortcuts/<command>", where the command is the English menu text without "&"
// and "…", whatever language the menus are shown in.
class ShortcutSettings
{
public:
    // Names the action by its English text, remembers its default keys and gives it the
    // user's, if any.
    static void registerAction(QAction *action, const QString &sourceText);

    static QString commandId(const QAction *action);
    static QKeySequence defaultShortcut(const QAction *action);
    // The user's keys for the command; an empty sequence means "no keys".
    static std::optional<QKeySequence> userShortcut(const QString &commandId);
    // Stores keys for the command, or forgets them when they are the default.
    static void setShortcut(QAction *action, const QKeySequence &keys);
    // Gives every registered action of every open window the keys stored for it.
    static void applyToAllWindows();
};
