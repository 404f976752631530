#pragma once

#include <QList>
#include <QPolygonF>

// The upper half of a waveform's mirrored shape for one exposed strip of its view.
// Coordinates: x from the view's left edge, y upwards from the centre line.
class WaveformOutline
{
public:
    struct Input {
        const QList<double> *samples = nullptr;
        int estimatedSampleCount = 0;
        double floor = -40;  // lies on the centre line
        double maxSample = 0; // reaches the top edge
        double width = 0;
        double height = 0;
    };

    // Which points a strip from minX to maxX visits: first..last in steps of step.
    // last < first when none has been decoded there.
    struct Span {
        int first = 0;
        int last = -1;
        int step = 1;
    };

    static Span span(const Input &input, double minX, double maxX);
    // Starts and ends on the centre line; one vertex per visited point, at its left edge,
    // as high as the loudest point of its group. Empty when there is nothing to draw.
    static QPolygonF upperHalf(const Input &input, double minX, double maxX);
};
