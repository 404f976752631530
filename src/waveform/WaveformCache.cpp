#include "waveform/WaveformCache.h"

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

constexpr quint32 Magic = 0x43575746; // "CWWF"
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

WaveformCache::WaveformCache(const QString &directory, qint64 sizeLimit)
    : m_directory(directory)
    , m_sizeLimit(sizeLimit)
{
}

std::shared_ptr<WaveformCache> WaveformCache::userCache()
{
    return std::make_shared<WaveformCache>(
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/waveforms"));
}

// Size, modification time and the hash of both ends: cheap to compute on a film of
// gigabytes, and any re-encode or edit changes at least one of them.
QByteArray WaveformCache::identity(const QString &mediaPath, int pointsPerSecond) const
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
    return key;
}

QString WaveformCache::entryPathFor(const QByteArray &identity) const
{
    return m_directory + QLatin1Char('/') + QString::fromLatin1(hashOf(identity).toHex()) + Suffix;
}

QString WaveformCache::entryPath(const QString &mediaPath, int pointsPerSecond) const
{
    const QByteArray key = identity(mediaPath, pointsPerSecond);
    return key.isEmpty() ? QString() : entryPathFor(key);
}

std::optional<WaveformCache::Envelope> WaveformCache::find(const QString &mediaPath, int pointsPerSecond) const
{
    const QByteArray key = identity(mediaPath, pointsPerSecond);
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
    Envelope envelope;
    qint32 estimated = 0;
    quint32 count = 0;
    QByteArray checksum;
    stream >> magic >> version;
    if (stream.status() != QDataStream::Ok || magic != Magic || version != FormatVersion)
        return std::nullopt;
    stream >> storedKey >> envelope.samplesPerSecond >> estimated >> count >> checksum;
    if (stream.status() != QDataStream::Ok || storedKey != key || !(envelope.samplesPerSecond > 0))
        return std::nullopt;
    // The count must account for exactly the rest of the file.
    const qint64 position = stream.device()->pos();
    if (bytes.size() - position != qint64(count) * qint64(sizeof(double)))
        return std::nullopt;
    const QByteArray payload = bytes.sliced(position);
    if (hashOf(payload) != checksum)
        return std::nullopt;
    envelope.samples = samplesOf(payload);
    envelope.estimatedSampleCount = estimated;

    // Recently used entries are the last to be dropped (the entry's own time, not a
    // link's target's).
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, AT_SYMLINK_NOFOLLOW);
    return envelope;
}

bool WaveformCache::store(const QString &mediaPath, int pointsPerSecond, const Envelope &envelope)
{
    const QByteArray key = identity(mediaPath, pointsPerSecond);
    if (key.isEmpty() || !QDir().mkpath(m_directory))
        return false;
    const QString path = entryPathFor(key);
    const QByteArray payload = payloadOf(envelope.samples);

    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << Magic << FormatVersion << key << envelope.samplesPerSecond << qint32(envelope.estimatedSampleCount)
           << quint32(envelope.samples.size()) << hashOf(payload);
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

void WaveformCache::dropOldest(const QString &keep) const
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
