#include "format/Cea608Decoder.h"

#include <algorithm>
#include <utility>

namespace {

constexpr Cea608::Colour colours[] = {Cea608::Colour::White, Cea608::Colour::Green, Cea608::Colour::Blue,
                                      Cea608::Colour::Cyan,  Cea608::Colour::Red,   Cea608::Colour::Yellow,
                                      Cea608::Colour::Magenta};

// The style a preamble address or mid-row code's attribute bits give (its last five bits).
// Mid-row colours end italics; the italics code keeps the colour.
Cea608::Style styleOf(quint8 attribute, Cea608::Style before)
{
    Cea608::Style style = before;
    style.underline = attribute & 1;
    const int colour = (attribute >> 1) & 7;
    if (colour == 7) {
        style.italic = true;
    } else {
        style.colour = colours[colour];
        style.italic = false;
    }
    return style;
}

// The upper rows, where a caption stands at the top of the picture.
constexpr int lastTopRow = 7;

} // namespace

Cea608Decoder::Cea608Decoder(int channel)
    : m_channel(channel == 2 ? 2 : 1)
{
}

void Cea608Decoder::beginLine()
{
    m_lastControl.reset();
    ++m_line;
}

void Cea608Decoder::feed(quint8 first, quint8 second, qint64 frame)
{
    if (first >= 0x10 && first <= 0x1F) {
        // Control codes are sent twice so that one lost to noise does no harm: the repeat
        // right after is the same code, done once.
        const std::pair pair{first, second};
        if (m_lastControl == pair) {
            m_lastControl.reset();
            return;
        }
        m_lastControl = pair;
        m_current = first & 0x08 ? 2 : 1;
        if (m_current == m_channel)
            control(quint8(first & ~0x08), second, frame);
    } else {
        m_lastControl.reset();
        if (first < 0x20 || m_current != m_channel)
            return; // padding, or extended data services
        write(Cea608::standard(first));
        if (second >= 0x20)
            write(Cea608::standard(second));
    }
    if (m_dirty)
        changed(frame);
}

void Cea608Decoder::control(quint8 first, quint8 second, qint64 frame)
{
    if (const auto row = Cea608::pacRow(first, second)) {
        m_row = *row - 1;
        const quint8 attribute = second & 0x1F;
        if (attribute & 0x10) {
            m_column = (attribute & 0x0E) * 2;
            m_style = Cea608::Style{Cea608::Colour::White, false, bool(attribute & 1)};
        } else {
            m_column = 0;
            m_style = styleOf(attribute, {});
        }
        return;
    }
    if (first == 0x11 && second >= 0x20 && second <= 0x2F) {
        m_style = styleOf(second & 0x0F, m_style);
        write(u' ');
    } else if (first == 0x11 && second >= 0x30 && second <= 0x3F) {
        write(Cea608::special(second));
    } else if ((first == 0x12 || first == 0x13) && second >= 0x20 && second <= 0x3F) {
        // An extended character takes the place of the standard one sent before it.
        m_column = std::max(0, m_column - 1);
        write(Cea608::extended(first, second));
    } else if ((first == 0x14 || first == 0x15) && second >= 0x20 && second <= 0x2F) {
        miscellaneous(second, frame);
    } else if (first == 0x17 && second >= 0x21 && second <= 0x23) {
        m_column = std::min(width - 1, m_column + second - 0x20);
    }
}

void Cea608Decoder::miscellaneous(quint8 second, qint64 frame)
{
    const auto erase = [this](Memory &memory) {
        memory = Memory{};
        m_dirty = m_dirty || &memory == &m_shown;
    };
    switch (second) {
    case 0x20: // resume caption loading
        m_mode = Mode::PopOn;
        break;
    case 0x21: // backspace
        if (m_column > 0)
            target()[m_row][--m_column] = Cell{};
        m_dirty = m_dirty || m_mode != Mode::PopOn;
        break;
    case 0x24: // delete to end of row
        std::fill(target()[m_row].begin() + m_column, target()[m_row].end(), Cell{});
        m_dirty = m_dirty || m_mode != Mode::PopOn;
        break;
    case 0x25:
    case 0x26:
    case 0x27: // roll-up, two to four rows
        if (m_mode != Mode::RollUp) {
            erase(m_shown);
            erase(m_hidden);
            m_row = Cea608::rows - 1;
        }
        m_mode = Mode::RollUp;
        m_rollRows = second - 0x23;
        m_column = 0;
        break;
    case 0x29: // resume direct captioning
        m_mode = Mode::PaintOn;
        break;
    case 0x2C: // erase displayed memory
        erase(m_shown);
        break;
    case 0x2D: // carriage return
        if (m_mode == Mode::RollUp) {
            const int top = std::max(0, m_row - m_rollRows + 1);
            close(m_rowCaptions[top], frame);
            for (int row = top; row < m_row; ++row) {
                m_shown[row] = m_shown[row + 1];
                m_rowCaptions[row] = std::move(m_rowCaptions[row + 1]);
            }
            m_shown[m_row] = Row{};
            m_rowCaptions[m_row].reset();
            m_dirty = true;
        }
        m_column = 0;
        break;
    case 0x2E: // erase non-displayed memory
        erase(m_hidden);
        break;
    case 0x2F: // end of caption
        std::swap(m_shown, m_hidden);
        m_mode = Mode::PopOn;
        m_dirty = true;
        break;
    default:
        break;
    }
}

