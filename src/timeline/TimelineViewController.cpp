#include "timeline/TimelineViewController.h"

#include "document/AudioViewSettings.h"
#include "document/Document.h"
#include "model/quality/ProblemIndex.h"
#include "model/ShotChanges.h"
#include "model/SubtitleController.h"
#include "timeline/CursorPainter.h"
#include "timeline/TimelineAccessible.h"
#include "timeline/TimelineInput.h"
#include "timeline/TimelineStrip.h"
#include "timeline/TimelineZoom.h"
#include "media/AmplitudeCompression.h"
#include "media/AudioSonogram.h"
#include "media/AudioWaveform.h"
#include "media/MediaSession.h"

#include <QAccessible>
#include <QAction>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr double fallbackTail = 5.0; // seconds shown after the last subtitle without a video
constexpr double zoomStep = 1.5; // one zoom command
constexpr double shotChangeHitMargin = 4; // points either side of a line
} // namespace

TimelineViewController::TimelineViewController(Document *document, MediaSession *media, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_media(media)
    , m_strip(new TimelineStrip(this))
    , m_scrollBar(new QScrollBar(Qt::Horizontal, this))
    , m_accessibleText(m_strip)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_strip, 1);
    layout->addWidget(m_scrollBar);
    m_strip->setMinimumHeight(rulerHeight + 24);
    connect(m_strip, &TimelineStrip::resized, this, &TimelineViewController::layoutParts);
    m_input = new TimelineInput(this, m_strip);
    // Tab reaches it as well as a click: its keys step from subtitle to subtitle.
    m_strip->setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Timeline"));

    connect(&m_snapGuide, &SnapGuide::changed, m_strip, qOverload<>(&QWidget::update));

    m_scrollBar->setSingleStep(20);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &TimelineViewController::didScroll);
    // Only the user's own moves of the scroll bar; ours come through valueChanged alone.
    connect(m_scrollBar, &QScrollBar::actionTriggered, this, &TimelineViewController::stopFollowingCursor);

    connect(AudioViewSettings::shared(), &AudioViewSettings::viewChanged, m_strip, qOverload<>(&QWidget::update));

    connectDocument();
    // The sonogram is worked out only while it is shown.
    const auto followView = [this] { m_media->setSonogramShown(AudioViewSettings::shared()->showsSonogram()); };
    connect(AudioViewSettings::shared(), &AudioViewSettings::viewChanged, this, followView);
    followView();
    reloadSubtitles();
    setSelectedSubtitles(m_document->subtitleController().subtitlesAt(m_document->selectedSubtitleIndexes()));
    updateDuration();
}

TimelineViewController::~TimelineViewController()
{
    delete m_input; // it reads this pane: gone before the pane's parts are
    if (m_document)
        m_document->setSelectionSeeksVideo(true);
}

Document *TimelineViewController::document() const
{
    return m_document;
}

QWidget *TimelineViewController::contentView() const
{
    return m_strip;
}

