#pragma once

#include "model/Subtitle.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// Unsaved work kept on disk so that a crash or a kill loses nothing older than the
// autosave delay. One entry per modified document: its subtitles as UTF-8 SRT and a
// small description (which file it belongs to, when it was written).
class RecoveryStore
{
public:
    struct Entry
    {
        QString id;
        QString recoveryPath;  // the SRT text of the unsaved work
        QString originalPath;  // the document's file, or empty for an untitled document
        std::optional<int> encoding;
        QDateTime savedAt;
    };

    // The user's recovery folder, or another folder (for tests).
    explicit RecoveryStore(QString directory = defaultDirectory());

    static QString defaultDirectory();
    static QString newId();

    // Writes the entry atomically; an error message when the disk refuses.
    std::optional<QString> save(const QString &id, const SubtitleList &subtitles, const QString &originalPath,
                                std::optional<int> encoding);
    void remove(const QString &id);
    // Every complete entry, oldest first.
    QList<Entry> entries() const;

private:
    QString textPath(const QString &id) const;
    QString infoPath(const QString &id) const;

    QString m_directory;
};
