#include "media/AudioSonogram.h"

#include "speech/MonoResampler.h"
#include "media/AudioDecoder.h"
#include "decoding/MediaCache.h"
#include "media/SonogramColumns.h"
#include "media/SoundSink.h"
#include "media/WorkerThreads.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QIODevice>

#include <algorithm>
#include <vector>

namespace {

// As often as the waveform's batches: a smooth fill without a repaint per packet.
constexpr qint64 BatchIntervalMs = 40;

using Batch = std::array<QByteArray, AudioSonogram::resolutionCount>;

} // namespace


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
    , m_workers(std::make_unique<WorkerThreads>(QStringLiteral("AudioSonogram")))
{
}

AudioSonogram::~AudioSonogram() = default;

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

// Worker thread: touches only its own buffers; every result goes to the GUI thread as a
// queued call, in order.
class AudioSonogram::Sink : public SoundSink
{
public:
    explicit Sink(AudioSonogram *q, std::shared_ptr<MediaCache> cache)
        : m_q(q)
        , m_cache(std::move(cache))
    {
        m_sinceBatch.start();
    }

    bool restore(const QString &path) override
    {
        if (!m_cache)
            return false;
        const std::optional<QByteArray> kept = m_cache->findBytes(path, cacheSeries);
        std::optional<Batch> whole = kept ? deserialise(*kept) : std::nullopt;
        if (!whole)
            return false;
        m_restored = true;
        post([q = m_q, whole = std::move(*whole)] {
            q->append(whole);
            q->finishReading(true, true);
        });
        return true;
    }

    void begin(int sampleRate, int channels) override
    {
        if (m_restored)
            return;
        m_resampler.emplace(sampleRate, channels, SonogramColumns::sampleRate);
        m_levels.clear();
        for (const Resolution &resolution : resolutions())
            m_levels.emplace_back(resolution.windowSize, resolution.hop);
    }

    void append(const int16_t *samples, qsizetype count) override
    {
        if (m_restored || !m_resampler)
            return;
        m_resampler->append(samples, std::int64_t(count), m_mono);
        compute();
        if (m_sinceBatch.elapsed() >= BatchIntervalMs)
            send();
    }

    void finish(bool complete) override
    {
        if (m_restored)
            return;
        if (m_resampler) {
            m_resampler->finish(m_mono);
            compute();
            for (int i = 0; i < resolutionCount; ++i)
                m_levels[size_t(i)].finish(m_batch[size_t(i)]);
            send();
        }
        post([q = m_q, complete = complete && m_resampler.has_value()] { q->finishReading(complete, false); });
    }

private:
    template <typename Call>
    void post(Call call)
    {
        QMetaObject::invokeMethod(m_q, std::move(call), Qt::QueuedConnection);
    }

    void compute()
    {
        for (int i = 0; i < resolutionCount; ++i)
            m_levels[size_t(i)].append(m_mono.data(), qsizetype(m_mono.size()), m_batch[size_t(i)]);
        m_mono.clear();
    }

    void send()
    {
        if (m_batch.front().isEmpty() && m_batch.back().isEmpty())
            return;
        post([q = m_q, batch = std::exchange(m_batch, {})] { q->append(batch); });
        m_sinceBatch.restart();
    }

    AudioSonogram *m_q;
    std::shared_ptr<MediaCache> m_cache;
    bool m_restored = false;
    std::optional<MonoResampler> m_resampler;
    std::vector<SonogramColumns> m_levels;
    std::vector<float> m_mono;
    Batch m_batch;
    QElapsedTimer m_sinceBatch;
};

std::shared_ptr<SoundSink> AudioSonogram::sink()
{
    if (m_started)
        return nullptr;
    m_started = true;
    m_reading = true;
    return std::make_shared<Sink>(this, m_cache);
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
        m_workers->start([cache = m_cache, path = m_path, bytes = serialise(m_columns)](const std::stop_token &) {
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
