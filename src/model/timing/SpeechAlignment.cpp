#include "model/timing/SpeechAlignment.h"

#include "model/timing/OverlapByOffset.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The first search: offsets 0.1 s apart, over the whole film either way. The peaks of the
// overlap are as wide as lines are long, so none falls between the points.
constexpr double searchStep = 0.1;
// Subtitles and speech days apart (a time typed wrong) are not searched: the grid would not
// fit in memory.
constexpr std::size_t maxSearchSteps = 20'000'000;
// The subtitles are searched in runs of this many, each offering its best offsets, so that
// a piece after a break is found however short it is beside the rest.
constexpr std::size_t runLength = 60;
constexpr int peaksPerRun = 3;
constexpr double peakSeparation = 1.0;
// What a break costs, in seconds of subtitle time brought onto speech beyond chance: about
// what ten subtitles gain when a piece is really there, more than chance gives a few.
constexpr double breakCost = 8;
// A frame-rate conversion costs as much: a few minutes of subtitles cannot tell 24 from
// 23.976 fps, and then none is the likelier.
constexpr double conversionCost = breakCost;
// Adverts and cuts come where a scene ends, mostly in a pause: of two places where the
// subtitles fit either way, the longer pause wins.
constexpr double shortPauseCost = 3;
constexpr double longPause = 1.5;
constexpr double minSignificance = 4;
constexpr double minShareOfFit = 0.5;
constexpr std::size_t ratesRefined = 3;
constexpr std::size_t screeningStride = 3;
// Fewer subtitles than this fit somewhere by chance too often.
constexpr std::size_t minPiece = 10;
// Speech begins on the frame its subtitle appears, or a frame or two after: the usual
// delivery rules put the in-time on the first frame of the sound, some a frame or two
// before it. That tells a subtitle in its place from one that merely falls on speech.
constexpr double onsetLead = 0.04;
constexpr double onsetReach = 0.25;
constexpr double onsetWeight = 1;
constexpr double maxSurroundings = 2;

struct Scored
{
    double rate = 1;
    std::vector<double> offsets;     // the candidates
    std::vector<std::size_t> choice; // for each subtitle, the index of its offset
    double gain = -std::numeric_limits<double>::infinity();
};

class Aligner
{
public:
    Aligner(std::vector<SpeechStretch> subtitles, const SpeechStretches &speech)
        : m_subtitles(std::move(subtitles))
        , m_speech(speech)
    {
        m_filmStart = speech.stretches().front().start;
        m_filmEnd = speech.stretches().back().end;
        // Each subtitle's surroundings, up to halfway to its neighbours: speech should be
        // under the subtitle and not around it.
        double subtitled = 0;
        double around = 0;
        double lastEnd = -std::numeric_limits<double>::infinity();
        m_surroundings.reserve(m_subtitles.size());
        for (std::size_t i = 0; i < m_subtitles.size(); ++i) {
            const SpeechStretch &s = m_subtitles[i];
            const double nextStart = i + 1 < m_subtitles.size() ? m_subtitles[i + 1].start
                                                                : std::numeric_limits<double>::infinity();
            const double from = std::min(s.start, std::max(s.start - maxSurroundings, (lastEnd + s.start) / 2));
            const double to = std::max(s.end, std::min(s.end + maxSurroundings, (s.end + nextStart) / 2));
            m_surroundings.push_back({from, to});
            lastEnd = std::max(lastEnd, s.end);
            subtitled += s.length();
            around += to - from - s.length();
        }
        // Weighted so that at a random offset the two cancel out, whatever the density of speech
        // there: a stretch of music taken for speech, or a busy scene, draws no subtitles.
        m_aroundWeight = around > 0 ? subtitled / around : 0;
    }

    double overlap(const SpeechStretch &s, double rate, double offset) const
    {
        return m_speech.speechWithin(s.start * rate + offset, s.end * rate + offset);
    }

