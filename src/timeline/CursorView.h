#pragma once

#include <QWidget>

// The playback cursor: a thin stem with a rounded square head at the top. Its horizontal
// centre is the playback time; the timeline places it.
class CursorView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int defaultWidth = 11;

    explicit CursorView(QWidget *parent = nullptr);

    // The head, a width × width square at the top, in the view's own coordinates.
    QRectF headRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
