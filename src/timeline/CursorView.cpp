#include "timeline/CursorView.h"

#include "timeline/BlockShadow.h"
#include "timeline/UpwardCoordinates.h"

#include <QPainter>

CursorView::CursorView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGraphicsEffect(BlockShadow::create(this));
}

QRectF CursorView::headRect() const
{
    const qreal w = width();
    return UpwardCoordinates::toWidget(QRectF(0, height() - w, w, w), height());
}

void CursorView::paintEvent(QPaintEvent *)
{
    const QColor colour = QColor::fromRgbF(0.3, 0.51, 0.81, 1.0);
    const qreal w = width();
    const qreal h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(UpwardCoordinates::toWidget(QRectF((w - 2) / 2, 0, 2, h - w), h), colour);
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(UpwardCoordinates::toWidget(QRectF(1, h - w + 1, w - 2, w - 2), h), 6, 6);
}
