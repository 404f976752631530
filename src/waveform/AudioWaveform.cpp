#include "waveform/AudioWaveform.h"

#include "waveform/AudioDecoder.h"
#include "waveform/EnvelopeAccumulator.h"
#include "waveform/WaveformCache.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace {

// Batches go to the GUI thread at most this often: enough for a smooth fill without
// one queued call and one repaint per decoded packet.
constexpr qint64 BatchIntervalMs = 40;
// Read to here when the file does not tell how long its audio is: the decoder stops at
// the end of the stream long before.
constexpr double UnknownEnd = 1e9;
// Shorter parts are not worth opening the file once more.
constexpr double MinSegmentSeconds = 1;

// A part of the range decoded on its own thread, in samples per channel from time 0.
struct Segment
{
    int index = 0;
    int64_t first = 0;
    int64_t end = std::numeric_limits<int64_t>::max();
    bool last = true;
};

} // namespace

class AudioWaveform::Private
{
public:
    QString path;
    std::unique_ptr<AudioDecoder> decoder;
    std::vector<std::unique_ptr<QThread>> workers;
    std::atomic<bool> cancelled = false;
    std::shared_ptr<WaveformCache> cache = WaveformCache::userCache();
    int threadCount = std::clamp(QThread::idealThreadCount(), 1, 2);
    double focusTime = 0;

    std::function<void()> progressCallback;
    QList<double> samples;
    double maxSample = 0;
    double floor = -40;
    double ceiling = 0;
    int estimatedSampleCount = 0;
    double firstSampleTime = 0;
    double samplesPerSecond = 0;
    bool started = false;
    bool reading = false;

    // GUI thread: a segment's points wait until every segment before it is complete.
    std::vector<QList<double>> pending;
    std::vector<qsizetype> segmentFirstPoint;
    std::vector<bool> segmentDone;
    size_t currentSegment = 0;
    // The first segment that ended early: the points of the ones after it would be
    // placed too early, so they are dropped, as a single reading would never reach them.
    size_t brokenSegment = std::numeric_limits<size_t>::max();
    int cachedPointsPerSecond = 0; // of a whole load, to be kept once complete

    std::vector<Segment> segments(double start, double end, int samplesPerBucket) const;
    bool loadFromCache(int pointsPerSecond);
    void readSegment(AudioWaveform *q, Segment segment, double start, double end, int samplesPerBucket);
};

AudioWaveform::AudioWaveform(std::unique_ptr<Private> d)
    : d(std::move(d))
{
}

AudioWaveform::~AudioWaveform()
{
    // Stop the workers before anything they use goes away; batches they already posted
    // are dropped with this object.
    d->cancelled = true;
    for (const auto &worker : d->workers)
        worker->wait();
}

std::shared_ptr<AudioWaveform> AudioWaveform::create(const QString &path)
{
    auto d = std::make_unique<Private>();
    d->decoder = AudioDecoder::open(path);
    if (!d->decoder)
        return nullptr;
    d->path = path;
    return std::shared_ptr<AudioWaveform>(new AudioWaveform(std::move(d)));
}

void AudioWaveform::setCache(std::shared_ptr<WaveformCache> cache)
{
    d->cache = std::move(cache);
}

void AudioWaveform::setThreadCount(int threads)
{
    d->threadCount = std::max(threads, 1);
}

void AudioWaveform::setFocusTime(double seconds)
{
    d->focusTime = std::isfinite(seconds) ? std::clamp(seconds, 0.0, UnknownEnd) : 0;
}

// Splits the range where a point begins and a sample frame begins, so the joined points
// equal those of one reading; the end stays open, as the decoder finds it.
std::vector<Segment> AudioWaveform::Private::segments(double start, double end, int samplesPerBucket) const
{
    const int rate = decoder->sampleRate();
    const int channels = decoder->channelCount();
    const int64_t first = int64_t(std::round(start)) * rate;
    const double length = std::min(end, decoder->duration()) - std::round(start);
    int count = end < UnknownEnd && length > 0 ? threadCount : 1;
    while (count > 1 && length / count < MinSegmentSeconds)
        --count;
    const int64_t frames = int64_t(length * rate);
    const int64_t step = std::lcm<int64_t>(samplesPerBucket, channels) / channels;

    std::vector<int64_t> begins;
    for (int i = 0; i < count; ++i)
        begins.push_back(first + frames * i / count / step * step);
    // A part of its own from where the user looks, so that its points come first; not
    // when a part already begins close to there.
    const int64_t focus = first + (int64_t(focusTime * rate) - first) / step * step;
    const int64_t near = int64_t(MinSegmentSeconds * rate);
    if (count > 1 && focus > first && focus < first + frames - near
        && std::none_of(begins.cbegin(), begins.cend(), [&](int64_t begin) { return std::abs(begin - focus) < near; }))
        begins.insert(std::upper_bound(begins.begin(), begins.end(), focus), focus);

    std::vector<Segment> parts;
    for (const int64_t begin : begins) {
        if (!parts.empty()) {
            if (begin <= parts.back().first)
                continue;
            parts.back().end = begin;
            parts.back().last = false;
        }
        parts.push_back({int(parts.size()), begin});
    }
    return parts;
}

