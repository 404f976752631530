#pragma once

#include "model/SpeechStretches.h"

#include <span>
#include <vector>

// How many seconds of some intervals fall on speech when all of them are moved by one
// offset, each second weighted by its interval's weight, for every offset on an even grid.
// One interval against one stretch overlaps by a trapezoid of the offset, so the sum is
// piecewise linear: it is built from the bends of all pairs and two running sums, in time
// proportional to the pairs plus the grid, and is exact at the grid's points.
class OverlapByOffset
{
public:
    struct Interval
    {
        double start = 0;
        double end = 0;
        double weight = 1;
    };
    struct Grid
    {
        double lowest = 0; // the first offset
        double step = 0.1;
        std::size_t size = 0;
    };

    OverlapByOffset(std::span<const Interval> intervals, std::span<const SpeechStretch> speech, Grid grid);

    const Grid &grid() const { return m_grid; }
    const std::vector<double> &overlaps() const { return m_overlaps; }

    // The offsets of the `count` highest local maxima at least `separation` seconds apart,
    // the highest first; a maximum with a flat top at the middle of the top.
    std::vector<double> peaks(int count, double separation) const;

private:
    Grid m_grid;
    std::vector<double> m_overlaps;
};
