#include "model/FrameTiming.h"

#include <cmath>

double FrameTiming::countingRate(double videoRate, double profileRate)
{
    return std::isfinite(videoRate) && videoRate > 0 ? videoRate : profileRate;
}

double FrameTiming::frameLength(double videoRate, double profileRate)
{
    return 1.0 / countingRate(videoRate, profileRate);
}

double FrameTiming::snapToFrame(double t, double frameRate)
{
    if (frameRate == 0)
        return t;
    return std::round(t * frameRate) / frameRate;
}

double FrameTiming::onFrame(double t, double frameRate, Rounding rounding)
{
    const double rate = std::isfinite(frameRate) && frameRate > 0 ? frameRate : 1000;
    // Times a sum of frames away from a boundary are a rounding error off it: they count as on it.
    constexpr double slack = 1e-6;
    switch (rounding) {
    case Rounding::Nearest:
        return std::round(t * rate) / rate;
    case Rounding::Down:
        return std::floor(t * rate + slack) / rate;
    case Rounding::Up:
        return std::ceil(t * rate - slack) / rate;
    }
    return t;
}
