#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// Speech at known places, from real voices: Debian's pocketsphinx-testdata recordings (16 kHz
// mono, with their transcripts) joined with stretches of a room's near-silence, as sound
// for the aligner or as a film. A line's time is its first and last audible 10 ms.
namespace SpokenFilm {

// The recordings, each one sentence, and what is said in them (as a script writes it).
int recordingCount();
QString recordingText(int recording);
std::vector<qint16> recording(int recording);
// Three times as loud as the recording's quietest tenth, the noise it was recorded in.
std::pair<double, double> audibleSpan(const std::vector<qint16> &samples);
std::vector<qint16> nearSilence(double seconds);

struct Piece
{
    int recording = -1; // -1: near-silence
    double seconds = 0; // of near-silence
};
struct Spoken
{
    std::vector<qint16> sound;
    QList<std::pair<double, double>> lines; // each recording's audible span, in order
};
Spoken join(const QList<Piece> &pieces);
// The joined sound as a film's (a small moving picture and AAC sound); the lines' spans.
QList<std::pair<double, double>> makeFilm(const QString &path, const QList<Piece> &pieces);

} // namespace SpokenFilm
