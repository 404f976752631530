#include "model/LinearTimeMap.h"

#include <algorithm>
#include <cmath>

LinearTimeMap::LinearTimeMap(double scale, double offset)
    : m_scale(scale)
    , m_offset(offset)
{
}

LinearTimeMap LinearTimeMap::shift(double offset)
{
    return LinearTimeMap(1.0, offset);
}

std::optional<LinearTimeMap> LinearTimeMap::throughTwoPoints(double from1, double to1, double from2, double to2)
{
    if (from1 == from2)
        return std::nullopt;
    const double scale = (to2 - to1) / (from2 - from1);
    if (!(scale > 0) || !std::isfinite(scale))
        return std::nullopt;
    return LinearTimeMap(scale, to1 - scale * from1);
}

std::optional<LinearTimeMap> LinearTimeMap::frameRateConversion(double fromRate, double toRate)
{
    if (!(fromRate > 0) || !(toRate > 0) || !std::isfinite(fromRate) || !std::isfinite(toRate))
        return std::nullopt;
    // Frame n lies at n / fromRate and must come to lie at n / toRate.
    return LinearTimeMap(fromRate / toRate, 0.0);
}

std::optional<LinearTimeMap> LinearTimeMap::scaledAndShifted(double scale, double offset)
{
    if (!(scale > 0) || !std::isfinite(scale) || !std::isfinite(offset))
        return std::nullopt;
    return LinearTimeMap(scale, offset);
}

double LinearTimeMap::roundedToMilliseconds(double t)
{
    return std::round(t * 1000.0) / 1000.0;
}

double LinearTimeMap::apply(double t) const
{
    return std::max(0.0, roundedToMilliseconds(m_scale * t + m_offset));
}

QList<Subtitle::Values> LinearTimeMap::valuesFor(const SubtitleList &subtitles) const
{
    QList<Subtitle::Values> values;
    values.reserve(subtitles.size());
    for (const SubtitlePtr &subtitle : subtitles) {
        Subtitle::Values v;
        v.start = apply(subtitle->start);
        v.end = apply(subtitle->end);
        values.append(v);
    }
    return values;
}
