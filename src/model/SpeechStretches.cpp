#include "model/SpeechStretches.h"

#include <algorithm>
#include <cmath>

SpeechStretches::SpeechStretches(std::vector<SpeechStretch> stretches)
{
    std::sort(stretches.begin(), stretches.end(),
              [](const SpeechStretch &a, const SpeechStretch &b) { return a.start < b.start; });
    for (const SpeechStretch &stretch : stretches) {
        if (!std::isfinite(stretch.start) || !std::isfinite(stretch.end) || stretch.end <= stretch.start)
            continue;
        if (!m_stretches.empty() && stretch.start <= m_stretches.back().end)
            m_stretches.back().end = std::max(m_stretches.back().end, stretch.end);
        else
            m_stretches.push_back(stretch);
    }
}

template<typename Edge>
std::optional<double> SpeechStretches::nearestEdge(double time, double distance, Edge edge) const
{
    // Both edges are sorted, as the stretches neither overlap nor touch.
    auto after = std::lower_bound(m_stretches.begin(), m_stretches.end(), time,
                                  [&](const SpeechStretch &stretch, double t) { return edge(stretch) < t; });
    std::optional<double> best;
    if (after != m_stretches.end() && edge(*after) - time <= distance)
        best = edge(*after);
    if (after != m_stretches.begin()) {
        const double before = edge(*std::prev(after));
        if (time - before <= distance && (!best || time - before < *best - time))
            best = before;
    }
    return best;
}

std::optional<double> SpeechStretches::nearestOnset(double time, double distance) const
{
    return nearestEdge(time, distance, [](const SpeechStretch &s) { return s.start; });
}

std::optional<double> SpeechStretches::nearestOffset(double time, double distance) const
{
    return nearestEdge(time, distance, [](const SpeechStretch &s) { return s.end; });
}

std::span<const SpeechStretch> SpeechStretches::overlapping(double from, double to) const
{
    auto first = std::upper_bound(m_stretches.begin(), m_stretches.end(), from,
                                  [](double t, const SpeechStretch &stretch) { return t < stretch.end; });
    auto last = std::lower_bound(first, m_stretches.end(), to,
                                 [](const SpeechStretch &stretch, double t) { return stretch.start < t; });
    return {first, last};
}

double SpeechStretches::speechWithin(double from, double to) const
{
    double total = 0;
    for (const SpeechStretch &stretch : overlapping(from, to))
        total += std::max(0.0, std::min(to, stretch.end) - std::max(from, stretch.start));
    return total;
}
