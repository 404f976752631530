#pragma once

// Frame arithmetic at a video's frame rate; a rate of 0 means no video is loaded.
class FrameTiming
{
public:
    // The rate "a frame" is counted at: the video's, or while no video gives one (0, or a
    // rate that is not a positive number) the quality profile's.
    static double countingRate(double videoRate, double profileRate);
    // How long one frame lasts, at countingRate().
    static double frameLength(double videoRate, double profileRate);
    // t moved to the nearest frame boundary (halves away from zero); unchanged at rate 0.
    static double snapToFrame(double t, double frameRate);

    enum class Rounding { Nearest, Down, Up };
    // t on a frame boundary, or at rate 0 (or a rate that is not a positive number) on a
    // millisecond, which is what an SRT file keeps: times computed from others land where
    // a saved file puts them.
    static double onFrame(double t, double frameRate, Rounding rounding = Rounding::Nearest);
};
