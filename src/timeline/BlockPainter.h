#pragma once

#include "model/Subtitle.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QPalette>
#include <QRectF>
#include <QStringList>

class QPainter;

// Draws subtitle blocks: a rounded box over the whole height of the strip, so its edges
// stand over the sound they are timed to, with the text inset 4 points in the lane along
// its top, wrapped onto two lines and elided. Lines are laid out once per text and width and kept for the blocks
// drawn in the last frame. Colours come from the palette, so a dark theme reads well.
class BlockPainter
{
public:
    static constexpr qreal textInset = 4;
    // Below this width a block is a mark without text or outline.
    static constexpr qreal markWidth = 3;

    // The lines shown for a text at a block width: at most two, the last one elided.
    static QStringList layoutLines(const QString &text, const QFont &font, qreal width);

    // The height of the lane the text is drawn in: two lines, or less on a short strip.
    static qreal textLaneHeight(const QFont &font, qreal bandHeight);
    void beginFrame(const QPalette &palette, const QFont &font, qreal textLaneHeight);
    // Where one spoken word ends and the next begins, in the strip's x.
    struct WordGap
    {
        qreal left = 0;
        qreal right = 0;
    };

    // `block` is the whole block, `visible` the part of the strip on screen. A block with
    // a problem (a broken limit, an overlap) carries a red bar along its bottom. The line
    // of the original it translates, if any, goes under its text, dimmer. The gaps between
    // its words are faint ticks over the sound, under the text's lane.
    void paint(QPainter &painter, const Subtitle &subtitle, const QRectF &block, const QRectF &visible, bool selected,
               bool hasProblem = false, const Subtitle *original = nullptr, const QList<WordGap> &wordGaps = {});
    // Forgets the layouts of blocks that this frame did not draw.
    void endFrame();

private:
    struct Layout
    {
        QString text;
        qreal width = 0;
        QStringList lines;
        bool used = false;
    };
    const QStringList &linesFor(const Subtitle &subtitle, qreal width);
    void paintWordGaps(QPainter &painter, const QRectF &block, const QList<WordGap> &wordGaps) const;

    QHash<const Subtitle *, Layout> m_layouts;
    QPalette m_palette;
    QFont m_font;
    qreal m_textLaneHeight = 0;
};
