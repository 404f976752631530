#include "timeline/TimelineStrip.h"

#include "document/AudioViewSettings.h"
#include "document/Document.h"
#include "model/ShotChanges.h"
#include "model/SpeechStretches.h"
#include "model/timing/WordTimings.h"
#include "timeline/ColumnCoverage.h"
#include "timeline/CursorPainter.h"
#include "timeline/SubtitleDrag.h"
#include "timeline/TimelineAccessible.h"
#include "timeline/TimelineViewController.h"
#include "media/MediaSession.h"
#include "media/SonogramPainter.h"
#include "media/WaveformPainter.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <vector>

TimelineStrip::TimelineStrip(TimelineViewController *timeline)
    : QWidget(timeline)
    , m_timeline(timeline)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    TimelineAccessible::install();
}

void TimelineStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

void TimelineStrip::paintEvent(QPaintEvent *event)
{
    const QRectF area = event->rect();
    QPainter painter(this);
    painter.fillRect(area, palette().color(QPalette::Window));
    const int rulerHeight = TimelineViewController::rulerHeight;
    const QRectF band(area.left(), rulerHeight, area.width(), height() - rulerHeight);

    if (area.top() < rulerHeight)
        m_timeline->ruler().paint(painter, area.left(), area.right() + 1, palette(), font());
    // The blocks' texts have a lane of their own along the top; the sound fills the rest.
    const qreal laneHeight = BlockPainter::textLaneHeight(font(), band.height());
    QRectF sound = band;
    sound.setTop(band.top() + laneHeight);
    painter.fillRect(QRectF(band.left(), band.top(), band.width(), laneHeight), palette().color(QPalette::AlternateBase));
    paintSound(painter, sound);
    paintShotChanges(painter, band);
    paintBlocks(painter, band, laneHeight);
    paintSpeech(painter, sound);

    if (const auto rubberBand = m_timeline->rubberBand()) {
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlphaF(0.3);
        painter.fillRect(*rubberBand, fill);
    }
    if (const auto snapped = m_timeline->snapGuideTime()) {
        const double x = std::round(m_timeline->xForTime(*snapped) - m_timeline->offset());
        painter.fillRect(QRectF(x - 1, rulerHeight, 2, height() - rulerHeight), QColor::fromRgbF(1.0, 0.6, 0.3));
    }
    if (m_timeline->isCursorShown())
        CursorPainter::paint(painter, m_timeline->xForTime(m_timeline->currentTime()) - m_timeline->offset(), height());
}

// The waveform, the sonogram, or the sonogram above and the waveform below, as the
// user chose for every window; side by side each keeps its own scale and stays readable.
void TimelineStrip::paintSound(QPainter &painter, const QRectF &band)
{
    const auto waveform = m_timeline->audioWaveform();
    const auto sonogram = m_timeline->audioSonogram();
    const AudioViewSettings *view = AudioViewSettings::shared();
    QRectF waveformArea = band;
    if (sonogram && view->showsSonogram()) {
        QRectF sonogramArea = band;
        if (view->showsWaveform()) {
            const double split = std::round(band.top() + band.height() * 0.6);
            sonogramArea.setBottom(split);
            waveformArea.setTop(split);
        }
        SonogramPainter::paint(painter, sonogramArea, *sonogram,
                                  {m_timeline->pointsPerSecond(), m_timeline->offset()}, palette());
        if (!view->showsWaveform())
            return;
    }
    if (waveform)
        WaveformPainter::paint(painter, waveformArea, *waveform,
                               {m_timeline->pointsPerSecond(), m_timeline->offset(), m_timeline->waveformZoom()},
                               palette());
}

QColor TimelineStrip::shotChangeColour()
{
    return QColor(176, 64, 209);
}

// One line a pixel wide at each shot change in the damaged area; of several within one
// pixel column (a film zoomed out) one is drawn.
void TimelineStrip::paintShotChanges(QPainter &painter, const QRectF &area)
{
    const double offset = m_timeline->offset();
    const ShotChanges &shotChanges = m_timeline->media()->shotChanges();
    const auto inArea = shotChanges.between(m_timeline->timeForX(area.left() + offset - 1),
                                            m_timeline->timeForX(area.right() + offset + 1));
    const QColor colour = shotChangeColour();
    int lastColumn = std::numeric_limits<int>::min();
    for (double time : inArea) {
        const int column = int(std::floor(m_timeline->xForTime(time) - offset));
        if (column == lastColumn)
            continue;
        lastColumn = column;
        painter.fillRect(QRectF(column, area.top(), 1, area.height()), colour);
    }
}

// A band along the bottom of the waveform where someone speaks, over the blocks, whose
// edges are timed against it; stretches shorter than a pixel still get one.
void TimelineStrip::paintSpeech(QPainter &painter, const QRectF &area)
{
    const double offset = m_timeline->offset();
    const auto inArea = m_timeline->media()->speech().overlapping(m_timeline->timeForX(area.left() + offset - 1),
                                                                     m_timeline->timeForX(area.right() + offset + 1));
    const double top = area.bottom() - speechBandHeight;
    for (const SpeechStretch &stretch : inArea) {
        const double left = std::floor(m_timeline->xForTime(stretch.start) - offset);
        const double right = std::max(left + 1, std::ceil(m_timeline->xForTime(stretch.end) - offset));
        painter.fillRect(QRectF(left, top, right - left, speechBandHeight), speechColour());
    }
}

QColor TimelineStrip::speechColour()
{
    return QColor(38, 166, 154);
}

