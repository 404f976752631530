#include "timeline/CursorPainter.h"

#include <QPainter>

QRectF CursorPainter::headRect(double centreX)
{
    return QRectF(centreX - width / 2, 0, width, width);
}

void CursorPainter::paint(QPainter &painter, double centreX, double height)
{
    const QColor colour = QColor::fromRgbF(0.3, 0.51, 0.81, 1.0);
    const QRectF head = headRect(centreX);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A soft shadow to the right keeps the cursor apart from the blocks it crosses.
    painter.fillRect(QRectF(centreX, width, 2, height - width), QColor(0, 0, 0, 40));
    painter.fillRect(QRectF(centreX - 1, width - 1, 2, height - width + 1), colour);
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(head.adjusted(1, 1, -1, -1), 6, 6);
    painter.restore();
}
