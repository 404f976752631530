#include "timeline/TimelineInput.h"

#include "document/Document.h"
#include "document/Player.h"
#include "document/Preferences.h"
#include "model/Fatal.h"
#include "model/SubtitleController.h"
#include "timeline/CursorPainter.h"
#include "timeline/CursorSnapProvider.h"
#include "timeline/EdgePreview.h"
#include "timeline/NeighbourSnapProvider.h"
#include "timeline/PanClickRecognizer.h"
#include "timeline/ShotChangeSnapProvider.h"
#include "timeline/SpeechSnapProvider.h"
#include "timeline/WordSnapProvider.h"
#include "timeline/TimelineViewController.h"
#include "media/AmplitudeCompression.h"
#include "media/MediaSession.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QNativeGestureEvent>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
constexpr double wheelZoomPerNotch = 1.2;
constexpr double snapDistance = 10; // points, as SubtitleDrag snaps
constexpr int rulerHeight = TimelineViewController::rulerHeight;
// Long enough to make out a syllable, short enough to follow the pointer.
constexpr double scrubGrainSeconds = 0.07;
} // namespace

TimelineInput::TimelineInput(TimelineViewController *timeline, QWidget *strip)
    : QObject(strip)
    , m_timeline(timeline)
    , m_strip(strip)
    , m_recognizer(new PanClickRecognizer(strip))
    , m_edgePreview(new EdgePreview(this))
{
    strip->installEventFilter(this);
    connect(m_recognizer, &PanClickRecognizer::pressed, this, &TimelineInput::pressed);
    connect(m_recognizer, &PanClickRecognizer::clicked, this, &TimelineInput::clicked);
    connect(m_recognizer, &PanClickRecognizer::panBegan, this, &TimelineInput::panBegan);
    connect(m_recognizer, &PanClickRecognizer::panChanged, this, &TimelineInput::panChanged);
    connect(m_recognizer, &PanClickRecognizer::panEnded, this,
            [this](QPointF position, QPointF, Qt::KeyboardModifiers) { panEnded(position); });
    connect(m_recognizer, &PanClickRecognizer::panCancelled, this, &TimelineInput::panCancelled);
    connect(m_recognizer, &PanClickRecognizer::hovered, this, &TimelineInput::updateHoverAction);
}

bool TimelineInput::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_strip)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool stepsBetweenSubtitles = !(key->modifiers() & ~Qt::KeypadModifier)
            && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right || key->key() == Qt::Key_Home
                || key->key() == Qt::Key_End);
        if (stepsBetweenSubtitles)
            m_timeline->selectNeighbour(Qt::Key(key->key()));
        return stepsBetweenSubtitles;
    }
    case QEvent::Wheel:
        return wheel(static_cast<QWheelEvent *>(event));
    case QEvent::ContextMenu: {
        const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        showContextMenu(menuEvent->pos(), menuEvent->globalPos());
        return true;
    }
    case QEvent::NativeGesture: {
        auto *gesture = static_cast<QNativeGestureEvent *>(event);
        if (gesture->gestureType() != Qt::ZoomNativeGesture)
            return false;
        // A pinch adds its increment to the zoom.
        m_timeline->zoomAbout(m_timeline->magnification() + gesture->value(), gesture->position().x());
        return true;
    }
    default:
        return false;
    }
}

