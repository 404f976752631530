#include "speech/ScriptAligner.h"

#include "model/text/SpokenWords.h"
#include "speech/WordAligner.h"

#include <algorithm>

namespace {

// Around a line's own times: edges off by a third of a second, and more, are still found.
constexpr double nearMargin = 1.5;
// How far from its own times a line is looked for when it is not found around them.
constexpr double fallbackReach = 6;
// The widest stretch one line is looked for in, and how much speech it should hold.
constexpr double widest = 40;
// A line found ending this close to its window's end may go on past it.
constexpr double endRoom = 0.25;

// Which way a line is looked for: after the line before it, or before the line after it.
// Every step of the search reads the same either way, mirrored.
struct Side
{
    bool backward = false;

    // `by` seconds past `time` in the direction of the search.
    double ahead(double time, double by) const { return backward ? time - by : time + by; }
    // The sound taken in before the speech met first. Going forward, before a line's first
    // word, whose onset the detector finds a little late; going back, after its last word,
    // which fades into the sound after it: with less, the lines found from the end were
    // fewer and less exact than those found from the start.
    double leadIn() const { return backward ? 0.8 : 0.4; }
    // Whether `a` comes before `b` in the direction of the search.
    bool sooner(double a, double b) const { return backward ? a > b : a < b; }
    // The found line's edge the search meets first, and its far edge.
    double nearEdge(const QList<SpokenWord> &words) const
    {
        return backward ? words.constLast().end : words.constFirst().start;
    }
    double farEdge(const QList<SpokenWord> &words) const
    {
        return backward ? words.constFirst().start : words.constLast().end;
    }
    // The stretch between two times, whichever comes first.
    static std::pair<double, double> between(double a, double b) { return {std::min(a, b), std::max(a, b)}; }

    // Going forward, the first stretch that ends after `time`; going back, the one after the
    // last that starts before it, so that the first met is the one before.
    std::vector<SpeechStretch>::const_iterator firstMet(const std::vector<SpeechStretch> &stretches,
                                                        double time) const
    {
        if (!backward)
            return std::lower_bound(stretches.begin(), stretches.end(), time,
                                    [](const SpeechStretch &stretch, double t) { return stretch.end <= t; });
        return std::lower_bound(stretches.begin(), stretches.end(), time,
                                [](const SpeechStretch &stretch, double t) { return stretch.start < t; });
    }

    // Where speech is next met from `time`, or none when no more is.
    std::optional<double> nextSpeech(const SpeechStretches &speech, double time) const
    {
        const auto &stretches = speech.stretches();
        const auto met = firstMet(stretches, time);
        if (!backward)
            return met == stretches.end() ? std::nullopt : std::optional(std::max(time, met->start));
        return met == stretches.begin() ? std::nullopt : std::optional(std::min(time, std::prev(met)->end));
    }

    // Where `seconds` of speech from `time` on have been said; none when the film has less.
    std::optional<double> afterSpeech(const SpeechStretches &speech, double time, double seconds) const
    {
        const auto &stretches = speech.stretches();
        double left = seconds;
        const auto take = [&](const SpeechStretch &stretch) -> std::optional<double> {
            const double from = backward ? stretch.start : std::max(stretch.start, time);
            const double to = backward ? std::min(stretch.end, time) : stretch.end;
            if (to <= from)
                return std::nullopt;
            if (to - from >= left)
                return backward ? to - left : from + left;
            left -= to - from;
            return std::nullopt;
        };
        if (!backward) {
            for (auto it = firstMet(stretches, time); it != stretches.end(); ++it) {
                if (const auto found = take(*it))
                    return found;
            }
            return std::nullopt;
        }
        for (auto it = firstMet(stretches, time); it != stretches.begin();) {
            if (const auto found = take(*--it))
                return found;
        }
        return std::nullopt;
    }

    // How far from `from` a stretch reaches that holds `needed` seconds of speech, at most `widest`.
    double holdingSpeech(const SpeechStretches &speech, double from, double needed) const
    {
        double reach = needed;
        while (reach < widest) {
            const auto [a, b] = between(from, ahead(from, reach));
            if (speech.speechWithin(a, b) >= needed)
                break;
            reach += 1;
        }
        return ahead(from, std::min(reach, widest));
    }
};

} // namespace

