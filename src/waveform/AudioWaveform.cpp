#include "waveform/AudioWaveform.h"

#include "waveform/AudioDecoder.h"
#include "waveform/EnvelopeAccumulator.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace {

// Batches go to the GUI thread at most this often: enough for a smooth fill without
// one queued call and one repaint per decoded packet.
constexpr qint64 BatchIntervalMs = 40;
// Read to here when the file does not tell how long its audio is: the decoder stops at
// the end of the stream long before.
constexpr double UnknownEnd = 1e9;

} // namespace

class AudioWaveform::Private
{
public:
    std::unique_ptr<AudioDecoder> decoder;
    std::unique_ptr<QThread> worker;
    std::atomic<bool> cancelled = false;

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

    void readSamples(AudioWaveform *q, double start, double end, int samplesPerBucket);
};

AudioWaveform::AudioWaveform(std::unique_ptr<Private> d)
    : d(std::move(d))
{
}

AudioWaveform::~AudioWaveform()
{
    // Stop the worker before anything it uses goes away; batches it already posted
    // are dropped with this object.
    if (d->worker) {
        d->cancelled = true;
        d->worker->wait();
    }
}

std::shared_ptr<AudioWaveform> AudioWaveform::create(const QString &path)
{
    auto d = std::make_unique<Private>();
    d->decoder = AudioDecoder::open(path);
    if (!d->decoder)
        return nullptr;
    return std::shared_ptr<AudioWaveform>(new AudioWaveform(std::move(d)));
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
    d->worker.reset(QThread::create([this, start, end, samplesPerBucket] {
        d->readSamples(this, start, end, samplesPerBucket);
    }));
    d->worker->setObjectName(QStringLiteral("AudioWaveform"));
    d->worker->start();
}

void AudioWaveform::loadWhole(int samplesPerSecond)
{
    const double length = duration();
    load(0, length > 0 ? length : UnknownEnd, samplesPerSecond);
}

bool AudioWaveform::hasStarted() const
{
    return d->started;
}

// Worker thread: touches only the decoder and its own buffers; every result goes to the
// GUI thread as a queued call, in the order produced.
void AudioWaveform::Private::readSamples(AudioWaveform *q, double start, double end, int samplesPerBucket)
{
    QList<double> batch;
    QElapsedTimer sinceBatch;
    sinceBatch.start();
    auto sendBatch = [&] {
        if (batch.isEmpty())
            return;
        const double batchMax = *std::max_element(batch.cbegin(), batch.cend());
        QMetaObject::invokeMethod(
            q, [q, points = std::move(batch), batchMax] { q->appendSamples(points, batchMax); },
            Qt::QueuedConnection);
        batch = QList<double>();
        sinceBatch.restart();
    };

    AudioDecoder::Status status = AudioDecoder::Status::End;
    if (decoder->setRange(start, end)) {
        EnvelopeAccumulator envelope(samplesPerBucket, floor, ceiling);
        std::vector<int16_t> chunk;
        while (!cancelled && (status = decoder->read(chunk)) == AudioDecoder::Status::Data) {
            envelope.append(chunk.data(), qsizetype(chunk.size()), batch);
            if (sinceBatch.elapsed() >= BatchIntervalMs)
                sendBatch();
        }
        if (!cancelled)
            envelope.finish(batch);
        sendBatch();
    }
    if (status == AudioDecoder::Status::Failed && !cancelled)
        qWarning("%s", qPrintable(decoder->errorString()));
    QMetaObject::invokeMethod(q, [q] { q->finishReading(); }, Qt::QueuedConnection);
}

void AudioWaveform::appendSamples(const QList<double> &points, double batchMax)
{
    d->samples.append(points);
    d->maxSample = std::max(d->maxSample, batchMax);
    if (d->progressCallback)
        d->progressCallback();
    emit samplesAppended();
}

void AudioWaveform::finishReading()
{
    d->reading = false;
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
