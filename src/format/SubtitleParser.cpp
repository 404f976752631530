#include "format/SubtitleParser.h"

#include "format/LineReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

enum class ParseState { ExpectingIndex, ExpectingTimes, ExpectingFirstTextLine, ReadingText };

// The text of the subtitle being read. Its lines usually stand one after the other in the
// source, separated by single line feeds: then the text is copied once, at its exact
// size, when it is finished. Other line ends are rewritten as line feeds.
class PendingText
{
public:
    void start(QStringView firstLine)
    {
        m_begin = firstLine.data();
        m_end = firstLine.data() + firstLine.size();
        m_joined.clear();
        m_contiguous = true;
    }

    void appendLine(QStringView line)
    {
        if (m_contiguous && line.data() == m_end + 1 && *m_end == u'\n') {
            m_end = line.data() + line.size();
            return;
        }
        if (m_contiguous) {
            m_joined = QString(m_begin, m_end - m_begin);
            m_contiguous = false;
        }
        m_joined.append(u'\n');
        m_joined.append(line);
    }

    QString take()
    {
        return m_contiguous ? QString(m_begin, m_end - m_begin) : std::move(m_joined);
    }

private:
    const QChar *m_begin = nullptr;
    const QChar *m_end = nullptr;
    QString m_joined;
    bool m_contiguous = true;
};

// Strict base-10: an optional sign, one or more ASCII digits, within 64 bits.
bool readInteger(QStringView text, qint64 &value)
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
        const char16_t c = text[i].unicode();
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
bool readDigits(QStringView text, int &value)
{
    value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
    }
    return !text.isEmpty();
}

const QString timeSeparator = QStringLiteral(" --> ");

// Position of " --> " from `from` on, or -1. A plain scan beats the general search on
// lines this short.
qsizetype findTimeSeparator(QStringView line, qsizetype from = 0)
{
    const QChar *data = line.data();
    for (qsizetype i = from; i + 5 <= line.size(); ++i) {
        if (data[i + 2] == u'-' && data[i] == u' ' && data[i + 1] == u'-' && data[i + 3] == u'>' && data[i + 4] == u' ')
            return i;
    }
    return -1;
}

// Spaces and tabs only, or nothing.
bool isBlankLine(QStringView line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' ' || c == u'\t'; });
}

} // namespace

bool SubtitleParser::readTimingLine(QStringView line, double &start, double &end) const
{
    const qsizetype separator = findTimeSeparator(line);
    if (separator < 0 || findTimeSeparator(line, separator + 1) >= 0)
        return false;
    const auto parsedStart = parseTime(line.first(separator));
    const auto parsedEnd = parseTime(line.sliced(separator + timeSeparator.size()));
    if (!parsedStart || !parsedEnd || parsedEnd.value() < parsedStart.value())
        return false;
    start = parsedStart.value();
    end = parsedEnd.value();
    return true;
}

bool SubtitleParser::beginsSubtitle(QStringView line, LineReader reader) const
{
    // Index and timing lines begin with a digit or a sign; text nearly never does.
    if (line.isEmpty() || !(line.front().isDigit() || line.front() == u'+' || line.front() == u'-'))
        return false;
    double start = 0;
    double end = 0;
    if (readTimingLine(line, start, end))
        return true;
    qint64 index = 0;
    QStringView timing;
    return readInteger(line, index) && reader.next(timing) && readTimingLine(timing, start, end);
}

SubtitleParser &SubtitleParser::shared()
{
    static SubtitleParser instance; // created once, even when first uses race
    return instance;
}

Expected<double, ParseError> SubtitleParser::parseTime(QStringView text) const
{
    const ParseError invalid(ParseError::Kind::InvalidTimestamp);
    // "HH:mm:ss,SSS"; hours past 99 (which we write for very long videos) take more digits.
    const qsizetype hourDigits = text.size() - 10;
    if (hourDigits < 2 || hourDigits > 6)
        return invalid;
    if (text[hourDigits] != u':' || text[hourDigits + 3] != u':' || text[hourDigits + 6] != u',')
        return invalid;
    int hours, minutes, seconds, milliseconds;
    if (!readDigits(text.first(hourDigits), hours) || !readDigits(text.sliced(hourDigits + 1, 2), minutes)
        || !readDigits(text.sliced(hourDigits + 4, 2), seconds) || !readDigits(text.sliced(hourDigits + 7, 3), milliseconds))
        return invalid;
    if (minutes > 59 || seconds > 59)
        return invalid;
    return double(hours) * 3600 + minutes * 60 + seconds + milliseconds / 1000.0;
}