void Cea608Decoder::write(QChar c)
{
    if (c.isNull())
        return;
    target()[m_row][m_column] = Cell{c, m_style};
    m_column = std::min(width - 1, m_column + 1);
    m_dirty = m_dirty || m_mode != Mode::PopOn;
}

void Cea608Decoder::changed(qint64 frame)
{
    m_dirty = false;
    if (m_mode == Mode::RollUp) {
        close(m_whole, frame);
        for (int row = 0; row < Cea608::rows; ++row)
            update(m_rowCaptions[row], render(row, row), frame, true);
        return;
    }
    for (std::optional<Open> &open : m_rowCaptions)
        close(open, frame);
    update(m_whole, render(0, Cea608::rows - 1), frame, m_mode == Mode::PaintOn);
}

void Cea608Decoder::close(std::optional<Open> &open, qint64 frame)
{
    if (!open)
        return;
    if (frame > open->start) {
        open->caption.start = open->start;
        open->caption.end = frame;
        m_captions.append(std::move(open->caption));
    }
    open.reset();
}

// A caption that grows (painted or rolled up) keeps its start while it is painted on
// the same line of the file; pop-on captions are new at each change.
void Cea608Decoder::update(std::optional<Open> &open, Caption caption, qint64 frame, bool grows)
{
    if (open && open->caption.text == caption.text)
        return;
    if (open && grows && (open->line == m_line || m_mode == Mode::RollUp) && !caption.text.isEmpty()) {
        open->caption = std::move(caption);
        return;
    }
    close(open, frame);
    if (!caption.text.isEmpty())
        open = Open{frame, m_line, std::move(caption)};
}

Cea608Decoder::Caption Cea608Decoder::render(int firstRow, int lastRow) const
{
    Caption caption;
    QStringList lines;
    int top = -1;
    for (int row = firstRow; row <= lastRow; ++row) {
        const Row &cells = m_shown[row];
        const auto isBlank = [](const Cell &cell) { return cell.c.isNull() || cell.c.isSpace(); };
        const auto begin = std::find_if_not(cells.begin(), cells.end(), isBlank);
        if (begin == cells.end())
            continue;
        const auto end = std::find_if_not(cells.rbegin(), cells.rend(), isBlank).base();
        if (top < 0)
            top = row;
        QString line;
        Cea608::Style style;
        const auto closeTags = [&] {
            if (style.underline)
                line += QLatin1String("</u>");
            if (style.italic)
                line += QLatin1String("</i>");
            if (style.colour != Cea608::Colour::White)
                line += QLatin1String("</font>");
        };
        QString spaces;
        for (auto cell = begin; cell != end; ++cell) {
            // Spaces where the style changes go between the tags, which hold the words.
            if (isBlank(*cell)) {
                spaces += cell->c.isNull() ? QChar(u' ') : cell->c;
                continue;
            }
            if (cell->style != style) {
                closeTags();
                line += std::exchange(spaces, QString());
                style = cell->style;
                if (style.colour != Cea608::Colour::White)
                    line += QStringLiteral("<font color=\"%1\">").arg(Cea608::colourValue(style.colour));
                if (style.italic)
                    line += QLatin1String("<i>");
                if (style.underline)
                    line += QLatin1String("<u>");
            }
            line += std::exchange(spaces, QString()) + cell->c;
        }
        closeTags();
        lines.append(line);
        caption.placement.append(QStringLiteral("%1:%2").arg(row + 1).arg(begin - cells.begin()));
    }
    if (lines.isEmpty())
        return caption;
    caption.text = (top < lastTopRow ? QStringLiteral("{\\an8}") : QString()) + lines.join(u'\n');
    return caption;
}

QList<Cea608Decoder::Caption> Cea608Decoder::finish(qint64 frame)
{
    close(m_whole, frame);
    for (std::optional<Open> &open : m_rowCaptions)
        close(open, frame);
    std::stable_sort(m_captions.begin(), m_captions.end(),
                     [](const Caption &a, const Caption &b) { return a.start < b.start; });
    return std::move(m_captions);
}
