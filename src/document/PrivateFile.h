#pragma once

#include "model/Expected.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>

// A file the program keeps for itself (unsaved work kept for recovery): readable by the
// user alone, always written as a new file and renamed into place, and never reached
// through a symbolic link, so that whatever stands at its name is never written into.
class PrivateFile
{
    Q_DECLARE_TR_FUNCTIONS(PrivateFile)

public:
    // Replaces what is at `path` (a link is replaced, not followed) with a new file
    // holding `bytes`, mode 0600. On failure nothing at `path` changed.
    [[nodiscard]] static std::optional<QString> replace(const QString &path, QByteArrayView bytes);
    // The bytes of the regular file at `path`; a link, a pipe or a device is refused, as
    // is a file larger than `maximumSize`.
    static Expected<QByteArray, QString> read(const QString &path, qint64 maximumSize);
};
