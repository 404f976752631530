#pragma once

#include "model/quality/QualityLimits.h"
#include "model/ShotChanges.h"

#include <optional>

// Where the usual delivery rules put a subtitle's edges near a shot change, counted in
// whole frames. With Z the zone and G the end's distance (12 and 2 by default), for the
// cut nearest the edge:
// - a start 1 to Z-1 frames after the cut, or up to two thirds of Z before it (1–8),
//   goes onto the cut; one closer to Z frames before it (9–11) goes Z frames before it;
// - an end less than Z frames from the cut on either side, the cut included, goes G
//   frames before it.
// An edge on its place, or Z frames or more from every cut, keeps to the rules.
class ShotChangeRules
{
public:
    struct Move
    {
        double to = 0;  // seconds, on a frame
        int frames = 0; // from the edge to the cut: negative when the edge lies before it
        int cutFrame = 0;
    };

    ShotChangeRules(const ShotChanges &shotChanges, double frameRate, const QualityLimits &limits);

    // Where the edge must go, or nothing when it keeps to the rules.
    std::optional<Move> start(double start) const;
    std::optional<Move> end(double end) const;
    // Whether the edge is on the very place the rules give an edge beside a cut (a start
    // on the cut, an end G frames before it), not merely clear of every cut.
    bool startIsOnCut(double start) const;
    bool endIsBeforeCut(double end) const;

    const ShotChanges &shotChanges() const { return m_shotChanges; }
    // Where the rules end a subtitle that ends at `cut`: G frames before it.
    double endBefore(double cut) const;
    // How far an edge may be carried later without passing into the next shot: a start
    // up to the first cut at or after it, an end up to G frames before that cut (which
    // may lie before the end itself). Infinity without a cut ahead.
    double latestStart(double start) const;
    // The latest place before the cut of `move` that is clear of its zone: Z frames before it.
    double clearBefore(const Move &move) const;
    double latestEnd(double end) const;

private:
    std::optional<double> nearestCut(double time) const;
    // Frames from the cut nearest to `time` (negative before it), when one is in the zone.
    std::optional<int> framesFromCut(double time) const;
    int frameOf(double time) const;
    std::optional<double> cutAtOrAfter(double time) const;

    const ShotChanges &m_shotChanges;
    double m_rate;
    int m_zone;
    int m_endGap;
};
