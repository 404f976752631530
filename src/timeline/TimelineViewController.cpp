#include "timeline/TimelineViewController.h"

#include "document/Document.h"
#include "model/Fatal.h"
#include "model/SubtitleController.h"
#include "document/Player.h"
#include "timeline/CursorView.h"
#include "timeline/DenseBlocksView.h"
#include "timeline/PanClickRecognizer.h"
#include "timeline/SubtitleView.h"
#include "timeline/TimelineView.h"
#include "waveform/AudioWaveform.h"
#include "waveform/AudioWaveformView.h"

#include <QCursor>
#include <QNativeGestureEvent>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr double fallbackTail = 5.0;        // seconds shown after the last subtitle without a video
constexpr int waveformPointsPerSecond = 48;
constexpr double zoomStep = 1.5;            // one zoom command
constexpr double wheelZoomPerNotch = 1.2;
constexpr int blockOverhang = 20;           // blocks reach this far past the view's edges
constexpr int snapGuideMilliseconds = 400;

bool overlaps(double start, double end, double lo, double hi)
{
    return start < hi && lo < end && start != end && lo != hi;
}
} // namespace

TimelineViewController::TimelineViewController(Document *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_contentView(new QWidget(this))
    , m_scrollBar(new QScrollBar(Qt::Horizontal, this))
{
    if (!m_document)
        CUEWRIGHT_FATAL("a timeline needs its document");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_contentView, 1);
    layout->addWidget(m_scrollBar);
    m_contentView->setMinimumHeight(rulerHeight + 24);

    // Back to front: the waveform under the blocks, the ruler, the rubber band, the
    // snap guide, the cursor on top. None takes input; the content view handles it all.
    m_audioWaveformView = new AudioWaveformView(m_contentView);
    m_subtitlesContainerView = new QWidget(m_contentView);
    m_denseBlocksView = new DenseBlocksView(this, m_subtitlesContainerView);
    m_timelineView = new TimelineView(m_contentView);
    m_selectionView = new QWidget(m_contentView);
    m_snapGuide = new QWidget(m_contentView);
    m_cursorView = new CursorView(m_contentView);
    for (QWidget *part : {static_cast<QWidget *>(m_audioWaveformView), m_subtitlesContainerView, m_selectionView,
                          m_snapGuide})
        part->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_selectionView->setAutoFillBackground(true);
    QPalette band = m_selectionView->palette();
    band.setColor(QPalette::Window, QColor::fromRgbF(0.0, 0.1, 0.4, 0.4));
    m_selectionView->setPalette(band);
    m_selectionView->hide();

    m_snapGuide->setAutoFillBackground(true);
    QPalette guide = m_snapGuide->palette();
    guide.setColor(QPalette::Window, QColor::fromRgbF(1.0, 0.6, 0.3, 1.0));
    m_snapGuide->setPalette(guide);
    m_snapGuide->hide();
    m_snapGuideTimer.setSingleShot(true);
    m_snapGuideTimer.setInterval(snapGuideMilliseconds);
    connect(&m_snapGuideTimer, &QTimer::timeout, m_snapGuide, &QWidget::hide);

    m_contentView->installEventFilter(this);
    m_recognizer = new PanClickRecognizer(m_contentView);
    connect(m_recognizer, &PanClickRecognizer::pressed, this, &TimelineViewController::pressed);
    connect(m_recognizer, &PanClickRecognizer::clicked, this, &TimelineViewController::clicked);
    connect(m_recognizer, &PanClickRecognizer::panBegan, this, &TimelineViewController::panBegan);
    connect(m_recognizer, &PanClickRecognizer::panChanged, this, &TimelineViewController::panChanged);
    connect(m_recognizer, &PanClickRecognizer::panEnded, this,
            [this](QPointF position, QPointF, Qt::KeyboardModifiers) { panEnded(position); });
    connect(m_recognizer, &PanClickRecognizer::panCancelled, this, &TimelineViewController::panCancelled);
    connect(m_recognizer, &PanClickRecognizer::hovered, this, &TimelineViewController::updateHoverAction);

    m_scrollBar->setSingleStep(20);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &TimelineViewController::didScroll);
    // Only the user's own moves of the scroll bar; ours come through valueChanged alone.
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &TimelineViewController::stopFollowingCursor);

    connectDocument();
    reloadSubtitles();
    setSelectedSubtitles(m_document->subtitleController().subtitlesAt(m_document->selectedSubtitleIndexes()));
    updateDuration();
}

TimelineViewController::~TimelineViewController()
{
    if (m_drag)
        m_drag->restore();
    if (m_document)
        m_document->setSelectionSeeksVideo(true);
}

Document *TimelineViewController::document() const
{
    return m_document;
}