void AudioWaveform::load(double start, double end, int samplesPerSecond)
{
    if (!(end > start) || samplesPerSecond <= 0)
        return;
    // A decoder reads once; the timeline may ask again when it recomputes its duration.
    if (d->started)
        return;
    d->started = true;
    const int perSecond = d->decoder->channelCount() * d->decoder->sampleRate();
    const int samplesPerBucket = EnvelopeAccumulator::bucketSize(perSecond, samplesPerSecond);
    // A point is a whole number of samples, so the true rate is rarely the one asked for
    // (44.1 kHz stereo: 48.01 a second); points are placed by the true one, or a long
    // film's waveform would drift seconds away from its times.
    d->samplesPerSecond = double(perSecond) / samplesPerBucket;
    // The decoder reads whole seconds from a whole second on.
    d->firstSampleTime = std::round(start);
    const double estimate = end >= UnknownEnd ? 0 : std::trunc((end - start) * d->samplesPerSecond);
    d->estimatedSampleCount = int(std::min(estimate, double(std::numeric_limits<int>::max())));

    d->reading = true;
    const std::vector<Segment> segments = d->segments(start, end, samplesPerBucket);
    d->pending.assign(segments.size(), {});
    d->segmentFirstPoint.clear();
    const int channels = d->decoder->channelCount();
    for (const Segment &segment : segments)
        d->segmentFirstPoint.push_back((segment.first - segments.front().first) * channels / samplesPerBucket);
    d->segmentDone.assign(segments.size(), false);
    for (const Segment &segment : segments) {
        auto &worker = d->workers.emplace_back(QThread::create([this, segment, start, end, samplesPerBucket] {
            d->readSegment(this, segment, start, end, samplesPerBucket);
        }));
        worker->setObjectName(QStringLiteral("AudioWaveform"));
        worker->start();
    }
}

void AudioWaveform::loadWhole(int samplesPerSecond)
{
    if (d->started || samplesPerSecond <= 0)
        return;
    if (d->cache && d->loadFromCache(samplesPerSecond)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (d->progressCallback)
                    d->progressCallback();
                emit samplesAppended();
                emit finished();
            },
            Qt::QueuedConnection);
        return;
    }
    const double length = duration();
    load(0, length > 0 ? length : UnknownEnd, samplesPerSecond);
    d->cachedPointsPerSecond = samplesPerSecond;
}

bool AudioWaveform::Private::loadFromCache(int pointsPerSecond)
{
    std::optional<WaveformCache::Envelope> envelope = cache->find(path, pointsPerSecond);
    if (!envelope)
        return false;
    started = true;
    samples = std::move(envelope->samples);
    if (!samples.isEmpty())
        maxSample = std::max(maxSample, *std::max_element(samples.cbegin(), samples.cend()));
    samplesPerSecond = envelope->samplesPerSecond;
    estimatedSampleCount = envelope->estimatedSampleCount;
    firstSampleTime = 0;
    return true;
}

bool AudioWaveform::hasStarted() const
{
    return d->started;
}

