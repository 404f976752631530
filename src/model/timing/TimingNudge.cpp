#include "model/timing/TimingNudge.h"

#include "model/FrameTiming.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

} // namespace

TimingNudge::TimingNudge(Edge edge, double step, double frameRate, double profileRate, double minGap)
    : m_edge(edge)
    , m_frameRate(frameRate)
    , m_frame(FrameTiming::frameLength(frameRate, profileRate))
    , m_minGap(minGap)
{
    const double grain = TimingNudge::grain(frameRate);
    const double grains = std::max(1.0, std::round(std::abs(step) / grain));
    m_step = std::copysign(grains * grain, step);
}

double TimingNudge::grain(double frameRate)
{
    return std::isfinite(frameRate) && frameRate > 0 ? 1.0 / frameRate : 0.001;
}

double TimingNudge::onFrame(double t) const
{
    return FrameTiming::onFrame(t, m_frameRate);
}

// The step, cut short to stay within [earliest, latest] (a limit already passed allows
// no move towards it), and a whole number of frames.
double TimingNudge::shiftWithin(double earliest, double latest) const
{
    const double grain = TimingNudge::grain(m_frameRate);
    // Frames that fit, with a rounding error of a sum of frames counted as fitting.
    const auto fitting = [grain](double room) { return std::floor(std::max(0.0, room) / grain + 1e-6) * grain; };
    if (m_step < 0)
        return -std::min(-m_step, fitting(-earliest));
    return std::min(m_step, fitting(latest));
}

QList<Subtitle::Values> TimingNudge::valuesFor(const SubtitleList &list, const IndexSet &indexes) const
{
    const double frame = m_frame;
    const int size = int(list.size());
    const auto previousEnd = [&](int i) { return i > 0 ? list[i - 1]->end + m_minGap : 0.0; };
    const auto nextStart = [&](int i) { return i + 1 < size ? list[i + 1]->start - m_minGap : infinity; };

    QList<Subtitle::Values> values;
    bool moves = false;
    if (m_edge == Edge::Both) {
        // One shift for all, so that they keep their timing among themselves: a selected
        // neighbour moves with them and is no limit.
        double earliest = -infinity;
        double latest = infinity;
        for (int i : indexes) {
            const Subtitle &subtitle = *list[i];
            earliest = std::max(earliest, -subtitle.start);
            if (!indexes.contains(i - 1))
                earliest = std::max(earliest, previousEnd(i) - subtitle.start);
            if (!indexes.contains(i + 1))
                latest = std::min(latest, nextStart(i) - subtitle.end);
        }
        const double shift = shiftWithin(earliest, latest);
        for (int i : indexes) {
            Subtitle::Values value;
            if (shift != 0) {
                value.start = onFrame(list[i]->start + shift);
                value.end = onFrame(list[i]->end + shift);
                moves = true;
            }
            values.append(value);
        }
        return moves ? values : QList<Subtitle::Values>();
    }

    for (int i : indexes) {
        const Subtitle &subtitle = *list[i];
        Subtitle::Values value;
        if (m_edge == Edge::Start) {
            const double earliest = std::max(0.0, previousEnd(i)) - subtitle.start;
            const double shift = shiftWithin(earliest, subtitle.end - frame - subtitle.start);
            if (shift != 0)
                value.start = onFrame(subtitle.start + shift);
        } else {
            const double shift = shiftWithin(subtitle.start + frame - subtitle.end, nextStart(i) - subtitle.end);
            if (shift != 0)
                value.end = onFrame(subtitle.end + shift);
        }
        moves = moves || !value.isEmpty();
        values.append(value);
    }
    return moves ? values : QList<Subtitle::Values>();
}