    // Seconds on speech under the subtitle, less those around it, and a bonus when the
    // speech begins just after it.
    double gain(std::size_t i, double rate, double offset) const
    {
        const SpeechStretch &s = m_subtitles[i];
        const double start = s.start * rate + offset;
        const std::optional<double> onset = m_speech.nearestOnset(start + onsetLead, onsetReach);
        const double onStart = onset ? 1 - std::abs(*onset - start - onsetLead) / onsetReach : 0;
        return (1 + m_aroundWeight) * overlap(s, rate, offset)
            - m_aroundWeight * overlap(m_surroundings[i], rate, offset) + onsetWeight * onStart;
    }

    // The best offsets of every `stride`th run of subtitles at `rate`.
    std::vector<double> candidates(double rate, std::size_t stride = 1) const
    {
        double first = std::numeric_limits<double>::infinity();
        double last = -first;
        // Each subtitle and its surroundings, weighted as in gain().
        std::vector<OverlapByOffset::Interval> moved;
        moved.reserve(2 * m_subtitles.size());
        for (std::size_t i = 0; i < m_subtitles.size(); ++i) {
            const SpeechStretch &s = m_subtitles[i];
            const SpeechStretch &around = m_surroundings[i];
            moved.push_back({s.start * rate, s.end * rate, 1 + m_aroundWeight});
            moved.push_back({around.start * rate, around.end * rate, -m_aroundWeight});
            first = std::min(first, around.start * rate);
            last = std::max(last, around.end * rate);
        }
        OverlapByOffset::Grid grid;
        grid.step = searchStep;
        grid.lowest = m_filmStart - last - 1;
        grid.size = std::size_t((m_filmEnd - first + 1 - grid.lowest) / grid.step) + 1;
        if (grid.size > maxSearchSteps)
            return {};

        std::vector<double> offsets;
        const auto add = [&](const std::vector<double> &found) {
            for (double offset : found) {
                if (std::none_of(offsets.begin(), offsets.end(), [&](double o) { return std::abs(o - offset) < 0.2; }))
                    offsets.push_back(offset);
            }
        };
        const std::span<const OverlapByOffset::Interval> all(moved);
        for (std::size_t from = 0; from < moved.size(); from += 2 * runLength * stride) {
            const OverlapByOffset run(all.subspan(from, std::min(2 * runLength, moved.size() - from)),
                                      m_speech.stretches(), grid);
            add(run.peaks(peaksPerRun, peakSeparation));
        }
        return offsets;
    }

