#include "model/timing/OverlapByOffset.h"

#include <algorithm>
#include <cmath>

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
    // Subtitles with room around their speech overlap it equally over a range of offsets:
    // the top is flat, up to the rounding of the running sums. Its middle stands for it,
    // the place from which a finer search reaches either side.
    const auto same = [](double a, double b) { return std::abs(a - b) <= 1e-9 * (1 + std::abs(a)); };
    struct Maximum
    {
        double overlap = 0;
        double offset = 0;
    };
    std::vector<Maximum> maxima;
    for (std::size_t i = 1; i + 1 < m_overlaps.size();) {
        const double top = m_overlaps[i];
        std::size_t last = i;
        while (last + 1 < m_overlaps.size() && same(top, m_overlaps[last + 1]))
            ++last;
        if (top > 0 && last + 1 < m_overlaps.size() && top > m_overlaps[i - 1] && !same(top, m_overlaps[i - 1])
            && top > m_overlaps[last + 1])
            maxima.push_back({top, m_grid.lowest + double(i + last) / 2 * m_grid.step});
        i = last + 1;
    }
    std::vector<double> found;
    const auto farFromFound = [&](double offset) {
        return std::none_of(found.begin(), found.end(), [&](double f) { return std::abs(f - offset) < separation; });
    };
    for (int n = 0; n < count; ++n) {
        const Maximum *best = nullptr;
        for (const Maximum &maximum : maxima) {
            if ((!best || maximum.overlap > best->overlap) && farFromFound(maximum.offset))
                best = &maximum;
        }
        if (!best)
            break;
        found.push_back(best->offset);
    }
    return found;
}
