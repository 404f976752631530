#include "speech/ScriptAligner.h"

#include "model/text/SpokenWords.h"
#include "speech/WordAligner.h"

#include <algorithm>

namespace {

// Around a line's own times: edges off by a third of a second, and more, are still found.
constexpr double nearMargin = 1.5;
// Before the next speech: its onset as the detector finds it comes a little late.
constexpr double leadIn = 0.4;
// The widest stretch one line is looked for in, and how much speech it should hold.
constexpr double widest = 40;
// A line found ending this close to its window's end may go on past it.
constexpr double endRoom = 0.25;

// How long the words take to say at an ordinary pace: about fourteen letters a second.
double expectedSeconds(const QStringList &words)
{
    qsizetype letters = 0;
    for (const QString &word : words)
        letters += word.size();
    return 0.2 + 0.07 * double(letters);
}

// Where the next speech begins at or after `time`, or none when no more follows.
std::optional<double> nextSpeech(const SpeechStretches &speech, double time)
{
    const auto &stretches = speech.stretches();
    const auto next = std::lower_bound(stretches.begin(), stretches.end(), time,
                                       [](const SpeechStretch &stretch, double t) { return stretch.end <= t; });
    if (next == stretches.end())
        return std::nullopt;
    return std::max(time, next->start);
}

// The end of a window from `from` that holds `needed` seconds of speech, at most `widest` long.
double holdingSpeech(const SpeechStretches &speech, double from, double needed)
{
    double to = from + needed;
    while (to < from + widest && speech.speechWithin(from, to) < needed)
        to += 1;
    return std::min(to, from + widest);
}

} // namespace

ScriptAligner::ScriptAligner(WordAligner &aligner, SoundReader sound, const SpeechStretches &speech)
    : m_aligner(aligner)
    , m_sound(std::move(sound))
    , m_speech(speech)
{
}

std::optional<QList<ScriptAligner::Outcome>> ScriptAligner::align(const QList<Line> &lines, Bounds bounds,
                                                                   std::stop_token stop,
                                                                   const std::function<void(int)> &progress)
{
    QList<Outcome> outcomes;
    double cursor = bounds.from;
    for (const Line &line : lines) {
        if (stop.stop_requested())
            return std::nullopt;
        const QStringList words = SpokenWords::of(line.text);
        Outcome outcome;
        if (words.isEmpty())
            outcome.left = Reason::NoWords;
        else if (line.start && line.end)
            outcome = alignNear(words, *line.start, *line.end, {cursor, bounds.to});
        else
            outcome = alignFrom(words, cursor, {cursor, bounds.to});
        if (!outcome.words.isEmpty())
            cursor = outcome.words.constLast().end;
        outcomes.append(outcome);
        if (progress)
            progress(int(outcomes.size()));
    }
    return outcomes;
}

ScriptAligner::Outcome ScriptAligner::alignNear(const QStringList &words, double start, double end, Bounds bounds)
{
    const double from = std::max(bounds.from, start - nearMargin);
    const double to = std::min(bounds.to, end + nearMargin);
    if (to <= from)
        return {{}, Reason::TooLittleSpeech};
    if (std::optional<QList<SpokenWord>> found = tryWindow(words, from, to))
        return {*found, std::nullopt};
    // Times that are all wrong point to the wrong place: look from where the line before was.
    return alignFrom(words, bounds.from, bounds);
}

ScriptAligner::Outcome ScriptAligner::alignFrom(const QStringList &words, double cursor, Bounds bounds)
{
    const std::optional<double> speech = nextSpeech(m_speech, cursor);
    if (!speech || *speech >= bounds.to)
        return {{}, Reason::TooLittleSpeech};
    const double from = std::max(bounds.from, *speech - leadIn);
    const double expected = expectedSeconds(words);
    // Most often the next speech is the line: a window about its length is enough, and
    // cheap. One it fills to the end may go on past it, or be another line: look wider.
    const auto tightFrom = [&](double begin) { return std::min(bounds.to, begin + leadIn + 1.4 * expected + 1.0); };
    const double tight = tightFrom(from);
    std::optional<QList<SpokenWord>> found = tryWindow(words, from, tight);
    if (found && found->constLast().end < tight - endRoom)
        return {*found, std::nullopt};
    // Begun late in the window (after a pause the detector took for speech): once more,
    // from where it seems to begin.
    if (found && found->constFirst().start - leadIn > from + endRoom) {
        const double again = found->constFirst().start - leadIn;
        found = tryWindow(words, again, tightFrom(again));
        if (found && found->constLast().end < tightFrom(again) - endRoom)
            return {*found, std::nullopt};
    }
    const double wide = std::min(bounds.to, holdingSpeech(m_speech, from, 2 * expected + 4));
    if (wide > tight + endRoom) {
        if ((found = tryWindow(words, from, wide)))
            return {*found, std::nullopt};
    }
    return {{}, Reason::NotInSound};
}

std::optional<QList<SpokenWord>> ScriptAligner::tryWindow(const QStringList &words, double from, double to)
{
    const std::vector<qint16> sound = m_sound(from, to);
    if (sound.empty())
        return std::nullopt;
    auto aligned = m_aligner.align(words, sound, from);
    if (!aligned)
        return std::nullopt;
    return aligned.value();
}

QString ScriptAligner::reasonText(Reason reason)
{
    switch (reason) {
    case Reason::NotInSound:
        return tr("its words are not in the sound");
    case Reason::NoWords:
        return tr("it has no words the speech model can look for");
    case Reason::TooLittleSpeech:
        return tr("too little speech is left where it could be");
    }
    return {};
}
