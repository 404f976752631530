#include "decoding/MediaCache.h"

#include "format/OwnFile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr quint32 SeriesMagic = 0x43575746; // "CWWF"
constexpr quint32 BytesMagic = 0x43575742;  // "CWWB"
// Raised whenever the layout or the envelope's arithmetic changes: old entries are then
// ignored and rewritten.
constexpr quint32 FormatVersion = 1;
constexpr qint64 HashedBytes = 1024 * 1024;
const QString Suffix = QStringLiteral(".wave");

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

QByteArray payloadOf(const QList<double> &samples)
{
    QByteArray bytes(samples.size() * qsizetype(sizeof(double)), Qt::Uninitialized);
    char *out = bytes.data();
    for (const double sample : samples) {
        quint64 bits;
        std::memcpy(&bits, &sample, sizeof bits);
        qToLittleEndian(bits, out);
        out += sizeof bits;
    }
    return bytes;
}

QList<double> samplesOf(const QByteArray &payload)
{
    QList<double> samples(payload.size() / qsizetype(sizeof(double)));
    const char *in = payload.constData();
    for (double &sample : samples) {
        const quint64 bits = qFromLittleEndian<quint64>(in);
        std::memcpy(&sample, &bits, sizeof bits);
        in += sizeof bits;
    }
    return samples;
}

} // namespace

MediaCache::MediaCache(const QString &directory, qint64 sizeLimit)
    : m_directory(directory)
    , m_sizeLimit(sizeLimit)
{
}

std::shared_ptr<MediaCache> MediaCache::userCache(const QString &folder)
{
    return std::make_shared<MediaCache>(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u'/' + folder);
}

// Size, modification time and the hash of both ends: cheap to compute on a film of
// gigabytes, and any re-encode or edit changes at least one of them.
QByteArray MediaCache::identity(const QString &mediaPath, int pointsPerSecond, int audioTrack) const
{
    QFile media(mediaPath);
    if (!media.open(QIODevice::ReadOnly))
        return {};
    const QFileInfo info(media);
    const qint64 size = media.size();
    QCryptographicHash ends(QCryptographicHash::Sha1);
    ends.addData(media.read(HashedBytes));
    if (size > HashedBytes && media.seek(std::max(HashedBytes, size - HashedBytes)))
        ends.addData(media.read(HashedBytes));

    QByteArray key;
    QDataStream stream(&key, QIODevice::WriteOnly);
    stream << size << info.lastModified().toMSecsSinceEpoch() << ends.result() << qint32(pointsPerSecond);
    // Left out for the first track, so that what was kept of it before stays found.
    if (audioTrack > 1)
        stream << qint32(audioTrack);
    return key;
}

QString MediaCache::entryPathFor(const QByteArray &identity) const
{
    return m_directory + QLatin1Char('/') + QString::fromLatin1(hashOf(identity).toHex()) + Suffix;
}

QString MediaCache::entryPath(const QString &mediaPath, int pointsPerSecond, int audioTrack) const
{
    const QByteArray key = identity(mediaPath, pointsPerSecond, audioTrack);
    return key.isEmpty() ? QString() : entryPathFor(key);
}

std::optional<MediaCache::Series> MediaCache::find(const QString &mediaPath, int pointsPerSecond, int audioTrack) const
{
    Series envelope;
    std::optional<QByteArray> payload =
        findPayload(mediaPath, pointsPerSecond, audioTrack, SeriesMagic, sizeof(double), envelope.samplesPerSecond,
                    envelope.estimatedSampleCount);
    if (!payload)
        return std::nullopt;
    envelope.samples = samplesOf(*payload);
    return envelope;
}

std::optional<QByteArray> MediaCache::findBytes(const QString &mediaPath, int number, int audioTrack) const
{
    double unusedRate = 0;
    int unusedCount = 0;
    return findPayload(mediaPath, number, audioTrack, BytesMagic, 1, unusedRate, unusedCount);
}

std::optional<QByteArray> MediaCache::findPayload(const QString &mediaPath, int number, int audioTrack, quint32 kind,
                                                  int elementSize, double &perSecond, int &estimated) const
{
    const QByteArray key = identity(mediaPath, number, audioTrack);
    if (key.isEmpty())
        return std::nullopt;
    // A link in the cache was not made here: it is passed over, as is anything larger
    // than the whole cache may be.
    const QString path = entryPathFor(key);
    const auto read = OwnFile::read(path, m_sizeLimit);
    if (!read)
        return std::nullopt;
    const QByteArray &bytes = read.value();

    QDataStream stream(bytes);
    stream.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint32 version = 0;
    QByteArray storedKey;
    qint32 storedEstimate = 0;
    quint32 count = 0;
    QByteArray checksum;
    stream >> magic >> version;
    if (stream.status() != QDataStream::Ok || magic != kind || version != FormatVersion)
        return std::nullopt;
    stream >> storedKey >> perSecond >> storedEstimate >> count >> checksum;
    if (stream.status() != QDataStream::Ok || storedKey != key || !(perSecond > 0))
        return std::nullopt;
    // The count must account for exactly the rest of the file.
    const qint64 position = stream.device()->pos();
    if (bytes.size() - position != qint64(count) * elementSize)
        return std::nullopt;
    QByteArray payload = bytes.sliced(position);
    if (hashOf(payload) != checksum)
        return std::nullopt;
    estimated = storedEstimate;

    // Recently used entries are the last to be dropped (the entry's own time, not a
    // link's target's).
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, AT_SYMLINK_NOFOLLOW);
    return payload;
}

bool MediaCache::store(const QString &mediaPath, int pointsPerSecond, const Series &envelope, int audioTrack)
{
    return storePayload(mediaPath, pointsPerSecond, audioTrack, SeriesMagic, payloadOf(envelope.samples),
                        quint32(envelope.samples.size()), envelope.samplesPerSecond, envelope.estimatedSampleCount);
}

bool MediaCache::storeBytes(const QString &mediaPath, int number, const QByteArray &bytes, int audioTrack)
{
    return storePayload(mediaPath, number, audioTrack, BytesMagic, bytes, quint32(bytes.size()), 1, 0);
}

bool MediaCache::storePayload(const QString &mediaPath, int number, int audioTrack, quint32 kind,
                              const QByteArray &payload, quint32 count, double perSecond, int estimated)
{
    const QByteArray key = identity(mediaPath, number, audioTrack);
    if (key.isEmpty() || !QDir().mkpath(m_directory))
        return false;
    const QString path = entryPathFor(key);

    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << kind << FormatVersion << key << perSecond << qint32(estimated) << count << hashOf(payload);
    stream.writeRawData(payload.constData(), int(payload.size()));
    // A new file takes the entry's name: whatever was there (a link to another of the
    // user's files included) is replaced, never written into.
    if (stream.status() != QDataStream::Ok || !OwnFile::write(path, bytes))
        return false;
    dropOldest(path);
    // A crash while storing leaves a temporary file, which no entry's name matches.
    OwnFile::removeUnfinishedWrites(m_directory, QLatin1Char('*') + Suffix);
    return true;
}

void MediaCache::dropOldest(const QString &keep) const
{
    // Newest first, so what is left past the limit is the oldest.
    const QFileInfoList entries = QDir(m_directory).entryInfoList({QLatin1Char('*') + Suffix}, QDir::Files, QDir::Time);
    qint64 total = 0;
    for (const QFileInfo &entry : entries) {
        total += entry.size();
        if (total > m_sizeLimit && entry.absoluteFilePath() != QFileInfo(keep).absoluteFilePath())
            QFile::remove(entry.absoluteFilePath());
    }
}
