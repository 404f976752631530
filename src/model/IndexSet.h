#pragma once

#include <QDebug>
#include <QList>

#include <initializer_list>
#include <vector>

// An ordered set of distinct non-negative list positions. Operations that pair it with a
// list of subtitles take its positions in ascending order.
class IndexSet
{
public:
    IndexSet() = default;
    IndexSet(std::initializer_list<int> indexes);
    explicit IndexSet(int index);

    static IndexSet fromRange(int first, int count);
    template <typename Container>
    static IndexSet fromIndexes(const Container &indexes)
    {
        IndexSet set;
        for (int index : indexes)
            set.insert(index);
        return set;
    }

    void insert(int index);
    void remove(int index);
    bool contains(int index) const;
    bool isEmpty() const { return m_indexes.empty(); }
    int count() const { return int(m_indexes.size()); }
    int first() const;
    int last() const;
    int at(int k) const { return m_indexes[size_t(k)]; }

    std::vector<int>::const_iterator begin() const { return m_indexes.begin(); }
    std::vector<int>::const_iterator end() const { return m_indexes.end(); }

    friend bool operator==(const IndexSet &, const IndexSet &) = default;

private:
    std::vector<int> m_indexes; // ascending, distinct
};

QDebug operator<<(QDebug debug, const IndexSet &set);
