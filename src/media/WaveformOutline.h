#pragma once

#include <QList>
#include <QPolygonF>

// The upper half of a waveform's mirrored shape for one exposed strip of its view.
// Coordinates: x from the view's left edge, y upwards from the centre line. Each point
// is placed by its time, so the shape lines up with everything else drawn on that scale.
class WaveformOutline
{
public:
    struct Input {
        const QList<double> *samples = nullptr;
        double sampleWidth = 0; // points of width per envelope point
        double originX = 0;     // where point 0 begins, from the view's left edge
        double floor = -40;     // lies on the centre line
        double maxSample = 0;   // reaches the top edge
        double height = 0;
        double zoom = 1;        // vertical, see AmplitudeCompression
    };

    // Which points a strip from minX to maxX visits: first..last in steps of step.
    // last < first when none has been decoded there.
    struct Span {
        qsizetype first = 0;
        qsizetype last = -1;
        qsizetype step = 1;
    };

    static Span span(const Input &input, double minX, double maxX);
    // Starts and ends on the centre line; one vertex per visited point, at its left edge,
    // as high as the loudest point of its group, never
    // past the top edge. Empty when there is nothing to draw.
    static QPolygonF upperHalf(const Input &input, double minX, double maxX);
};
