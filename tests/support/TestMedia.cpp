#include "TestMedia.h"

#include <QProcess>
#include <QStringList>

namespace TestMedia {

namespace {

bool runFfmpeg(const QStringList &args)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-nostdin"), QStringLiteral("-y"),
                                                       QStringLiteral("-v"), QStringLiteral("error")} + args);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        qWarning("ffmpeg failed: %s", ffmpeg.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace

QString beeps(const QList<double> &starts, double length, double seconds, int sampleRate)
{
    QStringList windows;
    for (double start : starts)
        windows << QStringLiteral("between(t\\,%1\\,%2)").arg(start).arg(start + length);
    return QStringLiteral("aevalsrc=exprs='0.5*sin(2*PI*1000*t)*(%1)':sample_rate=%2:duration=%3")
        .arg(windows.join(u'+'))
        .arg(sampleRate)
        .arg(seconds);
}

bool makeAudio(const QString &path, const QString &audioSource)
{
    return runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), audioSource, path});
}

bool makeVideo(const QString &path, const VideoOptions &options)
{
    const QString seconds = QString::number(options.seconds);
    const QString audio = options.audioSource.isEmpty()
                              ? QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds)
                              : options.audioSource;
    return runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                      QStringLiteral("testsrc=size=%1x%2:rate=25:duration=%3")
                          .arg(options.size.width()).arg(options.size.height()).arg(seconds),
                      QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), audio,
                      QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"),
                      QStringLiteral("yuv420p"), QStringLiteral("-c:a"), QStringLiteral("aac"), path});
}

} // namespace TestMedia
