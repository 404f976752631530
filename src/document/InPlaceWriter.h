#pragma once

#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

class QFileDevice;

// Writes a file's new content into the file itself, where replacing it by a new file
// would do harm or cannot be done: a file with other names (hard links), which would
// keep the old text, or a folder the user may not make files in. A crash or a full
// disk in the middle of such a write would lose both contents, so the old one is first
// kept whole on the disk, in the user's data folder, and goes only once the new one is
// on the disk. Each save keeps it in a folder of its own, locked by the saving process,
// with a note naming the file while the file is being written: a note left by a process
// that is gone marks a file left half written (see InterruptedSave).
class InPlaceWriter
{
    Q_DECLARE_TR_FUNCTIONS(InPlaceWriter)

public:
    // Whether saving to `path` must write into the file.
    static bool isNeeded(const QString &path);
    // Writes what `fill` writes into the file; on failure the old content is put back,
    // or the message says where it is kept.
    static Expected<void, QString> write(const QString &path, const std::function<bool(QFileDevice &)> &fill);
    // Where old contents wait while their files are written.
    static QString keptFolder();

    // In each save's folder: the saving process's lock, and the note.
    static QString lockName() { return QStringLiteral("owner.lock"); }
    static QString noteName() { return QStringLiteral("writing.json"); }
};
