#include "app/window/AppIcon.h"

QIcon AppIcon::icon()
{
    QIcon fallback;
    // PNGs rather than the SVG: drawing SVG needs Qt's SVG plugin, which may be absent.
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        fallback.addFile(QStringLiteral(":/icons/cuewright-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("cuewright"), fallback);
}
