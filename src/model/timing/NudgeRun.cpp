#include "model/timing/NudgeRun.h"

#include <cmath>

double NudgeRun::next(TimingNudge::Edge edge, int direction, const SubtitleList &targets, double frameRate)
{
    if (!goesOn(edge, targets, frameRate)) {
        m_presses = 0;
        m_edge = edge;
        m_frameRate = frameRate;
    }
    const double grain = TimingNudge::grain(frameRate);
    const auto reach = [&](int presses) { return std::round(presses * m_step / grain); };
    const int before = m_presses;
    m_presses += direction < 0 ? -1 : 1;
    const double grains = reach(m_presses) - reach(before);
    // Below 10 fps a press may add up to no frame: it still moves one.
    return (grains != 0 ? grains : double(m_presses - before)) * grain;
}

void NudgeRun::pressed(const SubtitleList &targets)
{
    m_left.clear();
    for (const SubtitlePtr &subtitle : targets)
        m_left.append({subtitle, subtitle->start, subtitle->end});
}

bool NudgeRun::goesOn(TimingNudge::Edge edge, const SubtitleList &targets, double frameRate) const
{
    if (edge != m_edge || frameRate != m_frameRate || targets.size() != m_left.size() || targets.isEmpty())
        return false;
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const Left &left = m_left[i];
        if (targets[i] != left.subtitle || targets[i]->start != left.start || targets[i]->end != left.end)
            return false;
    }
    return true;
}