Expected<SubtitleList, ParseError> SubtitleParser::parse(QStringView text) const
{
    using Kind = ParseError::Kind;
    ParseState state = ParseState::ExpectingIndex;
    qint64 indexCounter = 0;
    double start = 0;
    double end = 0;
    PendingText pendingText;
    SubtitleList subtitles;
    qsizetype lineNumber = 0;
    bool afterBlankLine = false; // the last text line was empty or only spaces
    QStringView heldLine;        // a line of spaces not yet added to the text

    // The index counter rises with every index line; the line must carry its value.
    const auto readIndex = [&indexCounter](QStringView line) {
        ++indexCounter;
        qint64 index = 0;
        return readInteger(line, index) && index == indexCounter;
    };

    LineReader reader(text);
    QStringView line;
    while (reader.next(line)) {
        switch (state) {
        case ParseState::ExpectingIndex:
            if (!readIndex(line))
                return ParseError::atLine(lineNumber, Kind::InvalidIndex);
            state = ParseState::ExpectingTimes;
            break;
        case ParseState::ExpectingTimes:
            if (!readTimingLine(line, start, end))
                return ParseError::atLine(lineNumber, Kind::InvalidTimestamp);
            state = ParseState::ExpectingFirstTextLine;
            break;
        case ParseState::ExpectingFirstTextLine:
            // A cue's number and timing where its text should be: the blank line that
            // ends a cue is missing.
            if (beginsSubtitle(line, reader))
                return ParseError::atLine(lineNumber, Kind::InvalidIndex);
            pendingText.start(line);
            afterBlankLine = isBlankLine(line);
            heldLine = {};
            state = ParseState::ReadingText;
            break;
        case ParseState::ReadingText: {
            if (line.isEmpty()) {
                if (!heldLine.isNull())
                    pendingText.appendLine(heldLine);
                subtitles.append(std::make_shared<Subtitle>(pendingText.take(), start, end));
                state = ParseState::ExpectingIndex;
                break;
            }
            if (beginsSubtitle(line, reader)) {
                if (!afterBlankLine)
                    return ParseError::atLine(lineNumber, Kind::InvalidIndex);
                // Real files leave a cue's text line blank, or end a cue with a line of
                // spaces; read as text, the next cue would vanish into this one. The
                // blank line ends the cue, and this line is read as the next index.
                subtitles.append(std::make_shared<Subtitle>(pendingText.take(), start, end));
                if (!readIndex(line))
                    return ParseError::atLine(lineNumber, Kind::InvalidIndex);
                state = ParseState::ExpectingTimes;
                break;
            }
            if (!heldLine.isNull())
                pendingText.appendLine(heldLine);
            heldLine = {};
            afterBlankLine = isBlankLine(line);
            if (afterBlankLine)
                heldLine = line;
            else
                pendingText.appendLine(line);
            break;
        }
        }
        ++lineNumber;
    }

    switch (state) {
    case ParseState::ReadingText:
        if (!heldLine.isNull())
            pendingText.appendLine(heldLine);
        subtitles.append(std::make_shared<Subtitle>(pendingText.take(), start, end));
        break;
    case ParseState::ExpectingTimes:
    case ParseState::ExpectingFirstTextLine:
        return ParseError(Kind::UnexpectedEndOfFile);
    case ParseState::ExpectingIndex:
        break;
    }
    // Files are nearly always in time order already; skip the sort then.
    const bool ordered = std::is_sorted(subtitles.cbegin(), subtitles.cend(),
                                        [](const SubtitlePtr &a, const SubtitlePtr &b) { return *a < *b; });
    if (!ordered)
        sortSubtitles(subtitles);
    return subtitles;
}

static char16_t *writeNumber(char16_t *out, qint64 number)
{
    char16_t buffer[24];
    char16_t *end = buffer + 24;
    char16_t *p = end;
    do {
        *--p = char16_t(u'0' + number % 10);
        number /= 10;
    } while (number > 0);
    return std::copy(p, end, out);
}

static char16_t *writeText(char16_t *out, QStringView text)
{
    return std::copy(text.utf16(), text.utf16() + text.size(), out);
}

QString SubtitleParser::formatTime(double seconds) const
{
    char16_t buffer[maximumTimeLength];
    return QString(reinterpret_cast<const QChar *>(buffer), writeTime(buffer, seconds) - buffer);
}

