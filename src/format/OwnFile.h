#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include <sys/types.h>

// A file the program keeps for itself (a cache entry, the personal word list). Another
// program or user may have put a symbolic link or a hard link in its place, aiming at
// a file of theirs: writing never follows a link and never writes into an existing
// file, only into a new one made for the purpose, which then takes the name's place.
class OwnFile
{
public:
    enum class Links { Refused, Followed };

    // The file's bytes; nullopt when it is missing, not a regular file (a pipe would
    // block, a device never end), larger than `maximumSize`, or a link that is refused.
    static std::optional<QByteArray> read(const QString &path, qint64 maximumSize, Links links = Links::Refused);

    // Puts a new file holding `bytes` at `path`, replacing whatever has the name (a
    // link itself, never its target); the message for the user on failure, with what
    // was there left as it was.
    static std::optional<QString> write(const QString &path, const QByteArray &bytes, mode_t mode = 0644);
};
