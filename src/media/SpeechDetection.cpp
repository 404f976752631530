#include "media/SpeechDetection.h"

#include "media/AudioWaveform.h"
#include "media/WaveformCommand.h"

#include <QEventLoop>
#include <QFileInfo>

Expected<SpeechStretches, QString> SpeechDetection::detect(const QString &videoPath)
{
    if (!QFileInfo(videoPath).isFile())
        return tr("%1: not a file").arg(videoPath);
    const std::shared_ptr<AudioWaveform> waveform = AudioWaveform::create(videoPath);
    if (!waveform)
        return tr("%1: no audio that can be decoded").arg(videoPath);
    waveform->setSpeechDetection(true);
    QEventLoop loop;
    QObject::connect(waveform.get(), &AudioWaveform::finished, &loop, &QEventLoop::quit);
    // The timeline's rate, so that both share one entry in the cache.
    waveform->loadWhole(WaveformCommand::PointsPerSecond);
    if (waveform->isReading())
        loop.exec();
    // Speech is placed by the decoder's own times, so a part that ended early (an
    // envelope left incomplete) still tells where people speak in what was read.
    if (waveform->samples().isEmpty())
        return tr("%1: the audio could not be decoded").arg(videoPath);
    return waveform->speech();
}
