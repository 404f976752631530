#pragma once

#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>

// What the editor may save a document to: a regular file (new or existing) whose name
// can be written as it reads. A FIFO would hang the window, a device would swallow the
// work while the save reported success, and a name that is not valid UTF-8 would be
// saved under another file's name.
class SaveTarget
{
    Q_DECLARE_TR_FUNCTIONS(SaveTarget)

public:
    // Success when the path may be saved to, else the message for the user.
    static Expected<void, QString> check(const QString &path);
    // Whether the name, encoded again, names the file it came from: a name with bytes
    // that are not UTF-8 arrives with replacement characters, and names another file.
    static bool isFaithful(const QString &path);
};
