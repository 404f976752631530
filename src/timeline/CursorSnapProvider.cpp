#include "timeline/CursorSnapProvider.h"

CursorSnapProvider::CursorSnapProvider(double cursorTime)
    : m_time(cursorTime)
{
}

void CursorSnapProvider::offer(const Query &query, QList<double> &times) const
{
    if (query.from <= m_time && m_time <= query.to)
        times.append(m_time);
}
