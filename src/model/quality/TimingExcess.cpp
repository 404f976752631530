#include "model/quality/TimingExcess.h"

#include "model/quality/QualityCheck.h"

#include <algorithm>

TimingExcess::TimingExcess(const Span &span, const QualityLimits &limits, double minGap)
    : gap(std::max(0.0, minGap - (span.nextStart - span.end)))
    , shortness(std::max(0.0, limits.minDuration - (span.end - span.start)))
    , length(std::max(0.0, span.end - span.start - limits.maxDuration))
    , speed(std::max(0.0, QualityCheck::readingSpeed(span.counted, span.end - span.start)
                              - limits.maxReadingPerSecond()))
{
}

bool TimingExcess::isNotWorseThan(const TimingExcess &before) const
{
    return gap <= before.gap + rounding && shortness <= before.shortness + rounding
        && length <= before.length + rounding && speed <= before.speed + rounding;
}
