#pragma once

#include <QList>
#include <QPair>
#include <QSize>
#include <QString>
#include <QStringList>

#include "model/SpeechStretches.h"

#include <optional>

// Short media files made at test time with the ffmpeg command-line tool, so no video needs
// to be kept in the repository.
namespace TestMedia {

struct VideoOptions
{
    double seconds = 3; // at 25 frames a second
    QSize size{320, 240};
    QString audioSource; // an ffmpeg lavfi source, e.g. from beeps(); a 440 Hz sine when empty
    // Audio tracks after the first, each a lavfi source or a sound file; then every track's
    // language code and title, in order (missing or empty: none).
    QStringList moreAudioSources;
    QStringList audioLanguages;
    QStringList audioTitles;
    int plainLastFrames = 0; // this many last frames a plain red: a cut that far from the end
};

// Writes the video (H.264 and AAC that decodes alike every time) to path; false (with a
// warning) when ffmpeg failed.
bool makeVideo(const QString &path, const VideoOptions &options = {});
// Writes sound alone (the container follows the file's suffix, e.g. .flac).
bool makeAudio(const QString &path, const QString &audioSource);
// Joins films end to end without encoding them again, as people join recorded pieces: each
// piece starts where the one before it ends, so a piece whose sound is shorter than its
// pictures leaves a gap in the sound.
bool joinFilms(const QStringList &pieces, const QString &path);

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

// Sentences spoken by espeak-ng at known times over a background. The truth is one stretch
// per sentence, from its first to its last audible sample (a sample above 1/50 of the
// sentence's peak: espeak's own leading and trailing silence and its faint breath after the
// last word are not speech). The short pauses between the words of a sentence (below about
// 150 ms: the sentences have no commas) stay inside its stretch; sentences are at least
// 0.6 s apart. The seed picks the sentences, voices, speeds, loudness and gaps.
enum class SpeechBackground { Silence, WhiteNoise, PinkNoise, Music };

struct SpeechClipOptions
{
    unsigned seed = 1;
    int sentences = 4;  // 0: the background alone
    double seconds = 0; // at least this long; 0: as long as the sentences need
    SpeechBackground background = SpeechBackground::Silence;
    // Speech's RMS level over the background's, in dB. Speech is at about -20 dBFS RMS,
    // so without sentences the background is at -20 - snr dBFS.
    double snr = 20;
    int sampleRate = 48000;
    int channels = 1;
    // An .mp4 with a small testsrc picture and an AAC track; otherwise sound alone, in the
    // container the path's suffix names (.wav, .flac, .m4a...).
    bool video = false;
};

struct SpeechClip
{
    SpeechStretches truth;
    double seconds = 0;
};

std::optional<SpeechClip> makeSpeechClip(const QString &path, const SpeechClipOptions &options = {});

// Found speech against the truth. Each true sentence's onset is matched to the nearest
// found onset and its offset to the nearest found offset, each within `reach` seconds
// (errors are found minus true); a sentence that no found stretch overlaps is missed, and
// a found stretch that overlaps no sentence is false.
struct SpeechScore
{
    QList<double> onsetErrors;
    QList<double> offsetErrors;
    int sentences = 0;
    int onsetsMissed = 0;  // no found onset within reach
    int offsetsMissed = 0;
    int missed = 0;        // sentences no found stretch overlaps
    int falseStretches = 0;
    double falseSeconds = 0; // found speech outside every sentence
    // The |error| that this share (0..1) of the matched edges stay within.
    static double quantile(QList<double> errors, double share);
    QString describe() const;
};

SpeechScore scoreSpeech(const SpeechStretches &truth, const SpeechStretches &found, double reach = 0.5);

} // namespace TestMedia
