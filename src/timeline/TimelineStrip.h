#pragma once

#include "timeline/BlockPainter.h"

#include <QWidget>

class TimelineViewController;

// The timeline's one widget: draws the ruler, a lane for the blocks' texts, the sound (waveform, sonogram or both), the
// video's shot changes, the blocks of the subtitles in view, the speech found in the sound,
// a rubber band, the snap guide and the playback cursor, in that order, from the state of
// its TimelineViewController. It takes no decisions; TimelineInput handles its pointer
// events.
class TimelineStrip : public QWidget
{
    Q_OBJECT

public:
    explicit TimelineStrip(TimelineViewController *timeline);

    TimelineViewController *timeline() const { return m_timeline; }

    // The lines of the shot changes: apart from the cursor's blue and the guide's orange.
    static QColor shotChangeColour();
    // The band of speech along the bottom of the waveform.
    static QColor speechColour();
    static constexpr int speechBandHeight = 5;
    // Blocks drawn over one another in a pixel column before those under them are left
    // out: under this many translucent boxes, each text on its own backing, what lies
    // below no longer reads.
    static constexpr int stackDepth = 12;
    // The blocks' words are told apart once the view shows this many seconds or fewer, or
    // a second is this many points wide (a short word, a fifth of a second, six points): on
    // every block alike, so a block without them is one whose words are not known.
    static constexpr double wordsShownWithin = 20;
    static constexpr double wordsShownFrom = 30;

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void paintSound(QPainter &painter, const QRectF &band);
    void paintSpeech(QPainter &painter, const QRectF &area);
    void paintShotChanges(QPainter &painter, const QRectF &area);
    void paintBlocks(QPainter &painter, const QRectF &area, qreal textLaneHeight);
    // Where the subtitle's known words meet, when the zoom tells them apart.
    QList<BlockPainter::WordGap> wordGapsOf(const Subtitle &subtitle) const;

    TimelineViewController *m_timeline;
    BlockPainter m_blockPainter;
};
