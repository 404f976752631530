#pragma once

#include "model/SpeechStretches.h"
#include "model/Subtitle.h"
#include "model/timing/SyncResult.h"

#include <vector>

// Finds where subtitles belong in a film from the stretches of speech in its sound: a
// shift, a change between the common frame rates, and breaks where the film has a stretch
// more (an advert) or less (a cut scene) than the version the subtitles were made for.
// A subtitle fits where speech lies under it and not around it, and begins just before
// speech does; the mapping under which the subtitles fit best, for the fewest breaks, wins.
// Pure computation: about half a second for a two-hour film on one core.
class SpeechAlignment
{
public:
    // `subtitles` are the subtitles' intervals in their own time.
    static SyncResult align(std::vector<SpeechStretch> subtitles, const SpeechStretches &speech);
    static SyncResult align(const SubtitleList &subtitles, const SpeechStretches &speech);

    // The frame-rate conversions tried besides none: between 23.976, 24, 25 and 29.97 fps
    // either way.
    static const std::vector<FrameRateConversion> &conversions();
};
