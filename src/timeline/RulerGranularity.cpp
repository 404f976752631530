#include "timeline/RulerGranularity.h"

#include <array>
#include <utility>

RulerGranularity RulerGranularity::forScale(double pointsPerSecond, double frameRate)
{
    // One second is split into frames; the longer steps into round parts of themselves.
    const std::array<std::pair<double, double>, 9> steps{{
        {1, frameRate}, {5, 5}, {10, 10}, {30, 3}, {60, 6}, {300, 5}, {600, 10}, {1800, 3}, {3600, 6},
    }};
    for (const auto &[time, smallTicks] : steps) {
        const double space = pointsPerSecond * time;
        if (space > 100)
            return {space, time, smallTicks};
    }
    return {pointsPerSecond * 3600, 3600, 6};
}
