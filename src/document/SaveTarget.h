#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

// What the editor may save a document to: a regular file (new or existing) whose name
// can be written as it reads. A FIFO would hang the window, a device would swallow the
// work while the save reported success, and a name that is not valid UTF-8 would be
// saved under another file's name.
class SaveTarget
{
    Q_DECLARE_TR_FUNCTIONS(SaveTarget)

public:
    // The message for the user, or nullopt when the path may be saved to.
    static std::optional<QString> refusal(const QString &path);
};
