#pragma once

// Frame arithmetic at a video's frame rate; a rate of 0 means no video is loaded.
class FrameTiming
{
public:
    // The gap kept between neighbouring subtitles: two frames, or 1/12 s without a video.
    static double twoFrameGap(double frameRate);
    // t moved to the nearest frame boundary (halves away from zero); unchanged at rate 0.
    static double snapToFrame(double t, double frameRate);
};
