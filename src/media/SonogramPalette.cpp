#include "media/SonogramPalette.h"

#include <algorithm>
#include <cmath>

namespace {

// Evenly spaced along the scale; the steps between are mixed linearly.
constexpr std::array<std::array<int, 3>, 9> Anchors{{
    {0, 0, 4},
    {31, 12, 72},
    {85, 15, 109},
    {136, 34, 106},
    {186, 54, 85},
    {227, 89, 51},
    {249, 140, 10},
    {249, 201, 50},
    {252, 255, 164},
}};

std::array<QRgb, 256> makeSteps()
{
    std::array<QRgb, 256> steps{};
    constexpr int last = int(Anchors.size()) - 1;
    for (int i = 0; i < 256; ++i) {
        const double position = i / 255.0 * last;
        const int below = std::min(int(position), last - 1);
        const double t = position - below;
        int rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = int(std::lround(Anchors[below][c] * (1 - t) + Anchors[below + 1][c] * t));
        steps[i] = qRgb(rgb[0], rgb[1], rgb[2]);
    }
    return steps;
}

} // namespace

const std::array<QRgb, 256> &SonogramPalette::steps()
{
    static const std::array<QRgb, 256> steps = makeSteps();
    return steps;
}

QRgb SonogramPalette::colour(double share)
{
    const double clamped = std::isnan(share) ? 0 : std::clamp(share, 0.0, 1.0);
    return steps()[size_t(std::lround(clamped * 255))];
}
