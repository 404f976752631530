#pragma once

#include <QRgb>

#include <array>

// The colours of a sonogram's levels, from quiet to loud: black through purple, red and
// orange to pale yellow. Brightness rises evenly along the scale, so that louder always
// reads as brighter, in colour and in grey alike.
class SonogramPalette
{
public:
    // The colour at share 0..1 of the scale, one of 256 steps.
    static QRgb colour(double share);
    static const std::array<QRgb, 256> &steps();
};
