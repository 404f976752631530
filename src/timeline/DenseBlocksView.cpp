#include "timeline/DenseBlocksView.h"

#include "document/Document.h"
#include "timeline/TimelineViewController.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

DenseBlocksView::DenseBlocksView(TimelineViewController *timeline, QWidget *parent)
    : QWidget(parent)
    , m_timeline(timeline)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void DenseBlocksView::setActive(bool active)
{
    m_active = active;
    setVisible(active);
    if (active)
        update();
}

void DenseBlocksView::paintEvent(QPaintEvent *)
{
    const int width = this->width();
    if (width <= 0)
        return;
    // One mark per pixel column that some block covers.
    std::vector<bool> covered(size_t(width), false);
    const SubtitleList &subtitles = m_timeline->document()->subtitleController().subtitles();
    const double offset = m_timeline->offset();
    const double visibleEnd = m_timeline->visibleEndTime();
    for (const SubtitlePtr &subtitle : subtitles) {
        if (subtitle->start >= visibleEnd)
            break;
        const double left = m_timeline->xForTime(subtitle->start) - offset;
        const double right = m_timeline->xForTime(subtitle->end) - offset;
        if (right < 0)
            continue;
        const int first = std::max(0, int(std::floor(left)));
        const int last = std::min(width - 1, int(std::ceil(right)));
        for (int x = first; x <= last; ++x)
            covered[size_t(x)] = true;
    }

    QPainter painter(this);
    const QColor fill = QColor::fromRgbF(0.15, 0.29, 0.57, 0.4);
    const int top = height() / 8;
    const int blockHeight = height() - 2 * top;
    for (int x = 0; x < width;) {
        if (!covered[size_t(x)]) {
            ++x;
            continue;
        }
        int end = x;
        while (end < width && covered[size_t(end)])
            ++end;
        painter.fillRect(x, top, end - x, blockHeight, fill);
        x = end;
    }
}