void TimelineViewController::connectDocument()
{
    SubtitleController &controller = m_document->subtitleController();
    // A drag moves the subtitles themselves until it ends: any other change of the list
    // puts them back and ends the drag first, so that the change meets the list as it was.
    connect(m_document, &Document::subtitlesAboutToChange, this, [this] {
        if (m_panMode == PanMode::Subtitles && m_drag)
            panCancelled();
    });
    connect(m_document, &Document::subtitlesReloaded, this, &TimelineViewController::reloadSubtitles);
    connect(m_document, &Document::subtitlesInserted, this,
            [this, &controller](const IndexSet &indexes) { subtitlesWereInserted(controller.subtitlesAt(indexes)); });
    connect(m_document, &Document::subtitlesUpdated, this,
            [this, &controller](const IndexSet &, const QList<SubtitleIndexUpdate> &, const IndexSet &newIndexes) {
                subtitlesWereUpdated(controller.subtitlesAt(newIndexes));
            });
    connect(m_document, &Document::subtitlesRemoved, this,
            [this](const SubtitleList &subtitles, const IndexSet &) { subtitlesWereRemoved(subtitles); });
    connect(m_document, &Document::selectionChanged, this, [this, &controller](const IndexSet &selection) {
        setSelectedSubtitles(controller.subtitlesAt(selection));
    });
    connect(m_document, &Document::showSubtitleRequested, this, [this, &controller](int index) {
        if (!m_isManipulatingSelection && index >= 0 && index < controller.count())
            scrollToSubtitle(controller.at(index));
    });
}

// ---- Geometry and layout ----

double TimelineViewController::contentWidth() const
{
    return std::max(double(m_contentView->width()), m_duration * pointsPerSecond());
}

double TimelineViewController::minimumMagnification() const
{
    // A short timeline is never shown below 1; a long one zooms out until it fits.
    const double width = m_contentView->width();
    if (m_duration < width / defaultWidthPerSecond || m_duration <= 0 || width <= 0)
        return 1.0;
    return width / m_duration / defaultWidthPerSecond;
}

void TimelineViewController::applyMagnification()
{
    double upper = maximumMagnification;
    if (m_duration > 0)
        upper = std::min(upper, double(std::numeric_limits<int>::max() / 2) / (m_duration * defaultWidthPerSecond));
    if (!(m_magnification <= upper))
        m_magnification = upper;
    m_magnification = std::max(m_magnification, minimumMagnification());
    updateContentSize();
    updateCursorPosition();
    emit restorableStateChanged();
}

void TimelineViewController::updateContentSize()
{
    const double viewWidth = m_contentView->width();
    const double width = contentWidth();
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setPageStep(std::max(1, m_contentView->width()));
    m_scrollBar->setRange(0, int(std::ceil(std::max(0.0, width - viewWidth))));
    m_offset = m_scrollBar->value();
    // The ruler covers at least the visible width, so its scale is always known.
    m_timelineView->setScale(std::max(m_duration, viewWidth / pointsPerSecond()), width);
    placeStrip();
}

void TimelineViewController::updateDuration()
{
    m_duration = m_videoDuration ? *m_videoDuration : fallbackDuration();
    updateContentSize();
}

// Without the video's own duration: the subtitles and a little after them, and at least
// the audio, so that all of the waveform can be seen.
double TimelineViewController::fallbackDuration() const
{
    double duration = m_hasSubtitles ? m_lastSubtitleEnd + fallbackTail : 0;
    if (const auto waveform = m_audioWaveformView->audioWaveform())
        duration = std::max(duration, waveform->duration());
    return duration;
}

void TimelineViewController::updateListExtents()
{
    const SubtitleList &subtitles = m_document->subtitleController().subtitles();
    m_hasSubtitles = !subtitles.isEmpty();
    m_lastSubtitleEnd = 0;
    m_longestSubtitle = 0;
    for (const SubtitlePtr &subtitle : subtitles) {
        m_lastSubtitleEnd = std::max(m_lastSubtitleEnd, subtitle->end);
        m_longestSubtitle = std::max(m_longestSubtitle, subtitle->end - subtitle->start);
    }
}

void TimelineViewController::updateFallbackDuration()
{
    updateListExtents();
    if (m_videoDuration)
        return;
    m_duration = fallbackDuration();
    updateContentSize();
}

void TimelineViewController::layoutParts()
{
    const int width = m_contentView->width();
    const int height = m_contentView->height();
    m_timelineView->setGeometry(0, 0, width, rulerHeight);
    m_subtitlesContainerView->setGeometry(0, rulerHeight, width, height - rulerHeight);
    m_denseBlocksView->setGeometry(m_subtitlesContainerView->rect());
    updateContentSize();
    if (m_pendingOffset && width > 0) {
        scrollToOffset(*std::exchange(m_pendingOffset, std::nullopt));
        placeStrip();
    }
}