bool TimelineInput::wheel(QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    if ((event->modifiers() & Qt::ControlModifier) && (event->modifiers() & Qt::ShiftModifier)) {
        // Some systems turn a vertical wheel into a horizontal one while Shift is held.
        const int notches = angle.y() != 0 ? angle.y() : angle.x();
        if (notches == 0)
            return false;
        m_timeline->setWaveformZoom(m_timeline->waveformZoom()
                                    * std::pow(AmplitudeCompression::zoomPerNotch, notches / 120.0));
        return true;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        if (angle.y() == 0)
            return false;
        m_timeline->zoomAbout(m_timeline->magnification() * std::pow(wheelZoomPerNotch, angle.y() / 120.0),
                              event->position().x());
        return true;
    }
    // A vertical wheel scrolls the strip sideways too: there is nothing to scroll upwards.
    const QPoint pixels = event->pixelDelta();
    int delta = 0;
    if (!pixels.isNull())
        delta = pixels.x() != 0 ? pixels.x() : pixels.y();
    else
        delta = (angle.x() != 0 ? angle.x() : angle.y()) * m_timeline->scrollBar()->singleStep() * 3 / 120;
    if (delta == 0)
        return false;
    m_timeline->stopFollowingCursor();
    m_timeline->scrollToOffset(m_timeline->offset() - delta);
    return true;
}

void TimelineInput::showContextMenu(QPointF viewPoint, QPoint globalPoint)
{
    const std::optional<double> shotChange = m_timeline->shotChangeNear(viewPoint.x());
    const QList<QAction *> commands = m_timeline->contextMenuActions();
    if (!shotChange && commands.isEmpty())
        return;
    auto *menu = new QMenu(m_strip);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (shotChange) {
        const QPointer<MediaSession> media = m_timeline->media();
        connect(menu->addAction(tr("Remove Shot Change")), &QAction::triggered, m_timeline, [media, shotChange] {
            if (media)
                media->removeShotChange(*shotChange);
        });
        if (!commands.isEmpty())
            menu->addSeparator();
    }
    menu->addActions(commands);
    menu->popup(globalPoint);
}

QPointF TimelineInput::containerPoint(QPointF viewPoint) const
{
    return QPointF(viewPoint.x() + m_timeline->offset(), viewPoint.y() - rulerHeight);
}

// ---- Hovering ----

void TimelineInput::updateHoverAction(QPointF viewPoint)
{
    const auto action = m_timeline->hitTestAction(containerPoint(viewPoint));
    if (action == m_subtitleViewAction)
        return;
    m_subtitleViewAction = action;
    if (action)
        m_strip->setCursor(SubtitleViewAction::cursorShape(action->kind));
    else
        m_strip->unsetCursor();
}

void TimelineInput::refreshHoverAtPointer()
{
    if (m_panMode != PanMode::None)
        return;
    const QPointF pointer = m_strip->mapFromGlobal(QCursor::pos());
    if (m_strip->rect().contains(pointer.toPoint()))
        updateHoverAction(pointer);
    else
        m_subtitleViewAction.reset(); // nothing is under a pointer that is elsewhere
}

// ---- Clicks, presses, pans ----

void TimelineInput::pressed(QPointF viewPoint, Qt::KeyboardModifiers)
{
    m_strip->setFocus(Qt::MouseFocusReason);
    updateHoverAction(viewPoint);
    m_pressWasInRuler = viewPoint.y() < rulerHeight;
    // Pressing the ruler seeks at once; grabbing the cursor's head waits for the drag so
    // that the cursor does not jump by the grab offset.
    if (m_pressWasInRuler && !isInCursorHead(viewPoint))
        seek(m_timeline->timeForX(viewPoint.x() + m_timeline->offset()));
}

void TimelineInput::clicked(QPointF, Qt::KeyboardModifiers modifiers)
{
    if (!m_pressWasInRuler)
        handleClick(modifiers);
}

void TimelineInput::handleClick(Qt::KeyboardModifiers modifiers)
{
    Document *document = m_timeline->document();
    SubtitleController &controller = document->subtitleController();
    if (!m_subtitleViewAction || m_subtitleViewAction->subtitles.size() != 1) {
        document->setSelectedSubtitleIndexes({});
        return;
    }
    const SubtitlePtr subtitle = m_subtitleViewAction->subtitles.first();
    const int index = controller.indexOf(subtitle);
    if (!CUEWRIGHT_EXPECT(index >= 0, "a block shows a subtitle that is not in the list"))
        return;
    IndexSet selection = document->selectedSubtitleIndexes();
    const SubtitleList &selected = m_timeline->selectedSubtitles();
    if (modifiers & Qt::ControlModifier) {
        if (m_timeline->isSelected(*subtitle))
            selection.remove(index);
        else
            selection.insert(index);
    } else if ((modifiers & Qt::ShiftModifier) && !selected.isEmpty()) {
        const int last = controller.indexOf(selected.last());
        for (int i = std::min(index, last); i <= std::max(index, last); ++i)
            selection.insert(i);
    } else {
        selection = IndexSet(index);
    }
    document->setSelectedSubtitleIndexes(selection);
}

