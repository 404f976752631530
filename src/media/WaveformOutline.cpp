#include "media/WaveformOutline.h"

#include "media/AmplitudeCompression.h"

#include <algorithm>
#include <cmath>

WaveformOutline::Span WaveformOutline::span(const Input &input, double minX, double maxX)
{
    Span result;
    if (!input.samples || !(input.sampleWidth > 0) || input.samples->isEmpty() || maxX <= minX)
        return result;
    const double count = double(input.samples->size());
    const double first = std::floor((minX - input.originX) / input.sampleWidth);
    const double last = std::ceil((maxX - input.originX) / input.sampleWidth);
    if (last < 0 || first > count - 1)
        return result;
    // Groups start on multiples of the step, so a point's group never depends on where
    // the exposed strip begins: scrolling does not make the shape flicker.
    const double step = std::max(1.0, std::floor(1.0 / input.sampleWidth));
    result.step = qsizetype(step);
    result.first = qsizetype(std::floor(std::max(0.0, first) / step) * step);
    result.last = qsizetype(std::min(last, count - 1));
    return result;
}

QPolygonF WaveformOutline::upperHalf(const Input &input, double minX, double maxX)
{
    const Span visible = span(input, minX, maxX);
    if (visible.last < visible.first)
        return {};
    const QList<double> &samples = *input.samples;
    const double range = input.maxSample - input.floor;
    const double halfHeight = range > 0 ? input.height * 0.5 : 0;
    const qsizetype count = samples.size();
    const auto xOf = [&input](qsizetype i) { return input.originX + input.sampleWidth * double(i); };

    QPolygonF polygon;
    polygon.reserve((visible.last - visible.first) / visible.step + 3);
    polygon << QPointF(xOf(visible.first), 0);
    for (qsizetype i = visible.first; i <= visible.last; i += visible.step) {
        const auto groupEnd = samples.cbegin() + std::min(i + visible.step, count);
        const double loudest = *std::max_element(samples.cbegin() + i, groupEnd);
        const double level = range > 0 ? (loudest - input.floor) / range : 0;
        polygon << QPointF(xOf(i), halfHeight * AmplitudeCompression::height(level, input.zoom));
    }
    polygon << QPointF(xOf(visible.last), 0);
    return polygon;
}