void TimelineViewController::scrollToOffset(double x)
{
    m_scrollBar->setValue(int(std::clamp(std::round(x), 0.0, double(m_scrollBar->maximum()))));
}

void TimelineViewController::didScroll(int value)
{
    m_offset = value;
    placeStrip();
    afterScroll();
}

void TimelineViewController::afterScroll()
{
    refreshHoverAtPointer();
    emit restorableStateChanged();
}

// Everything whose place on screen depends on the scroll position or the zoom.
void TimelineViewController::placeStrip()
{
    m_snapGuide->hide(); // it marks a place on screen, which has just moved
    m_timelineView->setOffset(m_offset);
    // The waveform view covers the pane and draws the strip's times itself: a widget as
    // wide as the strip would be clamped at high zoom.
    m_audioWaveformView->setGeometry(0, rulerHeight, m_contentView->width(), m_contentView->height() - rulerHeight);
    m_audioWaveformView->setTimeScale(pointsPerSecond(), m_offset);
    updateCursorPosition();
    updateVisibleSubtitleViews();
}

void TimelineViewController::zoomAbout(double magnification, double anchorX)
{
    const double oldMagnification = m_magnification;
    const double oldOffset = m_offset;
    m_magnification = magnification;
    applyMagnification();
    // The requested zoom, even where a limit changed it, as a pinch expects.
    scrollToOffset((anchorX + oldOffset) / oldMagnification * magnification - anchorX);
    m_offset = m_scrollBar->value();
    placeStrip();
    afterScroll();
}

void TimelineViewController::zoomIn()
{
    zoomAbout(m_magnification * zoomStep, m_contentView->width() / 2.0);
}

void TimelineViewController::zoomOut()
{
    zoomAbout(m_magnification / zoomStep, m_contentView->width() / 2.0);
}

void TimelineViewController::zoomToFit()
{
    zoomAbout(minimumMagnification(), 0);
}

bool TimelineViewController::overlapsVisibleInterval(const Subtitle &subtitle) const
{
    return overlaps(subtitle.start, subtitle.end, m_visibleStart, m_visibleEnd);
}

void TimelineViewController::updateVisibleSubtitleViews()
{
    m_visibleStart = timeForX(m_offset);
    m_visibleEnd = timeForX(m_offset + m_contentView->width());

    for (SubtitleView *view : m_visibleSubtitleViews.values()) {
        if (overlapsVisibleInterval(*view->subtitle()) || m_draggedSet.contains(view->subtitle().get()))
            layoutSubtitleView(view);
        else
            dropSubtitleView(view);
    }

    // The list is in start order: only subtitles starting within the longest duration
    // before the interval can reach into it.
    const SubtitleList &subtitles = m_document->subtitleController().subtitles();
    const double earliest = m_visibleStart - m_longestSubtitle - 1e-6;
    auto it = std::partition_point(subtitles.begin(), subtitles.end(),
                                   [earliest](const SubtitlePtr &s) { return s->start < earliest; });
    SubtitleList toShow;
    qsizetype inView = 0;
    double secondsInView = 0;
    for (; it != subtitles.end() && (*it)->start < m_visibleEnd; ++it) {
        if (!overlapsVisibleInterval(**it))
            continue;
        ++inView;
        secondsInView += (*it)->end - (*it)->start;
        if (!m_visibleSubtitleViews.contains(it->get()))
            toShow.append(*it);
    }
    // Too many blocks for a widget each, and too thin to grab one by one (a long film
    // zoomed out): draw them as marks instead. Many wide blocks, stacked at one time,
    // keep their widgets so that each can still be dragged.
    const bool thin = inView > 0 && xForTime(secondsInView / double(inView)) < minimumGrabbableBlockWidth;
    m_denseBlocksView->setActive(inView > maximumBlockViews && thin);
    if (m_denseBlocksView->isActive()) {
        for (SubtitleView *view : m_visibleSubtitleViews.values()) {
            if (!m_draggedSet.contains(view->subtitle().get()))
                dropSubtitleView(view);
        }
        return;
    }
    for (const SubtitlePtr &subtitle : std::as_const(toShow))
        makeSubtitleView(subtitle);
}

SubtitleView *TimelineViewController::subtitleView(const SubtitlePtr &subtitle) const
{
    return m_visibleSubtitleViews.value(subtitle.get());
}

SubtitleView *TimelineViewController::makeSubtitleView(const SubtitlePtr &subtitle)
{
    auto *view = new SubtitleView(this, m_subtitlesContainerView);
    view->setSubtitle(subtitle);
    view->setText(subtitle->text);
    view->setSelected(m_selectedSet.contains(subtitle.get()));
    // Unselected blocks never cover selected ones.
    SubtitleView *firstSelected = m_selectedSubtitles.isEmpty() ? nullptr : subtitleView(m_selectedSubtitles.first());
    if (firstSelected)
        view->stackUnder(firstSelected);
    else
        view->lower();
    m_visibleSubtitleViews.insert(subtitle.get(), view);
    layoutSubtitleView(view);
    view->show();
    return view;
}

