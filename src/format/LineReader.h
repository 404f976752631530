#pragma once

#include <QStringView>

// Walks a text line by line without splitting it first. Lines end at a line feed, a
// carriage return, the pair CR LF, or U+0085, U+2028, U+2029; a terminator at the very
// end of the text does not make an extra empty line.
class LineReader
{
public:
    explicit LineReader(QStringView text)
        : m_text(text)
    {
    }

    // The next line, or false at the end of the text.
    bool next(QStringView &line);

    static bool isTerminator(QChar c)
    {
        const char16_t u = c.unicode();
        if (u > u'\r' && u < 0x0085) // nearly every character: one test
            return false;
        return u == u'\n' || u == u'\r' || u == 0x0085 || u == 0x2028 || u == 0x2029;
    }

private:
    QStringView m_text;
    qsizetype m_position = 0;
};
