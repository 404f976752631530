#pragma once

#include "format/TimeDisplay.h"
#include "timeline/RulerGranularity.h"
#include "timeline/RulerLabelFormat.h"

#include <QFont>
#include <QList>

class QPainter;
class QPalette;

// The ruler across the top of the timeline: major ticks with time labels and minor ticks
// whose spacing follows the zoom. It draws the part of a long strip that is scrolled into
// view: `offset` is the strip position at its left edge, `contentWidth` the strip's width.
class TimelineRuler
{
public:
    static constexpr int height = 24;

    double duration() const { return m_duration; }
    double contentWidth() const { return m_contentWidth; }
    // The strip's span in seconds and its width in points; updates the granularity.
    void setScale(double duration, double contentWidth);
    void setOffset(double offset);

    double frameRate() const { return m_frameRate; }
    void setFrameRate(double frameRate);

    // The labels follow the form the panes show times in.
    void setTimeDisplay(const TimeDisplay &display) { m_display = display; }
    QString labelText(double seconds) const;

    RulerGranularity granularity() const { return m_granularity; }
    RulerGranularity computeGranularity() const;

    // The strip positions of the ticks drawn for the strip interval [minX, maxX).
    QList<double> minorTickPositions(double minX, double maxX) const;
    QList<double> majorTickPositions(double minX, double maxX) const;

    // Draws the ticks and labels that fall between view positions minX and maxX.
    void paint(QPainter &painter, double minX, double maxX, const QPalette &palette, const QFont &font) const;

private:
    double m_duration = 0;
    double m_contentWidth = 0;
    double m_offset = 0;
    double m_frameRate = 1.0;
    RulerGranularity m_granularity;
    TimeDisplay m_display;
};
