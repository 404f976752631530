#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"
#include "timeline/SubtitleDrag.h"
#include "timeline/SubtitleViewAction.h"

#include <QHash>
#include <QPointF>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>

#include <memory>
#include <optional>

class AudioWaveform;
class AudioWaveformView;
class CursorView;
class DenseBlocksView;
class Document;
class PanClickRecognizer;
class QScrollBar;
class SubtitleView;
class TimelineView;

// The timeline pane: a horizontally scrolling strip on which every subtitle is a block
// placed at its start and as wide as its duration, under a ruler, over the audio
// waveform, with the playback cursor on top. A time t lies at strip position
// x = t × magnification × 30.
//
// Blocks exist only for the subtitles that overlap the visible time interval, so the
// cost of scrolling and zooming follows what is on screen, not the length of the file.
// The strip is scrolled by hand (offset), not by a scroll area, because a long video at
// a high zoom is wider than any widget can be.
class TimelineViewController : public QWidget
{
    Q_OBJECT

public:
    static constexpr double defaultWidthPerSecond = 30.0;
    static constexpr double subtitleExtremesHoverMargin = 8.0;
    static constexpr int rulerHeight = 24;
    // Beyond this a frame is wider than several screens; also keeps the strip's width
    // within what a scroll bar can count.
    static constexpr double maximumMagnification = 1000.0;
    // More blocks than this in view, on average narrower than the second figure, are
    // drawn as marks rather than as widgets.
    static constexpr qsizetype maximumBlockViews = 2000;
    static constexpr double minimumGrabbableBlockWidth = 3.0;

    TimelineViewController(Document *document, QWidget *parent = nullptr);
    ~TimelineViewController() override;

    Document *document() const;

    // Geometry.
    double magnification() const { return m_magnification; }
    double pointsPerSecond() const { return m_magnification * defaultWidthPerSecond; }
    double xForTime(double t) const { return t * pointsPerSecond(); }
    double timeForX(double x) const { return x / pointsPerSecond(); }
    double duration() const { return m_duration; }
    std::optional<double> videoDuration() const { return m_videoDuration; }
    double contentWidth() const;
    double offset() const { return m_offset; } // strip position at the left edge of the view
    void scrollToOffset(double x);
    double minimumMagnification() const;
    // Sets the zoom, keeping strip content under anchorX (a position in the pane) fixed.
    void zoomAbout(double magnification, double anchorX);
    double visibleStartTime() const { return m_visibleStart; }
    double visibleEndTime() const { return m_visibleEnd; }

    double currentTime() const { return m_currentTime; }
    double cursorLeft() const; // strip position of the cursor view's left edge

    // Blocks.
    SubtitleView *subtitleView(const SubtitlePtr &subtitle) const;
    QList<SubtitleView *> visibleSubtitleViews() const { return m_visibleSubtitleViews.values(); }
    // What a drag at p would do; p in strip x and y from the block row's top edge.
    std::optional<SubtitleViewAction> hitTestAction(QPointF p) const;
    std::optional<SubtitleViewAction> subtitleViewAction() const { return m_subtitleViewAction; }

    // Selection, as pushed by the document.
    bool isManipulatingSelection() const { return m_isManipulatingSelection; }
    const SubtitleList &selectedSubtitles() const { return m_selectedSubtitles; }
    void setSelectedSubtitles(const SubtitleList &subtitles);

    // The list changed (called through the document's signals).
    void reloadSubtitles();
    void subtitlesWereInserted(const SubtitleList &subtitles);
    void subtitlesWereUpdated(const SubtitleList &subtitles);
    void subtitlesWereRemoved(const SubtitleList &subtitles);
    void scrollToSubtitle(const SubtitlePtr &subtitle);

    // Window restoration: "magnification" (double) and "offset" (QPointF).
    QVariantMap saveState() const;
    void restoreState(const QVariantMap &state);

