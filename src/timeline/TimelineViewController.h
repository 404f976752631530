#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"
#include "timeline/AccessibleTextNotifier.h"
#include "timeline/SnapGuide.h"
#include "timeline/SubtitleDrag.h"
#include "timeline/SubtitleListExtents.h"
#include "timeline/SubtitlesByStart.h"
#include "timeline/TimelineZoom.h"
#include "timeline/SubtitleViewAction.h"
#include "timeline/TimelineRuler.h"

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSet>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class AudioSonogram;
class AudioWaveform;
class MediaSession;
class QAction;
class Document;
class QScrollBar;
class TimelineInput;
class TimelineStrip;

// The timeline pane: a horizontally scrolling strip on which every subtitle is a block
// placed at its start and as wide as its duration, under a ruler, over the audio
// waveform, with the playback cursor on top. A time t lies at strip position
// x = t × magnification × 30.
//
// This class holds the geometry (zoom, scroll, duration), the selection as the document
// pushes it and which subtitles are in view; TimelineStrip draws it all in one widget and
// TimelineInput turns the pointer into selections, seeks and drags. Only the subtitles
// in the visible time range are looked at, found by binary search, so the cost of
// scrolling and zooming follows what is on screen, not the length of the file.
class TimelineViewController : public QWidget
{
    Q_OBJECT

public:
    static constexpr double defaultWidthPerSecond = TimelineZoom::defaultWidthPerSecond;
    static constexpr double subtitleExtremesHoverMargin = 8.0;
    static constexpr int rulerHeight = TimelineRuler::height;
    static constexpr double maximumMagnification = TimelineZoom::maximum;

    // Draws the document's subtitles over what `media` finds in its video.
    TimelineViewController(Document *document, MediaSession *media, QWidget *parent = nullptr);
    ~TimelineViewController() override;

    Document *document() const;
    MediaSession *media() const { return m_media; }

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
    // Sets the zoom, keeping strip content under anchorX (a position in the pane) fixed.
    void zoomAbout(double magnification, double anchorX);
    double visibleStartTime() const;
    double visibleEndTime() const;

    double currentTime() const { return m_currentTime; }
    bool isCursorShown() const { return m_cursorShown; }
    double cursorLeft() const; // strip position of the cursor's left edge

    // Blocks.
    // The subtitles whose blocks reach into the view, in list order.
    SubtitleList visibleSubtitles() const;
    // The same without making a list: a million blocks in view cost no copies. Each comes
    // with its position in the list; backwards, the last comes first.
    using Order = SubtitlesByStart::Order;
    void forEachVisibleSubtitle(const std::function<void(const SubtitlePtr &, int)> &visit,
                                Order order = Order::Forward) const;
    // Whether the block is marked: it breaks a quality limit or overlaps the next one.
    bool hasProblem(int position) const;
    // A subtitle's whole block in the strip widget's coordinates, where it is drawn: at a
    // drag's times while it is dragged. None when it is not in view.
    std::optional<QRectF> blockRect(const SubtitlePtr &subtitle) const;
    QRectF blockRectOf(const Subtitle &subtitle) const;
    // A block from start to end, in the strip widget's coordinates.
    QRectF blockRectAt(double start, double end) const;
    // The block drag in progress, or nullptr: its blocks are drawn at its own times, and the
    // subtitles keep theirs until the drop.
    const SubtitleDrag *subtitleDrag() const;
    // What a drag at p would do; p in strip x and y from the block row's top edge.
    std::optional<SubtitleViewAction> hitTestAction(QPointF p) const;
    std::optional<SubtitleViewAction> subtitleViewAction() const;

    // Selection, as pushed by the document.
    bool isManipulatingSelection() const;
    const SubtitleList &selectedSubtitles() const { return m_selectedSubtitles; }
    bool isSelected(const Subtitle &subtitle) const { return m_selectedSet.contains(&subtitle); }
    void setSelectedSubtitles(const SubtitleList &subtitles);

    // The list changed (called through the document's signals).
    void reloadSubtitles();
    void subtitlesChanged();
    void scrollToSubtitle(const SubtitlePtr &subtitle);

    // The waveform's vertical zoom (AmplitudeCompression): Ctrl+Shift+wheel.
    double waveformZoom() const { return m_waveformZoom; }
    void setWaveformZoom(double zoom);
    void resetWaveformZoom() { setWaveformZoom(1); }