bool TimelineInput::isInCursorHead(QPointF viewPoint) const
{
    // Measured from the cursor's exact place, not a whole pixel.
    const double centre = m_timeline->xForTime(m_timeline->currentTime()) - m_timeline->offset();
    return m_timeline->isCursorShown() && CursorPainter::headRect(centre).contains(viewPoint);
}

void TimelineInput::panBegan(QPointF viewPoint, Qt::KeyboardModifiers modifiers)
{
    m_isManipulatingSelection = true;
    m_timeline->document()->setSelectionSeeksVideo(false);
    m_panStart = viewPoint;
    m_panPoint = viewPoint;
    if (m_subtitleViewAction) {
        m_panMode = PanMode::Subtitles;
        beginSubtitleDrag(viewPoint);
    } else if (isInCursorHead(viewPoint)) {
        // Keep the grab offset from the cursor's centre line.
        m_panMode = PanMode::Cursor;
        pausePlayer();
        m_dragOffset = QPointF(CursorPainter::width * 0.5
                                   - (viewPoint.x() + m_timeline->offset() - m_timeline->cursorLeft()),
                               0);
    } else if (viewPoint.y() < rulerHeight) {
        m_panMode = PanMode::Cursor;
        pausePlayer();
        m_dragOffset = QPointF();
    } else {
        m_panMode = PanMode::RubberBand;
        m_selectedSubtitlesBeforeDrag = m_timeline->selectedSubtitles();
        dragSelectionRectangle(viewPoint, modifiers);
    }
}

void TimelineInput::panChanged(QPointF viewPoint, QPointF translation, Qt::KeyboardModifiers modifiers)
{
    switch (m_panMode) {
    case PanMode::Subtitles:
        dragSubtitles(viewPoint, translation, modifiers);
        break;
    case PanMode::Cursor:
        scrub(m_timeline->timeForX(viewPoint.x() + m_timeline->offset() + m_dragOffset.x()));
        break;
    case PanMode::RubberBand:
        dragSelectionRectangle(viewPoint, modifiers);
        break;
    case PanMode::None:
        break;
    }
    m_panPoint = viewPoint;
}

void TimelineInput::panEnded(QPointF viewPoint)
{
    if (m_panMode == PanMode::Subtitles)
        endSubtitleDrag();
    endPan();
    updateHoverAction(viewPoint);
}

// A pan the user broke off (Escape, focus lost): nothing of it stays.
void TimelineInput::panCancelled()
{
    if (m_panMode == PanMode::Subtitles)
        cancelSubtitleDrag();
    if (m_panMode == PanMode::RubberBand)
        m_timeline->document()->setSelectedSubtitleIndexes(indexesOf(m_selectedSubtitlesBeforeDrag));
    endPan();
    m_strip->unsetCursor();
}

void TimelineInput::endPan()
{
    const bool bandShown = m_panMode == PanMode::RubberBand;
    if (m_panMode == PanMode::Cursor) {
        if (Player *player = m_timeline->document()->player())
            player->stopGrain();
    }
    m_edgePreview->end();
    m_panMode = PanMode::None;
    m_selectedSubtitlesBeforeDrag.clear();
    m_subtitleViewAction.reset();
    m_isManipulatingSelection = false;
    m_timeline->document()->setSelectionSeeksVideo(true);
    if (bandShown)
        m_strip->update();
}

// ---- Dragging blocks ----

