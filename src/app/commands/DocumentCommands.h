#pragma once

#include "app/commands/Command.h"

#include <QCoreApplication>
#include <QList>

class DocumentWindow;

// The table of a document window's commands, in menu order: each with its id, text,
// default keys, when it is enabled and what it does in `window`.
class DocumentCommands
{
    Q_DECLARE_TR_FUNCTIONS(DocumentCommands)

public:
    static QList<Command> of(DocumentWindow &window);
};
