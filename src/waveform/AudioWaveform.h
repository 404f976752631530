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
    // worker thread. Does nothing while a reading is already under way.
    void load(double start, double end, int samplesPerSecond);

    // Called on the GUI thread after each batch of new points.
    void setProgressCallback(std::function<void()> callback);

    const QList<double> &samples() const;
    double maxSample() const;
    double decibelFloor() const;   // lower bound of the decibel range, the drawing baseline
    double decibelCeiling() const; // upper bound
    int estimatedSampleCount() const;
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
