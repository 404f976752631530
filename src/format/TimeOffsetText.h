#pragma once

#include "format/TimeDisplay.h"

#include <QString>

#include <optional>

// The text form of a time offset: a sign, then a length of time in any form `display`
// reads ("-00:00:01,500", "+00:00:01:12"), or a number of seconds ("-1.5" or "-1,5").
// While frames are shown, a whole number is a number of frames. The display's timecode
// offset plays no part: this is a length, not a point in the video.
class TimeOffsetText
{
public:
    static std::optional<double> parse(QStringView text, const TimeDisplay &display = {});
    static QString format(double seconds, const TimeDisplay &display = {});
};
