#include "timeline/SubtitleDrag.h"

#include "model/Fatal.h"
#include "model/FrameTiming.h"

#include <algorithm>
#include <cmath>

using Kind = SubtitleViewAction::Kind;
using Edge = SnapProvider::Edge;

SubtitleDrag::SubtitleDrag(Kind kind, SubtitleList subtitles, QList<int> positions)
    : m_kind(kind)
    , m_subtitles(std::move(subtitles))
    , m_positions(std::move(positions))
{
    if (m_subtitles.isEmpty() || m_positions.size() != m_subtitles.size()
        || (kind == Kind::MoveEmptySpace && m_subtitles.size() != 2))
        CUEWRIGHT_FATAL("a drag needs its blocks");
    m_indexOf.reserve(m_subtitles.size());
    m_original.reserve(m_subtitles.size());
    for (qsizetype i = 0; i < m_subtitles.size(); ++i) {
        const Subtitle &subtitle = *m_subtitles[i];
        m_indexOf.insert(&subtitle, i);
        m_original.append({subtitle.start, subtitle.end});
    }
    m_shown = m_original;
}

SubtitleDrag::StepResult SubtitleDrag::move(const Step &step)
{
    const double pps = step.pointsPerSecond;
    const Times &first = m_original.first();
    // No drag moves the first block before time 0.
    double offset = std::max(step.translationX / pps, -first.start);

    const Times outer = span();
    // Where the pointer puts the last block's right edge. Measured on the times from
    // before the drag: the shown width already holds the previous step's movement of a
    // dragged end, which would otherwise count twice.
    const double endX = step.proposedX + (m_original.last().end - first.start) * pps;

    // The start edge is tried first and wins when both edges could snap.
    std::optional<Snap> snapped;
    if (m_kind != Kind::MoveEmptySpace && m_kind != Kind::MoveEnd)
        snapped = snapEdge(step, Edge::Start, step.proposedX, outer.end - outer.start);
    if (!snapped && m_kind != Kind::MoveEmptySpace && m_kind != Kind::MoveStart)
        snapped = snapEdge(step, Edge::End, endX, outer.end - outer.start);
    if (snapped) {
        offset = snapped->offset;
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
        result.snappedEdge = snapped->startEdge ? m_shown.first().start : m_shown.last().end;
    m_oldOffset = offset;
    return result;
}

// The providers are asked in the order given, which is their priority: the first one with
// an offer within the snap margin of edgeX wins, with its nearest offer.
std::optional<SubtitleDrag::Snap> SubtitleDrag::snapEdge(const Step &step, Edge edge, double edgeX,
                                                         double spanLength) const
{
    const double pps = step.pointsPerSecond;
    const double reach = (snapMargin + 1) / pps; // a little wide: the margin is measured below
    const SnapProvider::Query query{edge, edgeX / pps - reach, edgeX / pps + reach, spanLength};
    const bool start = edge == Edge::Start;
    const double from = start ? m_original.first().start : m_original.last().end;
    for (const SnapProvider *provider : step.snapTargets) {
        QList<double> times;
        provider->offer(query, times);
        std::optional<Snap> best;
        for (double target : std::as_const(times)) {
            const double distance = std::fabs(edgeX - target * pps);
            if (distance > snapMargin || (best && best->distance <= distance))
                continue;
            const double offset = target - from;
            if (m_kind == Kind::MoveSubtitle && m_original.first().start + offset < 0)
                continue;
            best = Snap{offset, start, distance};
        }
        if (best)
            return best;
    }
    return std::nullopt;
}

void SubtitleDrag::apply(double offset, double frameRate)
{
    const auto toFrame = [frameRate](double t) { return FrameTiming::snapToFrame(t, frameRate); };
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        Times &shown = m_shown[i];
        const Times &o = m_original[i];
        switch (m_kind) {
        case Kind::MoveSubtitle:
            shown.start = toFrame(o.start + offset);
            shown.end = toFrame(o.end + offset);
            break;
        case Kind::MoveStart:
            shown.start = toFrame(std::min(o.start + offset, o.end - minimumSubtitleDuration));
            break;
        case Kind::MoveEnd:
            shown.end = toFrame(std::max(o.end + offset, o.start + minimumSubtitleDuration));
            break;
        case Kind::MoveEmptySpace:
            if (i == 0)
                shown.end = toFrame(o.end + offset);
            else
                shown.start = toFrame(o.start + offset);
            break;
        }
    }
}

std::optional<SubtitleDrag::Times> SubtitleDrag::shownTimes(const Subtitle &subtitle) const
{
    const auto it = m_indexOf.constFind(&subtitle);
    if (it == m_indexOf.cend())
        return std::nullopt;
    return m_shown.at(*it);
}

SubtitleDrag::Times SubtitleDrag::span() const
{
    Times outer = m_shown.first();
    for (const Times &shown : m_shown) {
        outer.start = std::min(outer.start, shown.start);
        outer.end = std::max(outer.end, shown.end);
    }
    return outer;
}

bool SubtitleDrag::hasMoved() const
{
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        if (m_shown[i].start != m_original[i].start || m_shown[i].end != m_original[i].end)
            return true;
    }
    return false;
}

QList<Subtitle::Values> SubtitleDrag::newValues() const
{
    QList<Subtitle::Values> values;
    values.reserve(m_shown.size());
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        Subtitle::Values v;
        const bool left = i == 0;
        if (m_kind == Kind::MoveSubtitle || m_kind == Kind::MoveStart || (m_kind == Kind::MoveEmptySpace && !left))
            v.start = m_shown[i].start;
        if (m_kind == Kind::MoveSubtitle || m_kind == Kind::MoveEnd || (m_kind == Kind::MoveEmptySpace && left))
            v.end = m_shown[i].end;
        values.append(v);
    }
    return values;
}

std::optional<double> SubtitleDrag::draggedEdge() const
{
    if (m_kind == SubtitleViewAction::Kind::MoveStart)
        return m_shown.first().start;
    if (m_kind == SubtitleViewAction::Kind::MoveEnd)
        return m_shown.first().end;
    return std::nullopt;
}
