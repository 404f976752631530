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
    bool audio = true; // a 440 Hz sine, or audioSource
    QString audioSource;  // an ffmpeg lavfi source, e.g. from beeps()
    QString codec = QStringLiteral("libx264");
};

// Writes the video to path; false (with a warning) when ffmpeg failed.
bool makeVideo(const QString &path, const VideoOptions &options = {});
// Writes sound alone (the container follows the file's suffix, e.g. .flac).
bool makeAudio(const QString &path, const QString &audioSource);

// A lavfi source of `seconds` of silence with a loud 1 kHz beep of `length` seconds
// at each of `starts`, at `sampleRate`.
QString beeps(const QList<double> &starts, double length, double seconds, int sampleRate = 48000);

} // namespace TestMedia
