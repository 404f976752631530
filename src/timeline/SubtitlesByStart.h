#pragma once

#include "model/Subtitle.h"

#include <functional>
#include <optional>
#include <utility>

// The list's subtitles looked up by time. The list is in start order, and only subtitles
// that start within the longest duration before a time can reach it, so a look at the
// blocks in view passes over those and few others, however long the film.
class SubtitlesByStart
{
public:
    enum class Order { Forward, Backward }; // backwards, the last comes first

    SubtitlesByStart(const SubtitleList &subtitles, double longestDuration);

    // Whether [start, end) and [lo, hi) share time; an empty one shares none.
    static bool overlaps(double start, double end, double lo, double hi);

    // Each subtitle that reaches into [from, to), with its position in the list.
    void forEachBetween(double from, double to, const std::function<void(const SubtitlePtr &, int)> &visit,
                        Order order = Order::Forward) const;
    // The gap `time` lies in, between blocks that reach into [from, to): the subtitle
    // ending last before it and the first to start after that end, neither of them empty.
    std::optional<std::pair<SubtitlePtr, SubtitlePtr>> gapAt(double time, double from, double to) const;

private:
    const SubtitleList &m_subtitles;
    double m_longest;
};
