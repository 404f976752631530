#pragma once

#include "format/EbuStlCharacters.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// The text field of an EBU-STL subtitle and the program's text: line breaks (0x8A), italics
// and underline (0x80..0x83) and the Teletext colours (0x00..0x07) as the tags the text
// holds; the codes it cannot show (double height, boxing, flash, backgrounds…) are kept
// for each row, so that an edited text is written with them again.
class EbuStlText
{
public:
    // What a text field holds beyond the text: the codes each row begins and ends with
    // that no tag shows, and the bytes between rows (two line breaks under double height).
    struct Layout
    {
        QList<QByteArray> rowStarts;
        QList<QByteArray> rowEnds;
        QByteArray lineBreak = QByteArray(1, char(0x8A));
        QByteArray before; // line breaks before the first row
        QByteArray after; // and after the last
    };
    struct Decoded
    {
        QString text;
        Layout layout;
    };
    static Decoded decode(QByteArrayView field, EbuStlCharacters::Table table);

    struct Encoded
    {
        QByteArray field; // without the padding
        int cutRows = 0; // rows longer than the limit, cut to it
        QString unheld; // the first character the table cannot hold; nothing was written
    };
    // `rowLimit` counts a row's bytes, control codes included (0: none).
    static Encoded encode(QStringView text, EbuStlCharacters::Table table, const Layout &layout, int rowLimit);

    // The Teletext colour code of a colour the text names (red 0x01 … white 0x07); -1 for
    // none, and `exact` false when the colour is only near it.
    static int colourCode(QStringView colour, bool *exact = nullptr);

    static constexpr char lineBreakCode = char(0x8A);
    static constexpr char unusedCode = char(0x8F);
};