ScriptAligner::ScriptAligner(WordAligner &aligner, SoundReader sound, const SpeechStretches &speech)
    : m_aligner(aligner)
    , m_sound(std::move(sound))
    , m_speech(speech)
{
}

double ScriptAligner::sayingSeconds(const QString &text)
{
    return SpokenWords::sayingSeconds(SpokenWords::of(text));
}

ScriptAligner::Outcome ScriptAligner::alignLine(const Line &line, Bounds bounds, Direction direction, double behind)
{
    const QStringList words = SpokenWords::of(line.text);
    if (words.isEmpty())
        return {{}, Reason::NoWords};
    if (bounds.to <= bounds.from)
        return {{}, Reason::TooLittleSpeech};
    if (line.start && line.end)
        return alignNear(words, *line.start, *line.end, bounds, direction);
    const Outcome outcome = alignFrom(words, bounds, direction);
    if (!outcome.words.isEmpty() || behind <= 0)
        return outcome;
    // Not where the last line placed left off: perhaps after the speech of the lines left
    // since, which may have been spoken there after all.
    const Side side{direction == Direction::Backward};
    const std::optional<double> skipped = side.afterSpeech(m_speech, side.backward ? bounds.to : bounds.from, behind);
    if (!skipped)
        return outcome;
    Bounds later = bounds;
    (side.backward ? later.to : later.from) = side.ahead(*skipped, -side.leadIn());
    const Outcome again = alignFrom(words, later, direction);
    return again.words.isEmpty() ? outcome : again;
}

ScriptAligner::Outcome ScriptAligner::alignNear(const QStringList &words, double start, double end, Bounds bounds,
                                                Direction direction)
{
    const double from = std::max(bounds.from, start - nearMargin);
    const double to = std::min(bounds.to, end + nearMargin);
    if (to <= from)
        return {{}, Reason::TooLittleSpeech};
    if (std::optional<QList<SpokenWord>> found = tryWindow(words, from, to))
        return {*found, std::nullopt};
    // Times that are all wrong point to the wrong place: look from where the neighbour was,
    // though not far from them (they were fitted to the speech): a line the film lacks,
    // found in some other speech, would take the room of the lines between.
    return alignFrom(words, {std::max(bounds.from, start - fallbackReach), std::min(bounds.to, end + fallbackReach)},
                     direction);
}

ScriptAligner::Outcome ScriptAligner::alignFrom(const QStringList &words, Bounds bounds, Direction direction)
{
    const Side side{direction == Direction::Backward};
    const double cursor = side.backward ? bounds.to : bounds.from;
    const double limit = side.backward ? bounds.from : bounds.to;
    const auto bounded = [&](double time) { return std::clamp(time, bounds.from, bounds.to); };
    const auto window = [&](double a, double b) {
        const auto [first, last] = Side::between(a, b);
        return tryWindow(words, first, last);
    };
    const std::optional<double> speech = side.nextSpeech(m_speech, cursor);
    if (!speech || !side.sooner(*speech, limit))
        return {{}, Reason::TooLittleSpeech};
    const double from = bounded(side.ahead(*speech, -side.leadIn()));
    const double expected = SpokenWords::sayingSeconds(words);
    // Most often the next speech is the line: a window about its length is enough, and
    // cheap. One it fills to the end may go on past it, or be another line: look wider.
    const auto tightFrom = [&](double begin) { return bounded(side.ahead(begin, side.leadIn() + 1.4 * expected + 1.0)); };
    const auto endsInside = [&](const QList<SpokenWord> &found, double windowEnd) {
        return side.sooner(side.farEdge(found), side.ahead(windowEnd, -endRoom));
    };
    const double tight = tightFrom(from);
    std::optional<QList<SpokenWord>> found = window(from, tight);
    if (found && endsInside(*found, tight))
        return {*found, std::nullopt};
    // Begun late in the window (after a pause the detector took for speech): once more,
    // from where it seems to begin.
    if (found && side.sooner(side.ahead(from, endRoom), side.ahead(side.nearEdge(*found), -side.leadIn()))) {
        const double again = side.ahead(side.nearEdge(*found), -side.leadIn());
        found = window(again, tightFrom(again));
        if (found && endsInside(*found, tightFrom(again)))
            return {*found, std::nullopt};
    }
    const double wide = bounded(side.holdingSpeech(m_speech, from, 2 * expected + 4));
    if (side.sooner(side.ahead(tight, endRoom), wide)) {
        if ((found = window(from, wide)))
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
