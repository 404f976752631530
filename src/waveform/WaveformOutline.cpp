#include "waveform/WaveformOutline.h"

#include <algorithm>
#include <cmath>

WaveformOutline::Span WaveformOutline::span(const Input &input, double minX, double maxX)
{
    Span result;
    if (!input.samples || input.width <= 0 || input.estimatedSampleCount < 1)
        return result;
    const double sampleWidth = input.width / input.estimatedSampleCount;
    const qsizetype count = input.samples->size();
    result.first = int(std::max(0.0, std::floor(minX / sampleWidth)));
    result.last = int(std::min<double>(std::ceil(maxX / sampleWidth), double(count - 1)));
    const int step = int(1.0 / sampleWidth);
    result.step = step < 2 ? 1 : step;
    return result;
}

QPolygonF WaveformOutline::upperHalf(const Input &input, double minX, double maxX)
{
    const Span visible = span(input, minX, maxX);
    if (visible.last < visible.first)
        return {};
    const QList<double> &samples = *input.samples;
    const double sampleWidth = input.width / input.estimatedSampleCount;
    const double range = input.maxSample - input.floor;
    const double scale = range > 0 ? input.height * 0.5 / range : 0;
    const qsizetype count = samples.size();

    QPolygonF polygon;
    polygon.reserve((visible.last - visible.first) / visible.step + 3);
    polygon << QPointF(sampleWidth * visible.first, 0);
    for (qsizetype i = visible.first; i <= visible.last; i += visible.step) {
        const auto groupEnd = samples.cbegin() + std::min(i + visible.step, count);
        const double loudest = *std::max_element(samples.cbegin() + i, groupEnd);
        polygon << QPointF(sampleWidth * i, scale * (loudest - input.floor));
    }
    polygon << QPointF(sampleWidth * visible.last, 0);
    return polygon;
}
