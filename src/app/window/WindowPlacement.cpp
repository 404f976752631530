#include "app/window/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QRect WindowPlacement::fitted(const QRect &frame, const QRect &available)
{
    if (available.isEmpty())
        return frame;
    QRect result(frame.topLeft(), frame.size().boundedTo(available.size()));
    result.moveLeft(std::clamp(result.left(), available.left(), available.right() - result.width() + 1));
    result.moveTop(std::clamp(result.top(), available.top(), available.bottom() - result.height() + 1));
    return result;
}

void WindowPlacement::fitOnScreen(QWidget *window)
{
    const QRect frame = window->frameGeometry();
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect target = fitted(frame, screen->availableGeometry());
    if (target == frame)
        return;
    // The frame adds the title bar and borders around the window's own geometry.
    const QSize decoration = frame.size() - window->geometry().size();
    window->resize(target.size() - decoration);
    window->move(target.topLeft());
}
