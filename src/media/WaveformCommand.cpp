#include "media/WaveformCommand.h"

#include "media/AudioTrack.h"
#include "media/AudioWaveform.h"
#include "media/MediaSession.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>

#include <numeric>

int WaveformCommand::run(const QString &path, int audioTrack, QTextStream &out, QTextStream &err)
{
    // Refused, where the window would fall back to the first track: a script asked for this one.
    if (const QString missing = AudioTrack::missingIn(path, audioTrack); !missing.isEmpty()) {
        err << missing << Qt::endl;
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    MediaSession session;
    session.setAnalyses({.sound = true, .sonogram = false, .shotChanges = false});
    qint64 lastPointNs = 0;
    QEventLoop loop;
    QObject::connect(&session, &MediaSession::waveformChanged, &loop, [&](const std::shared_ptr<AudioWaveform> &waveform) {
        if (waveform)
            QObject::connect(waveform.get(), &AudioWaveform::samplesAppended, &loop, [&] { lastPointNs = clock.nsecsElapsed(); });
    });
    QObject::connect(&session, &MediaSession::soundFinished, &loop, &QEventLoop::quit);
    session.start(QFileInfo(path).absoluteFilePath(), 0, audioTrack);
    if (!session.isSoundFinished())
        loop.exec();

    const std::shared_ptr<AudioWaveform> waveform = session.waveform();
    if (!waveform) {
        err << tr("%1: no decodable audio stream").arg(path) << Qt::endl;
        return 1;
    }
    if (waveform->duration() <= 0) {
        err << tr("%1: the duration of the audio is unknown").arg(path) << Qt::endl;
        return 1;
    }
    const QList<double> &points = waveform->samples();
    if (points.isEmpty()) {
        err << tr("%1: the audio could not be decoded").arg(path) << Qt::endl;
        return 1;
    }
    const double sum = std::accumulate(points.cbegin(), points.cend(), 0.0);
    out << QStringLiteral("points=%1 max=%2 sum=%3 seconds=%4")
               .arg(points.size())
               .arg(waveform->maxSample(), 0, 'f', 3)
               .arg(sum, 0, 'f', 3)
               .arg(double(lastPointNs) / 1e9, 0, 'f', 3)
           << Qt::endl;
    return 0;
}
