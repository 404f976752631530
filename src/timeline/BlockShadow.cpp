#include "timeline/BlockShadow.h"

#include <QGraphicsDropShadowEffect>

QGraphicsEffect *BlockShadow::create(QObject *parent)
{
    auto *shadow = new QGraphicsDropShadowEffect(parent);
    shadow->setBlurRadius(4);
    shadow->setOffset(0, 2); // two points downwards
    shadow->setColor(QColor::fromRgbF(1.0 / 3, 1.0 / 3, 1.0 / 3));
    return shadow;
}
