#include "model/IndexSet.h"

#include "model/Fatal.h"

#include <algorithm>

IndexSet::IndexSet(std::initializer_list<int> indexes)
{
    for (int index : indexes)
        insert(index);
}

IndexSet::IndexSet(int index)
{
    insert(index);
}

IndexSet IndexSet::fromRange(int first, int count)
{
    IndexSet set;
    set.m_indexes.reserve(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        set.m_indexes.push_back(first + i);
    return set;
}

void IndexSet::insert(int index)
{
    if (index < 0)
        CUEWRIGHT_FATAL("negative position in an index set");
    if (m_indexes.empty() || m_indexes.back() < index) {
        m_indexes.push_back(index); // the common case: built in ascending order
        return;
    }
    auto it = std::lower_bound(m_indexes.begin(), m_indexes.end(), index);
    if (*it != index)
        m_indexes.insert(it, index);
}

void IndexSet::remove(int index)
{
    auto it = std::lower_bound(m_indexes.begin(), m_indexes.end(), index);
    if (it != m_indexes.end() && *it == index)
        m_indexes.erase(it);
}

bool IndexSet::contains(int index) const
{
    return std::binary_search(m_indexes.begin(), m_indexes.end(), index);
}

int IndexSet::first() const
{
    if (m_indexes.empty())
        CUEWRIGHT_FATAL("first position of an empty index set");
    return m_indexes.front();
}

int IndexSet::last() const
{
    if (m_indexes.empty())
        CUEWRIGHT_FATAL("last position of an empty index set");
    return m_indexes.back();
}

QDebug operator<<(QDebug debug, const IndexSet &set)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "IndexSet(";
    bool firstItem = true;
    for (int index : set) {
        if (!firstItem)
            debug << ", ";
        debug << index;
        firstItem = false;
    }
    debug << ")";
    return debug;
}
