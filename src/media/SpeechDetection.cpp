#include "media/SpeechDetection.h"

#include "media/AudioTrack.h"
#include "media/AudioWaveform.h"
#include "media/MediaSession.h"

#include <QEventLoop>
#include <QFileInfo>

Expected<SpeechStretches, QString> SpeechDetection::detect(const QString &videoPath, int audioTrack)
{
    if (!QFileInfo(videoPath).isFile())
        return tr("%1: not a file").arg(videoPath);
    // Refused, where the window would fall back to the first track: a script asked for this one.
    if (const QString missing = AudioTrack::missingIn(videoPath, audioTrack); !missing.isEmpty())
        return missing;
    // The window's own session, without a window: the same reading and the same cache entry.
    MediaSession session;
    session.setAnalyses({.sound = true, .sonogram = false, .shotChanges = false});
    QEventLoop loop;
    QObject::connect(&session, &MediaSession::soundFinished, &loop, &QEventLoop::quit);
    session.start(QFileInfo(videoPath).absoluteFilePath(), 0, audioTrack);
    if (!session.isSoundFinished())
        loop.exec();
    const std::shared_ptr<AudioWaveform> waveform = session.waveform();
    if (!waveform)
        return tr("%1: no audio that can be decoded").arg(videoPath);
    // Speech is placed by the decoder's own times, so a part that ended early (an
    // envelope left incomplete) still tells where people speak in what was read.
    if (waveform->samples().isEmpty())
        return tr("%1: the audio could not be decoded").arg(videoPath);
    return session.speech();
}