    // The offset of each subtitle out of `offsets`, for the most gain less the breaks' cost.
    Scored assign(double rate, std::vector<double> offsets) const
    {
        Scored scored;
        scored.rate = rate;
        scored.offsets = std::move(offsets);
        const std::size_t k = scored.offsets.size();
        const std::size_t n = m_subtitles.size();
        if (k == 0 || n == 0)
            return scored;
        std::vector<double> best(k, 0.0);
        // Whether subtitle i, at offset j, came from a break (from the best offset of i - 1).
        std::vector<char> switched(n * k, 0);
        std::vector<std::size_t> leader(n, 0);
        double lastEnd = -std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t top = std::size_t(std::max_element(best.begin(), best.end()) - best.begin());
            leader[i] = top;
            const double pause = (m_subtitles[i].start - lastEnd) * rate;
            lastEnd = std::max(lastEnd, m_subtitles[i].end);
            const double cost = breakCost + shortPauseCost * std::max(0.0, 1 - pause / longPause);
            const double viaBreak = best[top] - (i > 0 ? cost : 0);
            for (std::size_t j = 0; j < k; ++j) {
                const double g = gain(i, rate, scored.offsets[j]);
                if (viaBreak > best[j] && j != top) {
                    best[j] = viaBreak + g;
                    switched[i * k + j] = 1;
                } else {
                    best[j] += g;
                }
            }
        }
        std::size_t j = std::size_t(std::max_element(best.begin(), best.end()) - best.begin());
        scored.gain = best[j] - (rate != 1 ? conversionCost : 0);
        scored.choice.assign(n, 0);
        for (std::size_t i = n; i-- > 0;) {
            scored.choice[i] = j;
            if (switched[i * k + j])
                j = leader[i];
        }
        return scored;
    }

    // The offset near `offset` where subtitles [from, to) gain the most. Their time on
    // speech alone is flat across the slack of each subtitle around its line; the onsets
    // make the peak sharp.
    double refine(double rate, double offset, std::size_t from, std::size_t to) const
    {
        const auto total = [&](double o) {
            double sum = 0;
            for (std::size_t i = from; i < to; ++i)
                sum += gain(i, rate, o);
            return sum;
        };
        double best = offset;
        double bestTotal = total(offset);
        for (double step : {0.01, 0.001}) {
            const double centre = best;
            const double reach = step == 0.01 ? 0.3 : 0.01;
            for (double d = -reach; d <= reach + step / 2; d += step) {
                const double t = total(centre + d);
                if (t > bestTotal) {
                    bestTotal = t;
                    best = centre + d;
                }
            }
        }
        return best;
    }

    struct Run
    {
        std::size_t from = 0;
        std::size_t to = 0;
        std::size_t offset = 0; // the index of its offset
    };

    static std::vector<Run> runs(const Scored &scored)
    {
        std::vector<Run> found;
        for (std::size_t i = 0; i < scored.choice.size(); ++i) {
            if (i == 0 || scored.choice[i] != scored.choice[i - 1])
                found.push_back({i, i, scored.choice[i]});
            found.back().to = i + 1;
        }
        return found;
    }

    // Each piece's offset to the millisecond, then the pieces' borders again with those.
    Scored refined(const Scored &scored) const
    {
        std::vector<double> offsets;
        for (const Run &run : runs(scored))
            offsets.push_back(refine(scored.rate, scored.offsets[run.offset], run.from, run.to));
        std::sort(offsets.begin(), offsets.end());
        offsets.erase(std::unique(offsets.begin(), offsets.end(), [](double a, double b) { return b - a < 0.05; }),
                      offsets.end());
        return assign(scored.rate, std::move(offsets));
    }

    // How clearly the run's subtitles are better off at its own offset than at `other`:
    // the paired difference of their gains, in standard errors.
    double significance(const Scored &scored, const Run &run, std::size_t other) const
    {
        double sum = 0;
        double squares = 0;
        for (std::size_t i = run.from; i < run.to; ++i) {
            const double d =
                gain(i, scored.rate, scored.offsets[run.offset]) - gain(i, scored.rate, scored.offsets[other]);
            sum += d;
            squares += d * d;
        }
        const double n = double(run.to - run.from);
        const double variance = std::max(0.0, squares / n - (sum / n) * (sum / n));
        return sum / (std::sqrt(variance * n) + 1e-9);
    }

    // Where the run's subtitles are in the film.
    SpeechStretch span(const Scored &scored, const Run &run) const
    {
        const double offset = scored.offsets[run.offset];
        return {m_subtitles[run.from].start * scored.rate + offset, m_subtitles[run.to - 1].end * scored.rate + offset};
    }

    // How well a piece stands, 1 being just enough: clearly better off at its offset than at
    // its neighbours' (in standard errors), fitting nearly as well as the subtitles do on the
    // whole (`meanGain` each), more than a handful of subtitles, and not within the film time
    // of another piece: the subtitles of a scene cut from the film fit somewhere by chance.
    double strength(const Scored &scored, const std::vector<Run> &pieces, std::size_t p, double meanGain) const
    {
        const Run &piece = pieces[p];
        if (piece.to - piece.from < minPiece)
            return 0;
        const SpeechStretch where = span(scored, piece);
        for (const Run &other : pieces) {
            const SpeechStretch there = span(scored, other);
            if (&other != &piece && there.start <= where.start && where.end <= there.end)
                return 0;
        }
        double t = std::numeric_limits<double>::infinity();
        if (p > 0)
            t = std::min(t, significance(scored, piece, pieces[p - 1].offset));
        if (p + 1 < pieces.size())
            t = std::min(t, significance(scored, piece, pieces[p + 1].offset));
        double sum = 0;
        for (std::size_t i = piece.from; i < piece.to; ++i)
            sum += gain(i, scored.rate, scored.offsets[piece.offset]);
        const double fit = meanGain > 0 ? sum / double(piece.to - piece.from) / (minShareOfFit * meanGain)
                                        : std::numeric_limits<double>::infinity();
        return std::min(t / minSignificance, fit);
    }

    // The search keeps a piece that chance favours over a few dozen subtitles as readily as
    // one that is really there: the offset whose pieces are all weak goes, the weakest first,
    // until every offset left has a strong piece.
    Scored withoutWeakPieces(Scored scored) const
    {
        while (true) {
            const std::vector<Run> pieces = runs(scored);
            if (pieces.size() < 2)
                return scored;
            double total = 0;
            for (std::size_t i = 0; i < scored.choice.size(); ++i)
                total += gain(i, scored.rate, scored.offsets[scored.choice[i]]);
            const double meanGain = total / double(scored.choice.size());
            std::vector<double> strongest(scored.offsets.size(), -1);
            for (std::size_t p = 0; p < pieces.size(); ++p) {
                double &strongestOfOffset = strongest[pieces[p].offset];
                strongestOfOffset = std::max(strongestOfOffset, strength(scored, pieces, p, meanGain));
            }
            std::optional<std::size_t> weakest;
            for (std::size_t k = 0; k < strongest.size(); ++k) {
                if (strongest[k] >= 0 && (!weakest || strongest[k] < strongest[*weakest]))
                    weakest = k;
            }
            if (!weakest || strongest[*weakest] >= 1)
                return scored;
            std::vector<double> offsets = scored.offsets;
            offsets.erase(offsets.begin() + std::ptrdiff_t(*weakest));
            scored = assign(scored.rate, std::move(offsets));
        }
    }

    // A subtitle's start is timed to the onset of its speech; its end less so (a reader's
    // lead-out, a line held over a pause). Overlap alone leaves each piece's offset anywhere
    // on a plateau as wide as the lead-outs: each piece goes by the median distance from its
    // starts to the onsets nearest them, when most starts have one, less the usual lead.
    Scored onOnsets(Scored scored) const
    {
        for (const Run &run : runs(scored)) {
            const double offset = scored.offsets[run.offset];
            std::vector<double> distances;
            for (std::size_t i = run.from; i < run.to; ++i) {
                const double start = m_subtitles[i].start * scored.rate + offset;
                if (const auto onset = m_speech.nearestOnset(start, onsetReach))
                    distances.push_back(*onset - start);
            }
            if (distances.size() * 2 < run.to - run.from)
                continue;
            std::nth_element(distances.begin(), distances.begin() + std::ptrdiff_t(distances.size() / 2), distances.end());
            scored.offsets[run.offset] = offset + distances[distances.size() / 2] - onsetLead;
        }
        return scored;
    }

    double fractionOnSpeech() const
    {
        double on = 0;
        double all = 0;
        for (const SpeechStretch &s : m_subtitles) {
            on += m_speech.speechWithin(s.start, s.end);
            all += s.length();
        }
        return all > 0 ? on / all : 0;
    }

    SyncResult align() const;

