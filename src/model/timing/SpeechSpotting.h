#pragma once

#include "model/timing/SpeechSnap.h"
#include "model/Subtitle.h"

// Subtitles made from the speech in a film's sound, empty, to be typed into: one for
// each stretch of speech, with stretches a short pause apart joined, within the quality
// limits:
// - a run of speech longer than the maximum duration is split at its longest pause (one
//   that leaves neither side shorter than the minimum duration, when there is one), and
//   a stretch without a pause into even parts;
// - a piece of speech too short to be shown alone, with no free time after it to
//   lengthen it into, joins its nearer neighbour when that is close and the two fit;
// - each subtitle starts where its speech starts and ends the lead-out after it, at
//   least the minimum duration and at most the maximum, the minimum gap before the next;
// - times land on frames (on milliseconds while no rate is known), and an edge near a
//   shot change goes where the shot-change rules put it when the limits allow.
class SpeechSpotting
{
public:
    struct Options
    {
        // Stretches with a shorter pause between them are one subtitle: a breath within
        // a sentence, not the end of one.
        double joinPause = 0.5;
        // How far apart a piece too short for a subtitle of its own and its neighbour may
        // be to join.
        double joinShortPause = 1.0;
        bool followShotChanges = true;
    };

    static SubtitleList spot(const SpeechSnap::Sources &sources, const Options &options);
    static SubtitleList spot(const SpeechSnap::Sources &sources) { return spot(sources, Options()); }
};