void TimelineViewController::layoutSubtitleView(SubtitleView *view) const
{
    const Subtitle &subtitle = *view->subtitle();
    const double height = m_subtitlesContainerView->height();
    const QRectF block(xForTime(subtitle.start) - m_offset, 0, xForTime(subtitle.end - subtitle.start), height);
    const QRectF visible(-blockOverhang, 0, m_contentView->width() + 2 * blockOverhang, height);
    view->setBlockGeometry(block, visible);
}

void TimelineViewController::dropSubtitleView(const SubtitlePtr &subtitle)
{
    if (SubtitleView *view = subtitleView(subtitle))
        dropSubtitleView(view);
}

void TimelineViewController::dropSubtitleView(SubtitleView *view)
{
    m_visibleSubtitleViews.remove(view->subtitle().get());
    if (m_subtitleViewAction && m_subtitleViewAction->activeViews.contains(view)) {
        m_subtitleViewAction.reset();
        if (m_panMode != PanMode::Subtitles)
            m_contentView->unsetCursor();
    }
    view->setSubtitle(nullptr);
    delete view;
}

// ---- The list and the selection ----

void TimelineViewController::reloadSubtitles()
{
    setSelectedSubtitles({});
    for (SubtitleView *view : m_visibleSubtitleViews.values())
        dropSubtitleView(view);
    subtitlesWereInserted(m_document->subtitleController().subtitles());
}

void TimelineViewController::subtitlesWereInserted(const SubtitleList &subtitles)
{
    updateFallbackDuration();
    if (m_denseBlocksView->isActive() || subtitles.size() > maximumBlockViews) {
        updateVisibleSubtitleViews();
        return;
    }
    for (const SubtitlePtr &subtitle : subtitles) {
        if (overlapsVisibleInterval(*subtitle) && !subtitleView(subtitle))
            makeSubtitleView(subtitle);
    }
}

void TimelineViewController::subtitlesWereUpdated(const SubtitleList &subtitles)
{
    updateFallbackDuration();
    if (m_denseBlocksView->isActive() || subtitles.size() > maximumBlockViews) {
        updateVisibleSubtitleViews();
        return;
    }
    for (const SubtitlePtr &subtitle : subtitles) {
        SubtitleView *view = subtitleView(subtitle);
        if (!overlapsVisibleInterval(*subtitle)) {
            if (view)
                dropSubtitleView(view);
        } else if (view) {
            view->setText(subtitle->text);
            layoutSubtitleView(view);
        } else {
            makeSubtitleView(subtitle);
        }
    }
}

void TimelineViewController::subtitlesWereRemoved(const SubtitleList &subtitles)
{
    QSet<const Subtitle *> removed;
    for (const SubtitlePtr &subtitle : subtitles)
        removed.insert(subtitle.get());
    SubtitleList remaining;
    for (const SubtitlePtr &subtitle : std::as_const(m_selectedSubtitles)) {
        if (!removed.contains(subtitle.get()))
            remaining.append(subtitle);
    }
    if (remaining.size() != m_selectedSubtitles.size())
        setSelectedSubtitles(remaining);
    for (const SubtitlePtr &subtitle : subtitles)
        dropSubtitleView(subtitle);
    updateFallbackDuration();
}

void TimelineViewController::setSelectedSubtitles(const SubtitleList &subtitles)
{
    for (const SubtitlePtr &subtitle : std::as_const(m_selectedSubtitles)) {
        if (SubtitleView *view = subtitleView(subtitle))
            view->setSelected(false);
    }
    m_selectedSubtitles = subtitles;
    m_selectedSet.clear();
    for (const SubtitlePtr &subtitle : subtitles) {
        m_selectedSet.insert(subtitle.get());
        if (SubtitleView *view = subtitleView(subtitle)) {
            view->setSelected(true);
            view->raise();
        }
    }
}

void TimelineViewController::scrollToSubtitle(const SubtitlePtr &subtitle)
{
    const double start = xForTime(subtitle->start);
    const double end = xForTime(subtitle->end);
    const double width = m_contentView->width();
    if (start < m_offset)
        scrollToOffset(start);
    else if (end > m_offset + width)
        scrollToOffset(std::min(start, end - width));
    updateVisibleSubtitleViews();
    afterScroll();
}

// ---- Playback cursor ----

double TimelineViewController::cursorLeft() const
{
    return xForTime(m_currentTime) - m_cursorView->width() / 2.0;
}

void TimelineViewController::updateCursorPosition()
{
    m_cursorView->setGeometry(int(std::round(cursorLeft() - m_offset)), 0, CursorView::defaultWidth,
                              m_contentView->height());
}

