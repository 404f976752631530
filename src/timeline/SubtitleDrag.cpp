#include "timeline/SubtitleDrag.h"

#include "model/Fatal.h"
#include "model/FrameTiming.h"

#include <algorithm>
#include <cmath>

using Kind = SubtitleViewAction::Kind;

SubtitleDrag::SubtitleDrag(Kind kind, SubtitleList subtitles)
    : m_kind(kind)
    , m_subtitles(std::move(subtitles))
{
    if (m_subtitles.isEmpty() || (kind == Kind::MoveEmptySpace && m_subtitles.size() != 2))
        CUEWRIGHT_FATAL("a drag needs its blocks");
    for (const SubtitlePtr &subtitle : std::as_const(m_subtitles))
        m_original.append({subtitle->start, subtitle->end});
}

SubtitleDrag::StepResult SubtitleDrag::move(const Step &step)
{
    const double pps = step.pointsPerSecond;
    const Times &first = m_original.first();
    // No drag moves the first block before time 0.
    double offset = std::max(step.translationX / pps, -first.start);

    Span span{m_subtitles.first()->start, m_subtitles.first()->end};
    for (const SubtitlePtr &subtitle : std::as_const(m_subtitles)) {
        span.start = std::min(span.start, subtitle->start);
        span.end = std::max(span.end, subtitle->end);
    }
    // Where the pointer puts the last block's right edge. Measured on the times from
    // before the drag: the current width already holds the previous step's movement of
    // a dragged end, which would otherwise count twice.
    const double endX = step.proposedX + (m_original.last().end - first.start) * pps;

    std::optional<double> snapped;
    bool snappedStartEdge = true;
    if (m_kind != Kind::MoveEmptySpace && step.snapping) {
        const SubtitleList candidates = sortedCandidates(step, span);
        if (m_kind == Kind::MoveSubtitle) {
            snapped = snapStart(step, candidates, span, step.proposedX);
            if (!snapped) {
                snapped = snapEnd(step, candidates, span, endX);
                snappedStartEdge = false;
            }
            if (snapped && first.start + *snapped < 0)
                snapped.reset();
        } else if (m_kind == Kind::MoveStart) {
            snapped = snapStart(step, candidates, span, step.proposedX);
        } else {
            snapped = snapEnd(step, candidates, span, endX);
            snappedStartEdge = false;
        }
    }
    if (snapped) {
        offset = *snapped;
    } else if (m_kind == Kind::MoveEmptySpace) {
        // Both neighbours keep the minimum duration; the left one's bound wins a tie.
        const Times &left = m_original[0];
        const Times &right = m_original[1];
        offset = std::max(std::min(offset, right.end - minimumSubtitleDuration - right.start),
                          left.start + minimumSubtitleDuration - left.end);
    }

    apply(offset, step.frameRate);

    StepResult result{offset, {}};
    if (snapped && (!m_oldOffset || *m_oldOffset != offset))
        result.snappedEdge = snappedStartEdge ? m_subtitles.first()->start : m_subtitles.last()->end;
    m_oldOffset = offset;
    return result;
}

void SubtitleDrag::apply(double offset, double frameRate)
{
    const auto toFrame = [frameRate](double t) { return FrameTiming::snapToFrame(t, frameRate); };
    for (qsizetype i = 0; i < m_subtitles.size(); ++i) {
        Subtitle &subtitle = *m_subtitles[i];
        const Times &o = m_original[i];
        switch (m_kind) {
        case Kind::MoveSubtitle:
            subtitle.start = toFrame(o.start + offset);
            subtitle.end = toFrame(o.end + offset);
            break;
        case Kind::MoveStart:
            subtitle.start = toFrame(std::min(o.start + offset, o.end - minimumSubtitleDuration));
            break;
        case Kind::MoveEnd:
            subtitle.end = toFrame(std::max(o.end + offset, o.start + minimumSubtitleDuration));
            break;
        case Kind::MoveEmptySpace:
            if (i == 0)
                subtitle.end = toFrame(o.end + offset);
            else
                subtitle.start = toFrame(o.start + offset);
            break;
        }
    }
}

SubtitleList SubtitleDrag::sortedCandidates(const Step &step, const Span &span) const
{
    SubtitleList candidates = step.candidates;
    const auto distance = [&span](const SubtitlePtr &c) {
        return std::min(std::fabs(c->start - span.end), std::fabs(c->end - span.start));
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const SubtitlePtr &a, const SubtitlePtr &b) { return distance(a) < distance(b); });
    return candidates;
}

bool SubtitleDrag::overlapsAny(const SubtitleList &candidates, double start, double end)
{
    // Blocks that only touch do not overlap.
    return std::any_of(candidates.begin(), candidates.end(),
                       [&](const SubtitlePtr &c) { return c->start < end && start < c->end; });
}

std::optional<double> SubtitleDrag::snapStart(const Step &step, const SubtitleList &candidates, const Span &span,
                                              double proposedX) const
{
    const double pps = step.pointsPerSecond;
    const double gap = FrameTiming::twoFrameGap(step.frameRate);
    const double firstStart = m_original.first().start;
    if (std::fabs(proposedX - step.currentTime * pps) <= snapMargin)
        return step.currentTime - firstStart;
    for (const SubtitlePtr &c : candidates) {
        const double target = c->end + gap;
        if (std::fabs(proposedX - target * pps) <= snapMargin) {
            if (overlapsAny(candidates, target, target + (span.end - span.start)))
                return std::nullopt;
            return target - firstStart;
        }
    }
    return std::nullopt;
}

std::optional<double> SubtitleDrag::snapEnd(const Step &step, const SubtitleList &candidates, const Span &span,
                                            double proposedX) const
{
    const double pps = step.pointsPerSecond;
    const double gap = FrameTiming::twoFrameGap(step.frameRate);
    const double lastEnd = m_original.last().end;
    if (std::fabs(proposedX - step.currentTime * pps) <= snapMargin)
        return step.currentTime - lastEnd;
    for (const SubtitlePtr &c : candidates) {
        const double target = c->start - gap;
        if (std::fabs(proposedX - target * pps) <= snapMargin) {
            if (overlapsAny(candidates, target - (span.end - span.start), target))
                return std::nullopt;
            return target - lastEnd;
        }
    }
    return std::nullopt;
}

bool SubtitleDrag::hasMoved() const
{
    for (qsizetype i = 0; i < m_subtitles.size(); ++i) {
        if (m_subtitles[i]->start != m_original[i].start || m_subtitles[i]->end != m_original[i].end)
            return true;
    }
    return false;
}

void SubtitleDrag::restore()
{
    for (qsizetype i = 0; i < m_subtitles.size(); ++i) {
        m_subtitles[i]->start = m_original[i].start;
        m_subtitles[i]->end = m_original[i].end;
    }
    m_oldOffset.reset();
}

QList<Subtitle::Values> SubtitleDrag::finish()
{
    QList<Subtitle::Values> values;
    for (qsizetype i = 0; i < m_subtitles.size(); ++i) {
        const Subtitle &subtitle = *m_subtitles[i];
        Subtitle::Values v;
        const bool left = i == 0;
        if (m_kind == Kind::MoveSubtitle || m_kind == Kind::MoveStart || (m_kind == Kind::MoveEmptySpace && !left))
            v.start = subtitle.start;
        if (m_kind == Kind::MoveSubtitle || m_kind == Kind::MoveEnd || (m_kind == Kind::MoveEmptySpace && left))
            v.end = subtitle.end;
        values.append(v);
    }
    restore();
    return values;
}
