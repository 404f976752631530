#pragma once

#include "app/commands/CommandContext.h"

#include <QAction>
#include <QKeySequence>
#include <QString>

#include <functional>

// One command of a window: what the menus show, the keys it has unless the user chose
// others, when it can run and what it does. Its id never changes once released: the
// user's keys are stored under it.
struct Command
{
    QString id; // "cuewright.<menu area>.<lowerCamelCase>"
    const char *sourceText = nullptr; // the English menu text, which earlier versions stored keys under
    QString text; // as the menus show it
    QKeySequence keys;
    std::function<bool(const CommandContext &)> enabled; // none: always enabled
    std::function<void()> run;
    QString toolTip;
    QAction::MenuRole role = QAction::NoRole;
    bool fixedKeys = false; // keys the user cannot change (the Help menu's)
};
