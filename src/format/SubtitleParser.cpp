#include "format/SubtitleParser.h"

#include "format/HugePages.h"
#include "format/LineReader.h"

#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <thread>
#include <type_traits>

namespace {

enum class ParseState { ExpectingIndex, ExpectingTimes, ExpectingFirstTextLine, ReadingText };

// One code unit as a number: UTF-16 units as they are, UTF-8 bytes unsigned.
char16_t unit(QChar c)
{
    return c.unicode();
}
uchar unit(char c)
{
    return uchar(c);
}

// A finished text from the source, copied: UTF-16 as a string, UTF-8 (which has been
// checked) as the bytes a subtitle keeps.
QString textOf(QStringView text)
{
    return text.toString();
}
QByteArray textOf(QByteArrayView text)
{
    return text.toByteArray();
}

void appendLineFeed(QString &text)
{
    text.append(u'\n');
}
void appendLineFeed(QByteArray &text)
{
    text.append('\n');
}

SubtitlePtr newSubtitle(QStringView text, double start, double end)
{
    return Subtitle::create(text, start, end);
}
SubtitlePtr newSubtitle(QByteArrayView text, double start, double end)
{
    return Subtitle::createUtf8(text, start, end);
}

// The text of the subtitle being read. Its lines usually stand one after the other in the
// source, separated by single line feeds: then the text is not copied until the subtitle
// is made. Other line ends are rewritten as line feeds.
template <typename View>
class PendingText
{
public:
    using Text = decltype(textOf(View()));

    void start(View firstLine)
    {
        m_begin = firstLine.data();
        m_end = firstLine.data() + firstLine.size();
        m_joined.clear();
        m_contiguous = true;
    }

    void appendLine(View line)
    {
        if (m_contiguous && line.data() == m_end + 1 && *m_end == u'\n') {
            m_end = line.data() + line.size();
            return;
        }
        if (m_contiguous) {
            m_joined = textOf(View(m_begin, m_end - m_begin));
            m_contiguous = false;
        }
        appendLineFeed(m_joined);
        m_joined.append(line);
    }

