#pragma once

#include "model/Expected.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>


#include <sys/types.h>

// A file the program keeps for itself (a cache entry, the personal word list, unsaved
// work kept for recovery). Another program or user may have put a symbolic link or a
// hard link in its place, aiming at a file of theirs: writing never follows a link and
// never writes into an existing file, only into a new one made for the purpose, which
// then takes the name's place.
class OwnFile
{
    Q_DECLARE_TR_FUNCTIONS(OwnFile)

public:
    enum class Links {
        Refused, // neither a symbolic link nor a file with other names (hard links)
        SymbolicRefused, // a hard link is read, a symbolic link is not
        Followed, // both are read
    };

    // The bytes of the regular file at `path`; a pipe (which would block), a device
    // (which may never end), a file larger than `maximumSize` or a refused link is the
    // message for the user instead.
    static Expected<QByteArray, QString> read(const QString &path, qint64 maximumSize, Links links = Links::Refused);

    // Puts a new file holding `bytes` at `path`, with `mode` less the umask, replacing
    // whatever has the name (a link itself, never its target). The message for the user
    // on failure, with what was there left as it was. The new file is written under the
    // name `<name>.new-XXXXXX` first, which a crash may leave behind.
    static Expected<void, QString> write(const QString &path, QByteArrayView bytes, mode_t mode = 0644);

    // Removes from `folder` what writes of the files matching `names` (wildcards, as
    // "*.wave") left under their temporary names when the program ended in the middle.
    // A write in progress keeps touching its file, so one untouched for an hour is not.
    static void removeUnfinishedWrites(const QString &folder, const QString &names);
};
