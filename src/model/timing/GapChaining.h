#pragma once

#include "model/IndexSet.h"
#include "model/quality/QualityLimits.h"
#include "model/Subtitle.h"

#include <QList>

// Closes the short gaps between subtitles that follow each other: an end whose gap to
// the next start is under the threshold moves to exactly the minimum gap before it.
// Overlaps count as short gaps and are ended the same way, unless that would leave the
// subtitle shorter than a frame. Gaps at or above the threshold stay.
class GapChaining
{
public:
    struct Rules
    {
        double threshold = 0; // seconds
        double minGap = 0;
        double frameRate = 0; // 0 while unknown
        double profileRate = QualityLimits().frameRate; // counts frames while frameRate is unknown
    };
    // New ends for the subtitles at `indexes`, paired with them in ascending order; empty
    // when no gap is closed. The gaps are those after the subtitles followed by another of
    // them; with a single one, the gap after it.
    static QList<Subtitle::Values> chain(const SubtitleList &list, const IndexSet &indexes, const Rules &rules);
};
