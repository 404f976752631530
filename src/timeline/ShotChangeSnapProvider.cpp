#include "timeline/ShotChangeSnapProvider.h"

#include "model/ShotChanges.h"

ShotChangeSnapProvider::ShotChangeSnapProvider(const ShotChanges &shotChanges)
    : m_shotChanges(shotChanges)
{
}

void ShotChangeSnapProvider::offer(const Query &query, QList<double> &times) const
{
    for (double time : m_shotChanges.between(query.from, query.to))
        times.append(time);
}
