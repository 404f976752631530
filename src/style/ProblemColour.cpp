#include "style/ProblemColour.h"

QColor ProblemColour::solid()
{
    return QColor(0xc0, 0x39, 0x2b);
}

QColor ProblemColour::background()
{
    QColor colour = solid();
    colour.setAlpha(90);
    return colour;
}

QString ProblemColour::labelStyleSheet()
{
    return QStringLiteral("QLabel { color: %1; }").arg(solid().name());
}
