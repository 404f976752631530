#pragma once

#include <QImage>
#include <QList>
#include <QRegion>
#include <QWidget>

// What a widget itself draws, and where its green waveform fill lies.
namespace RenderedWidget {

// The area of the widget, without any window background.
inline QImage render(QWidget &widget, const QRect &area)
{
    QImage image(area.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(area), QWidget::DrawChildren);
    return image;
}

// Rows of one column that the waveform's green fill covers (a widget inside another
// may show its parent's grey background).
inline QList<int> filledRows(const QImage &image, int x)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb pixel = image.pixel(x, y);
        if (qAlpha(pixel) > 0 && qGreen(pixel) - qRed(pixel) > 20)
            rows.append(y);
    }
    return rows;
}

} // namespace RenderedWidget
