#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"
#include "timeline/SubtitleDrag.h"
#include "timeline/SubtitleViewAction.h"

#include <QObject>
#include <QPointF>
#include <QRectF>

#include <optional>

class EdgePreview;
class PanClickRecognizer;
class QWheelEvent;
class QWidget;
class TimelineViewController;

// What the pointer does on the timeline's strip: hovering shows what a drag would do,
// a click selects, a press on the ruler seeks, a pan drags blocks, the playback cursor or
// a rubber band, the wheel scrolls, Ctrl+wheel or a pinch zooms and Ctrl+Shift+wheel
// zooms the waveform vertically; with the keyboard focus, Left, Right, Home and End go from
// subtitle to subtitle. A block drag is a
// SubtitleDrag, shown as a preview; its drop is one undoable update of the subtitle
// controller. Dragging the cursor scrubs (the sound under it plays in short grains), and
// dragging a start or end plays the sound around it.
class TimelineInput : public QObject
{
    Q_OBJECT

public:
    TimelineInput(TimelineViewController *timeline, QWidget *strip);

    std::optional<SubtitleViewAction> subtitleViewAction() const { return m_subtitleViewAction; }
    bool isManipulatingSelection() const { return m_isManipulatingSelection; }
    std::optional<QRectF> rubberBand() const;
    void refreshHoverAtPointer();
    // The block drag in progress, or nullptr.
    const SubtitleDrag *subtitleDrag() const { return m_drag ? &*m_drag : nullptr; }
    // Ends a block drag in progress without a change; the pointer's further moves change
    // nothing.
    void cancelSubtitleDrag();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class PanMode { None, Subtitles, Cursor, RubberBand };

    QPointF containerPoint(QPointF viewPoint) const;
    void updateHoverAction(QPointF viewPoint);
    void pressed(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    void clicked(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    void panBegan(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    void panChanged(QPointF viewPoint, QPointF translation, Qt::KeyboardModifiers modifiers);
    void panEnded(QPointF viewPoint);
    void panCancelled();
    void endPan();
    void handleClick(Qt::KeyboardModifiers modifiers);
    bool isInCursorHead(QPointF viewPoint) const;
    void beginSubtitleDrag(QPointF viewPoint);
    void dragSubtitles(QPointF viewPoint, QPointF translation, Qt::KeyboardModifiers modifiers);
    void endSubtitleDrag();
    SubtitleList neighboursNear(double spanStart, double spanEnd, double pointerMove) const;
    void dragSelectionRectangle(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    bool wheel(QWheelEvent *event);
    void showContextMenu(QPointF viewPoint, QPoint globalPoint);
    void seek(double time);
    void scrub(double time);
    void pausePlayer();
    IndexSet indexesOf(const SubtitleList &subtitles) const;

    TimelineViewController *m_timeline;
    QWidget *m_strip;
    PanClickRecognizer *m_recognizer;
    EdgePreview *m_edgePreview;

    std::optional<SubtitleViewAction> m_subtitleViewAction;
    std::optional<SubtitleDrag> m_drag;
    SubtitleList m_selectedSubtitlesBeforeDrag;
    bool m_isManipulatingSelection = false;
    PanMode m_panMode = PanMode::None;
    bool m_pressWasInRuler = false;
    QPointF m_dragOffset;
    QPointF m_panStart;
    QPointF m_panPoint;
};
