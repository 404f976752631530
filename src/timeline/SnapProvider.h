#pragma once

#include <QList>

// One kind of place that a dragged edge snaps to: the playback cursor, the blocks beside
// the dragged ones, and whatever else the timeline learns to show. A drag asks the
// providers in the order of their priority and takes the first one's nearest offer.
class SnapProvider
{
public:
    enum class Edge { Start, End };
    struct Query
    {
        Edge edge = Edge::Start;
        // The times worth offering: around where the pointer puts the edge.
        double from = 0;
        double to = 0;
        // From the dragged blocks' earliest start to their latest end.
        double spanLength = 0;
    };

    virtual ~SnapProvider() = default;
    // Appends the times within [from, to] at which an edge of this kind may land.
    virtual void offer(const Query &query, QList<double> &times) const = 0;
};