void TimelineViewController::connectDocument()
{
    SubtitleController &controller = m_document->subtitleController();
    connect(m_document, &Document::subtitlesReloaded, this, &TimelineViewController::reloadSubtitles);
    connect(m_document, &Document::subtitlesInserted, this, &TimelineViewController::subtitlesChanged);
    connect(m_document, &Document::subtitlesUpdated, this, &TimelineViewController::subtitlesChanged);
    connect(m_document, &Document::subtitlesReordered, this, &TimelineViewController::subtitlesChanged);
    connect(m_document, &Document::subtitlesRemoved, this, &TimelineViewController::subtitlesChanged);
    connect(m_document, &Document::selectionChanged, this, [this, &controller](const IndexSet &selection) {
        setSelectedSubtitles(controller.subtitlesAt(selection));
    });
    connect(&m_document->problemIndex(), &ProblemIndex::problemsChanged, m_strip, qOverload<>(&QWidget::update));
    connect(m_media, &MediaSession::shotChangesChanged, m_strip, qOverload<>(&QWidget::update));
    connect(m_media, &MediaSession::speechChanged, m_strip, qOverload<>(&QWidget::update));
    connect(m_media, &MediaSession::wordTimingsChanged, m_strip, qOverload<>(&QWidget::update));
    connect(m_media, &MediaSession::waveformChanged, this, &TimelineViewController::setAudioWaveform);
    connect(m_media, &MediaSession::sonogramChanged, this, &TimelineViewController::setAudioSonogram);
    setAudioWaveform(m_media->waveform());
    setAudioSonogram(m_media->sonogram());
    connect(&m_document->originalSubtitles(), &OriginalSubtitles::changed, m_strip, qOverload<>(&QWidget::update));
    connect(m_document, &Document::frameRateChanged, this, &TimelineViewController::setFrameRate);
    m_ruler.setFrameRate(m_document->frameRate());
    m_ruler.setTimeDisplay(m_document->timeDisplay());
    connect(m_document, &Document::timeDisplayChanged, this, [this] {
        m_ruler.setTimeDisplay(m_document->timeDisplay());
        m_strip->update();
        updateAccessibleText();
    });
    connect(m_document, &Document::showSubtitleRequested, this, [this, &controller](int index) {
        if (!isManipulatingSelection() && index >= 0 && index < controller.count())
            scrollToSubtitle(controller.at(index));
    });
}

// ---- Geometry and layout ----

double TimelineViewController::contentWidth() const
{
    return std::max(double(m_strip->width()), m_duration * pointsPerSecond());
}

void TimelineViewController::applyMagnification()
{
    m_magnification = TimelineZoom::bounded(m_magnification, m_duration, m_strip->width());
    updateContentSize();
    emit restorableStateChanged();
}

void TimelineViewController::updateContentSize()
{
    const double viewWidth = m_strip->width();
    const double width = contentWidth();
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setPageStep(std::max(1, m_strip->width()));
    m_scrollBar->setRange(0, int(std::ceil(std::max(0.0, width - viewWidth))));
    m_offset = m_scrollBar->value();
    // The ruler covers at least the visible width, so its scale is always known.
    m_ruler.setScale(std::max(m_duration, viewWidth / pointsPerSecond()), width);
    m_ruler.setOffset(m_offset);
    m_strip->update();
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
    double duration = m_listExtents.any ? m_listExtents.lastEnd + fallbackTail : 0;
    if (m_audioWaveform)
        duration = std::max(duration, m_audioWaveform->duration());
    return duration;
}

void TimelineViewController::updateFallbackDuration()
{
    m_listExtents = SubtitleListExtents::of(m_document->subtitleController().subtitles());
    if (m_videoDuration)
        return;
    m_duration = fallbackDuration();
    updateContentSize();
}

void TimelineViewController::layoutParts()
{
    updateContentSize();
    applyFirstZoom();
    if (m_pendingOffset && m_strip->width() > 0) {
        scrollToOffset(*std::exchange(m_pendingOffset, std::nullopt));
        m_offset = m_scrollBar->value();
        m_ruler.setOffset(m_offset);
    }
}

void TimelineViewController::scrollToOffset(double x)
{
    m_scrollBar->setValue(int(std::clamp(std::round(x), 0.0, double(m_scrollBar->maximum()))));
}

void TimelineViewController::didScroll(int value)
{
    m_offset = value;
    m_ruler.setOffset(m_offset);
    m_snapGuide.hide(); // it marks a place on screen, which has just moved
    m_strip->update();
    afterScroll();
}

void TimelineViewController::afterScroll()
{
    m_input->refreshHoverAtPointer();
    emit restorableStateChanged();
}

void TimelineViewController::zoomAbout(double magnification, double anchorX)
{
    m_zoomChosen = true;
    const double oldMagnification = m_magnification;
    const double oldOffset = m_offset;
    m_magnification = magnification;
    applyMagnification();
    // The requested zoom, even where a limit changed it, as a pinch expects.
    scrollToOffset((anchorX + oldOffset) / oldMagnification * magnification - anchorX);
    m_offset = m_scrollBar->value();
    m_ruler.setOffset(m_offset);
    m_strip->update();
    afterScroll();
}

