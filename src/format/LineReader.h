#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <optional>

// Walks a text line by line without splitting it first: UTF-16 text (QStringView) or
// valid UTF-8 bytes (QByteArrayView), so that a UTF-8 file is read without converting
// it whole first. Lines end at a line feed, a carriage return, the pair CR LF, or U+0085,
// U+2028, U+2029; a terminator at the very end of the text does not make an extra empty
// line.
template <typename View>
class BasicLineReader
{
public:
    explicit BasicLineReader(View text)
        : m_text(text)
    {
    }

    // The next line, or false at the end of the text.
    bool next(View &line);
    // Line `index` (counted from 0) of `text`, when it has that many.
    static std::optional<View> lineAt(View text, qsizetype index);

    // How many code units the line terminator at `position` takes (CR LF counts as one
    // terminator of two), or 0 when none begins there.
    static qsizetype terminatorLength(View text, qsizetype position);

private:
    View m_text;
    qsizetype m_position = 0;
};

template <>
inline qsizetype BasicLineReader<QStringView>::terminatorLength(QStringView text, qsizetype position)
{
    const char16_t u = text[position].unicode();
    if (u > u'\r' && u < 0x0085) // nearly every character: one test
        return 0;
    if (u == u'\r')
        return position + 1 < text.size() && text[position + 1] == u'\n' ? 2 : 1;
    return u == u'\n' || u == 0x0085 || u == 0x2028 || u == 0x2029 ? 1 : 0;
}

template <>
inline qsizetype BasicLineReader<QByteArrayView>::terminatorLength(QByteArrayView text, qsizetype position)
{
    const uchar b = uchar(text[position]);
    if (b > '\r' && b < 0xC2) // ASCII and most lead bytes: one test
        return 0;
    const qsizetype size = text.size();
    const auto at = [&](qsizetype offset) { return position + offset < size ? uchar(text[position + offset]) : 0; };
    switch (b) {
    case '\n':
        return 1;
    case '\r':
        return at(1) == '\n' ? 2 : 1;
    case 0xC2: // U+0085
        return at(1) == 0x85 ? 2 : 0;
    case 0xE2: // U+2028, U+2029
        return at(1) == 0x80 && (at(2) == 0xA8 || at(2) == 0xA9) ? 3 : 0;
    default:
        return 0;
    }
}

using LineReader = BasicLineReader<QStringView>;
using Utf8LineReader = BasicLineReader<QByteArrayView>;
