#pragma once

#include "model/Subtitle.h"
#include "timeline/SnapProvider.h"

// A start snaps two frames after a neighbouring block's end, an end two frames before a
// neighbour's start; only where the dragged blocks then overlap none of the neighbours.
class NeighbourSnapProvider final : public SnapProvider
{
public:
    // neighbours: the blocks that are not being dragged, near the dragged ones.
    NeighbourSnapProvider(SubtitleList neighbours, double gap);
    void offer(const Query &query, QList<double> &times) const override;

private:
    bool overlapsAny(double start, double end) const;

    SubtitleList m_neighbours;
    double m_gap;
};
