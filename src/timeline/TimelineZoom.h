#pragma once

#include "model/Subtitle.h"

#include <utility>

// The zooms a timeline can have and the ones its commands ask for, as magnifications:
// 1 shows `defaultWidthPerSecond` points a second. `duration` is what the timeline shows,
// in seconds, `width` the view's width in points.
class TimelineZoom
{
public:
    static constexpr double defaultWidthPerSecond = 30.0;
    // Beyond this a frame is wider than several screens; also keeps the strip's width
    // within what a scroll bar can count.
    static constexpr double maximum = 1000.0;
    // A film up to this long (seconds) first opens whole; a longer one this many seconds across.
    static constexpr double wholeFilmAtMost = 30.0;
    static constexpr double firstSpan = 15.0;

    // A short timeline is never shown below 1; a long one zooms out until it fits.
    static double lowest(double duration, double width);
    // `magnification` within the limits, the upper one lowered for a film whose whole
    // width would pass what a scroll bar can count.
    static double bounded(double magnification, double duration, double width);
    // `seconds` across the view.
    static double spanning(double seconds, double width);
    // The whole film across the view: zoomed in when it is short, out when it is long.
    static double fitting(double duration, double width);
    // The zoom a film nobody zoomed yet opens at: whole when short, to time by when long.
    static double first(double filmDuration, double width);
    // The times the selected subtitles span, with a little room either side.
    static std::pair<double, double> aroundSelection(const SubtitleList &selected);
};
