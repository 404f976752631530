#include "timeline/SubtitleView.h"

#include "timeline/BlockShadow.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

SubtitleView::SubtitleView(TimelineViewController *controller, QWidget *parent)
    : QWidget(parent)
    , m_timelineViewController(controller)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SubtitleView::setSubtitle(SubtitlePtr subtitle)
{
    m_subtitle = std::move(subtitle);
    if (!m_subtitle)
        setText(QString());
}

void SubtitleView::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void SubtitleView::setSelected(bool selected)
{
    if (selected == m_isSelected)
        return;
    m_isSelected = selected;
    setGraphicsEffect(selected ? BlockShadow::create(this) : nullptr);
    update();
}

void SubtitleView::setBlockGeometry(const QRectF &block, const QRectF &visible)
{
    const qreal left = std::max(block.left(), visible.left());
    const qreal right = std::min(block.right(), visible.right());
    const QRect widgetRect(QPoint(int(std::floor(left)), int(std::floor(block.top()))),
                           QPoint(int(std::ceil(std::max(left, right))) - 1, int(std::ceil(block.bottom())) - 1));
    const QRectF blockRect = block.translated(-widgetRect.topLeft());
    if (widgetRect != geometry())
        setGeometry(widgetRect);
    if (blockRect != m_blockRect) {
        m_blockRect = blockRect;
        update();
    }
}

QStringList SubtitleView::layoutLines(const QString &text, const QFont &font, qreal width)
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

void SubtitleView::paintEvent(QPaintEvent *)
{
    const QColor blue = QColor::fromRgbF(0.15, 0.29, 0.57, m_isSelected ? 1.0 : 0.4);
    const QColor outline = m_isSelected ? QColor::fromRgbF(1.0, 0.6, 0.3, 1.0) : QColor::fromRgbF(1.0 / 3, 1.0 / 3, 1.0 / 3);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(outline, m_isSelected ? 2 : 1));
    painter.setBrush(blue);
    painter.drawRoundedRect(m_blockRect.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);

    const qreal textWidth = m_blockRect.width() - 2 * textInset;
    const QStringList lines = layoutLines(m_text, font(), textWidth);
    if (lines.isEmpty())
        return;
    const QFontMetricsF metrics(font());
    const qreal lineHeight = metrics.lineSpacing();
    qreal y = m_blockRect.center().y() - lineHeight * lines.size() / 2;
    painter.setPen(m_isSelected ? QColor(Qt::white) : palette().color(QPalette::WindowText));
    painter.setClipRect(m_blockRect.adjusted(textInset, 0, -textInset, 0));
    for (const QString &line : lines) {
        painter.drawText(QRectF(m_blockRect.left() + textInset, y, textWidth, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
        y += lineHeight;
    }
}
