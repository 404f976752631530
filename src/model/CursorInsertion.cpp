#include "model/CursorInsertion.h"

#include "model/FrameTiming.h"

#include <algorithm>
#include <limits>

std::optional<CursorInsertion::Placement> CursorInsertion::place(const SubtitleList &list, double cursor,
                                                                 const Rules &rules)
{
    // Times that are sums of frames are off by rounding errors: they count as equal.
    constexpr double slack = 1e-6;
    const double start = std::max(0.0, FrameTiming::onFrame(cursor, rules.frameRate));
    double latestEnd = rules.videoEnd;
    for (const SubtitlePtr &subtitle : list) {
        if (subtitle->start <= start + slack) {
            // Any earlier one, not only the last: a long one may reach past later ones.
            if (subtitle->end + rules.minGap > start + slack)
                return std::nullopt;
        } else {
            latestEnd = std::min(latestEnd, subtitle->start - rules.minGap);
            break;
        }
    }
    const double end = FrameTiming::onFrame(std::min(start + rules.duration, latestEnd), rules.frameRate,
                                            FrameTiming::Rounding::Down);
    if (end - start < std::min(rules.minDuration, rules.duration) - slack)
        return std::nullopt;
    return Placement{start, end};
}
