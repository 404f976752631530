#pragma once

#include "format/LineReader.h"

#include <QByteArrayView>
#include <QStringView>

#include <algorithm>
#include <limits>
#include <optional>

// The lines of SRT as both the reader and the writer see them, in UTF-16 or in UTF-8:
// numbers, times, timing lines, blank lines and where a subtitle begins. The writer asks
// the same questions as the reader so that what it writes reads back.
namespace SrtSyntax {

// One code unit as a number: UTF-16 units as they are, UTF-8 bytes unsigned.
inline char16_t unit(QChar c)
{
    return c.unicode();
}
inline uchar unit(char c)
{
    return uchar(c);
}

// Strict base-10: an optional sign, one or more ASCII digits, within 64 bits.
template <typename View>
bool readInteger(View text, qint64 &value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    quint64 magnitude = 0;
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    for (; i < text.size(); ++i) {
        const auto c = unit(text[i]);
        if (c < u'0' || c > u'9')
            return false;
        const quint64 digit = c - u'0';
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? qint64(0 - magnitude) : qint64(magnitude);
    return true;
}

// Exactly `width` ASCII digits.
template <typename View>
bool readDigits(View text, int &value)
{
    value = 0;
    for (const auto character : text) {
        const auto c = unit(character);
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    return !text.isEmpty();
}

inline constexpr qsizetype timeSeparatorLength = 5; // " --> "

// Position of " --> " from `from` on, or -1. A plain scan beats the general search on
// lines this short.
template <typename View>
qsizetype findTimeSeparator(View line, qsizetype from = 0)
{
    const auto *data = line.data();
    for (qsizetype i = from; i + timeSeparatorLength <= line.size(); ++i) {
        if (data[i + 2] == u'-' && data[i] == u' ' && data[i + 1] == u'-' && data[i + 3] == u'>' && data[i + 4] == u' ')
            return i;
    }
    return -1;
}

// Spaces and tabs only, or nothing.
template <typename View>
bool isBlankLine(View line)
{
    return std::all_of(line.begin(), line.end(), [](auto c) { return c == u' ' || c == u'\t'; });
}

// "HH:mm:ss,SSS"; hours past 99 (which we write for very long videos) take more digits.
template <typename View>
std::optional<double> readTime(View text)
{
    const qsizetype hourDigits = text.size() - 10;
    if (hourDigits < 2 || hourDigits > 6)
        return std::nullopt;
    if (text[hourDigits] != u':' || text[hourDigits + 3] != u':' || text[hourDigits + 6] != u',')
        return std::nullopt;
    int hours, minutes, seconds, milliseconds;
    if (!readDigits(text.first(hourDigits), hours) || !readDigits(text.sliced(hourDigits + 1, 2), minutes)
        || !readDigits(text.sliced(hourDigits + 4, 2), seconds) || !readDigits(text.sliced(hourDigits + 7, 3), milliseconds))
        return std::nullopt;
    if (minutes > 59 || seconds > 59)
        return std::nullopt;
    return double(hours) * 3600 + minutes * 60 + seconds + milliseconds / 1000.0;
}

// A timing line "start --> end" with end not before start.
template <typename View>
bool readTimingLine(View line, double &start, double &end)
{
    const qsizetype separator = findTimeSeparator(line);
    if (separator < 0 || findTimeSeparator(line, separator + 1) >= 0)
        return false;
    const auto parsedStart = readTime(line.first(separator));
    const auto parsedEnd = readTime(line.sliced(separator + timeSeparatorLength));
    if (!parsedStart || !parsedEnd || *parsedEnd < *parsedStart)
        return false;
    start = *parsedStart;
    end = *parsedEnd;
    return true;
}

// Whether `line` is a timing line, or an index whose next line (the next of `reader`, a
// copy) is a timing line.
template <typename View>
bool beginsSubtitle(View line, BasicLineReader<View> reader)
{
    // Index and timing lines begin with an ASCII digit or a sign; text nearly never does.
    if (line.isEmpty())
        return false;
    const auto first = unit(line.front());
    if (!((first >= u'0' && first <= u'9') || first == u'+' || first == u'-'))
        return false;
    double start = 0;
    double end = 0;
    if (readTimingLine(line, start, end))
        return true;
    qint64 index = 0;
    View timing;
    return readInteger(line, index) && reader.next(timing) && readTimingLine(timing, start, end);
}

} // namespace SrtSyntax
