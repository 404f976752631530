#pragma once

#include "media/AudioTrack.h"
#include "media/VideoShotChanges.h"
#include "model/SpeechStretches.h"
#include "model/timing/WordTimings.h"
#include "media/WorkerThreads.h"
#include "system/RegularFileCheck.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class AudioSonogram;
class AudioWaveform;
class MediaCache;
class ProblemIndex;
class ShotChangeDetector;
class UndoManager;

// What is worked out from the video attached to a document, and the work that finds it:
// one per attached video at a time. It owns the choice of the video's audio track, one for
// the whole document: it opens that track and decodes it once, in the background, for the
// waveform, the speech in it and the sonogram when shown (the player is told the same
// track by whoever plays it); it scans the pictures for
// shot changes; it keeps all of them in the user's cache. Panes and tools watch its signals
// and never each other. Lives on the GUI thread (or the command line's); stop() and the
// destructor stop and join every worker.
class MediaSession : public QObject
{
    Q_OBJECT

public:
    // The waveform's points per second: every reading of the envelope uses it, so that one
    // entry of the cache serves the window and the command line.
    static constexpr int WaveformPointsPerSecond = 48;
    // What tells the word timings' entry apart in its cache folder; a new layout, a new number.
    static constexpr int WordTimingsCacheNumber = 1;

    struct Caches
    {
        std::shared_ptr<MediaCache> waveforms; // the envelope and its speech
        std::shared_ptr<MediaCache> sonograms;
        std::shared_ptr<MediaCache> shotChanges;
        std::shared_ptr<MediaCache> words; // when the words of aligned lines are spoken
        // The user's cache folders.
        static Caches user();
    };

    explicit MediaSession(QObject *parent = nullptr);
    ~MediaSession() override;

    // Before start(); nullptr caches keep nothing.
    void setCaches(Caches caches) { m_caches = std::move(caches); }
    // The user's shot change edits go into this undo history, and every change of the shot
    // changes into the quality checks, before anyone else hears of it. Either may be nullptr.
    void serve(UndoManager *undoManager, ProblemIndex *problems);
    // What is worked out; all of it unless told otherwise (the command line wants less).
    // Before start().
    struct Analyses
    {
        bool sound = true;     // the waveform and the speech in it
        bool sonogram = false; // shown from the start: from the same decoding
        bool shotChanges = true;
    };
    void setAnalyses(Analyses analyses) { m_analyses = analyses; }
    // The sonogram is worked out only while it is shown. Shown before the sound is opened, it
    // rides on the waveform's decoding; shown later, it is taken from the cache or read on its
    // own; hidden, it is dropped and its computing stopped.
    void setSonogramShown(bool shown);
    bool isSonogramShown() const { return m_analyses.sonogram; }

    // Attaches a video (an absolute path) and starts working it out from its audio track
    // `audioTrack` (counted from 1, as AudioTrack numbers them): the file is first looked
    // at off this thread, as it may be a FIFO or on a stalled mount. Another video, or an
    // empty path, stops the work for the one before and drops what was found in it.
    void start(const QString &path, double focusTime = 0, int audioTrack = 1);
    void stop();
    QString path() const { return m_path; }
    // Where the user looks (the playback cursor): the shot changes near it are found first.
    void setFocusTime(double seconds);

    // The attached video's audio tracks, once looked for (audioTracksChanged); empty before
    // and for a video without sound.
    const QList<AudioTrack> &audioTracks() const { return m_audioTracks; }
    bool areAudioTracksKnown() const { return m_audioTracksKnown; }
    // The track the sound is read from: the one chosen, or the first when the video turns
    // out not to have the one chosen (audioTrackUnavailable says so).
    int audioTrack() const { return m_audioTrack; }
    // Reads the sound of another track of the same video, as a new video's would be read
    // (the cache first); the shot changes and the frame rate stay. A track the video lacks
    // is refused with audioTrackUnavailable.
    void setAudioTrack(int track);

    // nullptr until the sound is open, and for a video without sound.
    std::shared_ptr<AudioWaveform> waveform() const { return m_waveform; }
    std::shared_ptr<AudioSonogram> sonogram() const { return m_sonogram; }
    // Seconds of sound, as the file tells (0 when unknown).
    double duration() const { return m_duration; }
    // Frames a second of the video's pictures, as its stream tells (0 while unknown, and for
    // a file without pictures or a rate).
    double frameRate() const { return m_frameRate; }
    bool isFrameRateKnown() const { return m_frameRateProbed; }

