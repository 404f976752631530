#include "model/timing/SpeechSpotting.h"

#include "model/FrameTiming.h"
#include "model/quality/QualityFixes.h"
#include "model/quality/ShotChangeRules.h"
#include "model/ShotChanges.h"
#include "model/SpeechStretches.h"
#include "model/quality/TimingExcess.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
using Rounding = FrameTiming::Rounding;

// A piece of speech that becomes one subtitle.
struct Piece
{
    double start = 0;
    double end = 0;
};

class Spotter
{
public:
    Spotter(const SpeechSnap::Sources &sources, const SpeechSpotting::Options &options)
        : m_sources(sources)
        , m_options(options)
        , m_limits(sources.limits.clamped())
        , m_minGap(m_limits.minGap(sources.frameRate))
    {
    }

    SubtitleList spot()
    {
        const std::vector<SpeechStretch> &stretches = m_sources.speech.stretches();
        size_t first = 0;
        for (size_t k = 1; k <= stretches.size(); ++k) {
            if (k == stretches.size() || stretches[k].start - stretches[k - 1].end >= m_options.joinPause) {
                split(stretches, first, k);
                first = k;
            }
        }
        joinShortPieces();
        return subtitles();
    }

private:
    // Splits the run of stretches [first, last) into pieces no longer than the maximum.
    void split(const std::vector<SpeechStretch> &stretches, size_t first, size_t last)
    {
        const double start = stretches[first].start;
        const double end = stretches[last - 1].end;
        if (end - start <= m_limits.maxDuration) {
            m_pieces.push_back({start, end});
            return;
        }
        if (last - first == 1) {
            splitEvenly(start, end);
            return;
        }
        // At the longest pause, preferring those that leave both sides long enough.
        size_t at = first + 1;
        std::pair<bool, double> best{false, -infinity};
        for (size_t k = first + 1; k < last; ++k) {
            const bool fits = stretches[k - 1].end - start >= m_limits.minDuration
                           && end - stretches[k].start >= m_limits.minDuration;
            const std::pair<bool, double> candidate{fits, stretches[k].start - stretches[k - 1].end};
            if (candidate > best) {
                best = candidate;
                at = k;
            }
        }
        split(stretches, first, at);
        split(stretches, at, last);
    }

    // Speech without a pause: even parts under the maximum, the minimum gap apart.
    void splitEvenly(double start, double end)
    {
        const int parts = int(std::ceil((end - start + m_minGap) / (m_limits.maxDuration + m_minGap)));
        const double length = (end - start - (parts - 1) * m_minGap) / parts;
        for (int k = 0; k < parts; ++k) {
            const double from = start + k * (length + m_minGap);
            m_pieces.push_back({from, from + length});
        }
    }

    // Whether there is time after the piece to show it for the minimum duration.
    bool canStandAlone(size_t k) const
    {
        const double room = k + 1 < m_pieces.size() ? m_pieces[k + 1].start - m_minGap : infinity;
        return std::min(room, m_pieces[k].start + m_limits.maxDuration) - m_pieces[k].start >= m_limits.minDuration;
    }

    bool canJoin(size_t k) const // the pieces k and k + 1
    {
        return m_pieces[k + 1].start - m_pieces[k].end <= m_options.joinShortPause
            && m_pieces[k + 1].end - m_pieces[k].start <= m_limits.maxDuration;
    }

    void joinShortPieces()
    {
        size_t k = 0;
        while (k < m_pieces.size()) {
            if (canStandAlone(k)) {
                ++k;
                continue;
            }
            const bool hasPrevious = k > 0 && canJoin(k - 1);
            const bool hasNext = k + 1 < m_pieces.size() && canJoin(k);
            if (!hasPrevious && !hasNext) {
                ++k;
                continue;
            }
            const bool withNext =
                hasNext
                && (!hasPrevious || m_pieces[k + 1].start - m_pieces[k].end < m_pieces[k].start - m_pieces[k - 1].end);
            const size_t into = withNext ? k : k - 1;
            m_pieces[into].end = m_pieces[into + 1].end;
            m_pieces.erase(m_pieces.begin() + std::ptrdiff_t(into + 1));
            k = into; // the joined piece may still be short
        }
    }

    double onFrame(double time, Rounding rounding = Rounding::Nearest) const
    {
        return FrameTiming::onFrame(time, m_sources.frameRate, rounding);
    }

    SubtitleList subtitles() const
    {
        const double leadOut = m_sources.settings.clamped().leadOut(m_sources.frameRate);
        std::vector<TimingExcess::Span> spans;
        spans.reserve(m_pieces.size());
        for (size_t k = 0; k < m_pieces.size(); ++k) {
            const double start = onFrame(m_pieces[k].start);
            double end = std::max(onFrame(m_pieces[k].end + leadOut),
                                  onFrame(start + m_limits.minDuration, Rounding::Up));
            end = std::min(end, onFrame(start + m_limits.maxDuration, Rounding::Down));
            if (k + 1 < m_pieces.size())
                end = std::min(end, onFrame(onFrame(m_pieces[k + 1].start) - m_minGap, Rounding::Down));
            if (end > start) // none but a sliver of speech squeezed between two others
                spans.push_back({start, end, 0, infinity});
        }
        if (m_options.followShotChanges && !m_sources.shotChanges.isEmpty())
            followShotChanges(spans);

        SubtitleList list;
        list.reserve(qsizetype(spans.size()));
        for (const TimingExcess::Span &span : spans)
            list.append(Subtitle::create(QString(), span.start, span.end));
        return list;
    }

    // As the fixes of shot-change problems do: every end (against the starts as they
    // are), then every start (against the ends as moved). An edge the limits keep from
    // its place stays where the speech put it.
    void followShotChanges(std::vector<TimingExcess::Span> &spans) const
    {
        const ShotChangeRules rules(m_sources.shotChanges, m_sources.frameRate, m_limits);
        for (size_t k = 0; k < spans.size(); ++k) {
            spans[k].nextStart = k + 1 < spans.size() ? spans[k + 1].start : infinity;
            QualityFixes::moveToShotChangeRule(QualityCheck::EndNearShotChange, rules, spans[k], -infinity, m_limits,
                                               m_minGap);
        }
        for (size_t k = 0; k < spans.size(); ++k) {
            const double previousEnd = k > 0 ? spans[k - 1].end : -infinity;
            QualityFixes::moveToShotChangeRule(QualityCheck::StartNearShotChange, rules, spans[k], previousEnd,
                                               m_limits, m_minGap);
        }
    }

    const SpeechSnap::Sources &m_sources;
    const SpeechSpotting::Options m_options;
    const QualityLimits m_limits;
    const double m_minGap;
    std::vector<Piece> m_pieces;
};

} // namespace

SubtitleList SpeechSpotting::spot(const SpeechSnap::Sources &sources, const Options &options)
{
    return Spotter(sources, options).spot();
}
