#include "media/AudioWaveform.h"

#include "speech/SpeechAnalyser.h"
#include "media/AudioDecoder.h"
#include "media/EnvelopeAccumulator.h"
#include "decoding/MediaCache.h"
#include "media/SoundSink.h"
#include "media/WaveformSegments.h"
#include "media/WorkerThreads.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <stop_token>
#include <vector>

namespace {

// Batches go to the GUI thread at most this often: enough for a smooth fill without
// one queued call and one repaint per decoded packet.
constexpr qint64 BatchIntervalMs = 40;
constexpr double UnknownEnd = WaveformSegments::unknownEnd;
// Speech is kept in the cache beside the envelope under a number that no points per second
// take. Lowered whenever the way speech is found changes, so that older entries are not
// read as the present finder's.
constexpr int SpeechSeries = -1;
// A part after the first also hears this much sound before it, for speech alone: its
// detector adapts to the background, and a sentence that begins just before the part is
// found whole.
constexpr double SpeechLeadSeconds = 3;

// What the file tells of its audio stream; a decoder is opened again for each reading.
using Stream = WaveformSegments::Sound;
using Segment = WaveformSegment;

std::optional<Stream> streamOf(const QString &path, int audioTrack)
{
    const std::unique_ptr<AudioDecoder> decoder = AudioDecoder::open(path, audioTrack);
    if (!decoder)
        return std::nullopt;
    return Stream{decoder->duration(), decoder->sampleRate(), decoder->channelCount()};
}

} // namespace

class AudioWaveform::Private
{
public:
    QString path;
    int audioTrack = 1;
    std::optional<Stream> stream; // known once opened; nothing without audio
    WorkerThreads workers{QStringLiteral("AudioWaveform")};
    std::shared_ptr<MediaCache> cache = MediaCache::userCache(QStringLiteral("waveforms"));
    int threadCount = std::clamp(QThread::idealThreadCount(), 1, 2);
    bool detectSpeech = false;
    std::vector<std::shared_ptr<SoundSink>> sinks;
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
    std::vector<std::vector<SpeechStretch>> speechParts; // per segment
    SpeechStretches speech;

    void startReading(AudioWaveform *q, double start, double end, int samplesPerSecond);
    void readSegment(AudioWaveform *q, const std::stop_token &stop, Segment segment, double start, double end,
                     int samplesPerBucket);
    void didLookUp(AudioWaveform *q, std::optional<MediaCache::Series> envelope,
                   std::optional<MediaCache::Series> speechSeries, bool sinksNeedSound);
};

AudioWaveform::AudioWaveform(const QString &path, int audioTrack)
    : d(std::make_unique<Private>())
{
    d->path = path;
    d->audioTrack = audioTrack;
}

AudioWaveform::~AudioWaveform()
{
    // Stop the workers before anything they use goes away, and wait for them: a reading
    // stops at its next packet, a store that began is completed. Batches they already
    // posted are dropped with this object.
    d->workers.stopAndJoin();
}

std::shared_ptr<AudioWaveform> AudioWaveform::create(const QString &path, int audioTrack)
{
    std::shared_ptr<AudioWaveform> waveform(new AudioWaveform(path, audioTrack));
    waveform->d->stream = streamOf(path, audioTrack);
    if (!waveform->d->stream)
        return nullptr;
    return waveform;
}

std::shared_ptr<AudioWaveform> AudioWaveform::open(const QString &path, int audioTrack)
{
    std::shared_ptr<AudioWaveform> waveform(new AudioWaveform(path, audioTrack));
    AudioWaveform *q = waveform.get();
    waveform->d->workers.start([q, path, audioTrack](const std::stop_token &) {
        std::optional<Stream> stream = streamOf(path, audioTrack);
        QMetaObject::invokeMethod(
            q,
            [q, stream] {
                q->d->stream = stream;
                emit q->opened();
            },
            Qt::QueuedConnection);
    });
    return waveform;
}

bool AudioWaveform::hasAudio() const
{
    return d->stream.has_value();
}

QString AudioWaveform::path() const
{
    return d->path;
}

int AudioWaveform::audioTrack() const
{
    return d->audioTrack;
}

void AudioWaveform::setCache(std::shared_ptr<MediaCache> cache)
{
    d->cache = std::move(cache);
}

void AudioWaveform::setSpeechDetection(bool detect)
{
    if (!d->started)
        d->detectSpeech = detect;
}

