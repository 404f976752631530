#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The loudness envelope of a video's first audio track: decibel levels, a fixed number
// of points per second, decoded in the background and appended on the GUI thread.
class AudioWaveform : public QObject
{
    Q_OBJECT

public:
    // No waveform (nullptr) when the file has no audio stream or cannot be opened.
    static std::shared_ptr<AudioWaveform> create(const QString &path);
    ~AudioWaveform() override;

    // Starts decoding [start, end) seconds at samplesPerSecond points per second on a
    // worker thread. A waveform reads once: later calls do nothing.
    void load(double start, double end, int samplesPerSecond);
    // The whole audio stream, to its end even when the file does not tell its duration.
    void loadWhole(int samplesPerSecond);
    bool hasStarted() const;

    // Called on the GUI thread after each batch of new points.
    void setProgressCallback(std::function<void()> callback);

    const QList<double> &samples() const;
    double maxSample() const;
    double decibelFloor() const;   // lower bound of the decibel range, the drawing baseline
    double decibelCeiling() const; // upper bound
    // 0 when the length of the audio is unknown.
    int estimatedSampleCount() const;
    // Point i of samples() begins at firstSampleTime() + i / samplesPerSecond(). The
    // rate is the one the audio's own sample rate allows, close to the one asked for.
    double firstSampleTime() const;
    double samplesPerSecond() const;
    bool isReading() const;

    // Of the audio stream, as the file tells: seconds (0 when unknown), Hz, channels.
    double duration() const;
    int sampleRate() const;
    int channelCount() const;

signals:
    void samplesAppended();
    // Once per load, after the last batch (also when the reading failed or found nothing).
    void finished();

private:
    class Private;
    explicit AudioWaveform(std::unique_ptr<Private> d);
    void appendSamples(const QList<double> &points, double batchMax);
    void finishReading();
    std::unique_ptr<Private> d;
};