void TimelineViewController::setCurrentTime(double time)
{
    m_currentTime = time;
    updateCursorPosition();
    m_cursorView->show();
    if (m_playing && m_followsCursor)
        scrollToCursorIfNeeded();
}

void TimelineViewController::setPlaying(bool playing)
{
    m_playing = playing;
    if (playing)
        followCursor();
}

void TimelineViewController::followCursor()
{
    m_followsCursor = true;
    scrollToCursorIfNeeded();
}

// The user took the strip elsewhere: playback no longer pulls it back until it starts
// again or a frame step asks for the cursor.
void TimelineViewController::stopFollowingCursor()
{
    m_followsCursor = false;
}

void TimelineViewController::scrollToCursorIfNeeded()
{
    const double left = cursorLeft();
    const double width = m_contentView->width();
    if (left < m_offset + width && m_offset < left + m_cursorView->width())
        return;
    // The cursor goes one third into the view.
    scrollToOffset(std::max(0.0, xForTime(m_currentTime) - width / 3));
    updateVisibleSubtitleViews();
    afterScroll();
}

void TimelineViewController::setVideoDuration(std::optional<double> duration)
{
    m_videoDuration = duration;
    updateDuration();
}

void TimelineViewController::setFrameRate(double frameRate)
{
    m_timelineView->setFrameRate(frameRate);
}

void TimelineViewController::setAudioWaveform(std::shared_ptr<AudioWaveform> waveform)
{
    // The waveform always covers the audio's own length, whatever the timeline shows
    // now: the video's duration may arrive later, or never.
    if (waveform && !waveform->hasStarted())
        waveform->loadWhole(waveformPointsPerSecond);
    m_audioWaveformView->setAudioWaveform(std::move(waveform));
    updateDuration();
}

// ---- Restoration ----

QVariantMap TimelineViewController::saveState() const
{
    return {{QStringLiteral("magnification"), m_magnification}, {QStringLiteral("offset"), QPointF(m_offset, 0)}};
}

void TimelineViewController::restoreState(const QVariantMap &state)
{
    // A missing zoom reads as 0, which the lower limit raises.
    m_magnification = state.value(QStringLiteral("magnification")).toDouble();
    applyMagnification();
    const double offset = state.value(QStringLiteral("offset")).toPointF().x();
    if (m_contentView->width() > 0)
        scrollToOffset(offset);
    else
        m_pendingOffset = offset;
    m_offset = m_scrollBar->value();
    placeStrip();
}

// ---- Events of the strip ----

bool TimelineViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_contentView)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
        layoutParts();
        return false;
    case QEvent::Wheel:
        return wheel(static_cast<QWheelEvent *>(event));
    case QEvent::NativeGesture: {
        auto *gesture = static_cast<QNativeGestureEvent *>(event);
        if (gesture->gestureType() != Qt::ZoomNativeGesture)
            return false;
        // A pinch adds its increment to the zoom.
        zoomAbout(m_magnification + gesture->value(), gesture->position().x());
        return true;
    }
    default:
        return false;
    }
}

bool TimelineViewController::wheel(QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (angle.y() == 0)
            return false;
        zoomAbout(m_magnification * std::pow(wheelZoomPerNotch, angle.y() / 120.0), event->position().x());
        return true;
    }
    // A vertical wheel scrolls the strip sideways too: there is nothing to scroll upwards.
    const QPoint pixels = event->pixelDelta();
    int delta = 0;
    if (!pixels.isNull())
        delta = pixels.x() != 0 ? pixels.x() : pixels.y();
    else
        delta = (angle.x() != 0 ? angle.x() : angle.y()) * m_scrollBar->singleStep() * 3 / 120;
    if (delta == 0)
        return false;
    stopFollowingCursor();
    scrollToOffset(m_offset - delta);
    return true;
}

QPointF TimelineViewController::containerPoint(QPointF viewPoint) const
{
    return QPointF(viewPoint.x() + m_offset, viewPoint.y() - rulerHeight);
}

