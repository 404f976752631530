#include "timeline/TimelineRuler.h"

#include "timeline/UpwardCoordinates.h"

#include <QPainter>
#include <QPalette>

#include <cmath>

namespace {
constexpr double minorTickHeight = 5;
constexpr double majorTickHeight = 14;
constexpr double labelInset = 5;
constexpr double labelBaseline = 20;  // from the top edge
constexpr double labelReachLeft = 50; // a label starting this far left may reach into view
} // namespace

void TimelineRuler::setScale(double duration, double contentWidth)
{
    m_duration = duration;
    m_contentWidth = contentWidth;
    m_granularity = computeGranularity();
}

void TimelineRuler::setOffset(double offset)
{
    m_offset = offset;
}

void TimelineRuler::setFrameRate(double frameRate)
{
    // Without a usable rate a second still gets one minor interval.
    m_frameRate = frameRate > 0 ? frameRate : 1.0;
    m_granularity = computeGranularity();
}

QString TimelineRuler::labelText(double seconds) const
{
    // Ticks fall on whole seconds: milliseconds would only repeat ",000".
    if (m_display.form() == TimeForm::Milliseconds)
        return RulerLabelFormat::format(seconds + m_display.offset());
    return m_display.format(seconds);
}

RulerGranularity TimelineRuler::computeGranularity() const
{
    if (m_duration <= 0 || m_contentWidth <= 0)
        return {};
    return RulerGranularity::forScale(m_contentWidth / m_duration, m_frameRate);
}

QList<double> TimelineRuler::minorTickPositions(double minX, double maxX) const
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

QList<double> TimelineRuler::majorTickPositions(double minX, double maxX) const
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

void TimelineRuler::paint(QPainter &painter, double minX, double maxX, const QPalette &palette, const QFont &font) const
{
    if (!m_granularity.isDrawable())
        return;
    const qreal h = height;
    QColor tickColor = palette.color(QPalette::WindowText);
    tickColor.setAlphaF(0.26);
    QColor labelColor = palette.color(QPalette::WindowText);
    labelColor.setAlphaF(0.5);
    QFont small = font;
    small.setPointSizeF(small.pointSizeF() * 0.85);
    painter.setFont(small);

    const double stripMin = minX + m_offset;
    const double stripMax = maxX + m_offset;
    painter.setPen(QPen(tickColor, 1));
    for (double x : minorTickPositions(stripMin, stripMax)) {
        const double vx = x - m_offset;
        painter.drawLine(UpwardCoordinates::toWidget(QPointF(vx, h - minorTickHeight), h),
                         UpwardCoordinates::toWidget(QPointF(vx, h), h));
    }

    const QFontMetricsF metrics(small);
    for (double x : majorTickPositions(stripMin, stripMax)) {
        const double vx = x - m_offset;
        painter.fillRect(UpwardCoordinates::toWidget(QRectF(vx - 0.5, h - majorTickHeight, 2, majorTickHeight), h),
                         tickColor);
        const QString label = labelText(m_granularity.time * std::round(x / m_granularity.space));
        const QRectF labelRect(vx + labelInset, h - labelBaseline, metrics.horizontalAdvance(label) + 2,
                               metrics.height());
        painter.setPen(labelColor);
        painter.drawText(UpwardCoordinates::toWidget(labelRect, h), Qt::AlignLeft | Qt::AlignBottom, label);
    }
}
