#include "media/AudioSonogram.h"

#include "speech/MonoResampler.h"
#include "media/AudioDecoder.h"
#include "media/MediaCache.h"
#include "media/SonogramColumns.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QIODevice>
#include <QThread>

#include <algorithm>
#include <stop_token>
#include <thread>
#include <vector>

namespace {

// As often as the waveform's batches: a smooth fill without a repaint per packet.
constexpr qint64 BatchIntervalMs = 40;
// Read to here when the file does not tell how long its sound is.
constexpr double UnknownEnd = 1e9;

using Batch = std::array<QByteArray, AudioSonogram::resolutionCount>;

} // namespace

class AudioSonogram::Worker
{
public:
    // Declared before the threads, which use it until they are joined.
    std::stop_source stop;
    std::vector<std::jthread> threads;

    template <typename Work>
    void start(Work work)
    {
        threads.emplace_back([work = std::move(work), token = stop.get_token()] {
            QThread::currentThread()->setObjectName(QStringLiteral("AudioSonogram"));
            work(token);
        });
    }

    ~Worker()
    {
        // A computation stops at its next packet, a store that began is completed.
        stop.request_stop();
        threads.clear();
    }
};

const std::array<AudioSonogram::Resolution, AudioSonogram::resolutionCount> &AudioSonogram::resolutions()
{
    // 16, 32 and 64 ms windows, each column half a window after the one before.
    static const std::array<Resolution, resolutionCount> all{{{256, 128}, {512, 256}, {1024, 512}}};
    return all;
}

double AudioSonogram::Resolution::columnsPerSecond() const
{
    return double(SonogramColumns::sampleRate) / hop;
}

double AudioSonogram::Resolution::firstColumnMiddle() const
{
    return windowSize / 2.0 / SonogramColumns::sampleRate;
}

int AudioSonogram::resolutionFor(double pointsPerSecond)
{
    for (int i = 0; i < resolutionCount; ++i) {
        if (resolutions()[i].columnsPerSecond() <= pointsPerSecond)
            return i;
    }
    return resolutionCount - 1;
}

AudioSonogram::AudioSonogram(const QString &path, double duration)
    : m_path(path)
    , m_duration(duration)
    , m_cache(MediaCache::userCache(QStringLiteral("sonograms")))
    , m_worker(std::make_unique<Worker>())
{
}

// The worker goes first: it posts to this object until it is joined.
AudioSonogram::~AudioSonogram()
{
    m_worker.reset();
}

void AudioSonogram::setCache(std::shared_ptr<MediaCache> cache)
{
    if (!m_started)
        m_cache = std::move(cache);
}

const QByteArray &AudioSonogram::columns(int resolution) const
{
    return m_columns[size_t(std::clamp(resolution, 0, resolutionCount - 1))];
}

qsizetype AudioSonogram::columnCount(int resolution) const
{
    return columns(resolution).size() / SonogramColumns::rows;
}

double AudioSonogram::progress() const
{
    if (!m_reading)
        return 1;
    const Resolution &coarsest = resolutions().back();
    const double expected = m_duration * coarsest.columnsPerSecond();
    return expected > 0 ? std::min(1.0, columnCount(resolutionCount - 1) / expected) : 0;
}

