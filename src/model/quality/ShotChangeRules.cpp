#include "model/quality/ShotChangeRules.h"

#include <cmath>
#include <cstdlib>
#include <limits>

ShotChangeRules::ShotChangeRules(const ShotChanges &shotChanges, double frameRate, const QualityLimits &limits)
    : m_shotChanges(shotChanges)
    , m_rate(limits.countingRate(frameRate))
    , m_zone(limits.shotChangeZoneFrames)
    , m_endGap(limits.endBeforeShotChangeFrames)
{
}

int ShotChangeRules::frameOf(double time) const
{
    return int(std::lround(time * m_rate));
}

std::optional<double> ShotChangeRules::nearestCut(double time) const
{
    return m_shotChanges.nearest(time, (m_zone + 0.5) / m_rate);
}

std::optional<ShotChangeRules::Move> ShotChangeRules::start(double start) const
{
    const std::optional<double> cut = nearestCut(start);
    if (!cut)
        return std::nullopt;
    const int cutFrame = frameOf(*cut);
    const int frames = frameOf(start) - cutFrame; // positive after the cut
    if (frames == 0 || std::abs(frames) >= m_zone)
        return std::nullopt;
    const int ontoCutBefore = int(std::lround(2.0 * m_zone / 3.0));
    const int target = frames > 0 || -frames <= ontoCutBefore ? cutFrame : cutFrame - m_zone;
    return Move{target / m_rate, frames, cutFrame};
}

std::optional<ShotChangeRules::Move> ShotChangeRules::end(double end) const
{
    const std::optional<double> cut = nearestCut(end);
    if (!cut)
        return std::nullopt;
    const int cutFrame = frameOf(*cut);
    const int frames = frameOf(end) - cutFrame;
    if (frames == -m_endGap || std::abs(frames) >= m_zone)
        return std::nullopt;
    return Move{endBefore(*cut), frames, cutFrame};
}

double ShotChangeRules::endBefore(double cut) const
{
    return (frameOf(cut) - m_endGap) / m_rate;
}

std::optional<double> ShotChangeRules::cutAtOrAfter(double time) const
{
    const std::span<const double> ahead =
        m_shotChanges.between(time - ShotChanges::tolerance, std::numeric_limits<double>::infinity());
    return ahead.empty() ? std::nullopt : std::optional(ahead.front());
}

double ShotChangeRules::clearBefore(const Move &move) const
{
    return (move.cutFrame - m_zone) / m_rate;
}

double ShotChangeRules::latestStart(double start) const
{
    return cutAtOrAfter(start).value_or(std::numeric_limits<double>::infinity());
}

double ShotChangeRules::latestEnd(double end) const
{
    const std::optional<double> cut = cutAtOrAfter(end);
    return cut ? endBefore(*cut) : std::numeric_limits<double>::infinity();
}

std::optional<int> ShotChangeRules::framesFromCut(double time) const
{
    const std::optional<double> cut = nearestCut(time);
    if (!cut)
        return std::nullopt;
    return frameOf(time) - frameOf(*cut);
}

bool ShotChangeRules::startIsOnCut(double start) const
{
    return framesFromCut(start) == 0;
}

bool ShotChangeRules::endIsBeforeCut(double end) const
{
    return framesFromCut(end) == -m_endGap;
}
