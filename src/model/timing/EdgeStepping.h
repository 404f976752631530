#pragma once

#include "model/SpeechStretches.h"
#include "model/Subtitle.h"

#include <optional>

// Where the playback cursor goes when it steps to the next or previous edge of what the
// timeline shows: any subtitle's start or end, or where speech starts or stops. An edge
// within ShotChanges::tolerance of the cursor is where the cursor already is.
class EdgeStepping
{
public:
    static std::optional<double> subtitleEdge(const SubtitleList &list, double from, bool forward);
    static std::optional<double> speechEdge(const SpeechStretches &speech, double from, bool forward);
};
