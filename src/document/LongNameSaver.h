#pragma once

#include "model/Expected.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Atomic saving for file names so long that the usual temporary name next to them (the
// name plus a suffix) would pass the file system's limit: the bytes go to a short
// hidden temporary name in the same folder, which then replaces the file.
class LongNameSaver
{
    Q_DECLARE_TR_FUNCTIONS(LongNameSaver)

public:
    // Whether the usual way cannot make its temporary file for `path`.
    static bool isNeeded(const QString &path);
    // Replaces the file with `bytes`, keeping its attributes; the message for the user
    // on failure, with the file left as it was.
    static Expected<void, QString> write(const QString &path, const QByteArray &bytes);
};
