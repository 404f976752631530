#include "timeline/RulerGranularity.h"

#include <array>
#include <utility>

namespace {
constexpr double minimumSpace = 100; // wider than the longest label, so labels never meet
constexpr double day = 86400;
} // namespace

RulerGranularity RulerGranularity::forScale(double pointsPerSecond, double frameRate)
{
    if (!(pointsPerSecond > 0))
        return {};
    // One second is split into frames; the longer steps into round parts of themselves.
    const std::array<std::pair<double, double>, 14> steps{{
        {1, frameRate}, {5, 5}, {10, 10}, {30, 3}, {60, 6}, {300, 5}, {600, 10}, {1800, 3}, {3600, 6},
        {2 * 3600, 2}, {6 * 3600, 6}, {12 * 3600, 2}, {day, 4}, {2 * day, 2},
    }};
    for (const auto &[time, smallTicks] : steps) {
        const double space = pointsPerSecond * time;
        if (space > minimumSpace)
            return {space, time, smallTicks};
    }
    // Beyond: 5, 10, 20, 50, 100 … days, each in five or in two.
    for (double days = 5;; days *= 10) {
        for (const auto &[factor, smallTicks] : std::array<std::pair<double, double>, 3>{{{1, 5}, {2, 2}, {4, 2}}}) {
            const double time = days * factor * day;
            const double space = pointsPerSecond * time;
            if (space > minimumSpace || time > 1e15)
                return {space, time, smallTicks};
        }
    }
}
