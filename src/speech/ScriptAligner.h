#pragma once

#include "model/SpeechStretches.h"
#include "model/SpokenWord.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>
#include <limits>
#include <optional>
#include <vector>

class WordAligner;

// Places the lines of a script where their words are spoken in a film's sound, in the
// script's order. A line with times worth going by is looked for around them; one without
// is looked for from where its neighbour was found (the line before it, or after it when
// the script is worked through from its end), at the next speech that way: first in a
// stretch about as long as its words take to say, then in a wider one. A line whose
// words are not there is left, and the next is looked for from the same place and then
// after as much speech as the lines left would take to say: lines missing from the film,
// spoken but missing from the script, or not found, do not lose the thread.
class ScriptAligner
{
    Q_DECLARE_TR_FUNCTIONS(ScriptAligner)

public:
    // The film's sound from `from` to `to` seconds, as WordAligner takes it; shorter where
    // the film ends.
    using SoundReader = std::function<std::vector<qint16>(double from, double to)>;

    struct Line
    {
        QString text;
        // Where it is thought to be spoken, when its times are worth going by.
        std::optional<double> start;
        std::optional<double> end;
    };
    enum class Reason {
        NotInSound,      // its words were not found where it could be
        NoWords,         // nothing in it to say (empty, or a script the model has no sounds for)
        TooLittleSpeech, // no speech is left in the film where it could be
    };
    struct Outcome
    {
        QList<SpokenWord> words; // empty when left
        std::optional<Reason> left;
    };
    // Where the lines may be: between the subtitles around them.
    struct Bounds
    {
        double from = 0;
        double to = std::numeric_limits<double>::infinity();
    };

    ScriptAligner(WordAligner &aligner, SoundReader sound, const SpeechStretches &speech);

    // Which neighbour the line is looked for from: the one before it (placed before
    // `bounds.from`) or the one after it (placed after `bounds.to`).
    enum class Direction { Forward, Backward };
    // Where one line is spoken, inside `bounds`. `behind` is how long the lines left since
    // the neighbour it is looked for from take to say: its speech may come after theirs.
    Outcome alignLine(const Line &line, Bounds bounds, Direction direction, double behind = 0);
    // How long a line's words take to say at an ordinary pace.
    static double sayingSeconds(const QString &text);

    static QString reasonText(Reason reason);

private:
    Outcome alignNear(const QStringList &words, double start, double end, Bounds bounds, Direction direction);
    Outcome alignFrom(const QStringList &words, Bounds bounds, Direction direction);
    std::optional<QList<SpokenWord>> tryWindow(const QStringList &words, double from, double to);

    WordAligner &m_aligner;
    SoundReader m_sound;
    const SpeechStretches &m_speech;
};