void TimelineInput::beginSubtitleDrag(QPointF viewPoint)
{
    using Kind = SubtitleViewAction::Kind;
    const SubtitleViewAction action = *m_subtitleViewAction;
    Document *document = m_timeline->document();
    const SubtitleController &controller = document->subtitleController();
    SubtitleList active;
    QList<int> positions;
    const SubtitlePtr grabbed = action.subtitles.first();
    if (action.kind == Kind::MoveSubtitle && m_timeline->isSelected(*grabbed)) {
        // The whole selection moves, also what is scrolled out of view. The list is in
        // time order, so list order is the order of their starts.
        const IndexSet &selection = document->selectedSubtitleIndexes();
        active = controller.subtitlesAt(selection);
        positions = QList<int>(selection.begin(), selection.end());
    } else {
        active = action.subtitles;
        for (const SubtitlePtr &subtitle : std::as_const(active))
            positions.append(controller.indexOf(subtitle));
        if (!CUEWRIGHT_EXPECT(!positions.contains(-1), "a block shows a subtitle that is not in the list"))
            return;
        document->setSelectedSubtitleIndexes(indexesOf(active));
    }
    m_drag.emplace(action.kind, active, positions);
    if (m_drag->draggedEdge() && Preferences::playsDraggedEdges())
        m_edgePreview->begin(document->player());

    m_dragOffset = QPointF(viewPoint.x() + m_timeline->offset(), viewPoint.y());
    if (action.kind != Kind::MoveEmptySpace)
        m_dragOffset.rx() -= m_timeline->xForTime(active.first()->start);
    if (action.kind == Kind::MoveSubtitle)
        m_strip->setCursor(Qt::ClosedHandCursor);
}

void TimelineInput::dragSubtitles(QPointF viewPoint, QPointF translation, Qt::KeyboardModifiers modifiers)
{
    if (!m_drag)
        return;
    SubtitleDrag::Step step;
    step.pointsPerSecond = m_timeline->pointsPerSecond();
    step.translationX = translation.x();
    step.proposedX = viewPoint.x() + m_timeline->offset() - m_dragOffset.x();
    step.frameRate = m_timeline->document()->frameRate();
    // Ctrl switches snapping off, the playback cursor included. The cursor comes first:
    // the user put it there; then the cuts of the picture; then where known words begin
    // and end, and where speech does; then the other blocks.
    std::optional<CursorSnapProvider> cursor;
    std::optional<ShotChangeSnapProvider> shotChanges;
    std::optional<WordSnapProvider> words;
    std::optional<SpeechSnapProvider> speech;
    std::optional<NeighbourSnapProvider> neighbours;
    if (!(modifiers & Qt::ControlModifier)) {
        const SubtitleDrag::Times span = m_drag->span();
        cursor.emplace(m_timeline->currentTime());
        shotChanges.emplace(m_timeline->document()->problemIndex().shotChangeRules());
        words.emplace(m_timeline->media()->wordTimings());
        speech.emplace(m_timeline->media()->speech());
        neighbours.emplace(neighboursNear(span.start, span.end, std::fabs(viewPoint.x() - m_panPoint.x())),
                           m_timeline->document()->subtitleController().twoFrameGap());
        step.snapTargets = {&*cursor, &*shotChanges, &*words, &*speech, &*neighbours};
    }
    const SubtitleDrag::StepResult result = m_drag->move(step);
    if (const std::optional<double> edge = m_drag->draggedEdge())
        m_edgePreview->edgeMoved(*edge);
    m_strip->update();
    if (result.snappedEdge)
        m_timeline->m_snapGuide.show(*result.snappedEdge);
}

