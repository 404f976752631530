#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"

#include <QCoreApplication>

class SubtitleController;

// Timing a translation made line by line from its original: the n-th subtitle takes the
// n-th original line's start and end.
class OriginalTimingCopy
{
    Q_DECLARE_TR_FUNCTIONS(OriginalTimingCopy)

public:
    struct Result
    {
        int timed = 0; // subtitles whose times changed
        int added = 0; // empty subtitles added for original lines past the last subtitle
    };

    // With two or more positions in `selection`, times those subtitles; otherwise every
    // subtitle, and adds an empty one for each original line beyond them, so that a new
    // translation starts from the original's timing. `originals` are sorted by start.
    // One undo step.
    static Result apply(SubtitleController &controller, const SubtitleList &originals, const IndexSet &selection);
};