    // The text as it stands until the next start.
    View view() const { return m_contiguous ? View(m_begin, m_end - m_begin) : View(m_joined); }

private:
    decltype(View().data()) m_begin = nullptr;
    decltype(View().data()) m_end = nullptr;
    Text m_joined;
    bool m_contiguous = true;
};

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

constexpr qsizetype timeSeparatorLength = 5; // " --> "

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

// Reads the subtitles of `text` on to those of `parts`, the index counter going on from
// its last index; a part of a text ends with the state it leaves (a whole text must end
// between subtitles or in one's text). Whether they are in time order is seen as they
// are read, while their starts are at hand: a check afterwards would look at a million
// subtitles scattered in memory.
template <typename View>
Expected<void, ParseError> parseLines(View text, ParseState &endState, SubtitleParser::Parts &parts)
{
    qint64 &indexCounter = parts.lastIndex;
    SubtitleList &subtitles = parts.subtitles;
    using Kind = ParseError::Kind;
    ParseState state = ParseState::ExpectingIndex;
    double start = 0;
    double end = 0;
    PendingText<View> pendingText;
    qsizetype lineNumber = 0;
    bool afterBlankLine = false; // the last text line was empty or only spaces
    View heldLine;               // a line of spaces not yet added to the text

    // The index counter rises with every index line; the line must carry its value.
    const auto readIndex = [&indexCounter](View line) {
        ++indexCounter;
        qint64 index = 0;
        return readInteger(line, index) && index == indexCounter;
    };

    double previousStart = subtitles.isEmpty() ? -std::numeric_limits<double>::infinity() : subtitles.last()->start;
    const auto add = [&](View subtitleText) {
        parts.inTimeOrder = parts.inTimeOrder && !(start < previousStart);
        previousStart = start;
        subtitles.append(newSubtitle(subtitleText, start, end));
    };

    BasicLineReader<View> reader(text);
    View line;
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
                add(pendingText.view());
                state = ParseState::ExpectingIndex;
                break;
            }
            if (beginsSubtitle(line, reader)) {
                if (!afterBlankLine)
                    return ParseError::atLine(lineNumber, Kind::InvalidIndex);
                // Real files leave a cue's text line blank, or end a cue with a line of
                // spaces; read as text, the next cue would vanish into this one. The
                // blank line ends the cue, and this line is read as the next index.
                add(pendingText.view());
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

    endState = state;
    switch (state) {
    case ParseState::ReadingText:
        if (!heldLine.isNull())
            pendingText.appendLine(heldLine);
        add(pendingText.view());
        break;
    case ParseState::ExpectingTimes:
    case ParseState::ExpectingFirstTextLine:
        return ParseError(Kind::UnexpectedEndOfFile);
    case ParseState::ExpectingIndex:
        break;
    }
    return {};
}

// Where a large text can be cut in two for reading on two threads: just after an empty
// line that a subtitle number and a timing line follow, near the middle. Returns the
// position and that subtitle's number.
// Whether a subtitle begins at `position` after an empty line: the line feed before it
// ends an empty line, and a number over a timing line follows. Gives that number.
template <typename View>
std::optional<qint64> cueAfterEmptyLine(View text, qsizetype position)
{
    if (position < 2 || text[position - 1] != u'\n')
        return std::nullopt;
    const qsizetype before = text[position - 2] == u'\r' ? position - 3 : position - 2;
    if (before < 0 || text[before] != u'\n')
        return std::nullopt;
    BasicLineReader<View> reader(text.sliced(position));
    View indexLine;
    View timingLine;
    qint64 index = 0;
    double start = 0;
    double end = 0;
    if (reader.next(indexLine) && readInteger(indexLine, index) && index > 1 && reader.next(timingLine)
        && readTimingLine(timingLine, start, end))
        return index;
    return std::nullopt;
}

// The first such place from `from` on, within a megabyte.
template <typename View>
std::optional<std::pair<qsizetype, qint64>> cueBoundaryNear(View text, qsizetype from)
{
    constexpr qsizetype searchLength = 1 << 20;
    const qsizetype last = std::min(text.size(), from + searchLength);
    for (qsizetype i = std::max<qsizetype>(from, 2); i < last; ++i) {
        if (text[i - 1] != u'\n')
            continue;
        if (const auto index = cueAfterEmptyLine(text, i))
            return std::pair{i, *index};
    }
    return std::nullopt;
}

// Both halves of a large text at once. Reading from the cut on depends only on the
// state there: between subtitles, with the counter one below the number that follows.
// When the first half does not end so, or either half fails, nothing is returned and
// the text is read in one go (which also gives an error its true line number).
template <typename View>
std::optional<SubtitleList> parseHalves(View text)
{
    constexpr qsizetype minimumSize = 4 << 20;
    if (text.size() < minimumSize || std::thread::hardware_concurrency() < 2)
        return std::nullopt;
    const auto cut = cueBoundaryNear(text, text.size() / 2);
    if (!cut)
        return std::nullopt;
    SubtitleParser::Parts second;
    second.lastIndex = cut->second - 1;
    bool secondRead = false;
    std::thread secondHalf([&] {
        ParseState endState;
        secondRead = parseLines(text.sliced(cut->first), endState, second).hasValue();
    });
    SubtitleParser::Parts first;
    ParseState endState;
    const bool firstRead = parseLines(text.first(cut->first), endState, first)
        && endState == ParseState::ExpectingIndex && first.lastIndex == cut->second - 1;
    secondHalf.join();
    if (!firstRead || !secondRead)
        return std::nullopt;
    return SubtitleParser::joinParts(std::move(first), std::move(second));
}

// Files are nearly always in time order already; the sort is skipped then.
SubtitleList inTimeOrder(SubtitleParser::Parts parts)
{
    if (!parts.inTimeOrder)
        sortSubtitles(parts.subtitles);
    return std::move(parts.subtitles);
}

template <typename View>
Expected<SubtitleList, ParseError> parseText(View text)
{
    if (auto halves = parseHalves(text))
        return std::move(*halves);
    SubtitleParser::Parts whole;
    ParseState endState;
    if (const auto read = parseLines(text, endState, whole); !read)
        return read.error();
    return inTimeOrder(std::move(whole));
}

} // namespace

SubtitleParser &SubtitleParser::shared()
{
    static SubtitleParser instance; // created once, even when first uses race
    return instance;
}

Expected<double, ParseError> SubtitleParser::parseTime(QStringView text) const
{
    if (const auto seconds = readTime(text))
        return *seconds;
    return ParseError(ParseError::Kind::InvalidTimestamp);
}

