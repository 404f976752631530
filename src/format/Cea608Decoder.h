#pragma once

#include "format/Cea608.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// A caption decoder for one data channel of line 21, fed one byte pair a frame: what it
// shows, and when, as captions with a start and an end frame. Pop-on captions show at
// their end of caption and leave at the next erase or the next caption; paint-on ones
// change as they are painted; roll-up gives each row its own caption, from its first
// character until it scrolls out of the window or is erased.
class Cea608Decoder
{
public:
    struct Caption
    {
        qint64 start = 0; // frames
        qint64 end = 0;
        QString text; // rows as lines, <i>, <u>, <font color>, {\an8} for the upper rows
        QStringList placement; // "row:column" for each line, counted from 1 and 0
    };

    // Channel 1 or 2 of the first field.
    explicit Cea608Decoder(int channel = 1);

    // A line of a caption file begins: a code sent again on it is a code of its own.
    void beginLine();
    // A pair without its parity bits, sent at `frame`.
    void feed(quint8 first, quint8 second, qint64 frame);
    // What is still shown ends at `frame`; the captions, in the order they began.
    QList<Caption> finish(qint64 frame);

private:
    struct Cell
    {
        QChar c;
        Cea608::Style style;
    };
    // Wider than the screen: text a file sends past the last column is kept, not lost.
    static constexpr int width = 64;
    using Row = std::array<Cell, width>;
    using Memory = std::array<Row, Cea608::rows>;
    enum class Mode { PopOn, PaintOn, RollUp };
    struct Open
    {
        qint64 start = 0;
        qint64 line = 0;
        Caption caption;
    };

    void control(quint8 first, quint8 second, qint64 frame);
    void miscellaneous(quint8 second, qint64 frame);
    void write(QChar c);
    Memory &target() { return m_mode == Mode::PopOn ? m_hidden : m_shown; }
    void changed(qint64 frame);
    void close(std::optional<Open> &open, qint64 frame);
    void update(std::optional<Open> &open, Caption caption, qint64 frame, bool grows);
    Caption render(int firstRow, int lastRow) const;

    int m_channel;
    int m_current = 1; // the channel the last control code was for
    std::optional<std::pair<quint8, quint8>> m_lastControl;
    qint64 m_line = 0;
    Mode m_mode = Mode::PopOn;
    int m_rollRows = 2;
    int m_row = Cea608::rows - 1; // from 0
    int m_column = 0;
    Cea608::Style m_style;
    Memory m_shown{};
    Memory m_hidden{};
    bool m_dirty = false;
    std::optional<Open> m_whole; // pop-on and paint-on
    std::array<std::optional<Open>, Cea608::rows> m_rowCaptions; // roll-up
    QList<Caption> m_captions;
};
