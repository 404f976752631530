#include "TestMedia.h"

#include <QProcess>
#include <QStringList>

namespace TestMedia {

bool makeVideo(const QString &path, const VideoOptions &options)
{
    const QString seconds = QString::number(options.seconds);
    QStringList args{QStringLiteral("-y"), QStringLiteral("-v"), QStringLiteral("error"),
                     QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc=size=%1x%2:rate=%3:duration=%4")
                         .arg(options.size.width()).arg(options.size.height())
                         .arg(options.frameRate, seconds)};
    if (options.audio)
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds);
    args << QStringLiteral("-c:v") << options.codec << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p");
    if (options.audio)
        args << QStringLiteral("-c:a") << QStringLiteral("aac");
    args << path;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        qWarning("ffmpeg failed: %s", ffmpeg.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace TestMedia