Expected<SubtitleList, ParseError> SubtitleParser::parse(QStringView text) const
{
    return parseText(text);
}

Expected<SubtitleList, ParseError> SubtitleParser::parseUtf8(QByteArrayView text) const
{
    return parseText(text);
}

bool SubtitleParser::parseUtf8Part(QByteArrayView part, bool last, Parts &parts) const
{
    ParseState endState;
    if (!parseLines(part, endState, parts))
        return false;
    return last || endState == ParseState::ExpectingIndex;
}

std::optional<std::pair<qsizetype, qint64>> SubtitleParser::firstPartStart(QByteArrayView text)
{
    return cueBoundaryNear(text, 0);
}

std::optional<qsizetype> SubtitleParser::lastPartStart(QByteArrayView text)
{
    for (qsizetype i = text.size() - 1; i >= 2; --i) {
        if (text[i - 1] == '\n' && cueAfterEmptyLine(text, i))
            return i;
    }
    return std::nullopt;
}

SubtitleList SubtitleParser::joinParts(Parts first, Parts second)
{
    first.inTimeOrder = first.inTimeOrder && second.inTimeOrder
        && (first.subtitles.isEmpty() || second.subtitles.isEmpty()
            || !(*second.subtitles.first() < *first.subtitles.last()));
    first.subtitles.append(std::move(second.subtitles));
    return inTimeOrder(std::move(first));
}
namespace {

// Whether the only line ends of the text are line feeds. Every unit is looked at, without
// stopping early, which the compiler turns into many units at a time.
bool onlyLineFeeds(QStringView text)
{
    bool other = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        other |= (u == u'\r') | (u == 0x0085) | ((u & 0xFFFE) == 0x2028);
    }
    return !other;
}
bool onlyLineFeeds(QByteArrayView text)
{
    // A carriage return, or the first byte of U+0085 (C2 85) or of U+2028 and U+2029
    // (E2 80 A8, E2 80 A9); other characters that begin so get a closer look. Eight
    // bytes at a time: a byte equal to `b` is a zero byte of the word XOR b in every byte.
    constexpr quint64 lanes = 0x0101010101010101ull;
    const auto holds = [](quint64 word, uchar b) {
        const quint64 x = word ^ (lanes * b);
        return ((x - lanes) & ~x & (lanes * 0x80)) != 0;
    };
    bool other = false;
    qsizetype i = 0;
    for (; i + 8 <= text.size() && !other; i += 8) {
        quint64 word;
        std::memcpy(&word, text.data() + i, 8);
        other = holds(word, '\r') || holds(word, 0xC2) || holds(word, 0xE2);
    }
    for (; i < text.size() && !other; ++i) {
        const uchar b = uchar(text[i]);
        other = b == '\r' || b == 0xC2 || b == 0xE2;
    }
    if (!other)
        return true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && Utf8LineReader::terminatorLength(text, i) != 0)
            return false;
    }
    return true;
}

