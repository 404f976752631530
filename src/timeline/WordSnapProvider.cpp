#include "timeline/WordSnapProvider.h"

#include "model/timing/WordTimings.h"

WordSnapProvider::WordSnapProvider(const WordTimings &words)
    : m_words(words)
{
}

void WordSnapProvider::offer(const Query &query, QList<double> &times) const
{
    for (const double edge : m_words.edgesWithin(query.from, query.to))
        times.append(edge);
}
