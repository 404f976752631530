#include "timeline/BlockPainter.h"

#include "style/ProblemColour.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

QStringList BlockPainter::layoutLines(const QString &text, const QFont &font, qreal width)
{
    QStringList lines;
    if (width <= 0 || text.isEmpty())
        return lines;
    QString flowing = text;
    flowing.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(flowing, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    const QFontMetricsF metrics(font);
    for (int n = 0; n < 2; ++n) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (n == 1) {
            // The second line takes the rest of the text, cut off with an ellipsis.
            QString rest = flowing.mid(line.textStart());
            rest.replace(QChar::LineSeparator, QLatin1Char(' '));
            lines.append(metrics.elidedText(rest, Qt::ElideRight, width));
            break;
        }
        lines.append(flowing.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator).trimmed());
    }
    layout.endLayout();
    return lines;
}

qreal BlockPainter::textLaneHeight(const QFont &font, qreal bandHeight)
{
    const qreal twoLines = 2 * QFontMetricsF(font).lineSpacing() + 6;
    return std::min(twoLines, std::round(bandHeight * 0.4));
}

void BlockPainter::beginFrame(const QPalette &palette, const QFont &font, qreal textLaneHeight)
{
    m_textLaneHeight = textLaneHeight;
    if (font != m_font)
        m_layouts.clear();
    m_palette = palette;
    m_font = font;
}

const QStringList &BlockPainter::linesFor(const Subtitle &subtitle, qreal width)
{
    const bool known = m_layouts.contains(&subtitle);
    Layout &layout = m_layouts[&subtitle];
    const QString text = subtitle.text();
    if (!known || layout.text != text || layout.width != width) {
        layout.text = text;
        layout.width = width;
        layout.lines = layoutLines(text, m_font, width);
    }
    layout.used = true;
    return layout.lines;
}

void BlockPainter::paint(QPainter &painter, const Subtitle &subtitle, const QRectF &wholeBlock, const QRectF &visible,
                         bool selected, bool hasProblem, const Subtitle *original, const QList<WordGap> &wordGaps)
{
    // A block may be far wider than the screen: its box is drawn within a little more
    // than what is visible, its text from where the whole block begins.
    const QRectF block = wholeBlock.intersected(visible.adjusted(-20, 0, 20, 0));
    if (block.isEmpty() && wholeBlock.width() > 0)
        return;
    QColor fill = m_palette.color(QPalette::Highlight);
    if (block.width() < markWidth) {
        fill.setAlphaF(selected ? 1.0 : 0.45);
        painter.fillRect(block.adjusted(0, block.height() / 8, 0, -block.height() / 8), fill);
        if (hasProblem)
            painter.fillRect(QRectF(block.left(), block.bottom() - 4, std::max(block.width(), 1.0), 4), ProblemColour::solid());
        return;
    }
    // Translucent, so the sound under a block stays readable; the selected ones are told
    // apart by a stronger tint and a wider, brighter outline, not by hiding what is under them.
    fill.setAlphaF(selected ? 0.55 : 0.22);
    QColor outline = selected ? m_palette.color(QPalette::Highlight).lighter(150) : m_palette.color(QPalette::Mid);
    painter.setRenderHint(QPainter::Antialiasing);
    if (selected) {
        // A soft shadow along the edges lifts the selected blocks above the others; as an
        // outline, so it does not darken the sound under the block.
        painter.setPen(QPen(QColor(0, 0, 0, 70), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(block.adjusted(1.5, 2.5, 1.5, 1.5), 5, 5);
    }
    painter.setPen(QPen(outline, selected ? 2 : 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(block.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    if (hasProblem)
        painter.fillRect(QRectF(block.left() + 3, block.bottom() - 5, block.width() - 6, 3), ProblemColour::solid());
    paintWordGaps(painter, block, wordGaps);

    const qreal textWidth = wholeBlock.width() - 2 * textInset;
    const QFontMetricsF metrics(m_font);
    const qreal lineHeight = metrics.lineSpacing();
    // The translation first; the original's lines only where the block has room for them.
    QStringList lines = linesFor(subtitle, textWidth);
    qsizetype ownLines = lines.size();
    if (original) {
        const qsizetype room = qsizetype((m_textLaneHeight - 4) / lineHeight);
        if (room >= 2 && ownLines > room - 1) {
            // Where few lines fit, the original keeps one: the translation's are cut short.
            ownLines = room - 1;
            lines = lines.mid(0, ownLines);
            lines.last() = metrics.elidedText(lines.last() + QStringLiteral(" …"), Qt::ElideRight, textWidth);
        }
        lines += linesFor(*original, textWidth).mid(0, std::max<qsizetype>(0, room - ownLines));
    }
    if (lines.isEmpty())
        return;
    qreal y = block.top() + 3;
    painter.save();
    painter.setFont(m_font);
    const QColor textColour = m_palette.color(selected ? QPalette::HighlightedText : QPalette::WindowText);
    QColor originalColour = textColour;
    originalColour.setAlphaF(0.6);
    // The text keeps to its lane above the sound, which stays readable under the block.
    QRectF lane = block.adjusted(textInset, 0, -textInset, 0);
    lane.setHeight(std::min(lane.height(), m_textLaneHeight));
    painter.setClipRect(lane, Qt::IntersectClip);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString &line = lines[k];
        painter.setPen(k < ownLines ? textColour : originalColour);
        painter.drawText(QRectF(wholeBlock.left() + textInset, y, textWidth, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
        y += lineHeight;
    }
    painter.restore();
}

// A line a pixel wide where words meet; where they do not, a line where the one ends and
// where the next begins, the pause between them barely tinted. Faint, so the waveform
// reads through, and inside the block's outline.
void BlockPainter::paintWordGaps(QPainter &painter, const QRectF &block, const QList<WordGap> &wordGaps) const
{
    if (wordGaps.isEmpty())
        return;
    const qreal top = block.top() + m_textLaneHeight;
    const qreal bottom = block.bottom() - 2;
    if (bottom <= top)
        return;
    QColor line = m_palette.color(QPalette::WindowText);
    line.setAlphaF(0.28);
    QColor pause = line;
    pause.setAlphaF(0.06);
    const QRectF inside = block.adjusted(1, 0, -1, 0);
    const auto fill = [&](qreal left, qreal right, const QColor &colour) {
        const QRectF rect = QRectF(left, top, right - left, bottom - top).intersected(inside);
        if (!rect.isEmpty())
            painter.fillRect(rect, colour);
    };
    for (const WordGap &gap : wordGaps) {
        const qreal left = std::floor(gap.left);
        const qreal right = std::floor(gap.right);
        fill(left, left + 1, line);
        if (right > left + 1) {
            fill(left + 1, right, pause);
            fill(right, right + 1, line);
        }
    }
}

void BlockPainter::endFrame()
{
    for (auto it = m_layouts.begin(); it != m_layouts.end();) {
        if (!it->used) {
            it = m_layouts.erase(it);
        } else {
            it->used = false;
            ++it;
        }
    }
}