void TimelineViewController::setWaveformZoom(double zoom)
{
    zoom = AmplitudeCompression::boundedZoom(zoom);
    if (zoom == m_waveformZoom)
        return;
    m_waveformZoom = zoom;
    m_strip->update();
    emit restorableStateChanged();
}

void TimelineViewController::zoomIn()
{
    zoomAbout(m_magnification * zoomStep, m_strip->width() / 2.0);
}

void TimelineViewController::zoomOut()
{
    zoomAbout(m_magnification / zoomStep, m_strip->width() / 2.0);
}

void TimelineViewController::fitFilm()
{
    zoomAbout(TimelineZoom::fitting(m_duration, m_strip->width()), 0);
    scrollToOffset(0);
}

// The selected subtitles' span fills the view, with a little room either side.
void TimelineViewController::zoomToSelection()
{
    if (m_selectedSubtitles.isEmpty() || m_strip->width() <= 0)
        return;
    const auto [start, end] = TimelineZoom::aroundSelection(m_selectedSubtitles);
    zoomAbout(TimelineZoom::spanning(end - start, m_strip->width()), 0);
    scrollToOffset(xForTime(start));
    afterScroll();
}

// A film nobody zoomed yet opens whole when it is short, and at a zoom to time by when it
// is long; until the user zooms, the zoom follows the pane's width.
void TimelineViewController::applyFirstZoom()
{
    if (m_zoomChosen || !m_videoDuration || *m_videoDuration <= 0 || m_strip->width() <= 0)
        return;
    const double width = m_strip->width();
    const bool whole = *m_videoDuration <= TimelineZoom::wholeFilmAtMost;
    const double magnification = TimelineZoom::first(*m_videoDuration, width);
    if (magnification == m_magnification)
        return;
    zoomAbout(magnification, 0);
    m_zoomChosen = false;
    if (std::exchange(m_firstZoomApplied, true))
        return;
    scrollToOffset(whole ? 0 : std::max(0.0, xForTime(m_currentTime) - width / 3));
}

double TimelineViewController::visibleStartTime() const
{
    return timeForX(m_offset);
}

double TimelineViewController::visibleEndTime() const
{
    return timeForX(m_offset + m_strip->width());
}

// ---- Blocks ----

SubtitlesByStart TimelineViewController::byStart() const
{
    return {m_document->subtitleController().subtitles(), m_listExtents.longest};
}

void TimelineViewController::forEachSubtitleBetween(double from, double to,
                                                    const std::function<void(const SubtitlePtr &, int)> &visit,
                                                    Order order) const
{
    byStart().forEachBetween(from, to, visit, order);
}

SubtitleList TimelineViewController::subtitlesBetween(double from, double to) const
{
    SubtitleList result;
    forEachSubtitleBetween(from, to, [&result](const SubtitlePtr &subtitle, int) { result.append(subtitle); });
    return result;
}

SubtitleList TimelineViewController::visibleSubtitles() const
{
    return subtitlesBetween(visibleStartTime(), visibleEndTime());
}

void TimelineViewController::forEachVisibleSubtitle(const std::function<void(const SubtitlePtr &, int)> &visit,
                                                    Order order) const
{
    forEachSubtitleBetween(visibleStartTime(), visibleEndTime(), visit, order);
}

bool TimelineViewController::hasProblem(int position) const
{
    return m_document->problemIndex().problems(position) != QualityCheck::Problems();
}

QRectF TimelineViewController::blockRectAt(double start, double end) const
{
    const double height = m_strip->height() - rulerHeight;
    return QRectF(xForTime(start) - m_offset, rulerHeight, xForTime(end - start), height);
}

SubtitleDrag::Times TimelineViewController::shownTimes(const Subtitle &subtitle) const
{
    if (const SubtitleDrag *drag = subtitleDrag()) {
        if (const auto times = drag->shownTimes(subtitle))
            return *times;
    }
    return {subtitle.start, subtitle.end};
}

QRectF TimelineViewController::blockRectOf(const Subtitle &subtitle) const
{
    const SubtitleDrag::Times times = shownTimes(subtitle);
    return blockRectAt(times.start, times.end);
}