// The blocks in view near where the dragged ones are going, not being dragged: within the
// snap distance of their span now, widened by how far the pointer just moved.
SubtitleList TimelineInput::neighboursNear(double spanStart, double spanEnd, double pointerMove) const
{
    const double reach = (pointerMove + 2 * snapDistance) / m_timeline->pointsPerSecond() + 1;
    const double from = std::max(spanStart - reach, m_timeline->visibleStartTime());
    const double to = std::min(spanEnd + reach, m_timeline->visibleEndTime());
    SubtitleList neighbours;
    for (const SubtitlePtr &subtitle : m_timeline->subtitlesBetween(from, to)) {
        if (!m_drag->contains(*subtitle))
            neighbours.append(subtitle);
    }
    return neighbours;
}

void TimelineInput::cancelSubtitleDrag()
{
    if (!m_drag)
        return;
    m_drag.reset();
    m_panMode = PanMode::None;
    endPan();
    m_strip->update();
}

void TimelineInput::endSubtitleDrag()
{
    using Kind = SubtitleViewAction::Kind;
    if (!m_drag)
        return;
    const SubtitleDrag drag = std::move(*m_drag);
    m_drag.reset();
    m_strip->update();
    if (drag.kind() == Kind::MoveSubtitle)
        m_strip->setCursor(Qt::OpenHandCursor);
    if (!drag.hasMoved())
        return; // nothing changed: no undo step for it

    // The new values travel to the controller in list order, as one undoable update.
    // A change of the list cancels a drag, so its positions still hold; should one not,
    // its subtitle is left out rather than the program stopped.
    const SubtitleList &subtitles = drag.subtitles();
    const QList<Subtitle::Values> newValues = drag.newValues();
    Document *document = m_timeline->document();
    SubtitleController &controller = document->subtitleController();
    QList<std::pair<int, Subtitle::Values>> byIndex;
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        const int position = drag.positions().at(i);
        const bool inPlace = position >= 0 && position < controller.count() && controller.at(position) == subtitles[i];
        if (CUEWRIGHT_EXPECT(inPlace, "a dragged subtitle is not where it was"))
            byIndex.append({position, newValues[i]});
    }
    std::stable_sort(byIndex.begin(), byIndex.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    IndexSet indexes;
    QList<Subtitle::Values> values;
    for (const auto &[index, value] : std::as_const(byIndex)) {
        indexes.insert(index);
        values.append(value);
    }
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
    document->undoManager().runAsOneStep(name, [&] { controller.updateSubtitles(values, indexes); });
}

// ---- Rubber band ----

std::optional<QRectF> TimelineInput::rubberBand() const
{
    if (m_panMode != PanMode::RubberBand)
        return std::nullopt;
    return QRectF(m_panStart, m_panPoint).normalized();
}

void TimelineInput::dragSelectionRectangle(QPointF viewPoint, Qt::KeyboardModifiers modifiers)
{
    m_panPoint = viewPoint;
    const QRectF band = QRectF(m_panStart, viewPoint).normalized();
    SubtitleList selection;
    if (modifiers & Qt::ControlModifier)
        selection = m_selectedSubtitlesBeforeDrag;
    for (const SubtitlePtr &subtitle : m_timeline->visibleSubtitles()) {
        if (m_timeline->blockRectOf(*subtitle).intersects(band))
            selection.append(subtitle);
    }
    m_timeline->document()->setSelectedSubtitleIndexes(indexesOf(selection));
    m_strip->update();
}

// ---- Helpers ----

void TimelineInput::seek(double time)
{
    if (Player *player = m_timeline->document()->player())
        player->seek(time);
}

// The picture follows the pointer, and the sound under it is heard in short grains.
void TimelineInput::scrub(double time)
{
    if (Player *player = m_timeline->document()->player()) {
        player->seek(time);
        player->playGrain(std::max(0.0, time), scrubGrainSeconds);
    }
}

// Dragging the cursor scrubs; playing on would pull the cursor away from the pointer.
void TimelineInput::pausePlayer()
{
    if (Player *player = m_timeline->document()->player())
        player->pause();
}

IndexSet TimelineInput::indexesOf(const SubtitleList &subtitles) const
{
    const SubtitleController &controller = m_timeline->document()->subtitleController();
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
