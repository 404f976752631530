#include "timeline/NeighbourSnapProvider.h"

#include <algorithm>

NeighbourSnapProvider::NeighbourSnapProvider(SubtitleList neighbours, double gap)
    : m_neighbours(std::move(neighbours))
    , m_gap(gap)
{
}

void NeighbourSnapProvider::offer(const Query &query, QList<double> &times) const
{
    const bool start = query.edge == Edge::Start;
    for (const SubtitlePtr &neighbour : m_neighbours) {
        const double target = start ? neighbour->end + m_gap : neighbour->start - m_gap;
        if (target < query.from || query.to < target)
            continue;
        const bool fits = start ? !overlapsAny(target, target + query.spanLength)
                                : !overlapsAny(target - query.spanLength, target);
        if (fits)
            times.append(target);
    }
}

bool NeighbourSnapProvider::overlapsAny(double start, double end) const
{
    // Blocks that only touch do not overlap.
    return std::any_of(m_neighbours.begin(), m_neighbours.end(),
                       [&](const SubtitlePtr &n) { return n->start < end && start < n->end; });
}
