#pragma once

#include <QList>
#include <QPair>
#include <QSize>
#include <QString>

#include <optional>

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

// A silent H.264 video of shots from different and from similar sources (one picture
// recoloured, reframed or later in time) joined at known frames, with what a cut finder
// must not take for a cut inside the shots: flashes of two frames, fast pans and zooms,
// and one cross-fade between two shots. The seed picks the order, lengths and traps.
struct ShotVideoOptions
{
    unsigned seed = 1;
    int shots = 24;
    QSize size{320, 180};
    int rate = 25; // frames per `rateDivisor` seconds: 30000 and 1001 make 29.97
    int rateDivisor = 1;
};

struct ShotVideo
{
    QList<double> cuts;                   // the first frame of each new shot, in seconds
    QList<double> flashes;                // the first frame of each flash
    QList<QPair<double, double>> motions; // the spans of fast motion
    double fadeMiddle = -1;               // the middle of the cross-fade, a cut or none
    double frameDuration = 0;
};

std::optional<ShotVideo> makeShotVideo(const QString &path, const ShotVideoOptions &options = {});

// Found cuts against the true ones, within a frame. One found near the fade's middle is
// neither right nor wrong; found in a flash or in fast motion, it is wrong.
struct ShotScore
{
    QList<double> missed;
    QList<double> wrong;
    QList<double> inTraps; // the wrong ones in flashes or motion
    int right = 0;
    double f1() const;
    QString describe() const;
};

ShotScore scoreShots(const ShotVideo &video, const QList<double> &found);

} // namespace TestMedia
