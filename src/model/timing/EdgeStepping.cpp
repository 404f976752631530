#include "model/timing/EdgeStepping.h"

#include "model/ShotChanges.h"

#include <algorithm>

namespace {

// The nearest of the edges beyond the cursor's reach, in one pass: ends are not in order.
class NearestEdge
{
public:
    NearestEdge(double from, bool forward)
        : m_from(from)
        , m_forward(forward)
    {
    }
    void offer(double t)
    {
        const bool beyond = m_forward ? t > m_from + ShotChanges::tolerance : t < m_from - ShotChanges::tolerance;
        if (beyond && (!m_best || (m_forward ? t < *m_best : t > *m_best)))
            m_best = t;
    }
    std::optional<double> best() const { return m_best; }

private:
    double m_from;
    bool m_forward;
    std::optional<double> m_best;
};

} // namespace

std::optional<double> EdgeStepping::subtitleEdge(const SubtitleList &list, double from, bool forward)
{
    NearestEdge nearest(from, forward);
    for (const SubtitlePtr &subtitle : list) {
        nearest.offer(subtitle->start);
        nearest.offer(subtitle->end);
    }
    return nearest.best();
}

std::optional<double> EdgeStepping::speechEdge(const SpeechStretches &speech, double from, bool forward)
{
    NearestEdge nearest(from, forward);
    for (const SpeechStretch &stretch : speech.stretches()) {
        nearest.offer(stretch.start);
        nearest.offer(stretch.end);
    }
    return nearest.best();
}
