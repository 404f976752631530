#pragma once

#include <QPointF>
#include <QRectF>

// The timeline draws with y growing upwards from a view's bottom
// edge, as its measurements are given; Qt's y grows downwards. Every such shape goes
// through here.
class UpwardCoordinates
{
public:
    static QRectF toWidget(const QRectF &rect, qreal viewHeight);
    static QPointF toWidget(const QPointF &point, qreal viewHeight);
};
