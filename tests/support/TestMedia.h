#pragma once

#include <QSize>
#include <QString>

// Short media files made at test time with the ffmpeg command-line tool, so no video needs
// to be kept in the repository.
namespace TestMedia {

struct VideoOptions
{
    double seconds = 3;
    QString frameRate = QStringLiteral("25"); // as ffmpeg reads it, e.g. "30000/1001"
    QSize size{320, 240};
    bool audio = true; // a 440 Hz sine
    QString codec = QStringLiteral("libx264");
};

// Writes the video to path; false (with a warning) when ffmpeg failed.
bool makeVideo(const QString &path, const VideoOptions &options = {});

} // namespace TestMedia
