#pragma once

#include <QRect>

class QWidget;

// Keeps a restored window usable: no larger than the screen's free area and with its
// title bar on it, whatever geometry was stored.
class WindowPlacement
{
public:
    // The frame moved and shrunk as little as needed to lie inside `available`.
    static QRect fitted(const QRect &frame, const QRect &available);
    // Applies fitted() to a top-level window on the screen it is (mostly) on.
    static void fitOnScreen(QWidget *window);
};
