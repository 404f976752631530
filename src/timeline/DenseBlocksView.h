#pragma once

#include <QWidget>

class TimelineViewController;

// Draws the subtitle blocks as plain marks when more of them are in view than can be
// separate block widgets (a long film zoomed out to fit): at that scale a block is a
// pixel or less, so nothing is lost, and a million widgets would not fit in memory.
class DenseBlocksView : public QWidget
{
    Q_OBJECT

public:
    explicit DenseBlocksView(TimelineViewController *timeline, QWidget *parent);

    bool isActive() const { return m_active; }
    void setActive(bool active);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TimelineViewController *m_timeline;
    bool m_active = false;
};
