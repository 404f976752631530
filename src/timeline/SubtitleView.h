#pragma once

#include "model/Subtitle.h"

#include <QWidget>

class TimelineViewController;

// One subtitle's block on the timeline, with its text inset 4 points, wrapped onto two
// lines and elided. It only draws; the timeline places it and handles all input.
//
// A block may be far wider than the screen, so the widget covers only the part near the
// visible strip; blockRect() is the whole block in the widget's own coordinates.
class SubtitleView : public QWidget
{
    Q_OBJECT

public:
    static constexpr qreal textInset = 4;

    SubtitleView(TimelineViewController *controller, QWidget *parent);

    TimelineViewController *timelineViewController() const { return m_timelineViewController; }
    const SubtitlePtr &subtitle() const { return m_subtitle; }
    void setSubtitle(SubtitlePtr subtitle); // nullptr empties the block
    QString text() const { return m_text; }
    void setText(const QString &text);
    bool isSelected() const { return m_isSelected; }
    void setSelected(bool selected);

    // Places the whole block (in the parent's coordinates), keeping the widget itself
    // within `visible` (also the parent's).
    void setBlockGeometry(const QRectF &block, const QRectF &visible);
    QRectF blockRect() const { return m_blockRect; }

    // The lines shown for the text at a block width: at most two, the last one elided.
    static QStringList layoutLines(const QString &text, const QFont &font, qreal width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TimelineViewController *m_timelineViewController;
    SubtitlePtr m_subtitle;
    QString m_text;
    bool m_isSelected = false;
    QRectF m_blockRect;
};