bool AudioWaveform::detectsSpeech() const
{
    return d->detectSpeech;
}

void AudioWaveform::addSink(std::shared_ptr<SoundSink> sink)
{
    if (!d->started && sink)
        d->sinks.push_back(std::move(sink));
}

void AudioWaveform::setThreadCount(int threads)
{
    d->threadCount = std::max(threads, 1);
}

void AudioWaveform::setFocusTime(double seconds)
{
    d->focusTime = std::isfinite(seconds) ? std::clamp(seconds, 0.0, UnknownEnd) : 0;
}

void AudioWaveform::load(double start, double end, int samplesPerSecond)
{
    if (!(end > start) || samplesPerSecond <= 0 || !d->stream)
        return;
    // A waveform reads once; the timeline may ask again when it recomputes its duration.
    if (d->started)
        return;
    d->started = true;
    d->startReading(this, start, end, samplesPerSecond);
}

void AudioWaveform::Private::startReading(AudioWaveform *q, double start, double end, int pointsPerSecond)
{
    const int perSecond = stream->channels * stream->sampleRate;
    const int samplesPerBucket = EnvelopeAccumulator::bucketSize(perSecond, pointsPerSecond);
    // A point is a whole number of samples, so the true rate is rarely the one asked for
    // (44.1 kHz stereo: 48.01 a second); points are placed by the true one, or a long
    // film's waveform would drift seconds away from its times.
    samplesPerSecond = double(perSecond) / samplesPerBucket;
    // The decoder reads whole seconds from a whole second on.
    firstSampleTime = std::round(start);
    const double estimate = end >= UnknownEnd ? 0 : std::trunc((end - start) * samplesPerSecond);
    estimatedSampleCount = int(std::min(estimate, double(std::numeric_limits<int>::max())));

    reading = true;
    emit q->readingStarted();
    const std::vector<Segment> parts =
        WaveformSegments::split(*stream, start, end, samplesPerBucket, threadCount, focusTime);
    pending.assign(parts.size(), {});
    segmentFirstPoint.clear();
    for (const Segment &segment : parts)
        segmentFirstPoint.push_back((segment.first - parts.front().first) * stream->channels / samplesPerBucket);
    segmentDone.assign(parts.size(), false);
    speechParts.assign(parts.size(), {});
    for (const Segment &segment : parts)
        workers.start([this, q, segment, start, end, samplesPerBucket](const std::stop_token &stop) {
            readSegment(q, stop, segment, start, end, samplesPerBucket);
        });
}

void AudioWaveform::loadWhole(int samplesPerSecond)
{
    if (d->started || samplesPerSecond <= 0 || !d->stream)
        return;
    d->started = true;
    d->reading = true;
    d->cachedPointsPerSecond = samplesPerSecond;
    if (!d->cache && d->sinks.empty()) {
        d->didLookUp(this, std::nullopt, std::nullopt, false);
        return;
    }
    // The caches are folders on disk: looked up on a worker, like the media file.
    d->workers.start([q = this, cache = d->cache, path = d->path, track = d->audioTrack, samplesPerSecond,
                      speech = d->detectSpeech, sinks = d->sinks](const std::stop_token &stop) {
        std::optional<MediaCache::Series> envelope;
        std::optional<MediaCache::Series> speechSeries;
        if (cache)
            envelope = cache->find(path, samplesPerSecond, track);
        if (envelope && speech)
            speechSeries = cache->find(path, SpeechSeries, track);
        bool sinksNeedSound = false;
        for (const std::shared_ptr<SoundSink> &sink : sinks)
            sinksNeedSound = !sink->restore(path, track) || sinksNeedSound;
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            q,
            [q, envelope = std::move(envelope), speechSeries = std::move(speechSeries), sinksNeedSound]() mutable {
                q->d->didLookUp(q, std::move(envelope), std::move(speechSeries), sinksNeedSound);
            },
            Qt::QueuedConnection);
    });
}

namespace {

// Stretches as a series of numbers: each start followed by its end.
MediaCache::Series seriesOf(const SpeechStretches &speech)
{
    MediaCache::Series series;
    for (const SpeechStretch &stretch : speech.stretches())
        series.samples << stretch.start << stretch.end;
    series.samplesPerSecond = 1;
    series.estimatedSampleCount = int(speech.size());
    return series;
}

std::optional<SpeechStretches> speechOf(const std::optional<MediaCache::Series> &series)
{
    if (!series || series->samples.size() % 2 != 0)
        return std::nullopt;
    std::vector<SpeechStretch> stretches;
    for (qsizetype i = 0; i < series->samples.size(); i += 2)
        stretches.push_back({series->samples[i], series->samples[i + 1]});
    return SpeechStretches(std::move(stretches));
}

} // namespace