private:
    std::vector<SpeechStretch> m_subtitles;
    const SpeechStretches &m_speech;
    std::vector<SpeechStretch> m_surroundings;
    double m_aroundWeight = 0;
    double m_filmStart = 0;
    double m_filmEnd = 0;
};

SyncResult Aligner::align() const
{
    // Every rate with the offsets of a few runs of subtitles: the right one has its main
    // offsets there. The few best again with the offsets of all runs, refined, as a coarse
    // offset costs the right rate more than a wrong one that has a piece per drift.
    std::vector<std::pair<Scored, std::optional<FrameRateConversion>>> tried;
    tried.emplace_back(assign(1, candidates(1, screeningStride)), std::nullopt);
    for (const FrameRateConversion &c : SpeechAlignment::conversions())
        tried.emplace_back(assign(c.rate(), candidates(c.rate(), screeningStride)), c);
    std::sort(tried.begin(), tried.end(), [](auto &a, auto &b) { return a.first.gain > b.first.gain; });
    tried.resize(std::min(tried.size(), ratesRefined));
    for (auto &[scored, c] : tried)
        scored = refined(assign(scored.rate, candidates(scored.rate)));
    const auto &winner = *std::max_element(tried.begin(), tried.end(),
                                           [](auto &a, auto &b) { return a.first.gain < b.first.gain; });
    Scored best = winner.first;
    const std::optional<FrameRateConversion> conversion = winner.second;

    best = refined(withoutWeakPieces(std::move(best)));
    if (best.choice.empty())
        return {};
    best = onOnsets(std::move(best));

    SyncResult result;
    result.conversion = conversion;
    result.pieces.clear();
    double lastEnd = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < best.choice.size(); ++i) {
        const SpeechStretch &s = m_subtitles[i];
        if (i == 0 || best.choice[i] != best.choice[i - 1]) {
            SyncResult::Piece piece;
            piece.from = i == 0 ? 0 : (lastEnd < s.start ? (lastEnd + s.start) / 2 : s.start);
            piece.line = *LinearTimeMap::scaledAndShifted(best.rate, best.offsets[best.choice[i]]);
            result.pieces.push_back(piece);
        }
        lastEnd = std::max(lastEnd, s.end);
    }
    double onSpeech = 0;
    double length = 0;
    for (const SpeechStretch &s : m_subtitles) {
        const SpeechStretch moved = result.map(s);
        onSpeech += m_speech.speechWithin(moved.start, moved.end);
        length += moved.length();
    }
    result.speechAfter = onSpeech / std::max(1e-9, length);
    result.speechBefore = fractionOnSpeech();
    // What the alignment earned beyond chance, less its costs, as a fraction of what a
    // perfect one would. The best of many offsets earns more by chance the fewer the
    // subtitles, so the bar falls with their number. On generated films another film's
    // subtitles stay below it (but one file of ten subtitles in a hundred), and the film's
    // own clear it from twenty subtitles on, or sixty when its speech is found badly
    // (cuewright-measure-sync).
    const double n = double(m_subtitles.size());
    const double fit = best.gain / std::max(1e-9, (1 + m_aroundWeight) * length + onsetWeight * n);
    const double bar = 0.1 + 0.5 / std::sqrt(n);
    result.confidence = 1 / (1 + std::exp(-(fit - bar) / 0.02));
    result.belongs = fit > bar;
    return result;
}

} // namespace

