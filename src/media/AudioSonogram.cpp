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
#include <atomic>
#include <mutex>
#include <numeric>
#include <vector>

namespace {

// As often as the waveform's batches: a smooth fill without a repaint per packet.
constexpr qint64 BatchIntervalMs = 40;

} // namespace


// The sonogram the sink's parts post to, until it goes: a part may outlive it, as the
// decoding that feeds it goes on for the waveform.
struct AudioSonogram::Link
{
    std::mutex mutex;
    AudioSonogram *q = nullptr;
    std::atomic<bool> gone = false;

    // Calls call(sonogram) on the sonogram's thread, if it is still there.
    template <typename Call>
    void post(Call call)
    {
        const std::lock_guard lock(mutex);
        if (q)
            QMetaObject::invokeMethod(q, [q = q, call = std::move(call)] { call(q); }, Qt::QueuedConnection);
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

AudioSonogram::AudioSonogram(const QString &path, double duration, int audioTrack)
    : m_path(path)
    , m_audioTrack(audioTrack)
    , m_duration(duration)
    , m_cache(MediaCache::userCache(QStringLiteral("sonograms")))
    , m_link(std::make_shared<Link>())
    , m_workers(std::make_unique<WorkerThreads>(QStringLiteral("AudioSonogram")))
{
    m_link->q = this;
}

AudioSonogram::~AudioSonogram()
{
    m_link->gone = true;
    const std::lock_guard lock(m_link->mutex);
    m_link->q = nullptr;
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
    // The parts ahead count too, as they are computed.
    qsizetype computed = columnCount(resolutionCount - 1);
    for (const PartAhead &part : partsAhead(resolutionCount - 1))
        computed += part.columns.size() / SonogramColumns::rows;
    return expected > 0 ? std::min(1.0, computed / expected) : 0;
}

// Worker thread: one part of the decoding, touching only its own buffers; every result goes
// to the GUI thread as a queued call, in order. A part after the first begins on a grid
// where both the resampler's phase and every resolution's columns begin, so that its
// samples and columns equal those of a reading from the start once the resampler has heard
// enough sound before them.
class AudioSonogram::SinkPart : public SoundSink::Part
{
public:
    SinkPart(std::shared_ptr<Link> link, int index, bool last, int64_t from, int sampleRate, int channels)
        : m_link(std::move(link))
        , m_index(index)
        , m_last(last)
        , m_resampler(sampleRate, channels, SonogramColumns::sampleRate)
        , m_skipLeft(from > 0 ? joinGrid() : 0)
    {
        m_sinceBatch.start();
        const int64_t common = std::gcd<int64_t>(sampleRate, SonogramColumns::sampleRate);
        const int64_t firstColumnSample = from * (SonogramColumns::sampleRate / common) / (sampleRate / common) + m_skipLeft;
        ColumnIndexes first{};
        for (int i = 0; i < resolutionCount; ++i) {
            m_levels.emplace_back(resolutions()[size_t(i)].windowSize, resolutions()[size_t(i)].hop);
            first[size_t(i)] = firstColumnSample / resolutions()[size_t(i)].hop;
        }
        m_link->post([index, first, last](AudioSonogram *q) { q->beginPart(index, first, last); });
    }

    // Resampled samples between the first columns of parts: a whole number of every
    // resolution's hops. Also what a part after the first drops, as its resampler heard
    // silence before its first sample.
    static int joinGrid()
    {
        int grid = 1;
        for (const Resolution &resolution : resolutions())
            grid = std::lcm(grid, resolution.hop);
        return grid;
    }

    void append(const int16_t *samples, qsizetype count) override
    {
        if (m_link->gone)
            return;
        m_resampler.append(samples, std::int64_t(count), m_mono);
        compute();
        if (m_sinceBatch.elapsed() >= BatchIntervalMs)
            send();
    }

    void finish(bool complete) override
    {
        if (m_link->gone)
            return;
        // The last part hears the end of the sound; the others end where the next one's
        // columns have begun.
        if (m_last && complete) {
            m_resampler.finish(m_mono);
            compute();
            for (int i = 0; i < resolutionCount; ++i)
                m_levels[size_t(i)].finish(m_batch[size_t(i)]);
        }
        send();
        m_link->post([index = m_index, complete](AudioSonogram *q) { q->finishPart(index, complete); });
    }

private:
    void compute()
    {
        const qsizetype skipped = std::min(m_skipLeft, qsizetype(m_mono.size()));
        m_skipLeft -= skipped;
        for (int i = 0; i < resolutionCount; ++i)
            m_levels[size_t(i)].append(m_mono.data() + skipped, qsizetype(m_mono.size()) - skipped, m_batch[size_t(i)]);
        m_mono.clear();
    }

    void send()
    {
        if (m_batch.front().isEmpty() && m_batch.back().isEmpty())
            return;
        m_link->post([index = m_index, batch = std::exchange(m_batch, {})](AudioSonogram *q) { q->appendPart(index, batch); });
        m_sinceBatch.restart();
    }

    std::shared_ptr<Link> m_link;
    int m_index;
    bool m_last;
    MonoResampler m_resampler;
    qsizetype m_skipLeft;
    std::vector<SonogramColumns> m_levels;
    std::vector<float> m_mono;
    Batch m_batch;
    QElapsedTimer m_sinceBatch;
};

class AudioSonogram::Sink : public SoundSink
{
public:
    Sink(std::shared_ptr<Link> link, std::shared_ptr<MediaCache> cache)
        : m_link(std::move(link))
        , m_cache(std::move(cache))
    {
    }

    bool restore(const QString &path, int audioTrack) override
    {
        if (!m_cache)
            return false;
        const std::optional<QByteArray> kept = m_cache->findBytes(path, cacheSeries, audioTrack);
        std::optional<Batch> whole = kept ? deserialise(*kept) : std::nullopt;
        if (!whole)
            return false;
        m_restored = true;
        m_link->post([whole = std::move(*whole)](AudioSonogram *q) { q->restored(whole); });
        return true;
    }

    int64_t leadFrame(int64_t first, int sampleRate) const override
    {
        // On the grid where a part's columns may begin (see SinkPart), far enough before
        // `first` that the part before has computed every column up to there.
        const int64_t common = std::gcd<int64_t>(sampleRate, SonogramColumns::sampleRate);
        const int64_t down = sampleRate / common;
        const int64_t up = SonogramColumns::sampleRate / common;
        const int64_t grid = down * (SinkPart::joinGrid() / std::gcd<int64_t>(up, SinkPart::joinGrid()));
        const int64_t wanted = first - int64_t(LeadSeconds * sampleRate);
        return wanted <= 0 ? 0 : wanted / grid * grid;
    }

    std::unique_ptr<SoundSink::Part> part(int index, bool last, int64_t from, int sampleRate, int channels) override
    {
        if (m_restored)
            return nullptr;
        return std::make_unique<SinkPart>(m_link, index, last, from, sampleRate, channels);
    }

private:
    // Longer than the reach of the longest window and the resampler's filter past a column.
    static constexpr double LeadSeconds = 0.25;

    std::shared_ptr<Link> m_link;
    std::shared_ptr<MediaCache> m_cache;
    std::atomic<bool> m_restored = false;
};

std::shared_ptr<SoundSink> AudioSonogram::sink()
{
    if (m_started)
        return nullptr;
    m_started = true;
    m_reading = true;
    return std::make_shared<Sink>(m_link, m_cache);
}

namespace {

int loudestOf(const QByteArray &levels)
{
    if (levels.isEmpty())
        return 0;
    return uchar(*std::max_element(levels.cbegin(), levels.cend(), [](char a, char b) { return uchar(a) < uchar(b); }));
}

} // namespace

void AudioSonogram::restored(const Batch &whole)
{
    m_columns = whole;
    // Any resolution will do for the loudest: the coarsest has the fewest bytes.
    m_loudest = std::max(m_loudest, loudestOf(m_columns.back()));
    emit columnsAppended();
    finishReading(true, true);
}

void AudioSonogram::beginPart(int index, const ColumnIndexes &first, bool last)
{
    if (size_t(index) >= m_parts.size())
        m_parts.resize(size_t(index) + 1);
    m_parts[size_t(index)].next = first;
    if (last)
        m_partCount = index + 1;
}

void AudioSonogram::appendPart(int index, const Batch &batch)
{
    if (!m_reading)
        return;
    Part &part = m_parts[size_t(index)];
    if (size_t(index) == m_currentPart) {
        join(part, batch);
        return;
    }
    for (int i = 0; i < resolutionCount; ++i)
        part.pending[size_t(i)].append(batch[size_t(i)]);
    m_loudest = std::max(m_loudest, loudestOf(batch.back()));
    emit columnsAppended();
}

QList<AudioSonogram::PartAhead> AudioSonogram::partsAhead(int resolution) const
{
    const size_t r = size_t(std::clamp(resolution, 0, resolutionCount - 1));
    QList<PartAhead> parts;
    for (size_t i = m_currentPart + 1; m_reading && i < m_parts.size(); ++i) {
        if (!m_parts[i].pending[r].isEmpty())
            parts.append({m_parts[i].next[r], m_parts[i].pending[r]});
    }
    return parts;
}

// Appends the part's columns after those already joined: where it overlaps the part
// before, its columns are the same and only the new ones are taken.
void AudioSonogram::join(Part &part, const Batch &batch)
{
    bool any = false;
    for (int i = 0; i < resolutionCount; ++i) {
        const QByteArray &more = batch[size_t(i)];
        const qsizetype count = more.size() / SonogramColumns::rows;
        const qsizetype overlap = columnCount(i) - part.next[size_t(i)];
        Q_ASSERT(overlap >= 0);
        if (overlap < 0)
            qWarning("sonogram: a part begins %lld columns after the one before ends", -qlonglong(overlap));
        const qsizetype skipped = std::clamp<qsizetype>(overlap, 0, count);
        m_columns[size_t(i)].append(more.constData() + skipped * SonogramColumns::rows,
                                    (count - skipped) * SonogramColumns::rows);
        part.next[size_t(i)] += count;
        any = any || count > skipped;
        if (i == resolutionCount - 1)
            m_loudest = std::max(m_loudest, loudestOf(more));
    }
    if (any)
        emit columnsAppended();
}

void AudioSonogram::finishPart(int index, bool complete)
{
    if (!m_reading)
        return;
    m_parts[size_t(index)].done = true;
    m_parts[size_t(index)].complete = complete;
    while (m_currentPart < m_parts.size() && m_parts[m_currentPart].done) {
        // The columns after a part that ended early are not joined: there would be a gap.
        if (!m_parts[m_currentPart].complete) {
            finishReading(false, false);
            return;
        }
        if (++m_currentPart < m_parts.size())
            join(m_parts[m_currentPart], std::exchange(m_parts[m_currentPart].pending, {}));
    }
    if (int(m_currentPart) == m_partCount)
        finishReading(true, false);
}

void AudioSonogram::finishReading(bool complete, bool fromCache)
{
    m_reading = false;
    m_complete = complete;
    // Only a whole, untroubled reading is worth keeping; written on a worker, which this
    // object waits for when it goes.
    if (complete && !fromCache && m_cache) {
        m_workers->start([cache = m_cache, path = m_path, track = m_audioTrack,
                          bytes = serialise(m_columns)](const std::stop_token &) {
            cache->storeBytes(path, cacheSeries, bytes, track);
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

std::optional<AudioSonogram::Batch> AudioSonogram::deserialise(const QByteArray &bytes)
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
