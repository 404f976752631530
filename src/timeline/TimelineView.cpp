#include "timeline/TimelineView.h"

#include "timeline/UpwardCoordinates.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace {
constexpr double minorTickHeight = 5;
constexpr double majorTickHeight = 14;
constexpr double labelInset = 5;
constexpr double labelBaseline = 20;  // from the top edge
constexpr double labelReachLeft = 50; // a label starting this far left may reach into view
} // namespace

TimelineView::TimelineView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
}

void TimelineView::setScale(double duration, double contentWidth)
{
    m_duration = duration;
    m_contentWidth = contentWidth;
    m_labelFormat = RulerLabelFormat::forDuration(duration);
    m_granularity = computeGranularity();
    update();
}

void TimelineView::setOffset(double offset)
{
    if (offset == m_offset)
        return;
    m_offset = offset;
    update();
}

void TimelineView::setFrameRate(double frameRate)
{
    // Without a usable rate a second still gets one minor interval.
    m_frameRate = frameRate > 0 ? frameRate : 1.0;
    m_granularity = computeGranularity();
    update();
}

RulerGranularity TimelineView::computeGranularity() const
{
    if (m_duration <= 0 || m_contentWidth <= 0)
        return {};
    return RulerGranularity::forScale(m_contentWidth / m_duration, m_frameRate);
}

QList<double> TimelineView::minorTickPositions(double minX, double maxX) const
{
    QList<double> positions;
    if (!m_granularity.isDrawable())
        return positions;
    const double minorSpace = m_granularity.space / m_granularity.smallTicks;
    const auto last = static_cast<long long>(std::ceil(maxX / minorSpace));
    for (auto k = static_cast<long long>(std::floor(minX / minorSpace)); k < last; ++k) {
        const double x = minorSpace * double(k);
        // Minor ticks that would merge with a major tick are left out.
        if (std::fabs(std::remainder(x, m_granularity.space)) > 1)
            positions.append(x);
    }
    return positions;
}

QList<double> TimelineView::majorTickPositions(double minX, double maxX) const
{
    QList<double> positions;
    if (!m_granularity.isDrawable())
        return positions;
    const double space = m_granularity.space;
    const auto last = static_cast<long long>(std::ceil(maxX / space));
    for (auto k = static_cast<long long>(std::floor((minX - labelReachLeft) / space)); k < last; ++k)
        positions.append(space * double(k));
    return positions;
}

void TimelineView::paintEvent(QPaintEvent *event)
{
    if (!m_granularity.isDrawable())
        return;
    QPainter painter(this);
    const qreal h = height();
    QColor tickColor = palette().color(QPalette::WindowText);
    tickColor.setAlphaF(0.26);
    QColor labelColor = palette().color(QPalette::WindowText);
    labelColor.setAlphaF(0.5);

    const double minX = event->rect().left() + m_offset;
    const double maxX = event->rect().right() + 1 + m_offset;

    painter.setPen(QPen(tickColor, 1));
    for (double x : minorTickPositions(minX, maxX)) {
        const double vx = x - m_offset;
        painter.drawLine(UpwardCoordinates::toWidget(QPointF(vx, h - minorTickHeight), h),
                         UpwardCoordinates::toWidget(QPointF(vx, h), h));
    }

    const QFontMetricsF metrics(font());
    for (double x : majorTickPositions(minX, maxX)) {
        const double vx = x - m_offset;
        painter.fillRect(UpwardCoordinates::toWidget(QRectF(vx - 0.5, h - majorTickHeight, 2, majorTickHeight), h),
                         tickColor);
        const QString label = m_labelFormat.format(m_granularity.time * std::round(x / m_granularity.space));
        const QRectF labelRect(vx + labelInset, h - labelBaseline, metrics.horizontalAdvance(label) + 2,
                               metrics.height());
        painter.setPen(labelColor);
        painter.drawText(UpwardCoordinates::toWidget(labelRect, h), Qt::AlignLeft | Qt::AlignBottom, label);
    }
}
