#pragma once

#include "model/quality/QualityLimits.h"

#include <limits>

// How far a subtitle is past each timing limit, 0 within it: what no automatic change of
// its times may increase. Changes that keep a subtitle's excess from growing never turn
// a subtitle that kept to the limits into one that does not.
class TimingExcess
{
public:
    // A subtitle's times as a change would leave them, with what the limits need.
    struct Span
    {
        double start = 0;
        double end = 0;
        int counted = 0; // characters or words, as the reading speed counts them
        double nextStart = std::numeric_limits<double>::infinity(); // where the next subtitle starts
    };

    // How far sums of times may stray from exact values: far below what a file keeps.
    static constexpr double rounding = 1e-9;

    TimingExcess(const Span &span, const QualityLimits &limits, double minGap);

    bool isNotWorseThan(const TimingExcess &before) const;

    double gap;
    double shortness;
    double length;
    double speed;
};
