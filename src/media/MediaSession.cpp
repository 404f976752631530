#include "media/MediaSession.h"

#include "media/AudioSonogram.h"
#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"
#include "model/quality/ProblemIndex.h"
#include "shots/ShotChangeDetector.h"
#include "shots/VideoFrameReader.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>

#include <QList>

#include <algorithm>
#include <cmath>
#include <utility>

MediaSession::Caches MediaSession::Caches::user()
{
    return {MediaCache::userCache(QStringLiteral("waveforms")), MediaCache::userCache(QStringLiteral("sonograms")),
            MediaCache::userCache(QStringLiteral("shotchanges")), MediaCache::userCache(QStringLiteral("words"))};
}

MediaSession::MediaSession(QObject *parent)
    : QObject(parent)
{
    connect(&m_shotChanges, &VideoShotChanges::changed, this, [this] {
        if (m_problems)
            m_problems->setShotChanges(m_shotChanges.shotChanges());
        // The user's additions and removals are kept with the finished list.
        if (m_detector && m_shotScanComplete)
            m_detector->storeInCache(m_shotChanges.shotChanges());
        emit shotChangesChanged();
    });
}

MediaSession::~MediaSession()
{
    // The workers go first, while what they post to is still whole; the waveform's
    // decoding before the sonogram it feeds.
    m_fileCheck.cancel();
    m_detector.reset();
    m_openingWaveform.reset();
    m_sonogramReading.reset();
    m_waveform.reset();
    m_sonogram.reset();
}

void MediaSession::serve(UndoManager *undoManager, ProblemIndex *problems)
{
    m_shotChanges.setUndoManager(undoManager);
    m_problems = problems;
    if (m_problems)
        m_problems->setShotChanges(m_shotChanges.shotChanges());
}

void MediaSession::start(const QString &path, double focusTime, int audioTrack)
{
    halt();
    m_path = path;
    m_focusTime = focusTime;
    setAudioTrackNumber(std::max(audioTrack, 1));
    emit videoChanged(path);
    if (path.isEmpty())
        return;
    m_fileCheck.check(path, [this, path](bool isFile) {
        if (isFile) {
            probe(path);
        } else {
            setFrameRate(0, true);
            if (m_analyses.sound)
                finishSound();
        }
        if (m_analyses.shotChanges) {
            if (isFile) {
                startShotScan(path, m_focusTime);
            } else {
                m_shotScanFinished = true;
                emit shotScanFinished(false);
            }
        }
    });
}

void MediaSession::stop()
{
    const bool attached = !m_path.isEmpty();
    halt();
    if (attached)
        emit videoChanged(QString());
}

void MediaSession::halt()
{
    m_fileCheck.cancel();
    m_detector.reset(); // stops and joins the old video's scan
    m_shotScanComplete = false;
    m_shotScanFinished = false;
    m_shotChanges.clear();
    setShotProgress(std::nullopt);
    stopSound();
    setDuration(0);
    ++m_probeRequest;
    setFrameRate(0, false);
    const bool hadTracks = m_audioTracksKnown;
    m_audioTracks.clear();
    m_audioTracksKnown = false;
    if (hadTracks)
        emit audioTracksChanged();
    m_path.clear();
}

void MediaSession::stopSound()
{
    m_openingWaveform.reset();
    const bool hadSound = m_waveform || m_sonogram;
    m_sonogramReading.reset();
    m_waveform.reset(); // stops and joins the decoding, which feeds the sonogram
    m_sonogram.reset();
    if (hadSound) {
        emit waveformChanged(nullptr);
        emit sonogramChanged(nullptr);
    }
    m_soundFinished = false;
    setSpeech({});
    if (!m_words.isEmpty()) {
        m_words.clear();
        emit wordTimingsChanged();
    }
}

void MediaSession::setAudioTrack(int track)
{
    if (track == m_audioTrack || m_path.isEmpty())
        return;
    // Before the tracks are known nothing is read yet: the probe's answer checks the choice.
    if (!m_audioTracksKnown) {
        setAudioTrackNumber(std::max(track, 1));
        return;
    }
    if (const QString missing = AudioTrack::missing(m_path, track, m_audioTracks); !missing.isEmpty()) {
        emit audioTrackUnavailable(missing);
        return;
    }
    setAudioTrackNumber(track);
    if (!m_analyses.sound)
        return;
    stopSound();
    openSound(m_path);
}

void MediaSession::setAudioTrackNumber(int track)
{
    if (std::exchange(m_audioTrack, track) != track)
        emit audioTrackChanged(track);
}