// Writes the time at `out` and returns the end of what it wrote (12 characters, more
// past 99 hours).
char16_t *SubtitleParser::writeTime(char16_t *out, double seconds)
{
    if (!(seconds > 0)) // negative, zero or not a number
        seconds = 0;
    // A nudge of a nanosecond before truncating, so that a time read from text writes as
    // the same text (1.001 is stored just below 1.001). The nudge grows with the time:
    // past a few thousand hours the rounding error of a time read from text is larger
    // than a nanosecond.
    constexpr qint64 maxMilliseconds = qint64(999999) * 3600 * 1000 + 3599999;
    const double scaled = seconds * 1000.0;
    const double totalMilliseconds = std::floor(scaled + 1e-6 + scaled * 1e-15);
    const qint64 ms = totalMilliseconds < double(maxMilliseconds) ? qint64(totalMilliseconds) : maxMilliseconds;

    char16_t buffer[16];
    char16_t *end = buffer + 16;
    char16_t *p = end;
    auto put = [&p](qint64 value, int width) {
        for (int i = 0; i < width || (width == 0 && value > 0); ++i) {
            *--p = char16_t(u'0' + value % 10);
            value /= 10;
        }
    };
    put(ms % 1000, 3);
    *--p = u',';
    put(ms / 1000 % 60, 2);
    *--p = u':';
    put(ms / 60000 % 60, 2);
    *--p = u':';
    const qint64 hours = ms / 3600000;
    put(hours % 100, 2);
    if (hours >= 100)
        put(hours / 100, 0);
    std::copy(p, end, out);
    return out + (end - p);
}

// Whether the text reads back as it stands, with this reader and with others: no empty
// or spaces-only line among several (other readers end the cue there; this one may take
// what follows for the next cue), no line that reads as the start of the next subtitle,
// no line break at the end, and single line feeds only.
bool SubtitleParser::readsBackAsWritten(QStringView text)
{
    if (text.endsWith(u'\n'))
        return false;
    const QChar *data = text.data();
    const qsizetype size = text.size();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= size; ++i) {
        if (i < size && !LineReader::isTerminator(data[i]))
            continue;
        if (i < size && data[i] != u'\n')
            return false;
        const QStringView line = text.sliced(lineStart, i - lineStart);
        if ((isBlankLine(line) && size > line.size()) || shared().beginsSubtitle(line, LineReader(text.sliced(std::min(i + 1, size)))))
            return false;
        lineStart = i + 1;
    }
    return true;
}

QString SubtitleParser::textAsWritten(const QString &text)
{
    if (readsBackAsWritten(text))
        return text;

    // Blank lines would end the subtitle: leave them out, leading ones included.
    QStringList lines;
    LineReader reader(text);
    QStringView line;
    while (reader.next(line)) {
        if (!isBlankLine(line))
            lines.append(line.toString());
    }
    // A line that reads as a timing line, or a number over one, would start a subtitle of
    // its own: a space in front keeps it text.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString rest = i + 1 < lines.size() ? lines[i + 1] : QString();
        if (shared().beginsSubtitle(lines[i], LineReader(rest)))
            lines[i].prepend(u' ');
    }
    return lines.join(u'\n');
}

QString SubtitleParser::serialize(const SubtitleList &subtitles) const
{
    // Written straight into a buffer of the largest size the blocks can take, then cut
    // to what was written: one allocation and no per-piece bookkeeping.
    constexpr qsizetype fixedPerBlock = 20 + 1 + 2 * maximumTimeLength + 5 + 1 + 2;
    qsizetype bound = 0;
    for (const SubtitlePtr &subtitle : subtitles)
        bound += subtitle->text.size() + fixedPerBlock;
    QString result(bound, Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(result.data());
    char16_t *out = begin;

    qint64 number = 0;
    for (const SubtitlePtr &subtitle : subtitles) {
        out = writeNumber(out, ++number);
        *out++ = u'\n';
        out = writeTime(out, subtitle->start);
        out = writeText(out, timeSeparator);
        // an end before the start would not read back
        out = writeTime(out, std::max(subtitle->start, subtitle->end));
        *out++ = u'\n';
        // a cleaned text is never longer than the original
        out = writeText(out, readsBackAsWritten(subtitle->text) ? subtitle->text : textAsWritten(subtitle->text));
        *out++ = u'\n';
        *out++ = u'\n';
    }
    result.truncate(out - begin);
    return result;
}
