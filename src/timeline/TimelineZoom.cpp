#include "timeline/TimelineZoom.h"

#include <algorithm>
#include <limits>

double TimelineZoom::lowest(double duration, double width)
{
    if (duration < width / defaultWidthPerSecond || duration <= 0 || width <= 0)
        return 1.0;
    return width / duration / defaultWidthPerSecond;
}

double TimelineZoom::bounded(double magnification, double duration, double width)
{
    double upper = maximum;
    if (duration > 0)
        upper = std::min(upper, double(std::numeric_limits<int>::max() / 2) / (duration * defaultWidthPerSecond));
    if (!(magnification <= upper))
        magnification = upper;
    return std::max(magnification, lowest(duration, width));
}

double TimelineZoom::spanning(double seconds, double width)
{
    return width / seconds / defaultWidthPerSecond;
}

double TimelineZoom::fitting(double duration, double width)
{
    const double fitting = duration > 0 && width > 0 ? spanning(duration, width) : 1.0;
    return std::max(fitting, lowest(duration, width));
}

double TimelineZoom::first(double filmDuration, double width)
{
    return spanning(filmDuration <= wholeFilmAtMost ? filmDuration : firstSpan, width);
}

std::pair<double, double> TimelineZoom::aroundSelection(const SubtitleList &selected)
{
    double start = selected.first()->start;
    double end = selected.first()->end;
    for (const SubtitlePtr &subtitle : selected) {
        start = std::min(start, subtitle->start);
        end = std::max(end, subtitle->end);
    }
    const double margin = std::max(0.5, (end - start) * 0.1);
    return {std::max(0.0, start - margin), end + margin};
}
