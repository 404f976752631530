#pragma once

#include "model/Subtitle.h"

// What the timeline keeps of the whole list so as not to walk it on every paint: how far
// it reaches, and its longest subtitle, which bounds how long before a view a block that
// reaches into it can start.
struct SubtitleListExtents
{
    bool any = false;
    double lastEnd = 0; // the greatest end
    double longest = 0; // the greatest duration

    static SubtitleListExtents of(const SubtitleList &subtitles);
};
