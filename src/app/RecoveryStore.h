#pragma once

#include "document/FileIdentity.h"
#include "model/Subtitle.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

// Unsaved work kept on disk so that a crash or a kill loses nothing older than the
// autosave delay. One entry per modified document: its subtitles as UTF-8 SRT and a
// small description (which file it belongs to, what that file was, when it was
// written). Entries are private to the user, and each belongs to the process that holds
// its lock: only entries whose owner is gone are offered for recovery.
class RecoveryStore
{
public:
    struct Description
    {
        QString originalPath;  // the document's file, or empty for an untitled document
        std::optional<int> encoding;
        QDateTime savedAt;
        FileIdentity base;     // the file as the document last read or wrote it
    };

    struct Entry : Description
    {
        QString id;
        QString recoveryPath;  // the SRT text of the unsaved work
        // Held while this process deals with the entry (offering, recovering).
        std::shared_ptr<QLockFile> lock;
    };

    // The user's recovery folder, or another folder (for tests).
    explicit RecoveryStore(QString directory = defaultDirectory());

    static QString defaultDirectory();
    static QString newId();

    // Writes the entry, each file atomically; an error message when the disk refuses.
    std::optional<QString> save(const QString &id, const SubtitleList &subtitles, const Description &description);
    void remove(const QString &id);
    // Every entry with its text, oldest first, whoever owns it.
    QList<Entry> entries() const;
    // The entries whose owner is gone, each now locked by this process.
    QList<Entry> claimOrphans() const;
    // The lock that marks this process as the entry's owner; nullptr when another
    // running process holds it.
    std::unique_ptr<QLockFile> lock(const QString &id) const;

    // The description as written to disk, and read back; a damaged description reads
    // as an untitled document's.
    static QByteArray serialize(const Description &description);
    static Description parseDescription(const QByteArray &bytes);

private:
    QString textPath(const QString &id) const;
    QString infoPath(const QString &id) const;
    std::optional<QString> makePrivateFolder() const;

    QString m_directory;
};
