#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "model/SpeechStretches.h"

#include <functional>
#include <memory>

// The loudness envelope of one of a video's audio tracks: decibel levels, a fixed number
// of points per second, decoded in the background and appended on the GUI thread. Lives
// on the thread that makes it; the files are read and the cache looked up and filled only
// on its workers, which it stops and joins when it goes. Asked to, the same decoding also
// finds where people speak.
class MediaCache;
class SoundSink;

class AudioWaveform : public QObject
{
    Q_OBJECT

public:
    // Opens the file on the calling thread, which waits for it (the command line, tests).
    // No waveform (nullptr) when the file has no such audio track or cannot be opened.
    // Tracks are counted from 1, as AudioTrack numbers them.
    static std::shared_ptr<AudioWaveform> create(const QString &path, int audioTrack = 1);
    // Opens the file on a worker, for the GUI thread: opened() follows from the event
    // loop, and hasAudio() then tells whether there is anything to read.
    static std::shared_ptr<AudioWaveform> open(const QString &path, int audioTrack = 1);
    ~AudioWaveform() override;

    bool hasAudio() const;
    QString path() const;
    int audioTrack() const;

    // Starts decoding [start, end) seconds at samplesPerSecond points per second on a
    // worker thread. A waveform reads once: later calls do nothing.
    void load(double start, double end, int samplesPerSecond);
    // The whole audio stream, to its end even when the file does not tell its duration.
    // Taken from the cache when it holds this file's envelope: then every point comes in
    // one batch. Kept in the cache once read in full.
    void loadWhole(int samplesPerSecond);
    bool hasStarted() const;

    // The user's cache unless set otherwise; nullptr keeps nothing.
    void setCache(std::shared_ptr<MediaCache> cache);
    // Also finds speech while reading (call before load() or loadWhole()): speechFound()
    // follows as stretches are found, and a whole load keeps them in the cache beside the
    // envelope, so that a file read before has its speech at once.
    void setSpeechDetection(bool detect);
    bool detectsSpeech() const;
    // Also feeds the decoded sound to the sink (call before load() or loadWhole()), part by
    // part as the reading is split; a whole load taken from the cache still reads when a
    // sink has nothing kept.
    void addSink(std::shared_ptr<SoundSink> sink);

    // Threads that decode parts of the range at once when the file can seek; by default
    // up to two, as many as there are cores.
    void setThreadCount(int threads);
    // Where the user looks when the reading starts (the playback cursor): when parts are
    // read at once, one begins there, so the points around it are drawn first.
    void setFocusTime(double seconds);

    // Called on the GUI thread after each batch of new points, in samples() or ahead.
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
    // False when a part of the reading ended early (the file is damaged or could not be
    // decoded); true while reading and after a complete one.
    bool isComplete() const;

    // The speech found so far, in the stream's seconds; complete once finished().
    const SpeechStretches &speech() const;

    // Points decoded ahead of samples() by a part of the reading that waits for the parts
    // before it to complete; each begins at its own time. Empty once the reading is done.
    struct PartAhead
    {
        double firstSampleTime = 0;
        QList<double> samples;
    };
    QList<PartAhead> partsAhead() const;

    // Of the audio stream, as the file tells: seconds (0 when unknown), Hz, channels.
    double duration() const;
    int sampleRate() const;
    int channelCount() const;

signals:
    // Once, after open(), when the audio stream is known or known to be absent.
    void opened();
    // A decoding of the sound begins (not when the cache has everything).
    void readingStarted();
    void samplesAppended();
    // New stretches in speech(), as parts of the sound are analysed.
    void speechFound();
    // Once per load, after the last batch (also when the reading failed or found nothing).
    void finished();

private:
    class Private;
    AudioWaveform(const QString &path, int audioTrack);
    void appendSamples(int segment, const QList<double> &points);
    void appendSpeech(int segment, const std::vector<SpeechStretch> &stretches);
    void publish(const QList<double> &points);
    void finishSegment(int segment, bool complete);
    void finishReading();
    std::unique_ptr<Private> d;
};