// Worker thread: touches only its decoder and its own buffers; every result goes to the
// GUI thread as a queued call, in the order produced.
void AudioWaveform::Private::readSegment(AudioWaveform *q, Segment segment, double start, double end,
                                         int samplesPerBucket)
{
    // The first segment reads with the decoder opened at creation; each other one opens
    // the file again, as a decoder reads one place at a time.
    std::unique_ptr<AudioDecoder> own;
    AudioDecoder *reader = decoder.get();
    if (segment.index > 0)
        reader = (own = AudioDecoder::open(path)).get();

    QList<double> batch;
    QElapsedTimer sinceBatch;
    sinceBatch.start();
    auto sendBatch = [&] {
        if (batch.isEmpty())
            return;
        QMetaObject::invokeMethod(
            q, [q, index = segment.index, points = std::move(batch)] { q->appendSamples(index, points); },
            Qt::QueuedConnection);
        batch = QList<double>();
        sinceBatch.restart();
    };

    AudioDecoder::Status status = AudioDecoder::Status::Failed;
    qsizetype points = 0;
    const qsizetype share =
        segment.last ? 0 : (segment.end - segment.first) * decoder->channelCount() / samplesPerBucket;
    if (reader && reader->setRange(start, end)) {
        reader->narrowRange(segment.first, segment.end);
        EnvelopeAccumulator envelope(samplesPerBucket, floor, ceiling);
        std::vector<int16_t> chunk;
        while (!cancelled && (status = reader->read(chunk)) == AudioDecoder::Status::Data) {
            const qsizetype before = batch.size();
            envelope.append(chunk.data(), qsizetype(chunk.size()), batch);
            points += batch.size() - before;
            if (sinceBatch.elapsed() >= BatchIntervalMs)
                sendBatch();
        }
        // Only the last segment may end inside a point, unless the audio ends early.
        if (!cancelled && (segment.last || points < share))
            envelope.finish(batch);
        sendBatch();
        if (status == AudioDecoder::Status::Failed && !cancelled)
            qWarning("%s", qPrintable(reader->errorString()));
    }
    // A segment before the last must fill its share to the point, or the next one's
    // points would land too early.
    const bool complete = status == AudioDecoder::Status::End && !cancelled && (segment.last || points == share);
    QMetaObject::invokeMethod(
        q, [q, index = segment.index, complete] { q->finishSegment(index, complete); }, Qt::QueuedConnection);
}

void AudioWaveform::appendSamples(int segment, const QList<double> &points)
{
    if (size_t(segment) > d->brokenSegment)
        return;
    if (size_t(segment) == d->currentSegment) {
        publish(points);
        return;
    }
    // Shown ahead, at its own time, until the parts before it are complete.
    d->pending[segment].append(points);
    d->maxSample = std::max(d->maxSample, *std::max_element(points.cbegin(), points.cend()));
    if (d->progressCallback)
        d->progressCallback();
    emit samplesAppended();
}

QList<AudioWaveform::PartAhead> AudioWaveform::partsAhead() const
{
    QList<PartAhead> parts;
    for (size_t i = d->currentSegment + 1; i < d->pending.size() && i <= d->brokenSegment; ++i) {
        if (!d->pending[i].isEmpty())
            parts.append({d->firstSampleTime + double(d->segmentFirstPoint[i]) / d->samplesPerSecond, d->pending[i]});
    }
    return parts;
}

void AudioWaveform::publish(const QList<double> &points)
{
    if (points.isEmpty())
        return;
    d->samples.append(points);
    d->maxSample = std::max(d->maxSample, *std::max_element(points.cbegin(), points.cend()));
    if (d->progressCallback)
        d->progressCallback();
    emit samplesAppended();
}

void AudioWaveform::finishSegment(int segment, bool complete)
{
    if (!complete)
        d->brokenSegment = std::min(d->brokenSegment, size_t(segment));
    d->segmentDone[segment] = true;
    while (d->currentSegment < d->segmentDone.size() && d->segmentDone[d->currentSegment]) {
        if (++d->currentSegment < d->pending.size() && d->currentSegment <= d->brokenSegment)
            publish(std::exchange(d->pending[d->currentSegment], {}));
    }
    if (d->currentSegment == d->segmentDone.size())
        finishReading();
}

void AudioWaveform::finishReading()
{
    d->reading = false;
    // Only a whole, untroubled reading is worth keeping: anything else is read again next time.
    if (d->brokenSegment == std::numeric_limits<size_t>::max() && d->cachedPointsPerSecond > 0 && d->cache)
        d->cache->store(d->path, d->cachedPointsPerSecond,
                        {d->samples, d->samplesPerSecond, d->estimatedSampleCount});
    emit finished();
}

void AudioWaveform::setProgressCallback(std::function<void()> callback)
{
    d->progressCallback = std::move(callback);
}

const QList<double> &AudioWaveform::samples() const
{
    return d->samples;
}

double AudioWaveform::maxSample() const
{
    return d->maxSample;
}

double AudioWaveform::decibelFloor() const
{
    return d->floor;
}

double AudioWaveform::decibelCeiling() const
{
    return d->ceiling;
}

int AudioWaveform::estimatedSampleCount() const
{
    return d->estimatedSampleCount;
}

double AudioWaveform::firstSampleTime() const
{
    return d->firstSampleTime;
}

double AudioWaveform::samplesPerSecond() const
{
    return d->samplesPerSecond;
}

bool AudioWaveform::isReading() const
{
    return d->reading;
}

double AudioWaveform::duration() const
{
    return d->decoder->duration();
}

int AudioWaveform::sampleRate() const
{
    return d->decoder->sampleRate();
}

int AudioWaveform::channelCount() const
{
    return d->decoder->channelCount();
}
