#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"

#include <QList>

// Moves the start, the end or the whole of subtitles by a small step from the keyboard,
// as far as the step goes without breaking the list: a start stays at or after 0 and at
// least a frame before its end, and no edge comes nearer a neighbour than the minimum
// gap. A subtitle already too near one is not moved nearer, but may move away.
class TimingNudge
{
public:
    enum class Edge { Start, End, Both };

    // What times are kept on: frames, or milliseconds while the rate is unknown.
    static double grain(double frameRate);

    // `step` in seconds (negative: earlier), made a whole number of frames (of milliseconds
    // while the rate is unknown), at least one. The profile's rate says how long the
    // frame a subtitle keeps at least is while no video gives a rate.
    TimingNudge(Edge edge, double step, double frameRate, double profileRate, double minGap);

    // The new values of the subtitles at `indexes`, paired with them in ascending order;
    // empty when none of them can move.
    QList<Subtitle::Values> valuesFor(const SubtitleList &list, const IndexSet &indexes) const;

private:
    double shiftWithin(double earliest, double latest) const;
    double onFrame(double t) const;

    Edge m_edge;
    double m_step;
    double m_frameRate;
    double m_frame;
    double m_minGap;
};
