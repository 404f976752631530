#include "timeline/UpwardCoordinates.h"

QRectF UpwardCoordinates::toWidget(const QRectF &rect, qreal viewHeight)
{
    return QRectF(rect.x(), viewHeight - rect.y() - rect.height(), rect.width(), rect.height());
}

QPointF UpwardCoordinates::toWidget(const QPointF &point, qreal viewHeight)
{
    return QPointF(point.x(), viewHeight - point.y());
}
