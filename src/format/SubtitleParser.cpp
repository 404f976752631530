#include "format/SubtitleParser.h"

#include "format/LineReader.h"
#include "format/SrtSyntax.h"
#include "format/SubtitleWriter.h"
#include "system/ParallelHalves.h"

#include <limits>
#include <thread>

namespace {

using namespace SrtSyntax;

enum class ParseState { ExpectingIndex, ExpectingTimes, ExpectingFirstTextLine, ReadingText };

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
    SubtitleParser::Parts first;
    bool firstRead = false;
    ParallelHalves::run(
        [&] {
            ParseState endState;
            firstRead = parseLines(text.first(cut->first), endState, first).hasValue()
                && endState == ParseState::ExpectingIndex && first.lastIndex == cut->second - 1;
        },
        [&] {
            ParseState endState;
            secondRead = parseLines(text.sliced(cut->first), endState, second).hasValue();
        });
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

QString SubtitleParser::formatTime(double seconds) const
{
    return SubtitleWriter::formatTime(seconds);
}

QString SubtitleParser::textAsWritten(const QString &text)
{
    return SubtitleWriter::textAsWritten(text);
}

QString SubtitleParser::serialize(const SubtitleList &subtitles) const
{
    return SubtitleWriter::serialize(subtitles);
}

std::optional<QByteArray> SubtitleParser::serializeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark) const
{
    return SubtitleWriter::serializeUtf8(subtitles, crlf, byteOrderMark);
}

bool SubtitleParser::writeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark,
                               const std::function<bool(QByteArrayView)> &sink) const
{
    return SubtitleWriter::writeUtf8(subtitles, crlf, byteOrderMark, sink);
}
