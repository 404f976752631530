#include "model/timing/GapChaining.h"

#include "model/FrameTiming.h"

#include <cmath>

QList<Subtitle::Values> GapChaining::chain(const SubtitleList &list, const IndexSet &indexes, const Rules &rules)
{
    // Times that are sums of frames are off by rounding errors: they count as equal.
    constexpr double slack = 1e-6;
    const double frame = FrameTiming::frameLength(rules.frameRate, rules.profileRate);
    QList<Subtitle::Values> values;
    bool changes = false;
    for (int i : indexes) {
        values.append(Subtitle::Values());
        if (i + 1 >= list.size() || (indexes.count() > 1 && !indexes.contains(i + 1)))
            continue;
        const Subtitle &subtitle = *list[i];
        const double nextStart = list[i + 1]->start;
        const double gap = nextStart - subtitle.end;
        if (gap >= rules.threshold - slack || std::abs(gap - rules.minGap) < slack)
            continue;
        const double end = FrameTiming::onFrame(nextStart - rules.minGap, rules.frameRate, FrameTiming::Rounding::Down);
        // A gap that its frames already make as near the minimum as they can stays.
        if (end < subtitle.start + frame - slack || std::abs(end - subtitle.end) < slack)
            continue;
        values.last().end = end;
        changes = true;
    }
    return changes ? values : QList<Subtitle::Values>();
}
