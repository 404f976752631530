#include "model/OverlapByOffset.h"

#include <algorithm>
#include <cmath>
#include <optional>

OverlapByOffset::OverlapByOffset(std::span<const Interval> intervals, std::span<const SpeechStretch> speech, Grid grid)
    : m_grid(grid)
    , m_overlaps(grid.size + 2, 0.0)
{
    if (grid.size == 0)
        return;
    std::vector<double> &bends = m_overlaps;
    const double last = double(grid.size);
    // A bend of `weight` at `position` (in steps from the lowest offset), shared between the
    // two grid points around it so that the ramp it starts is exact at both.
    const auto bend = [&](double position, double weight) {
        position = std::clamp(position, 0.0, last);
        const auto index = std::size_t(position);
        const double fraction = position - double(index);
        bends[index] += weight * (1 - fraction);
        bends[index + 1] += weight * fraction;
    };
    // Positions in steps: the offset that brings x onto y is at y - x.
    std::vector<SpeechStretch> stretches;
    stretches.reserve(speech.size());
    for (const SpeechStretch &stretch : speech)
        stretches.push_back({(stretch.start - grid.lowest) / grid.step, (stretch.end - grid.lowest) / grid.step});
    for (const Interval &interval : intervals) {
        const double w = interval.weight;
        const double start = interval.start / grid.step;
        const double end = interval.end / grid.step;
        for (const SpeechStretch &stretch : stretches) {
            // The overlap starts to grow when the interval's end reaches the stretch's start,
            // stops growing when either is inside the other, and is gone when the interval's
            // start has passed the stretch's end.
            bend(stretch.start - end, w);
            bend(stretch.start - start, -w);
            bend(stretch.end - end, -w);
            bend(stretch.end - start, w);
        }
    }
    double slope = 0;
    double overlap = 0;
    for (std::size_t i = 0; i < grid.size; ++i) {
        const double b = bends[i];
        m_overlaps[i] = overlap;
        slope += b;
        overlap += slope * grid.step;
    }
    m_overlaps.resize(grid.size);
}

std::vector<double> OverlapByOffset::peaks(int count, double separation) const
{
    std::vector<std::size_t> maxima;
    for (std::size_t i = 1; i + 1 < m_overlaps.size(); ++i) {
        if (m_overlaps[i] > 0 && m_overlaps[i] >= m_overlaps[i - 1] && m_overlaps[i] > m_overlaps[i + 1])
            maxima.push_back(i);
    }
    std::vector<double> found;
    const auto farFromFound = [&](double offset) {
        return std::none_of(found.begin(), found.end(), [&](double f) { return std::abs(f - offset) < separation; });
    };
    for (int n = 0; n < count; ++n) {
        std::optional<std::size_t> best;
        for (std::size_t i : maxima) {
            if ((!best || m_overlaps[i] > m_overlaps[*best]) && farFromFound(offsetAt(i)))
                best = i;
        }
        if (!best)
            break;
        found.push_back(offsetAt(*best));
    }
    return found;
}