void MediaSession::setFocusTime(double seconds)
{
    m_focusTime = seconds;
    if (m_detector)
        m_detector->setFocusTime(seconds);
}

void MediaSession::openSound(const QString &path)
{
    readWordTimings();
    m_openingWaveform = AudioWaveform::open(path, m_audioTrack);
    connect(m_openingWaveform.get(), &AudioWaveform::opened, this, &MediaSession::soundOpened);
}

// A few kilobytes per film, read where the track is known.
void MediaSession::readWordTimings()
{
    if (!m_caches.words)
        return;
    const std::optional<QByteArray> bytes = m_caches.words->findBytes(m_path, WordTimingsCacheNumber, m_audioTrack);
    if (!bytes)
        return;
    if (std::optional<WordTimings> words = WordTimings::fromBytes(*bytes)) {
        m_words = std::move(*words);
        emit wordTimingsChanged();
    }
}

void MediaSession::addWordTimings(const QList<AlignedLine> &lines)
{
    if (lines.isEmpty())
        return;
    for (const auto &[text, words] : lines)
        m_words.add(text, words);
    if (m_caches.words && !m_path.isEmpty())
        m_caches.words->storeBytes(m_path, WordTimingsCacheNumber, m_words.toBytes(), m_audioTrack);
    emit wordTimingsChanged();
}

void MediaSession::soundOpened()
{
    std::shared_ptr<AudioWaveform> waveform = std::exchange(m_openingWaveform, nullptr);
    // Not destroyed inside its own signal: let go of from the event loop.
    QMetaObject::invokeMethod(this, [waveform] {}, Qt::QueuedConnection);
    if (!waveform->hasAudio()) {
        finishSound();
        return;
    }
    m_waveform = waveform;
    setDuration(waveform->duration());
    waveform->setCache(m_caches.waveforms);
    waveform->setSpeechDetection(true);
    if (m_analyses.sonogram) {
        makeSonogram();
        waveform->addSink(m_sonogram->sink());
    }
    waveform->setFocusTime(m_focusTime);
    connect(waveform.get(), &AudioWaveform::readingStarted, this, [this] { ++m_soundDecodings; });
    connect(waveform.get(), &AudioWaveform::speechFound, this, [this] {
        if (m_waveform)
            setSpeech(m_waveform->speech());
    });
    connect(waveform.get(), &AudioWaveform::finished, this, &MediaSession::finishSound);
    emit waveformChanged(m_waveform);
    if (m_sonogram)
        emit sonogramChanged(m_sonogram);
    waveform->loadWhole(WaveformPointsPerSecond);
}

void MediaSession::setSonogramShown(bool shown)
{
    if (shown == m_analyses.sonogram)
        return;
    m_analyses.sonogram = shown;
    // Before the sound is open, soundOpened() decides.
    if (!m_waveform)
        return;
    if (shown) {
        readSonogram();
        emit sonogramChanged(m_sonogram);
    } else {
        dropSonogram();
    }
}

void MediaSession::makeSonogram()
{
    m_sonogram = std::make_shared<AudioSonogram>(m_path, m_duration, m_audioTrack);
    m_sonogram->setCache(m_caches.sonograms);
}

// A reading of its own, as the waveform's began without it: with the envelope's cache, so
// that a film seen before decodes nothing.
void MediaSession::readSonogram()
{
    makeSonogram();
    m_sonogramReading = AudioWaveform::open(m_path, m_audioTrack);
    AudioWaveform *reading = m_sonogramReading.get();
    // Taken at once: the sonogram is being read from now on.
    connect(reading, &AudioWaveform::opened, this, [this, reading, sink = m_sonogram->sink()] {
        if (!reading->hasAudio())
            return;
        reading->setCache(m_caches.waveforms);
        reading->setFocusTime(m_focusTime);
        reading->addSink(sink);
        connect(reading, &AudioWaveform::readingStarted, this, [this] { ++m_soundDecodings; });
        connect(reading, &AudioWaveform::finished, this, [this] {
            // Not destroyed inside its own signal: let go of from the event loop.
            QMetaObject::invokeMethod(this, [reading = std::exchange(m_sonogramReading, nullptr)] {},
                                      Qt::QueuedConnection);
        });
        reading->loadWhole(WaveformPointsPerSecond);
    });
}

void MediaSession::dropSonogram()
{
    m_sonogramReading.reset(); // stops and joins its decoding
    if (!m_sonogram)
        return;
    m_sonogram.reset(); // the waveform's decoding, if it feeds it, stops computing it
    emit sonogramChanged(nullptr);
}

