#include "timeline/ShotChangeSnapProvider.h"

#include <limits>

ShotChangeSnapProvider::ShotChangeSnapProvider(const ShotChangeRules &rules)
    : m_rules(rules)
{
}

void ShotChangeSnapProvider::offer(const Query &query, QList<double> &times) const
{
    const ShotChanges &shotChanges = m_rules.shotChanges();
    if (query.edge == Edge::Start) {
        for (double time : shotChanges.between(query.from, query.to))
            times.append(time);
        return;
    }
    // The place before a cut grows with the cut: the cuts from `from` on, until past `to`.
    for (double cut : shotChanges.between(query.from, std::numeric_limits<double>::infinity())) {
        const double end = m_rules.endBefore(cut);
        if (end > query.to)
            break;
        if (end >= query.from)
            times.append(end);
    }
}
