#pragma once

// The spacing of the ruler's ticks: major ticks `time` seconds (`space` points) apart,
// each major interval cut into `smallTicks` minor ones.
struct RulerGranularity
{
    double space = 0;
    double time = 0;
    double smallTicks = 0;

    // The first step whose major ticks lie more than 100 points apart: from a second up
    // to days, so that labels never overlap at any zoom of any length.
    static RulerGranularity forScale(double pointsPerSecond, double frameRate);

    bool isDrawable() const { return space > 0 && time > 0 && smallTicks > 0; }
    friend bool operator==(const RulerGranularity &, const RulerGranularity &) = default;
};