std::optional<QRectF> TimelineViewController::blockRect(const SubtitlePtr &subtitle) const
{
    if (!subtitle)
        return std::nullopt;
    const SubtitleDrag::Times times = shownTimes(*subtitle);
    if (!SubtitlesByStart::overlaps(times.start, times.end, visibleStartTime(), visibleEndTime()))
        return std::nullopt;
    return blockRectAt(times.start, times.end);
}

std::optional<SubtitleViewAction> TimelineViewController::hitTestAction(QPointF p) const
{
    using Kind = SubtitleViewAction::Kind;
    if (p.x() < 0 || p.x() >= contentWidth() || p.y() < 0 || p.y() >= m_strip->height() - rulerHeight)
        return std::nullopt;
    const double pps = pointsPerSecond();
    const double t = p.x() / pps;

    // The frontmost block under the pointer: selected blocks lie over the others, and
    // later ones over earlier ones. A stack of them is looked through without copies.
    const SubtitlePtr *frontmost = nullptr;
    forEachSubtitleBetween(t, std::nextafter(t, HUGE_VAL), [&](const SubtitlePtr &subtitle, int) {
        if (!frontmost || isSelected(*subtitle) || !isSelected(**frontmost))
            frontmost = &subtitle;
    });
    if (frontmost) {
        const SubtitlePtr &front = *frontmost;
        const double left = front->start * pps;
        const double right = front->end * pps;
        const double margin = std::min((right - left - subtitleExtremesHoverMargin) / 2, subtitleExtremesHoverMargin);
        if (p.x() < left + margin)
            return SubtitleViewAction{Kind::MoveStart, {front}};
        if (p.x() >= right - margin)
            return SubtitleViewAction{Kind::MoveEnd, {front}};
        return SubtitleViewAction{Kind::MoveSubtitle, {front}};
    }

    // The gap between the nearest blocks in view on either side.
    if (const auto gap = byStart().gapAt(t, visibleStartTime(), visibleEndTime()))
        return SubtitleViewAction{Kind::MoveEmptySpace, {gap->first, gap->second}};
    return std::nullopt;
}

std::optional<SubtitleViewAction> TimelineViewController::subtitleViewAction() const
{
    return m_input->subtitleViewAction();
}

const SubtitleDrag *TimelineViewController::subtitleDrag() const
{
    return m_input->subtitleDrag();
}

bool TimelineViewController::isManipulatingSelection() const
{
    return m_input->isManipulatingSelection();
}

// ---- The list and the selection ----

void TimelineViewController::reloadSubtitles()
{
    setSelectedSubtitles({});
    subtitlesChanged();
}

void TimelineViewController::subtitlesChanged()
{
    // A drag shows times for the list as it was when it began: any change of the list
    // ends it, and nothing of it reaches the list.
    m_input->cancelSubtitleDrag();
    updateFallbackDuration();
    m_strip->update();
    m_input->refreshHoverAtPointer();
    updateAccessibleText();
}

void TimelineViewController::setSelectedSubtitles(const SubtitleList &subtitles)
{
    m_selectedSubtitles = subtitles;
    m_selectedSet.clear();
    m_selectedSet.reserve(subtitles.size());
    for (const SubtitlePtr &subtitle : subtitles)
        m_selectedSet.insert(subtitle.get());
    m_strip->update();
    updateAccessibleText();
}

void TimelineViewController::scrollToSubtitle(const SubtitlePtr &subtitle)
{
    const double start = xForTime(subtitle->start);
    const double end = xForTime(subtitle->end);
    const double width = m_strip->width();
    if (start < m_offset)
        scrollToOffset(start);
    else if (end > m_offset + width)
        scrollToOffset(std::min(start, end - width));
    afterScroll();
}

// ---- Playback cursor ----

double TimelineViewController::cursorLeft() const
{
    return xForTime(m_currentTime) - CursorPainter::width / 2.0;
}

