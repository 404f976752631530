#pragma once

#include <QRectF>

class QPainter;

// The playback cursor: a thin stem with a rounded square head at the top, centred on the
// playback time.
class CursorPainter
{
public:
    static constexpr double width = 11;

    // The head, a width × width square at the top, for a cursor centred at x.
    static QRectF headRect(double centreX);
    static void paint(QPainter &painter, double centreX, double height);
};