std::optional<SubtitleViewAction> TimelineViewController::hitTestAction(QPointF p) const
{
    using Kind = SubtitleViewAction::Kind;
    if (p.x() < 0 || p.x() >= contentWidth() || p.y() < 0 || p.y() >= m_subtitlesContainerView->height())
        return std::nullopt;

    const double pps = pointsPerSecond();
    const auto frameLeft = [pps](const SubtitleView *view) { return view->subtitle()->start * pps; };
    const auto frameRight = [pps](const SubtitleView *view) { return view->subtitle()->end * pps; };

    // The frontmost block under the pointer, by its edge zones.
    const QObjectList &children = m_subtitlesContainerView->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto *view = qobject_cast<SubtitleView *>(*it);
        if (!view || !view->subtitle())
            continue;
        const double left = frameLeft(view);
        const double right = frameRight(view);
        if (p.x() < left || p.x() >= right)
            continue;
        const double margin = std::min((right - left - subtitleExtremesHoverMargin) / 2, subtitleExtremesHoverMargin);
        if (p.x() < left + margin)
            return SubtitleViewAction{Kind::MoveStart, {view}};
        if (p.x() >= right - margin)
            return SubtitleViewAction{Kind::MoveEnd, {view}};
        return SubtitleViewAction{Kind::MoveSubtitle, {view}};
    }

    // The gap between the nearest blocks on either side.
    SubtitleView *leftView = nullptr;
    for (SubtitleView *view : m_visibleSubtitleViews) {
        if (frameRight(view) < p.x() && (!leftView || frameRight(view) > frameRight(leftView)))
            leftView = view;
    }
    if (!leftView)
        return std::nullopt;
    SubtitleView *rightView = nullptr;
    for (SubtitleView *view : m_visibleSubtitleViews) {
        if (frameLeft(view) > frameRight(leftView) && (!rightView || frameLeft(view) < frameLeft(rightView)))
            rightView = view;
    }
    if (!rightView)
        return std::nullopt;
    return SubtitleViewAction{Kind::MoveEmptySpace, {leftView, rightView}};
}

void TimelineViewController::updateHoverAction(QPointF viewPoint)
{
    const auto action = hitTestAction(containerPoint(viewPoint));
    if (action == m_subtitleViewAction)
        return;
    m_subtitleViewAction = action;
    if (action)
        m_contentView->setCursor(SubtitleViewAction::cursorShape(action->kind));
    else
        m_contentView->unsetCursor();
}

void TimelineViewController::refreshHoverAtPointer()
{
    if (m_panMode != PanMode::None)
        return;
    const QPointF pointer = m_contentView->mapFromGlobal(QCursor::pos());
    if (m_contentView->rect().contains(pointer.toPoint()))
        updateHoverAction(pointer);
}

// ---- Clicks, presses, pans ----

void TimelineViewController::pressed(QPointF viewPoint, Qt::KeyboardModifiers)
{
    m_contentView->setFocus(Qt::MouseFocusReason);
    updateHoverAction(viewPoint);
    m_pressWasInRuler = viewPoint.y() < rulerHeight;
    // Pressing the ruler seeks at once; grabbing the cursor's head waits for the drag so
    // that the cursor does not jump by the grab offset.
    if (m_pressWasInRuler && !isInCursorHead(viewPoint))
        seek(timeForX(viewPoint.x() + m_offset));
}

void TimelineViewController::clicked(QPointF, Qt::KeyboardModifiers modifiers)
{
    if (m_pressWasInRuler)
        return;
    handleClick(modifiers);
}

void TimelineViewController::handleClick(Qt::KeyboardModifiers modifiers)
{
    SubtitleController &controller = m_document->subtitleController();
    if (!m_subtitleViewAction || m_subtitleViewAction->activeViews.size() != 1) {
        m_document->setSelectedSubtitleIndexes({});
        return;
    }
    const SubtitlePtr subtitle = m_subtitleViewAction->activeViews.first()->subtitle();
    const int index = controller.indexOf(subtitle);
    if (!CUEWRIGHT_EXPECT(index >= 0, "a block shows a subtitle that is not in the list"))
        return;
    IndexSet selection = m_document->selectedSubtitleIndexes();
    if (modifiers & Qt::ControlModifier) {
        if (m_selectedSet.contains(subtitle.get()))
            selection.remove(index);
        else
            selection.insert(index);
    } else if ((modifiers & Qt::ShiftModifier) && !m_selectedSubtitles.isEmpty()) {
        const int last = controller.indexOf(m_selectedSubtitles.last());
        for (int i = std::min(index, last); i <= std::max(index, last); ++i)
            selection.insert(i);
    } else {
        selection = IndexSet(index);
    }
    m_document->setSelectedSubtitleIndexes(selection);
}

bool TimelineViewController::isInCursorHead(QPointF viewPoint) const
{
    // Measured from the cursor's exact place, not its widget's whole-pixel one.
    const QRectF head = m_cursorView->headRect();
    return m_cursorView->isVisible()
        && head.translated(cursorLeft() - m_offset, m_cursorView->y()).contains(viewPoint);
}