void TimelineViewController::setCurrentTime(double time)
{
    m_currentTime = time;
    m_cursorShown = true;
    m_strip->update();
    updateAccessibleText();
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
    const double width = m_strip->width();
    if (left < m_offset + width && m_offset < left + CursorPainter::width)
        return;
    // The cursor goes one third into the view.
    scrollToOffset(std::max(0.0, xForTime(m_currentTime) - width / 3));
    afterScroll();
}

void TimelineViewController::setVideoDuration(std::optional<double> duration)
{
    m_videoDuration = duration;
    updateDuration();
    applyFirstZoom();
}

void TimelineViewController::setFrameRate(double frameRate)
{
    m_ruler.setFrameRate(frameRate);
    m_strip->update();
}

void TimelineViewController::setAudioWaveform(std::shared_ptr<AudioWaveform> waveform)
{
    if (m_audioWaveform)
        disconnect(m_audioWaveform.get(), nullptr, m_strip, nullptr);
    m_audioWaveform = std::move(waveform);
    if (m_audioWaveform) {
        connect(m_audioWaveform.get(), &AudioWaveform::samplesAppended, m_strip, qOverload<>(&QWidget::update));
        connect(m_audioWaveform.get(), &AudioWaveform::finished, m_strip, qOverload<>(&QWidget::update));
    }
    updateDuration();
}

void TimelineViewController::setAudioSonogram(std::shared_ptr<AudioSonogram> sonogram)
{
    if (m_audioSonogram)
        disconnect(m_audioSonogram.get(), nullptr, m_strip, nullptr);
    m_audioSonogram = std::move(sonogram);
    if (m_audioSonogram) {
        connect(m_audioSonogram.get(), &AudioSonogram::columnsAppended, m_strip, qOverload<>(&QWidget::update));
        connect(m_audioSonogram.get(), &AudioSonogram::finished, m_strip, qOverload<>(&QWidget::update));
    }
    m_strip->update();
}

std::optional<double> TimelineViewController::snapGuideTime() const
{
    return m_snapGuide.time();
}

std::optional<QRectF> TimelineViewController::rubberBand() const
{
    return m_input->rubberBand();
}

// ---- Shot changes ----

std::optional<double> TimelineViewController::shotChangeNear(double x) const
{
    return m_media->shotChanges().nearest(timeForX(x + m_offset), shotChangeHitMargin / pointsPerSecond());
}

void TimelineViewController::addContextMenuAction(QAction *action)
{
    m_contextMenuActions.append(action);
}

QList<QAction *> TimelineViewController::contextMenuActions() const
{
    QList<QAction *> actions;
    for (const QPointer<QAction> &action : m_contextMenuActions) {
        if (action)
            actions.append(action);
    }
    return actions;
}

// ---- What a screen reader hears ----

void TimelineViewController::updateAccessibleText()
{
    if (QAccessible::isActive())
        m_accessibleText.update(TimelineAccessible::name(*this), TimelineAccessible::description(*this));
}

void TimelineViewController::selectNeighbour(Qt::Key key)
{
    if (const int target = TimelineAccessible::neighbourOf(*this, key); target >= 0)
        m_document->setSelectedSubtitleIndexes(IndexSet(target));
}

// ---- Restoration ----

QVariantMap TimelineViewController::saveState() const
{
    return {{QStringLiteral("magnification"), m_magnification},
            {QStringLiteral("offset"), QPointF(m_offset, 0)},
            {QStringLiteral("waveformZoom"), m_waveformZoom}};
}

void TimelineViewController::restoreState(const QVariantMap &state)
{
    // A missing zoom reads as 0, which the lower limit raises.
    m_zoomChosen = state.contains(QStringLiteral("magnification"));
    m_magnification = state.value(QStringLiteral("magnification")).toDouble();
    applyMagnification();
    setWaveformZoom(state.value(QStringLiteral("waveformZoom"), 1.0).toDouble());
    const double offset = state.value(QStringLiteral("offset")).toPointF().x();
    if (m_strip->width() > 0)
        scrollToOffset(offset);
    else
        m_pendingOffset = offset;
    m_offset = m_scrollBar->value();
    m_ruler.setOffset(m_offset);
    m_strip->update();
}
