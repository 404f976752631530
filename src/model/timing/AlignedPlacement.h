#pragma once

#include "model/IndexSet.h"
#include "model/SpokenWord.h"
#include "model/timing/SpeechSnap.h"

#include <QList>

// Where subtitles whose words were found in the speech go: each from its first word's
// start to its last word's end, and from there by the rules Snap to Speech keeps (frames,
// the lead-out, gaps, shot changes, timing limits). A subtitle is never put on top of a
// neighbour left where it is: it stays where it was, and is told as blocked.
// The script's lines are in its order in the list where the ones not found are fitted
// between the found ones.
class AlignedPlacement
{
public:
    struct Found
    {
        int position = 0; // in the list, ascending
        QList<SpokenWord> words;
    };
    struct Plan
    {
        QList<Subtitle::Values> values; // for `positions`, in order
        IndexSet positions;
        QList<int> blocked; // positions left, as a neighbour is in the way
    };

    // What becomes of the script's lines that were not found: they keep their times, or,
    // when those mean nothing (a script's placeholders), share the time between the found
    // lines around them, in their order, so that none lies on top of another.
    enum class Others { Keep, FitBetween };

    // `script`: the positions of the lines looked for, found or not. Every other subtitle
    // keeps its times whatever `others` says. `sources.speech` is not used: the words are
    // the speech.
    static Plan plan(const SubtitleList &list, const QList<Found> &found, const SpeechSnap::Sources &sources,
                     Others others = Others::Keep, const IndexSet &script = {});
};