    // The parts, for the window and for tests.
    QWidget *contentView() const { return m_contentView; }
    QWidget *subtitlesContainerView() const { return m_subtitlesContainerView; }
    TimelineView *timelineView() const { return m_timelineView; }
    CursorView *cursorView() const { return m_cursorView; }
    AudioWaveformView *audioWaveformView() const { return m_audioWaveformView; }
    QScrollBar *scrollBar() const { return m_scrollBar; }
    QWidget *snapGuide() const { return m_snapGuide; }

public slots:
    void setVideoDuration(std::optional<double> duration);
    void setCurrentTime(double time);
    // While playing, the strip follows the cursor when it leaves the view, until the user
    // scrolls it.
    void setPlaying(bool playing);
    // Brings the cursor into view and follows it again (playback starts, a frame step).
    void followCursor();
    void setFrameRate(double frameRate);
    void setAudioWaveform(std::shared_ptr<AudioWaveform> waveform);
    void updateDuration();
    void scrollToCursorIfNeeded();
    void zoomIn();
    void zoomOut();
    void zoomToFit();

signals:
    // The zoom or the scroll position changed.
    void restorableStateChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class PanMode { None, Subtitles, Cursor, RubberBand };

    void connectDocument();
    void layoutParts();
    void updateContentSize();
    void applyMagnification();
    void updateFallbackDuration();
    double fallbackDuration() const;
    void updateListExtents();
    void didScroll(int value);
    void placeStrip();
    void updateVisibleSubtitleViews();
    SubtitleView *makeSubtitleView(const SubtitlePtr &subtitle);
    void layoutSubtitleView(SubtitleView *view) const;
    void dropSubtitleView(const SubtitlePtr &subtitle);
    void dropSubtitleView(SubtitleView *view);
    void updateCursorPosition();
    bool overlapsVisibleInterval(const Subtitle &subtitle) const;
    QPointF containerPoint(QPointF viewPoint) const;
    void afterScroll();
    void stopFollowingCursor();

    // Input.
    void updateHoverAction(QPointF viewPoint);
    void refreshHoverAtPointer();
    void pressed(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    void clicked(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    void panBegan(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    void panChanged(QPointF viewPoint, QPointF translation, Qt::KeyboardModifiers modifiers);
    void panEnded(QPointF viewPoint);
    void panCancelled();
    void handleClick(Qt::KeyboardModifiers modifiers);
    void beginSubtitleDrag(QPointF viewPoint);
    void dragSubtitles(QPointF viewPoint, QPointF translation, Qt::KeyboardModifiers modifiers);
    void endSubtitleDrag();
    void placeDraggedViews();
    void dragSelectionRectangle(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    void showSnapGuide(double time);
    void seek(double time);
    bool isInCursorHead(QPointF viewPoint) const;
    IndexSet indexesOf(const SubtitleList &subtitles) const;
    bool wheel(class QWheelEvent *event);

    QPointer<Document> m_document;
    QWidget *m_contentView;
    QScrollBar *m_scrollBar;
    TimelineView *m_timelineView;
    QWidget *m_subtitlesContainerView;
    DenseBlocksView *m_denseBlocksView;
    AudioWaveformView *m_audioWaveformView;
    CursorView *m_cursorView;
    QWidget *m_selectionView;
    QWidget *m_snapGuide;
    QTimer m_snapGuideTimer;
    PanClickRecognizer *m_recognizer;

    QHash<const Subtitle *, SubtitleView *> m_visibleSubtitleViews;
    double m_visibleStart = 0;
    double m_visibleEnd = 0;
    double m_offset = 0;
    std::optional<double> m_pendingOffset; // restored before the pane had a size
    double m_magnification = 1.0;
    double m_duration = 0;
    std::optional<double> m_videoDuration;
    double m_currentTime = 0;
    bool m_playing = false;
    bool m_followsCursor = true;
    double m_lastSubtitleEnd = 0;     // greatest end in the list
    double m_longestSubtitle = 0;     // greatest duration, to find the blocks in view quickly
    bool m_hasSubtitles = false;

    SubtitleList m_selectedSubtitles;
    QSet<const Subtitle *> m_selectedSet;
    SubtitleList m_selectedSubtitlesBeforeDrag;
    bool m_isManipulatingSelection = false;

    std::optional<SubtitleViewAction> m_subtitleViewAction;
    std::optional<SubtitleDrag> m_drag;
    QSet<const Subtitle *> m_draggedSet;
    PanMode m_panMode = PanMode::None;
    bool m_isDraggingCursor = false;
    bool m_pressWasInRuler = false;
    QPointF m_dragOffset;
    QPointF m_panStart;
};