    const ShotChanges &shotChanges() const { return m_shotChanges.shotChanges(); }
    const VideoShotChanges::Edits &shotChangeEdits() const { return m_shotChanges.edits(); }
    // The user's own, each one undo step; false when there is nothing to do.
    bool addShotChange(double time) { return m_shotChanges.add(time); }
    bool removeShotChange(double time) { return m_shotChanges.remove(time); }
    // Found elsewhere (a scan of the caller's own); not undoable.
    void addFoundShotChanges(const std::vector<double> &times) { m_shotChanges.addFound(times); }
    // The share of the pictures scanned, while a scan runs.
    std::optional<double> shotScanProgress() const { return m_shotProgress; }

    // Where someone speaks in the sound, as found so far; complete once soundFinished().
    const SpeechStretches &speech() const { return m_speech; }
    // Speech found elsewhere (another detector); the sound's own replaces it as it comes.
    void setSpeech(SpeechStretches speech);
    // When the words of aligned lines are spoken in the chosen track, as found by aligning
    // them in this session or an earlier one (the cache keeps them with the video).
    const WordTimings &wordTimings() const { return m_words; }
    using AlignedLine = std::pair<QString, QList<SpokenWord>>;
    void addWordTimings(const QList<AlignedLine> &lines);
    bool isSoundFinished() const { return m_soundFinished; }
    bool isShotScanFinished() const { return m_shotScanFinished; }
    // How many times the sound was decoded (a cache that holds everything decodes nothing).
    int soundDecodings() const { return m_soundDecodings; }
    // Runs the caller's event loop until what the analyses ask for is found, for the
    // command line, which has nothing else to do meanwhile.
    void waitUntilFinished();

signals:
    // Another video was attached (its path), or none (empty).
    void videoChanged(const QString &path);
    void waveformChanged(const std::shared_ptr<AudioWaveform> &waveform);
    void sonogramChanged(const std::shared_ptr<AudioSonogram> &sonogram);
    void durationChanged(double seconds);
    void frameRateChanged(double frameRate);
    // The rate was looked for (found or not), once per video.
    void frameRateProbed();
    void shotChangesChanged();
    void speechChanged();
    void wordTimingsChanged();
    void shotScanProgressChanged(std::optional<double> progress);
    void audioTracksChanged();
    void audioTrackChanged(int track);
    // The video has no sound, or not the track asked for; the message is for the user.
    void audioTrackUnavailable(const QString &message);
    // The video cannot be scanned; the message is for the user.
    void shotScanFailed(const QString &message);
    // The sound was read to its end, or could not be (also without sound); the shot scan
    // ended, complete or not. Each once per video.
    void soundFinished();
    void shotScanFinished(bool complete);

private:
    // Stops the work and drops what was found, saying so, but not that the video went.
    void halt();
    // Stops the sound's work and drops what was found in it.
    void stopSound();
    void openSound(const QString &path);
    void readWordTimings();
    void soundOpened();
    void startShotScan(const QString &path, double focusTime);
    void finishSound();
    void makeSonogram();
    void readSonogram();
    void dropSonogram();
    void setShotProgress(std::optional<double> progress);
    void setDuration(double seconds);
    // The frame rate and the audio tracks, from the file's header on a worker; the sound is
    // opened once the track to read is known.
    void probe(const QString &path);
    void probed(double frameRate, const std::optional<QList<AudioTrack>> &tracks);
    void setAudioTrackNumber(int track);
    void setFrameRate(double frameRate, bool probed);
    bool isFinished() const;

    Caches m_caches = Caches::user();
    Analyses m_analyses;
    QPointer<ProblemIndex> m_problems;
    RegularFileCheck m_fileCheck{this};
    QString m_path;
    double m_focusTime = 0;
    // The sonogram outlives the waveform, whose decoding feeds it.
    std::shared_ptr<AudioSonogram> m_sonogram;
    std::shared_ptr<AudioWaveform> m_waveform;
    std::shared_ptr<AudioWaveform> m_openingWaveform; // until it tells what sound there is
    // A decoding for the sonogram alone, when it is shown after the waveform's began.
    std::shared_ptr<AudioWaveform> m_sonogramReading;
    std::unique_ptr<ShotChangeDetector> m_detector;
    VideoShotChanges m_shotChanges;
    bool m_shotScanComplete = false;
    bool m_shotScanFinished = false;
    std::optional<double> m_shotProgress;
    SpeechStretches m_speech;
    WordTimings m_words;
    double m_duration = 0;
    double m_frameRate = 0;
    bool m_frameRateProbed = false;
    QList<AudioTrack> m_audioTracks;
    bool m_audioTracksKnown = false;
    int m_audioTrack = 1;
    // Which video a probe's answer is for: another start makes older answers stale.
    int m_probeRequest = 0;
    bool m_soundFinished = false;
    int m_soundDecodings = 0;
    // Last: its probes go before what they answer to.
    WorkerThreads m_probes{QStringLiteral("Frame rate probe")};
};
