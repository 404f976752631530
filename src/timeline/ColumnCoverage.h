#pragma once

#include <vector>

// How many blocks lie over each pixel column of a stretch of the strip, for drawing from
// the top down: a block whose every column is already under `depth` others would not
// show, so it need not be drawn. Both questions take time logarithmic in the width, so
// a stack of a hundred thousand blocks costs no more to cull than to list.
class ColumnCoverage
{
public:
    // Columns first…last; those outside count as covered.
    ColumnCoverage(int first, int last, int depth);

    // Whether every column of first…last lies under `depth` blocks already.
    bool isCovered(int first, int last) const;
    // One more block over first…last.
    void add(int first, int last);

private:
    int lowest(int node, int lo, int hi, int first, int last) const;
    void add(int node, int lo, int hi, int first, int last);

    int m_first;
    int m_last;
    int m_depth;
    // A segment tree: each node's lowest count over its columns, and what was added to
    // all of its columns at once.
    std::vector<int> m_lowest;
    std::vector<int> m_whole;
};
