#include "timeline/SubtitlesByStart.h"

#include <algorithm>

SubtitlesByStart::SubtitlesByStart(const SubtitleList &subtitles, double longestDuration)
    : m_subtitles(subtitles)
    , m_longest(longestDuration)
{
}

bool SubtitlesByStart::overlaps(double start, double end, double lo, double hi)
{
    return start < hi && lo < end && start != end && lo != hi;
}

void SubtitlesByStart::forEachBetween(double from, double to, const std::function<void(const SubtitlePtr &, int)> &visit,
                                      Order order) const
{
    const double earliest = from - m_longest - 1e-6;
    const auto first = std::partition_point(m_subtitles.begin(), m_subtitles.end(),
                                            [earliest](const SubtitlePtr &s) { return s->start < earliest; });
    const auto visitIfOverlapping = [&](SubtitleList::const_iterator it) {
        if (overlaps((*it)->start, (*it)->end, from, to))
            visit(*it, int(it - m_subtitles.begin()));
    };
    if (order == Order::Forward) {
        for (auto it = first; it != m_subtitles.end() && (*it)->start < to; ++it)
            visitIfOverlapping(it);
        return;
    }
    auto it = std::partition_point(first, m_subtitles.end(), [to](const SubtitlePtr &s) { return s->start < to; });
    while (it != first)
        visitIfOverlapping(--it);
}

std::optional<std::pair<SubtitlePtr, SubtitlePtr>> SubtitlesByStart::gapAt(double time, double from, double to) const
{
    auto it = std::partition_point(m_subtitles.begin(), m_subtitles.end(),
                                   [time](const SubtitlePtr &s) { return s->start < time; });
    SubtitlePtr left;
    while (it != m_subtitles.begin()) {
        const SubtitlePtr &candidate = *--it;
        if (left && candidate->start + m_longest < left->end)
            break; // nothing earlier can end later
        if (candidate->end < time && candidate->end > from && candidate->start != candidate->end
            && (!left || candidate->end > left->end))
            left = candidate;
        if (!left && candidate->start + m_longest < from)
            break;
    }
    if (!left)
        return std::nullopt;
    const double leftEnd = left->end;
    auto next = std::partition_point(m_subtitles.begin(), m_subtitles.end(),
                                     [leftEnd](const SubtitlePtr &s) { return s->start <= leftEnd; });
    for (; next != m_subtitles.end() && (*next)->start < to; ++next) {
        if ((*next)->start != (*next)->end)
            return std::pair{left, *next};
    }
    return std::nullopt;
}
