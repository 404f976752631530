#pragma once

#include "document/FileIdentity.h"
#include "document/TextFileFormat.h"
#include "format/FormatKeep.h"
#include "format/FormatReading.h"
#include "format/SubtitleFormat.h"
#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantMap>

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
    Q_DECLARE_TR_FUNCTIONS(RecoveryStore)

public:
    struct Description
    {
        QString originalPath;  // the document's file, or empty for an untitled document
        std::optional<int> encoding;
        // The document's subtitle format, which the work is kept in.
        SubtitleFormat::Id subtitleFormat = SubtitleFormat::Srt;
        // The file's line endings and mark, which a recovered document saves with.
        TextFileFormat fileFormat;
        QDateTime savedAt;
        FileIdentity base;     // the file as the document last read or wrote it
        // How the window showed the work (its video, position, zoom and selection), in
        // the keys the window restores from.
        QVariantMap windowState;
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

    // Writes the entry, each file as a new file renamed into place (a link at its name
    // is replaced, never written through); an error message when the disk refuses.
    // The work is kept in the document's format with what its file held beyond the
    // subtitles (`keep`), so that a recovered document saves as the file was.
    Expected<void, QString> save(const QString &id, const SubtitleList &subtitles, const Description &description,
                                 const FormatKeep *keep = nullptr);
    // Rewrites only the description of an entry whose text is written.
    Expected<void, QString> saveDescription(const QString &id, const Description &description);
    void remove(const QString &id);
    // Every entry with its text, oldest first, whoever owns it. An entry that is a
    // symbolic link is no entry.
    QList<Entry> entries() const;
    // The entry's subtitles. A damaged text (cut short by a full disk or a crash) is
    // read with repairs, which are listed, so that what can be read is offered.
    static Expected<FormatReading, QString> readText(const Entry &entry);
    // The entries whose owner is gone, each now locked by this process. What such an
    // owner left half written goes.
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
    Expected<void, QString> makePrivateFolder() const;
    void removeUnfinishedWrites() const;

    QString m_directory;
};
