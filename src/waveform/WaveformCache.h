#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

// Finished envelopes of whole audio streams on disk, so a film opened again shows its
// waveform at once. An entry is found by what identifies the media file's content (its
// size, modification time and a hash of its first and last megabyte) and the points per
// second. Entries are checked in full before use: anything damaged, truncated or made
// for another file or format is ignored, and the next store replaces it. The least
// recently used entries go first when the folder outgrows its limit.
class WaveformCache
{
public:
    struct Envelope
    {
        QList<double> samples;
        double samplesPerSecond = 0;
        int estimatedSampleCount = 0;
    };

    static constexpr qint64 DefaultSizeLimit = 256 * 1024 * 1024;

    explicit WaveformCache(const QString &directory, qint64 sizeLimit = DefaultSizeLimit);

    // The user's cache folder (QStandardPaths::CacheLocation).
    static std::shared_ptr<WaveformCache> userCache();

    std::optional<Envelope> find(const QString &mediaPath, int pointsPerSecond) const;
    // Written atomically; false when the media file or the folder cannot be used.
    bool store(const QString &mediaPath, int pointsPerSecond, const Envelope &envelope);

    // Where the entry for this media file lives; empty when the file cannot be read.
    QString entryPath(const QString &mediaPath, int pointsPerSecond) const;
    QString directory() const { return m_directory; }

private:
    QByteArray identity(const QString &mediaPath, int pointsPerSecond) const;
    QString entryPathFor(const QByteArray &identity) const;
    void dropOldest(const QString &keep) const;

    QString m_directory;
    qint64 m_sizeLimit;
};
