#include "model/OverlapByOffset.h"

#include <algorithm>
#include <cmath>

OverlapByOffset::OverlapByOffset(std::span<const SpeechStretch> intervals, std::span<const SpeechStretch> speech,
                                 Grid grid)
    : m_grid(grid)
    , m_overlaps(grid.size + 2, 0.0)
{
    if (grid.size == 0)
        return;
    std::vector<double> &bends = m_overlaps;
    const double last = double(grid.size);
    // A bend of `weight` at offset x, shared between the two grid points around it so that
    // the ramp it starts is exact at both.
    const auto bend = [&](double x, double weight) {
        const double position = std::clamp((x - grid.lowest) / grid.step, 0.0, last);
        const auto index = std::size_t(position);
        const double fraction = position - double(index);
        bends[index] += weight * (1 - fraction);
        bends[index + 1] += weight * fraction;
    };
    for (const SpeechStretch &interval : intervals) {
        for (const SpeechStretch &stretch : speech) {
            // The overlap starts to grow when the interval's end reaches the stretch's start,
            // stops growing when either is inside the other, and is gone when the interval's
            // start has passed the stretch's end.
            bend(stretch.start - interval.end, 1);
            bend(stretch.start - interval.start, -1);
            bend(stretch.end - interval.end, -1);
            bend(stretch.end - interval.start, 1);
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
    std::sort(maxima.begin(), maxima.end(), [&](std::size_t a, std::size_t b) { return m_overlaps[a] > m_overlaps[b]; });
    std::vector<double> found;
    for (std::size_t i : maxima) {
        if (int(found.size()) == count)
            break;
        const double offset = offsetAt(i);
        if (std::none_of(found.begin(), found.end(), [&](double f) { return std::abs(f - offset) < separation; }))
            found.push_back(offset);
    }
    return found;
}
