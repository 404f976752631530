#include "media/MediaSession.h"

#include "media/AudioSonogram.h"
#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"
#include "model/quality/ProblemIndex.h"
#include "shots/ShotChangeDetector.h"
#include "shots/VideoFrameReader.h"

#include <QEventLoop>
#include <QPointer>

#include <QList>

#include <cmath>
#include <utility>

MediaSession::Caches MediaSession::Caches::user()
{
    return {MediaCache::userCache(QStringLiteral("waveforms")), MediaCache::userCache(QStringLiteral("sonograms")),
            MediaCache::userCache(QStringLiteral("shotchanges"))};
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

void MediaSession::start(const QString &path, double focusTime)
{
    halt();
    m_path = path;
    m_focusTime = focusTime;
    emit videoChanged(path);
    if (path.isEmpty())
        return;
    m_fileCheck.check(path, [this, path](bool isFile) {
        if (isFile)
            probeFrameRate(path);
        else
            setFrameRate(0, true);
        if (m_analyses.shotChanges) {
            if (isFile) {
                startShotScan(path, m_focusTime);
            } else {
                m_shotScanFinished = true;
                emit shotScanFinished(false);
            }
        }
        if (m_analyses.sound) {
            if (isFile)
                openSound(path);
            else
                finishSound();
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
    setDuration(0);
    ++m_probeRequest;
    setFrameRate(0, false);
    m_path.clear();
}

void MediaSession::setFocusTime(double seconds)
{
    m_focusTime = seconds;
    if (m_detector)
        m_detector->setFocusTime(seconds);
}

void MediaSession::openSound(const QString &path)
{
    m_openingWaveform = AudioWaveform::open(path);
    connect(m_openingWaveform.get(), &AudioWaveform::opened, this, &MediaSession::soundOpened);
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
    m_sonogram = std::make_shared<AudioSonogram>(m_path, m_duration);
    m_sonogram->setCache(m_caches.sonograms);
}

// A reading of its own, as the waveform's began without it: with the envelope's cache, so
// that a film seen before decodes nothing.
void MediaSession::readSonogram()
{
    makeSonogram();
    m_sonogramReading = AudioWaveform::open(m_path);
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

void MediaSession::probeFrameRate(const QString &path)
{
    // Opening the streams reads the file's header, which may take a while on a slow disk.
    m_probes.start([session = QPointer(this), path, request = m_probeRequest](const std::stop_token &) {
        const auto reader = VideoFrameReader::open(path);
        const double rate = reader ? reader.value()->frameRate() : 0;
        QMetaObject::invokeMethod(session, [session, rate, request] {
            if (session && session->m_probeRequest == request)
                session->setFrameRate(rate, true);
        }, Qt::QueuedConnection);
    });
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