// Unselected blocks first, the selected ones over them, and the blocks of a drag on top,
// at the drag's times. What would not show is left out, found from the top down: a block
// whose every pixel column lies under `stackDepth` others already, and a block narrower
// than a mark in a column that has a mark over it. So a million blocks side by side, or a
// hundred thousand on top of one another, cost no more than the screen has columns to
// draw, and each can still be picked and dragged by its time.
void TimelineStrip::paintBlocks(QPainter &painter, const QRectF &area, qreal textLaneHeight)
{
    struct Shown
    {
        const Subtitle *subtitle;
        QRectF block;
        int position;
        bool selected;
        SubtitleDrag::Times times;
    };
    std::vector<Shown> shown;
    const int firstColumn = int(std::floor(area.left()));
    const int lastColumn = int(std::ceil(area.right()));
    ColumnCoverage coverage(firstColumn, lastColumn, stackDepth);
    std::vector<bool> marked(size_t(lastColumn - firstColumn + 1), false);
    // Every block in view comes through here, a million of them zoomed out: inlined, and
    // only its place worked out until it is known to show.
    const double offset = m_timeline->offset();
    const auto consider = [&](const Subtitle &subtitle, SubtitleDrag::Times times, int position,
                              bool selected) __attribute__((always_inline)) {
        const double x = m_timeline->xForTime(times.start) - offset;
        const double width = m_timeline->xForTime(times.end - times.start);
        if (x + width < area.left() || x > area.right())
            return;
        const int left = int(std::floor(x));
        if (width < BlockPainter::markWidth) {
            const int column = std::clamp(left, firstColumn, lastColumn);
            if (marked[size_t(column - firstColumn)] || coverage.isCovered(column, column))
                return;
            marked[size_t(column - firstColumn)] = true;
            coverage.add(column, column);
        } else {
            const int right = std::max(left, int(std::ceil(x + width)) - 1);
            if (coverage.isCovered(left, right))
                return;
            coverage.add(left, right);
        }
        shown.push_back({&subtitle, m_timeline->blockRectAt(times.start, times.end), position, selected, times});
    };
    const double visibleStart = m_timeline->visibleStartTime();
    const double visibleEnd = m_timeline->visibleEndTime();
    const auto considerIfVisible = [&](const Subtitle &subtitle, SubtitleDrag::Times times, int position, bool selected) {
        if (times.start < visibleEnd && visibleStart < times.end && times.start != times.end)
            consider(subtitle, times, position, selected);
    };
    const SubtitleDrag *drag = m_timeline->subtitleDrag();
    const auto isDragged = [drag](const Subtitle &subtitle) { return drag && drag->contains(subtitle); };

    if (drag) {
        for (qsizetype i = drag->subtitles().size() - 1; i >= 0; --i) {
            const Subtitle &subtitle = *drag->subtitles()[i];
            considerIfVisible(subtitle, drag->shownTimes(i), drag->positions()[i], m_timeline->isSelected(subtitle));
        }
    }
    const IndexSet &selected = m_timeline->document()->selectedSubtitleIndexes();
    const SubtitleList &subtitles = m_timeline->document()->subtitleController().subtitles();
    for (int k = selected.count() - 1; k >= 0; --k) {
        const int position = selected.at(k);
        if (position >= subtitles.size())
            continue;
        const Subtitle &subtitle = *subtitles[position];
        if (!isDragged(subtitle))
            considerIfVisible(subtitle, {subtitle.start, subtitle.end}, position, true);
    }
    m_timeline->forEachVisibleSubtitle(
        [&](const SubtitlePtr &subtitle, int position) {
            if ((selected.isEmpty() || !m_timeline->isSelected(*subtitle)) && !isDragged(*subtitle))
                consider(*subtitle, {subtitle->start, subtitle->end}, position, false);
        },
        TimelineViewController::Order::Backward);

    m_blockPainter.beginFrame(palette(), font(), textLaneHeight);
    const QRectF screen(0, area.top(), width(), area.height());
    const OriginalSubtitles &original = m_timeline->document()->originalSubtitles();
    for (auto it = shown.crbegin(); it != shown.crend(); ++it)
        m_blockPainter.paint(painter, *it->subtitle, it->block, screen, it->selected, m_timeline->hasProblem(it->position),
                             original.pairedWith(it->times.start, it->times.end), wordGapsOf(*it->subtitle));
    m_blockPainter.endFrame();
}

// The words stay where they are spoken while a block is dragged over them: found by the
// subtitle's own times, drawn at theirs.
QList<BlockPainter::WordGap> TimelineStrip::wordGapsOf(const Subtitle &subtitle) const
{
    const WordTimings &timings = m_timeline->media()->wordTimings();
    if (timings.isEmpty())
        return {};
    if (m_timeline->pointsPerSecond() < wordsShownFrom
        && m_timeline->visibleEndTime() - m_timeline->visibleStartTime() > wordsShownWithin)
        return {};
    const QList<SpokenWord> words = timings.wordsOf(subtitle.text(), subtitle.start, subtitle.end);
    if (words.size() < 2)
        return {};
    const double offset = m_timeline->offset();
    QList<BlockPainter::WordGap> gaps;
    gaps.reserve(words.size() - 1);
    for (qsizetype k = 1; k < words.size(); ++k)
        gaps.append({m_timeline->xForTime(words[k - 1].end) - offset, m_timeline->xForTime(words[k].start) - offset});
    return gaps;
}
