#pragma once

#include "model/Fatal.h"
#include "model/IndexSet.h"

#include <algorithm>

// Inserting at or removing from many positions of a long sequence in one pass: one
// insertion or removal at a time moves the rest of the sequence once for each.

// Puts item(k) at the k-th position of `indexes`, positions counted in the result, as
// inserting them one at a time in ascending order would.
template <typename Sequence, typename Item>
void insertAtPositions(Sequence &sequence, const IndexSet &indexes, Item item)
{
    const qsizetype oldSize = qsizetype(sequence.size());
    const qsizetype count = indexes.count();
    for (qsizetype k = 0; k < count; ++k) {
        if (indexes.at(int(k)) > oldSize + k)
            CUEWRIGHT_FATAL("insertion position beyond the end of the list");
    }
    sequence.resize(decltype(sequence.size())(oldSize + count));
    auto *data = sequence.data();
    qsizetype read = oldSize; // the old items before `read` have not moved yet
    qsizetype write = oldSize + count;
    for (qsizetype k = count - 1; k >= 0; --k) {
        const qsizetype position = indexes.at(int(k));
        const qsizetype after = write - position - 1; // old items that go after this one
        std::move_backward(data + read - after, data + read, data + write);
        read -= after;
        data[position] = item(k);
        write = position;
    }
}

// Removes the items at `indexes`, positions counted before the removal.
template <typename Sequence>
void removeAtPositions(Sequence &sequence, const IndexSet &indexes)
{
    if (indexes.isEmpty())
        return;
    const qsizetype size = qsizetype(sequence.size());
    if (indexes.last() >= size)
        CUEWRIGHT_FATAL("removal position outside the list");
    auto *data = sequence.data();
    qsizetype write = indexes.first();
    qsizetype k = 0;
    for (qsizetype read = write; read < size; ++read) {
        if (k < indexes.count() && indexes.at(int(k)) == read) {
            ++k;
            continue;
        }
        data[write++] = std::move(data[read]);
    }
    sequence.resize(decltype(sequence.size())(write));
}