void TimelineViewController::panBegan(QPointF viewPoint, Qt::KeyboardModifiers modifiers)
{
    m_isManipulatingSelection = true;
    m_document->setSelectionSeeksVideo(false);
    m_panStart = viewPoint;
    if (m_subtitleViewAction) {
        m_panMode = PanMode::Subtitles;
        beginSubtitleDrag(viewPoint);
    } else if (isInCursorHead(viewPoint)) {
        // Keep the grab offset from the cursor's centre line.
        m_panMode = PanMode::Cursor;
        m_isDraggingCursor = true;
        m_dragOffset = QPointF(m_cursorView->width() * 0.5 - (viewPoint.x() + m_offset - cursorLeft()), 0);
    } else if (viewPoint.y() < rulerHeight) {
        m_panMode = PanMode::Cursor;
        m_isDraggingCursor = true;
        m_dragOffset = QPointF();
    } else {
        m_panMode = PanMode::RubberBand;
        m_selectedSubtitlesBeforeDrag = m_selectedSubtitles;
        m_selectionView->setGeometry(QRect());
        m_selectionView->show();
        m_selectionView->raise();
        m_cursorView->raise();
        dragSelectionRectangle(viewPoint, modifiers);
    }
}

void TimelineViewController::panChanged(QPointF viewPoint, QPointF translation, Qt::KeyboardModifiers modifiers)
{
    switch (m_panMode) {
    case PanMode::Subtitles:
        dragSubtitles(viewPoint, translation, modifiers);
        break;
    case PanMode::Cursor:
        seek(timeForX(viewPoint.x() + m_offset + m_dragOffset.x()));
        break;
    case PanMode::RubberBand:
        dragSelectionRectangle(viewPoint, modifiers);
        break;
    case PanMode::None:
        break;
    }
}

void TimelineViewController::panEnded(QPointF viewPoint)
{
    if (m_panMode == PanMode::Subtitles)
        endSubtitleDrag();
    if (m_panMode == PanMode::RubberBand) {
        m_selectionView->hide();
        m_selectedSubtitlesBeforeDrag.clear();
    }
    m_panMode = PanMode::None;
    m_isDraggingCursor = false;
    m_subtitleViewAction.reset();
    updateHoverAction(viewPoint);
    m_isManipulatingSelection = false;
    m_document->setSelectionSeeksVideo(true);
}

// A pan the user broke off (Escape, focus lost): nothing of it stays.
void TimelineViewController::panCancelled()
{
    if (m_panMode == PanMode::Subtitles && m_drag) {
        m_drag->restore();
        placeDraggedViews();
        m_drag.reset();
        m_draggedSet.clear();
        updateVisibleSubtitleViews();
    }
    if (m_panMode == PanMode::RubberBand) {
        m_selectionView->hide();
        m_document->setSelectedSubtitleIndexes(indexesOf(m_selectedSubtitlesBeforeDrag));
        m_selectedSubtitlesBeforeDrag.clear();
    }
    m_panMode = PanMode::None;
    m_isDraggingCursor = false;
    m_subtitleViewAction.reset();
    m_contentView->unsetCursor();
    m_isManipulatingSelection = false;
    m_document->setSelectionSeeksVideo(true);
}

// ---- Dragging blocks ----

void TimelineViewController::beginSubtitleDrag(QPointF viewPoint)
{
    using Kind = SubtitleViewAction::Kind;
    const SubtitleViewAction action = *m_subtitleViewAction;
    SubtitleList active;
    const SubtitlePtr grabbed = action.activeViews.first()->subtitle();
    if (action.kind == Kind::MoveSubtitle && m_selectedSet.contains(grabbed.get())) {
        // The whole selection moves, also what is scrolled out of view.
        active = m_selectedSubtitles;
        sortSubtitles(active);
    } else {
        for (SubtitleView *view : action.activeViews)
            active.append(view->subtitle());
        m_document->setSelectedSubtitleIndexes(indexesOf(active));
    }
    m_drag.emplace(action.kind, active);
    m_draggedSet.clear();
    for (const SubtitlePtr &subtitle : std::as_const(active))
        m_draggedSet.insert(subtitle.get());

    m_dragOffset = QPointF(viewPoint.x() + m_offset, viewPoint.y());
    if (action.kind != Kind::MoveEmptySpace)
        m_dragOffset.rx() -= xForTime(active.first()->start);
    if (action.kind == Kind::MoveSubtitle)
        m_contentView->setCursor(Qt::ClosedHandCursor);
}

void TimelineViewController::dragSubtitles(QPointF viewPoint, QPointF translation, Qt::KeyboardModifiers modifiers)
{
    if (!m_drag)
        return;
    SubtitleDrag::Step step;
    step.pointsPerSecond = pointsPerSecond();
    step.translationX = translation.x();
    step.proposedX = viewPoint.x() + m_offset - m_dragOffset.x();
    step.currentTime = m_currentTime;
    step.frameRate = m_document->subtitleController().frameRate();
    // Ctrl switches snapping off, the playback cursor included.
    step.snapping = !(modifiers & Qt::ControlModifier);
    for (SubtitleView *view : std::as_const(m_visibleSubtitleViews)) {
        if (!m_draggedSet.contains(view->subtitle().get()))
            step.candidates.append(view->subtitle());
    }
    const SubtitleDrag::StepResult result = m_drag->move(step);
    placeDraggedViews();
    if (result.snappedEdge)
        showSnapGuide(*result.snappedEdge);
}