void MediaSession::finishSound()
{
    if (std::exchange(m_soundFinished, true))
        return;
    emit soundFinished();
}

void MediaSession::startShotScan(const QString &path, double focusTime)
{
    m_detector = std::make_unique<ShotChangeDetector>(m_caches.shotChanges);
    ShotChangeDetector *detector = m_detector.get();
    connect(detector, &ShotChangeDetector::found, this, [this](const QList<double> &times) {
        m_shotChanges.addFound(std::vector<double>(times.cbegin(), times.cend()));
    });
    connect(detector, &ShotChangeDetector::failed, this, &MediaSession::shotScanFailed);
    connect(detector, &ShotChangeDetector::progress, this, [this](double fraction) { setShotProgress(fraction); });
    connect(detector, &ShotChangeDetector::finished, this, [this](bool complete) {
        setShotProgress(std::nullopt);
        m_shotScanComplete = complete;
        m_shotScanFinished = true;
        // What the user changed while the scan ran is kept with its list.
        if (complete && m_detector && !m_shotChanges.edits().isEmpty())
            m_detector->storeInCache(m_shotChanges.shotChanges());
        emit shotScanFinished(complete);
    });
    setShotProgress(0);
    detector->start(path, focusTime);
}

void MediaSession::setShotProgress(std::optional<double> progress)
{
    if (progress == m_shotProgress)
        return;
    m_shotProgress = progress;
    emit shotScanProgressChanged(progress);
}

void MediaSession::setSpeech(SpeechStretches speech)
{
    if (speech == m_speech)
        return;
    m_speech = std::move(speech);
    emit speechChanged();
}

void MediaSession::setDuration(double seconds)
{
    if (seconds == m_duration)
        return;
    m_duration = seconds;
    emit durationChanged(seconds);
}

void MediaSession::probe(const QString &path)
{
    // Opening the streams reads the file's header, which may take a while on a slow disk.
    m_probes.start([session = QPointer(this), path, request = m_probeRequest](const std::stop_token &) {
        const auto reader = VideoFrameReader::open(path);
        const double rate = reader ? reader.value()->frameRate() : 0;
        std::optional<QList<AudioTrack>> tracks = AudioTrack::probe(path);
        QMetaObject::invokeMethod(session, [session, rate, request, tracks = std::move(tracks)] {
            if (session && session->m_probeRequest == request)
                session->probed(rate, tracks);
        }, Qt::QueuedConnection);
    });
}

void MediaSession::probed(double frameRate, const std::optional<QList<AudioTrack>> &tracks)
{
    setFrameRate(frameRate, true);
    m_audioTracks = tracks.value_or(QList<AudioTrack>());
    m_audioTracksKnown = true;
    emit audioTracksChanged();
    // A file that cannot be read at all is the player's to explain.
    if (tracks && tracks->isEmpty()) {
        emit audioTrackUnavailable(tr("%1 has no sound: there is no waveform, speech or spectrogram to show.")
                                       .arg(QFileInfo(m_path).fileName()));
    } else if (tracks && m_audioTrack > tracks->size()) {
        // Restored for a film that has changed since: what there is, and a word.
        emit audioTrackUnavailable(AudioTrack::missing(m_path, m_audioTrack, *tracks) + u' '
                                   + tr("The first track is used instead."));
        setAudioTrackNumber(1);
    }
    if (!m_analyses.sound)
        return;
    if (m_audioTracks.isEmpty())
        finishSound();
    else
        openSound(m_path);
}

void MediaSession::setFrameRate(double frameRate, bool probed)
{
    if (!std::isfinite(frameRate) || frameRate < 0)
        frameRate = 0;
    const bool changed = frameRate != m_frameRate;
    m_frameRate = frameRate;
    const bool nowProbed = probed && !m_frameRateProbed;
    m_frameRateProbed = probed;
    if (changed)
        emit frameRateChanged(frameRate);
    if (nowProbed)
        emit frameRateProbed();
}

bool MediaSession::isFinished() const
{
    if (m_path.isEmpty())
        return true;
    return m_frameRateProbed && (!m_analyses.sound || m_soundFinished) && (!m_analyses.shotChanges || m_shotScanFinished);
}

void MediaSession::waitUntilFinished()
{
    QEventLoop loop;
    const auto check = [this, &loop] {
        if (isFinished())
            loop.quit();
    };
    connect(this, &MediaSession::frameRateProbed, &loop, check);
    connect(this, &MediaSession::soundFinished, &loop, check);
    connect(this, &MediaSession::shotScanFinished, &loop, check);
    if (!isFinished())
        loop.exec();
}