// Whether the text reads back as it stands, with this reader and with others: no empty
// or spaces-only line among several (other readers end the cue there; this one may take
// what follows for the next cue), no line that reads as the start of the next subtitle,
// no line break at the end, and single line feeds only. UTF-16 or UTF-8 alike.
template <typename View>
bool readsBackAsWritten(View text)
{
    using Unit = std::remove_cvref_t<decltype(text.front())>;
    if ((!text.isEmpty() && text.back() == u'\n') || !onlyLineFeeds(text))
        return false;
    const qsizetype size = text.size();
    for (qsizetype lineStart = 0; lineStart <= size;) {
        qsizetype lineEnd = text.indexOf(Unit(u'\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = size;
        const View line = text.sliced(lineStart, lineEnd - lineStart);
        if ((isBlankLine(line) && size > line.size())
            || beginsSubtitle(line, BasicLineReader<View>(text.sliced(std::min(lineEnd + 1, size)))))
            return false;
        lineStart = lineEnd + 1;
    }
    return true;
}

// Where serialize writes: UTF-16 into a QString, or UTF-8 into bytes (with the line
// breaks of the file) so that the common file is written without a second conversion.
// Both are given room for the whole text first and write without checking. A text is
// written as it reads back, which can take a space more on each line.
class Utf16Output
{
public:
    qsizetype bound(const Subtitle &subtitle, qsizetype lineBreaks) const { return 2 * subtitle.storedSize() + 1 + lineBreaks; }

    void reserve(qsizetype size)
    {
        m_result = QString(size, Qt::Uninitialized);
        m_out = reinterpret_cast<char16_t *>(m_result.data());
    }
    void ascii(char c) { *m_out++ = char16_t(c); }
    void ascii(const char *begin, const char *end) { m_out = std::copy(begin, end, m_out); }
    void lineBreak() { *m_out++ = u'\n'; }
    // A UTF-8 text that reads back as it stands is decoded straight into the result.
    bool text(const Subtitle &subtitle)
    {
        if (const auto bytes = subtitle.utf8(); bytes && readsBackAsWritten(*bytes)) {
            m_out = reinterpret_cast<char16_t *>(m_decoder.appendToBuffer(reinterpret_cast<QChar *>(m_out), *bytes));
            return true;
        }
        const QString text = SubtitleParser::textAsWritten(subtitle.text());
        m_out = std::copy(text.utf16(), text.utf16() + text.size(), m_out);
        return true;
    }
    QString take()
    {
        m_result.truncate(m_out - reinterpret_cast<char16_t *>(m_result.data()));
        return std::move(m_result);
    }

private:
    QString m_result;
    char16_t *m_out = nullptr;
    QStringDecoder m_decoder{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
};

class Utf8Output
{
public:
    Utf8Output(bool crlf, bool byteOrderMark)
        : m_crlf(crlf)
        , m_byteOrderMark(byteOrderMark)
    {
    }
    // A UTF-16 unit takes at most three bytes, a line feed two with CR LF.
    qsizetype bound(const Subtitle &subtitle, qsizetype lineBreaks) const
    {
        return 3 * subtitle.storedSize() + 2 + (m_crlf ? 2 : 1) * lineBreaks;
    }

    // Makes room, reusing the buffer when it is large enough; the mark goes first.
    void reserve(qsizetype size)
    {
        static constexpr char mark[] = "\xEF\xBB\xBF";
        if (m_buffer.size() < size + qsizetype(sizeof mark)) {
            // with room to spare, as the next part is likely a little larger
            m_buffer = QByteArray(size + size / 4 + sizeof mark, Qt::Uninitialized);
            HugePages::advise(m_buffer.data(), m_buffer.size());
        }
        m_out = m_buffer.data();
        if (std::exchange(m_byteOrderMark, false))
            ascii(mark, mark + 3);
    }
    void ascii(char c) { *m_out++ = c; }
    void ascii(const char *begin, const char *end) { m_out = std::copy(begin, end, m_out); }
    void lineBreak()
    {
        if (m_crlf)
            *m_out++ = '\r';
        *m_out++ = '\n';
    }
    // False for a lone surrogate, which UTF-8 cannot carry. A text that reads back as
    // it stands is copied as it is kept; the rare one that must be cleaned first is
    // cleaned in UTF-16 and encoded again.
    bool text(const Subtitle &subtitle)
    {
        const auto bytes = subtitle.utf8();
        if (!bytes)
            return false;
        if (readsBackAsWritten(*bytes))
            lines(*bytes);
        else
            lines(SubtitleParser::textAsWritten(subtitle.text()).toUtf8());
        return true;
    }
    QByteArrayView written() const { return QByteArrayView(m_buffer.constData(), m_out - m_buffer.constData()); }

private:
    // Line feeds become the file's line breaks.
    void lines(QByteArrayView text)
    {
        if (!m_crlf) {
            m_out = std::copy(text.begin(), text.end(), m_out);
            return;
        }
        const char *p = text.data();
        const char *const end = p + text.size();
        while (const char *lineFeed = static_cast<const char *>(std::memchr(p, '\n', end - p))) {
            m_out = std::copy(p, lineFeed, m_out);
            lineBreak();
            p = lineFeed + 1;
        }
        m_out = std::copy(p, end, m_out);
    }

    QByteArray m_buffer;
    char *m_out = nullptr;
    bool m_crlf;
    bool m_byteOrderMark;
};

template <typename Output>
void writeNumber(Output &out, qint64 number)
{
    char buffer[24];
    char *end = buffer + 24;
    char *p = end;
    do {
        *--p = char('0' + number % 10);
        number /= 10;
    } while (number > 0);
    out.ascii(p, end);
}

} // namespace

QString SubtitleParser::formatTime(double seconds) const
{
    char buffer[maximumTimeLength];
    return QString::fromLatin1(buffer, writeTime(buffer, seconds) - buffer);
}

// Writes the time at `out` and returns the end of what it wrote (12 characters, more
// past 99 hours).
char *SubtitleParser::writeTime(char *out, double seconds)
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

    char buffer[maximumTimeLength];
    char *end = buffer + maximumTimeLength;
    char *p = end;
    auto put = [&p](qint64 value, int width) {
        for (int i = 0; i < width || (width == 0 && value > 0); ++i) {
            *--p = char('0' + value % 10);
            value /= 10;
        }
    };
    put(ms % 1000, 3);
    *--p = ',';
    put(ms / 1000 % 60, 2);
    *--p = ':';
    put(ms / 60000 % 60, 2);
    *--p = ':';
    const qint64 hours = ms / 3600000;
    put(hours % 100, 2);
    if (hours >= 100)
        put(hours / 100, 0);
    return std::copy(p, end, out);
}

QString SubtitleParser::textAsWritten(const QString &text)
{
    if (readsBackAsWritten(QStringView(text)))
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
        if (beginsSubtitle(QStringView(lines[i]), LineReader(rest)))
            lines[i].prepend(u' ');
    }
    return lines.join(u'\n');
}

