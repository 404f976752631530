#include "timeline/TimelineStrip.h"

#include "document/AudioViewSettings.h"
#include "document/Document.h"
#include "model/ShotChanges.h"
#include "model/SpeechStretches.h"
#include "timeline/CursorPainter.h"
#include "timeline/SubtitleDrag.h"
#include "timeline/TimelineViewController.h"
#include "waveform/SonogramPainter.h"
#include "waveform/WaveformPainter.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

TimelineStrip::TimelineStrip(TimelineViewController *timeline)
    : QWidget(timeline)
    , m_timeline(timeline)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    paintSound(painter, band);
    paintShotChanges(painter, band);
    paintBlocks(painter, band);
    paintSpeech(painter, band);

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
            const double split = std::round(band.top() + (height() - band.top()) * 0.6);
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
    const ShotChanges &shotChanges = m_timeline->document()->shotChanges();
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
    const auto inArea = m_timeline->document()->speech().overlapping(m_timeline->timeForX(area.left() + offset - 1),
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
// at the drag's times. Blocks narrower than a mark are drawn once per pixel column, so a
// million of them cost no more than the screen has columns to draw, and each can still be
// picked and dragged by its time.
void TimelineStrip::paintBlocks(QPainter &painter, const QRectF &area)
{
    m_blockPainter.beginFrame(palette(), font());
    const QRectF screen(0, area.top(), width(), area.height());
    int lastMarkColumn = std::numeric_limits<int>::min();
    const OriginalSubtitles &original = m_timeline->document()->originalSubtitles();
    const auto paintBlock = [&](const Subtitle &subtitle, const QRectF &block, int position, bool selected,
                                SubtitleDrag::Times times) {
        if (block.right() < area.left() || block.left() > area.right())
            return;
        if (block.width() < BlockPainter::markWidth) {
            const int column = int(std::floor(block.left()));
            if (column == lastMarkColumn)
                return;
            lastMarkColumn = column;
        }
        m_blockPainter.paint(painter, subtitle, block, screen, selected, m_timeline->hasProblem(position),
                             original.pairedWith(times.start, times.end));
    };
    const double visibleStart = m_timeline->visibleStartTime();
    const double visibleEnd = m_timeline->visibleEndTime();
    const auto paintIfVisible = [&](const Subtitle &subtitle, SubtitleDrag::Times times, int position, bool selected) {
        if (times.start < visibleEnd && visibleStart < times.end && times.start != times.end)
            paintBlock(subtitle, m_timeline->blockRectAt(times.start, times.end), position, selected, times);
    };
    const SubtitleDrag *drag = m_timeline->subtitleDrag();
    const auto isDragged = [drag](const Subtitle &subtitle) { return drag && drag->contains(subtitle); };

    const IndexSet &selected = m_timeline->document()->selectedSubtitleIndexes();
    m_timeline->forEachVisibleSubtitle([&](const SubtitlePtr &subtitle, int position) {
        if ((selected.isEmpty() || !m_timeline->isSelected(*subtitle)) && !isDragged(*subtitle))
            paintBlock(*subtitle, m_timeline->blockRectAt(subtitle->start, subtitle->end), position, false,
                       {subtitle->start, subtitle->end});
    });
    lastMarkColumn = std::numeric_limits<int>::min();
    const SubtitleList &subtitles = m_timeline->document()->subtitleController().subtitles();
    for (int position : selected) {
        if (position >= subtitles.size())
            continue;
        const Subtitle &subtitle = *subtitles[position];
        if (!isDragged(subtitle))
            paintIfVisible(subtitle, {subtitle.start, subtitle.end}, position, true);
    }
    if (drag) {
        lastMarkColumn = std::numeric_limits<int>::min();
        for (qsizetype i = 0; i < drag->subtitles().size(); ++i) {
            const Subtitle &subtitle = *drag->subtitles()[i];
            paintIfVisible(subtitle, drag->shownTimes(i), drag->positions()[i], m_timeline->isSelected(subtitle));
        }
    }
    m_blockPainter.endFrame();
}
