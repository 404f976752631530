#include "model/timing/PlaybackSpeed.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array steps{0.5, 0.6, 0.75, 0.9, 1.0, 1.1, 1.25, 1.5, 2.0};
// Speeds reach us through settings and arithmetic: 0.7499999 is the 0.75 step.
constexpr double sameStep = 1e-6;

} // namespace

double PlaybackSpeed::faster(double speed)
{
    speed = bounded(speed);
    const auto next = std::find_if(steps.begin(), steps.end(), [speed](double step) { return step > speed + sameStep; });
    return next == steps.end() ? fastest : *next;
}

double PlaybackSpeed::slower(double speed)
{
    speed = bounded(speed);
    const auto previous = std::find_if(steps.rbegin(), steps.rend(), [speed](double step) { return step < speed - sameStep; });
    return previous == steps.rend() ? slowest : *previous;
}

double PlaybackSpeed::bounded(double speed)
{
    if (!std::isfinite(speed) || speed <= 0)
        return normal;
    return std::clamp(speed, slowest, fastest);
}
