#include "timeline/ColumnCoverage.h"

#include <algorithm>
#include <limits>

ColumnCoverage::ColumnCoverage(int first, int last, int depth)
    : m_first(first)
    , m_last(std::max(first, last))
    , m_depth(depth)
{
    const size_t nodes = 4 * size_t(m_last - m_first + 1);
    m_lowest.assign(nodes, 0);
    m_whole.assign(nodes, 0);
}

bool ColumnCoverage::isCovered(int first, int last) const
{
    first = std::max(first, m_first);
    last = std::min(last, m_last);
    return first > last || lowest(1, m_first, m_last, first, last) >= m_depth;
}

void ColumnCoverage::add(int first, int last)
{
    first = std::max(first, m_first);
    last = std::min(last, m_last);
    if (first <= last)
        add(1, m_first, m_last, first, last);
}

int ColumnCoverage::lowest(int node, int lo, int hi, int first, int last) const
{
    if (last < lo || hi < first)
        return std::numeric_limits<int>::max();
    if (first <= lo && hi <= last)
        return m_lowest[size_t(node)];
    const int middle = lo + (hi - lo) / 2;
    return m_whole[size_t(node)]
        + std::min(lowest(2 * node, lo, middle, first, last), lowest(2 * node + 1, middle + 1, hi, first, last));
}

void ColumnCoverage::add(int node, int lo, int hi, int first, int last)
{
    if (last < lo || hi < first)
        return;
    if (first <= lo && hi <= last) {
        ++m_whole[size_t(node)];
        ++m_lowest[size_t(node)];
        return;
    }
    const int middle = lo + (hi - lo) / 2;
    add(2 * node, lo, middle, first, last);
    add(2 * node + 1, middle + 1, hi, first, last);
    m_lowest[size_t(node)] = m_whole[size_t(node)] + std::min(m_lowest[size_t(2 * node)], m_lowest[size_t(2 * node + 1)]);
}
