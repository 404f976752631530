#include "model/FrameTiming.h"

#include <cmath>

double FrameTiming::twoFrameGap(double frameRate)
{
    return frameRate != 0 ? 2.0 / frameRate : 1.0 / 12.0;
}

double FrameTiming::snapToFrame(double t, double frameRate)
{
    if (frameRate == 0)
        return t;
    return std::round(t * frameRate) / frameRate;
}
