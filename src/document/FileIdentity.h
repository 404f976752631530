#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <cstdint>

// What a file on disk was when the editor last read or wrote it: which file (device and
// inode), its size, its modification time and a digest of its bytes. Comparing a later
// look with it tells whether another program changed the file in between; a mere touch
// or a rewrite with the same bytes is no change.
class FileIdentity
{
public:
    // A file that does not exist (or could not be looked at).
    FileIdentity() = default;

    // Looks at the file now, digest included. A path that is not a regular file gives a
    // missing identity.
    static FileIdentity of(const QString &path);
    // Looks at the file now without reading it: which file, its size and time, no digest.
    static FileIdentity withoutDigest(const QString &path) { return stat(path); }
    // This identity while the file at `path` still has its size and time; without its
    // digest (so that any later look counts as a change) once they differ, as when the
    // file changed while the digest was being taken.
    FileIdentity confirmedAt(const QString &path) const;

    bool exists() const { return m_exists; }
    // The same file, whatever the path it was reached by (a symlink, a hard link).
    bool isSameFileAs(const FileIdentity &other) const;
    // Whether the file at `path` now holds other bytes than this identity describes.
    // Unchanged metadata is trusted; otherwise the bytes are compared by digest. A file
    // that has disappeared is no change that a save could lose.
    bool changedAt(const QString &path) const;

    // For the description of unsaved work; fromVariant gives a missing identity for
    // anything it does not understand.
    QVariantMap toVariant() const;
    static FileIdentity fromVariant(const QVariantMap &map);

    bool operator==(const FileIdentity &other) const = default;

private:
    static FileIdentity stat(const QString &path);
    bool sameMetadata(const FileIdentity &other) const;

    bool m_exists = false;
    uint64_t m_device = 0;
    uint64_t m_inode = 0;
    int64_t m_size = 0;
    int64_t m_modifiedNs = 0;
    QByteArray m_digest;
};