    // Window restoration: "magnification" (double), "offset" (QPointF) and "waveformZoom"
    // (double).
    QVariantMap saveState() const;
    void restoreState(const QVariantMap &state);

    // The parts, for drawing and for tests.
    QWidget *contentView() const;
    const TimelineRuler &ruler() const { return m_ruler; }
    // The session's, while it has them; the sonogram is drawn when the view
    // (AudioViewSettings) asks for it.
    std::shared_ptr<AudioWaveform> audioWaveform() const { return m_audioWaveform; }
    std::shared_ptr<AudioSonogram> audioSonogram() const { return m_audioSonogram; }
    QScrollBar *scrollBar() const { return m_scrollBar; }
    // The time a snap just caught, shown as a guide for a moment.
    std::optional<double> snapGuideTime() const;
    // The rubber band of a selection being dragged out, in the strip widget's coordinates.
    std::optional<QRectF> rubberBand() const;

    // Shot changes. The one whose line lies within a few points of x (a position in the
    // strip widget), nearest first.
    std::optional<double> shotChangeNear(double x) const;
    // Left and Right select the subtitle before and after the one under the cursor (or the
    // selected one), Home and End the first and last; the document's selection seeks a
    // paused video to it.
    void selectNeighbour(Qt::Key key);

    // Commands of the window offered in the strip's context menu, after its own.
    void addContextMenuAction(QAction *action);
    QList<QAction *> contextMenuActions() const;

public slots:
    void setVideoDuration(std::optional<double> duration);
    void setCurrentTime(double time);
    // While playing, the strip follows the cursor when it leaves the view, until the user
    // scrolls it.
    void setPlaying(bool playing);
    // Brings the cursor into view and follows it again (playback starts, a frame step).
    void followCursor();
    void updateDuration();
    void scrollToCursorIfNeeded();
    void zoomIn();
    void zoomOut();
    void fitFilm();
    void zoomToSelection();

signals:
    // The zoom or the scroll position changed.
    void restorableStateChanged();

private:
    friend class TimelineInput;

    void connectDocument();
    void setFrameRate(double frameRate);
    void layoutParts();
    void updateContentSize();
    void applyMagnification();
    void applyFirstZoom();
    double fallbackDuration() const;
    void updateFallbackDuration();
    void didScroll(int value);
    void afterScroll();
    void stopFollowingCursor();
    void setAudioWaveform(std::shared_ptr<AudioWaveform> waveform);
    void setAudioSonogram(std::shared_ptr<AudioSonogram> sonogram);
    // Tells a screen reader when what TimelineAccessible says has changed.
    void updateAccessibleText();
    SubtitleDrag::Times shownTimes(const Subtitle &subtitle) const;
    // The subtitles that reach into [from, to), in list order.
    SubtitleList subtitlesBetween(double from, double to) const;
    void forEachSubtitleBetween(double from, double to, const std::function<void(const SubtitlePtr &, int)> &visit,
                                Order order = Order::Forward) const;
    SubtitlesByStart byStart() const;

    QPointer<Document> m_document;
    MediaSession *m_media; // outlives the pane
    TimelineStrip *m_strip;
    QScrollBar *m_scrollBar;
    TimelineInput *m_input;
    TimelineRuler m_ruler;
    std::shared_ptr<AudioWaveform> m_audioWaveform;
    std::shared_ptr<AudioSonogram> m_audioSonogram;
    SnapGuide m_snapGuide;
    QList<QPointer<QAction>> m_contextMenuActions;

    double m_offset = 0;
    std::optional<double> m_pendingOffset; // restored before the pane had a size
    double m_magnification = 1.0;
    bool m_zoomChosen = false; // by a zoom or a restored window; else the first video sets it
    bool m_firstZoomApplied = false;
    double m_waveformZoom = 1.0;
    double m_duration = 0;
    std::optional<double> m_videoDuration;
    double m_currentTime = 0;
    bool m_cursorShown = false;
    bool m_playing = false;
    bool m_followsCursor = true;
    SubtitleListExtents m_listExtents;

    SubtitleList m_selectedSubtitles;
    QSet<const Subtitle *> m_selectedSet;
    AccessibleTextNotifier m_accessibleText;
};