void AudioSonogram::load()
{
    if (m_started)
        return;
    m_started = true;
    m_reading = true;
    // Worker thread: touches only its own decoder and buffers, and what does not change
    // while it runs; every result goes to the GUI thread as a queued call, in order.
    m_worker->start([q = this, path = m_path, cache = m_cache](const std::stop_token &stop) {
        const auto post = [q](auto call) { QMetaObject::invokeMethod(q, std::move(call), Qt::QueuedConnection); };
        if (cache) {
            if (const std::optional<QByteArray> kept = cache->findBytes(path, cacheSeries)) {
                if (std::optional<Batch> whole = deserialise(*kept)) {
                    post([q, whole = std::move(*whole)] {
                        q->append(whole);
                        q->finishReading(true, true);
                    });
                    return;
                }
            }
        }
        const std::unique_ptr<AudioDecoder> decoder = AudioDecoder::open(path);
        if (!decoder || !decoder->setRange(0, UnknownEnd)) {
            post([q] { q->finishReading(false, false); });
            return;
        }
        MonoResampler resampler(decoder->sampleRate(), decoder->channelCount(), SonogramColumns::sampleRate);
        std::vector<SonogramColumns> levels;
        for (const Resolution &resolution : resolutions())
            levels.emplace_back(resolution.windowSize, resolution.hop);

        Batch batch;
        std::vector<float> mono;
        const auto compute = [&] {
            for (int i = 0; i < resolutionCount; ++i)
                levels[size_t(i)].append(mono.data(), qsizetype(mono.size()), batch[size_t(i)]);
            mono.clear();
        };
        QElapsedTimer sinceBatch;
        sinceBatch.start();
        const auto send = [&] {
            if (batch.front().isEmpty() && batch.back().isEmpty())
                return;
            post([q, batch = std::exchange(batch, {})] { q->append(batch); });
            sinceBatch.restart();
        };

        std::vector<int16_t> chunk;
        AudioDecoder::Status status = AudioDecoder::Status::Failed;
        while (!stop.stop_requested() && (status = decoder->read(chunk)) == AudioDecoder::Status::Data) {
            resampler.append(chunk.data(), std::int64_t(chunk.size()), mono);
            compute();
            if (sinceBatch.elapsed() >= BatchIntervalMs)
                send();
        }
        if (stop.stop_requested())
            return;
        resampler.finish(mono);
        compute();
        for (int i = 0; i < resolutionCount; ++i)
            levels[size_t(i)].finish(batch[size_t(i)]);
        send();
        if (status == AudioDecoder::Status::Failed)
            qWarning("%s", qPrintable(decoder->errorString()));
        post([q, complete = status == AudioDecoder::Status::End] { q->finishReading(complete, false); });
    });
}

void AudioSonogram::append(const Batch &batch)
{
    for (int i = 0; i < resolutionCount; ++i) {
        const QByteArray &more = batch[size_t(i)];
        m_columns[size_t(i)].append(more);
        // Any resolution will do for the loudest: the coarsest has the fewest bytes.
        if (i == resolutionCount - 1 && !more.isEmpty())
            m_loudest = std::max<int>(m_loudest, uchar(*std::max_element(more.cbegin(), more.cend(), [](char a, char b) {
                                                     return uchar(a) < uchar(b);
                                                 })));
    }
    emit columnsAppended();
}

void AudioSonogram::finishReading(bool complete, bool fromCache)
{
    m_reading = false;
    m_complete = complete;
    // Only a whole, untroubled reading is worth keeping; written on a worker, which this
    // object waits for when it goes.
    if (complete && !fromCache && m_cache) {
        m_worker->start([cache = m_cache, path = m_path, bytes = serialise(m_columns)](const std::stop_token &) {
            cache->storeBytes(path, cacheSeries, bytes);
        });
    }
    emit finished();
}

QByteArray AudioSonogram::serialise(const Batch &columns)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << qint32(SonogramColumns::rows) << qint32(resolutionCount);
    for (int i = 0; i < resolutionCount; ++i)
        stream << qint32(resolutions()[size_t(i)].windowSize) << qint32(resolutions()[size_t(i)].hop)
               << columns[size_t(i)];
    return bytes;
}

std::optional<Batch> AudioSonogram::deserialise(const QByteArray &bytes)
{
    QDataStream stream(bytes);
    stream.setVersion(QDataStream::Qt_6_0);
    qint32 rows = 0;
    qint32 count = 0;
    stream >> rows >> count;
    if (stream.status() != QDataStream::Ok || rows != SonogramColumns::rows || count != resolutionCount)
        return std::nullopt;
    Batch columns;
    for (int i = 0; i < resolutionCount; ++i) {
        qint32 window = 0;
        qint32 hop = 0;
        stream >> window >> hop >> columns[size_t(i)];
        if (stream.status() != QDataStream::Ok || window != resolutions()[size_t(i)].windowSize
            || hop != resolutions()[size_t(i)].hop || columns[size_t(i)].size() % rows != 0)
            return std::nullopt;
    }
    if (!stream.atEnd())
        return std::nullopt;
    return columns;
}
