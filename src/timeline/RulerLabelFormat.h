#pragma once

#include <QString>

// The text of a ruler label, in the subtitle list's layout without its milliseconds
// (ticks fall on whole seconds): always hours, minutes and seconds with two digits
// each, "00:01:05", so labels read alike at every zoom and never as a frame timecode.
// A time of a day or more says its days in words before that, "2d 06:30:00".
class RulerLabelFormat
{
public:
    static QString format(double seconds);
};
