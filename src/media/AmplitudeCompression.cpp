#include "media/AmplitudeCompression.h"

#include <algorithm>
#include <cmath>

double AmplitudeCompression::height(double level, double zoom)
{
    // Bounded, so that the curve below never meets an infinity.
    const double scaled = std::clamp(level, 0.0, 1e12) * boundedZoom(zoom);
    if (!(scaled > knee))
        return std::isnan(scaled) ? 0 : scaled;
    // ln(1 + u) / (1 + ln(1 + u)) leaves the knee at the slope of the line below it (no
    // kink) and approaches the edge as slowly as a logarithm: 32 times past the edge is
    // still visibly lower than 64 times.
    const double over = std::log1p((scaled - knee) / (1 - knee));
    return knee + (1 - knee) * over / (1 + over);
}

double AmplitudeCompression::boundedZoom(double zoom)
{
    return std::isnan(zoom) ? minimumZoom : std::clamp(zoom, minimumZoom, maximumZoom);
}