const std::vector<FrameRateConversion> &SpeechAlignment::conversions()
{
    static const std::vector<FrameRateConversion> all = [] {
        const double rates[] = {24000.0 / 1001, 24, 25, 30000.0 / 1001};
        std::vector<FrameRateConversion> found;
        for (double from : rates) {
            for (double to : rates) {
                const double rate = from / to;
                const auto same = [&](const FrameRateConversion &c) { return std::abs(c.rate() - rate) < 1e-9; };
                if (from != to && std::none_of(found.begin(), found.end(), same))
                    found.push_back({from, to});
            }
        }
        return found;
    }();
    return all;
}

SyncResult SpeechAlignment::align(std::vector<SpeechStretch> subtitles, const SpeechStretches &speech)
{
    std::erase_if(subtitles, [](const SpeechStretch &s) {
        return !std::isfinite(s.start) || !std::isfinite(s.end) || s.end < s.start;
    });
    std::sort(subtitles.begin(), subtitles.end(), [](auto &a, auto &b) { return a.start < b.start; });
    if (subtitles.empty() || speech.isEmpty())
        return {};
    return Aligner(std::move(subtitles), speech).align();
}

SyncResult SpeechAlignment::align(const SubtitleList &subtitles, const SpeechStretches &speech)
{
    std::vector<SpeechStretch> intervals;
    intervals.reserve(std::size_t(subtitles.size()));
    for (const SubtitlePtr &s : subtitles)
        intervals.push_back({s->start, s->end});
    return align(std::move(intervals), speech);
}
