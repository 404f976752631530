#include "timeline/SubtitleListExtents.h"

#include <algorithm>

SubtitleListExtents SubtitleListExtents::of(const SubtitleList &subtitles)
{
    SubtitleListExtents extents;
    extents.any = !subtitles.isEmpty();
    for (const SubtitlePtr &subtitle : subtitles) {
        extents.lastEnd = std::max(extents.lastEnd, subtitle->end);
        extents.longest = std::max(extents.longest, subtitle->end - subtitle->start);
    }
    return extents;
}
