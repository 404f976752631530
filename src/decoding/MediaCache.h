#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

// What was worked out from a whole media file, kept on disk as a series of numbers so a
// film opened again has it at once: the loudness envelope of its sound (the waveform), the
// times of its shot changes. An entry is found by what identifies the media file's content
// (its size, modification time and a hash of its first and last megabyte), a number
// that tells the series of one file apart (the waveform's points per second) and, for what
// is made from its sound, the audio track it was made from. Entries are checked in full
// before use: anything damaged, truncated or made
// for another file or format is ignored, and the next store replaces it. The least
// recently used entries go first when the folder outgrows its limit.
class MediaCache
{
public:
    struct Series
    {
        QList<double> samples;
        double samplesPerSecond = 0;
        int estimatedSampleCount = 0;
    };

    static constexpr qint64 DefaultSizeLimit = 256 * 1024 * 1024;

    explicit MediaCache(const QString &directory, qint64 sizeLimit = DefaultSizeLimit);

    // A folder of the user's cache (QStandardPaths::CacheLocation): "waveforms",
    // "shotchanges".
    static std::shared_ptr<MediaCache> userCache(const QString &folder);

    // `audioTrack` is the audio track (1-based) a series of the sound was made from; what
    // is made from the pictures leaves it at 1. Entries of the first track keep the key
    // they had before a track could be chosen.
    std::optional<Series> find(const QString &mediaPath, int pointsPerSecond, int audioTrack = 1) const;
    // Written atomically; false when the media file or the folder cannot be used.
    bool store(const QString &mediaPath, int pointsPerSecond, const Series &envelope, int audioTrack = 1);

    // The same for a series of bytes the caller lays out itself (a sonogram's levels),
    // checked in full like the others; never taken for a series of numbers, nor one for it.
    std::optional<QByteArray> findBytes(const QString &mediaPath, int number, int audioTrack = 1) const;
    bool storeBytes(const QString &mediaPath, int number, const QByteArray &bytes, int audioTrack = 1);

    // Where the entry for this media file lives; empty when the file cannot be read.
    QString entryPath(const QString &mediaPath, int pointsPerSecond, int audioTrack = 1) const;
    QString directory() const { return m_directory; }

private:
    QByteArray identity(const QString &mediaPath, int pointsPerSecond, int audioTrack) const;
    std::optional<QByteArray> findPayload(const QString &mediaPath, int number, int audioTrack, quint32 kind,
                                          int elementSize, double &perSecond, int &estimated) const;
    bool storePayload(const QString &mediaPath, int number, int audioTrack, quint32 kind, const QByteArray &payload,
                      quint32 count, double perSecond, int estimated);
    QString entryPathFor(const QByteArray &identity) const;
    void dropOldest(const QString &keep) const;

    QString m_directory;
    qint64 m_sizeLimit;
};
