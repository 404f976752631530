#pragma once

#include <QPointF>
#include <QRectF>

// The timeline's drawing rules are stated with y growing upwards from a view's bottom
// edge; Qt's y grows downwards from the top. Every such rule goes through here.
class DesignCoordinates
{
public:
    static QRectF toWidget(const QRectF &rect, qreal viewHeight);
    static QPointF toWidget(const QPointF &point, qreal viewHeight);
};
