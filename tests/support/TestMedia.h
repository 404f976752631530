#pragma once

#include <QSize>
#include <QString>

// Short media files made at test time with the ffmpeg command-line tool, so no video needs
// to be kept in the repository.
namespace TestMedia {

struct VideoOptions
{
    double seconds = 3; // at 25 frames a second
    QSize size{320, 240};
    QString audioSource; // an ffmpeg lavfi source, e.g. from beeps(); a 440 Hz sine when empty
};

// Writes the video (H.264 and AAC) to path; false (with a warning) when ffmpeg failed.
bool makeVideo(const QString &path, const VideoOptions &options = {});
// Writes sound alone (the container follows the file's suffix, e.g. .flac).
bool makeAudio(const QString &path, const QString &audioSource);

// A lavfi source of `seconds` of silence with a loud 1 kHz beep of `length` seconds
// at each of `starts`, at `sampleRate`.
QString beeps(const QList<double> &starts, double length, double seconds, int sampleRate = 48000);

} // namespace TestMedia
