#pragma once

#include "speech/ScriptAligner.h"

#include <functional>
#include <optional>
#include <stop_token>

// A script worked through from both ends at once, on two threads: one aligner places the
// lines from the first on, the other from the last back, each between the lines already
// placed on either side, until the two meet. Each aligner needs a recogniser of its own.
class ScriptAlignmentFromBothEnds
{
public:
    // Each line's outcome, in order; none when stopped. `progress` hears how many lines are
    // done, after each, from either thread.
    static std::optional<QList<ScriptAligner::Outcome>> align(ScriptAligner &front, ScriptAligner &back,
                                                               const QList<ScriptAligner::Line> &lines,
                                                               ScriptAligner::Bounds bounds, std::stop_token stop,
                                                               const std::function<void(int done)> &progress = {});
};
