#pragma once

#include "model/Subtitle.h"

#include <limits>
#include <optional>

// Where a subtitle added at the playback cursor goes: from the cursor (on a frame) for
// the wanted duration, shortened to end the minimum gap before the next subtitle and by
// the video's end. None
// when the cursor is inside a subtitle or nearer its end than the minimum gap, or when
// not even the minimum duration fits before the next one.
class CursorInsertion
{
public:
    struct Rules
    {
        double duration = 2;
        double minDuration = 0;
        double minGap = 0;
        double frameRate = 0; // 0 while unknown: times on milliseconds
        double videoEnd = std::numeric_limits<double>::infinity(); // a subtitle ends by it
    };
    struct Placement
    {
        double start = 0;
        double end = 0;
        friend bool operator==(const Placement &, const Placement &) = default;
    };

    static std::optional<Placement> place(const SubtitleList &list, double cursor, const Rules &rules);
};