template <typename Output>
bool SubtitleParser::write(const SubtitleList &subtitles, qsizetype from, qsizetype to, Output &out)
{
    // Written straight into a buffer of the largest size the blocks can take, then cut
    // to what was written: one allocation and no per-piece bookkeeping.
    constexpr qsizetype fixedPerBlock = 20 + 2 * maximumTimeLength + timeSeparatorLength;
    constexpr qsizetype lineBreaksPerBlock = 4;
    qsizetype bound = 0;
    for (qsizetype i = from; i < to; ++i)
        bound += out.bound(*subtitles[i], lineBreaksPerBlock) + fixedPerBlock;
    out.reserve(bound);

    static constexpr char separator[] = " --> ";
    char time[maximumTimeLength];
    for (qsizetype i = from; i < to; ++i) {
        const Subtitle &subtitle = *subtitles[i];
        writeNumber(out, i + 1);
        out.lineBreak();
        out.ascii(time, writeTime(time, subtitle.start));
        out.ascii(separator, separator + timeSeparatorLength);
        // an end before the start would not read back
        out.ascii(time, writeTime(time, std::max(subtitle.start, subtitle.end)));
        out.lineBreak();
        if (!out.text(subtitle))
            return false;
        out.lineBreak();
        out.lineBreak();
    }
    return true;
}

QString SubtitleParser::serialize(const SubtitleList &subtitles) const
{
    Utf16Output out;
    write(subtitles, 0, subtitles.size(), out);
    return out.take();
}

std::optional<QByteArray> SubtitleParser::serializeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark) const
{
    QByteArray bytes;
    if (!writeUtf8(subtitles, crlf, byteOrderMark, [&bytes](QByteArrayView part) {
            bytes.append(part);
            return true;
        }))
        return std::nullopt;
    return bytes;
}

bool SubtitleParser::writeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark,
                               const std::function<bool(QByteArrayView)> &sink) const
{
    // Parts of a few megabytes, two at a time: one written on a second thread while this
    // one writes the other and then hands it on. The two buffers are used again and
    // again, so a large file needs no fresh memory the size of the file.
    constexpr qsizetype partSize = 32768;
    const qsizetype count = subtitles.size();
    Utf8Output even(crlf, byteOrderMark);
    Utf8Output odd(crlf, false);
    const auto end = [count](qsizetype from) { return std::min(count, from + partSize); };
    for (qsizetype from = 0; from < count || (from == 0 && byteOrderMark); from += 2 * partSize) {
        const qsizetype next = end(from);
        bool oddWritten = true;
        std::thread oddPart;
        if (next < count)
            oddPart = std::thread([&] { oddWritten = write(subtitles, next, end(next), odd); });
        const bool evenHandedOn = write(subtitles, from, next, even) && sink(even.written());
        if (oddPart.joinable())
            oddPart.join();
        if (!evenHandedOn || !oddWritten || (next < count && !sink(odd.written())))
            return false;
    }
    return true;
}