void TimelineViewController::placeDraggedViews()
{
    for (const SubtitlePtr &subtitle : m_drag->subtitles()) {
        if (SubtitleView *view = subtitleView(subtitle))
            layoutSubtitleView(view);
        else if (overlapsVisibleInterval(*subtitle))
            makeSubtitleView(subtitle);
    }
}

void TimelineViewController::endSubtitleDrag()
{
    using Kind = SubtitleViewAction::Kind;
    if (!m_drag)
        return;
    SubtitleDrag drag = std::move(*m_drag);
    m_drag.reset();
    m_draggedSet.clear();
    if (drag.kind() == Kind::MoveSubtitle)
        m_contentView->setCursor(Qt::OpenHandCursor);
    if (!drag.hasMoved()) {
        // Nothing changed: no undo step for it.
        drag.restore();
        return;
    }

    // The new values travel to the controller in list order, as one undoable update.
    const SubtitleList subtitles = drag.subtitles();
    const QList<Subtitle::Values> newValues = drag.finish();
    SubtitleController &controller = m_document->subtitleController();
    QList<std::pair<int, Subtitle::Values>> byIndex;
    for (qsizetype i = 0; i < subtitles.size(); ++i)
        byIndex.append({controller.indexOf(subtitles[i]), newValues[i]});
    std::stable_sort(byIndex.begin(), byIndex.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    IndexSet indexes;
    QList<Subtitle::Values> values;
    for (const auto &[index, value] : std::as_const(byIndex)) {
        // A change of the list cancels a drag first, so this cannot happen; if it does,
        // the subtitles that are gone are left out rather than the program stopped.
        if (!CUEWRIGHT_EXPECT(index >= 0, "a dragged subtitle is not in the list"))
            continue;
        indexes.insert(index);
        values.append(value);
    }
    controller.updateSubtitles(values, indexes);

    QString name;
    switch (drag.kind()) {
    case Kind::MoveSubtitle:
        name = subtitles.size() == 1 ? tr("Move Subtitle") : tr("Move Subtitles");
        break;
    case Kind::MoveStart:
        name = tr("Change Start Time");
        break;
    case Kind::MoveEnd:
        name = tr("Change End Time");
        break;
    case Kind::MoveEmptySpace:
        name = tr("Move Gap");
        break;
    }
    m_document->undoManager().setActionName(name);
    updateVisibleSubtitleViews();
}

void TimelineViewController::showSnapGuide(double time)
{
    m_snapGuide->setGeometry(int(std::round(xForTime(time) - m_offset)) - 1, rulerHeight, 2,
                             m_contentView->height() - rulerHeight);
    m_snapGuide->show();
    m_snapGuide->raise();
    m_cursorView->raise();
    m_snapGuideTimer.start();
}

// ---- Rubber band ----

void TimelineViewController::dragSelectionRectangle(QPointF viewPoint, Qt::KeyboardModifiers modifiers)
{
    const QRectF band = QRectF(m_panStart, viewPoint).normalized();
    m_selectionView->setGeometry(band.toRect());
    const double pps = pointsPerSecond();
    const QRectF inContainer = band.translated(m_offset, -rulerHeight);
    const double height = m_subtitlesContainerView->height();
    SubtitleList selection;
    if (modifiers & Qt::ControlModifier)
        selection = m_selectedSubtitlesBeforeDrag;
    for (SubtitleView *view : std::as_const(m_visibleSubtitleViews)) {
        const Subtitle &subtitle = *view->subtitle();
        const QRectF frame(subtitle.start * pps, 0, (subtitle.end - subtitle.start) * pps, height);
        if (frame.intersects(inContainer))
            selection.append(view->subtitle());
    }
    m_document->setSelectedSubtitleIndexes(indexesOf(selection));
}

// ---- Helpers ----

void TimelineViewController::seek(double time)
{
    if (Player *player = m_document->player())
        player->seek(time);
}

IndexSet TimelineViewController::indexesOf(const SubtitleList &subtitles) const
{
    const SubtitleController &controller = m_document->subtitleController();
    IndexSet indexes;
    if (subtitles.size() < 16) {
        for (const SubtitlePtr &subtitle : subtitles) {
            const int index = controller.indexOf(subtitle);
            if (index >= 0)
                indexes.insert(index);
        }
        return indexes;
    }
    // Many subtitles: one pass over the list instead of one search each.
    QSet<const Subtitle *> wanted;
    for (const SubtitlePtr &subtitle : subtitles)
        wanted.insert(subtitle.get());
    const SubtitleList &all = controller.subtitles();
    for (int i = 0; i < all.size(); ++i) {
        if (wanted.contains(all[i].get()))
            indexes.insert(i);
    }
    return indexes;
}