void AudioWaveform::Private::didLookUp(AudioWaveform *q, std::optional<MediaCache::Series> envelope,
                                       std::optional<MediaCache::Series> speechSeries, bool sinksNeedSound)
{
    const std::optional<SpeechStretches> cachedSpeech = speechOf(speechSeries);
    // All from one reading: an envelope kept without its speech, or without what a sink
    // makes, is read again.
    if (!envelope || (detectSpeech && !cachedSpeech) || sinksNeedSound) {
        startReading(q, 0, stream->duration > 0 ? stream->duration : UnknownEnd, cachedPointsPerSecond);
        return;
    }
    samples = std::move(envelope->samples);
    if (!samples.isEmpty())
        maxSample = std::max(maxSample, *std::max_element(samples.cbegin(), samples.cend()));
    samplesPerSecond = envelope->samplesPerSecond;
    estimatedSampleCount = envelope->estimatedSampleCount;
    firstSampleTime = 0;
    reading = false;
    if (progressCallback)
        progressCallback();
    emit q->samplesAppended();
    if (cachedSpeech) {
        speech = *cachedSpeech;
        emit q->speechFound();
    }
    emit q->finished();
}

bool AudioWaveform::hasStarted() const
{
    return d->started;
}

// Worker thread: touches only its own decoder and buffers, and what does not change while
// it runs; every result goes to the GUI thread as a queued call, in the order produced.
void AudioWaveform::Private::readSegment(AudioWaveform *q, const std::stop_token &stop, Segment segment, double start,
                                         double end, int samplesPerBucket)
{
    // A decoder of its own: a decoder reads one place at a time.
    const std::unique_ptr<AudioDecoder> reader = AudioDecoder::open(path, audioTrack);

    QList<double> batch;
    // Every listener hears the sound from a frame of its own at or before the segment's:
    // the envelope from the segment's first, speech and the sinks with a lead before it.
    // The file is read from the earliest of them.
    const int rate = stream->sampleRate;
    const int64_t rangeFirst = int64_t(std::round(start)) * rate;
    const auto fromFrame = [&](int64_t wanted) { return std::clamp<int64_t>(wanted, rangeFirst, segment.first); };
    int64_t readFrom = segment.first;
    std::optional<SpeechAnalyser> speechAnalyser;
    int64_t speechFrom = segment.first;
    if (detectSpeech) {
        speechFrom = fromFrame(segment.first - int64_t(SpeechLeadSeconds * rate));
        readFrom = speechFrom;
        speechAnalyser.emplace(rate, stream->channels, double(speechFrom) / rate);
    }
    std::vector<int64_t> sinkFroms;
    for (const std::shared_ptr<SoundSink> &sink : sinks) {
        sinkFroms.push_back(fromFrame(sink->leadFrame(segment.first, rate)));
        readFrom = std::min(readFrom, sinkFroms.back());
    }
    QElapsedTimer sinceBatch;
    sinceBatch.start();
    auto sendBatch = [&] {
        std::vector<SpeechStretch> stretches;
        if (speechAnalyser)
            stretches = speechAnalyser->takeFound();
        if (!stretches.empty()) {
            QMetaObject::invokeMethod(
                q, [q, index = segment.index, stretches = std::move(stretches)] { q->appendSpeech(index, stretches); },
                Qt::QueuedConnection);
        }
        if (batch.isEmpty())
            return;
        QMetaObject::invokeMethod(
            q, [q, index = segment.index, points = std::move(batch)] { q->appendSamples(index, points); },
            Qt::QueuedConnection);
        batch = QList<double>();
        sinceBatch.restart();
    };

    // Samples (interleaved) of the read sound that come before a listener's first frame.
    const auto leadOf = [&](int64_t from) { return qsizetype(from - readFrom) * stream->channels; };
    struct Listener
    {
        std::unique_ptr<SoundSink::Part> part;
        qsizetype leadLeft = 0;
    };
    std::vector<Listener> listeners;
    const auto feed = [](qsizetype &leadLeft, const std::vector<int16_t> &chunk, auto &&consume) {
        const qsizetype skipped = std::min(leadLeft, qsizetype(chunk.size()));
        leadLeft -= skipped;
        if (skipped < qsizetype(chunk.size()))
            consume(chunk.data() + skipped, qsizetype(chunk.size()) - skipped);
    };

    AudioDecoder::Status status = AudioDecoder::Status::Failed;
    qsizetype points = 0;
    const qsizetype share =
        segment.last ? 0 : (segment.end - segment.first) * stream->channels / samplesPerBucket;
    if (reader && reader->setRange(start, end)) {
        reader->narrowRange(readFrom, segment.end);
        for (size_t i = 0; i < sinks.size(); ++i) {
            if (auto part = sinks[i]->part(segment.index, segment.last, sinkFroms[i], rate, stream->channels))
                listeners.push_back({std::move(part), leadOf(sinkFroms[i])});
        }
        qsizetype envelopeLead = leadOf(segment.first);
        qsizetype speechLead = leadOf(speechFrom);
        EnvelopeAccumulator envelope(samplesPerBucket, floor, ceiling);
        std::vector<int16_t> chunk;
        while (!stop.stop_requested() && (status = reader->read(chunk)) == AudioDecoder::Status::Data) {
            const qsizetype before = batch.size();
            if (speechAnalyser) {
                feed(speechLead, chunk, [&](const int16_t *samples, qsizetype count) {
                    speechAnalyser->append(samples, std::int64_t(count));
                });
            }
            for (Listener &listener : listeners) {
                feed(listener.leadLeft, chunk,
                     [&](const int16_t *samples, qsizetype count) { listener.part->append(samples, count); });
            }
            feed(envelopeLead, chunk,
                 [&](const int16_t *samples, qsizetype count) { envelope.append(samples, count, batch); });
            points += batch.size() - before;
            if (sinceBatch.elapsed() >= BatchIntervalMs)
                sendBatch();
        }
        // Only the last segment may end inside a point, unless the audio ends early.
        if (!stop.stop_requested() && (segment.last || points < share))
            envelope.finish(batch);
        if (speechAnalyser && !stop.stop_requested())
            speechAnalyser->finish();
        sendBatch();
        if (status == AudioDecoder::Status::Failed && !stop.stop_requested())
            qWarning("%s", qPrintable(reader->errorString()));
    } else {
        for (size_t i = 0; i < sinks.size(); ++i) {
            if (auto part = sinks[i]->part(segment.index, segment.last, sinkFroms[i], rate, stream->channels))
                listeners.push_back({std::move(part)});
        }
    }
    // A segment before the last must fill its share to the point, or the next one's
    // points would land too early.
    const bool complete = status == AudioDecoder::Status::End && !stop.stop_requested() && (segment.last || points == share);
    for (Listener &listener : listeners)
        listener.part->finish(complete);
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

void AudioWaveform::appendSpeech(int segment, const std::vector<SpeechStretch> &stretches)
{
    std::vector<SpeechStretch> &part = d->speechParts[segment];
    part.insert(part.end(), stretches.begin(), stretches.end());
    d->speech = SpeechAnalyser::joinParts(d->speechParts);
    emit speechFound();
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
    // Only a whole, untroubled reading is worth keeping: anything else is read again next
    // time. Written on a worker, which this object waits for when it goes.
    if (isComplete() && d->cachedPointsPerSecond > 0 && d->cache) {
        std::optional<MediaCache::Series> speech;
        if (d->detectSpeech)
            speech = seriesOf(d->speech);
        d->workers.start([cache = d->cache, path = d->path, track = d->audioTrack,
                          pointsPerSecond = d->cachedPointsPerSecond,
                          envelope = MediaCache::Series{d->samples, d->samplesPerSecond, d->estimatedSampleCount},
                          speech = std::move(speech)](const std::stop_token &) {
            // The speech first: an envelope found without its speech is read again.
            if (speech)
                cache->store(path, SpeechSeries, *speech, track);
            cache->store(path, pointsPerSecond, envelope, track);
        });
    }
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

bool AudioWaveform::isComplete() const
{
    return d->brokenSegment == std::numeric_limits<size_t>::max();
}

const SpeechStretches &AudioWaveform::speech() const
{
    return d->speech;
}

double AudioWaveform::duration() const
{
    return d->stream ? d->stream->duration : 0;
}

int AudioWaveform::sampleRate() const
{
    return d->stream ? d->stream->sampleRate : 0;
}

int AudioWaveform::channelCount() const
{
    return d->stream ? d->stream->channels : 0;
}
