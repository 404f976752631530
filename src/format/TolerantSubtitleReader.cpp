#include "format/TolerantSubtitleReader.h"

#include "format/FormatRepairs.h"
#include "format/LineReader.h"
#include "format/ParseError.h"
#include "format/SubtitleParser.h"

#include <algorithm>
#include <optional>
#include <type_traits>

namespace {

using T = TolerantSubtitleReader;

// Lines of text a subtitle may take in past blank lines inside it. Real subtitles have
// two or three lines; more than this is text that is not SRT (or not in this encoding)
// being swallowed whole.
constexpr int maximumAbsorbedLines = 4;

bool isBlank(QStringView line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c.isSpace() || c == QChar(0xFEFF); });
}

// A subtitle number, spaces around it allowed: an optional sign, then ASCII digits only.
std::optional<qint64> readNumber(QStringView line)
{
    QStringView digits = line.trimmed();
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+'))
        digits = digits.sliced(1);
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    qint64 number = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c.unicode() - u'0');
    }
    return negative ? -number : number;
}

// One time as people write it: hours (which may be left out), minutes and seconds of one
// or more digits, then optionally milliseconds of up to three digits after a comma,
// period or colon. Spaces around a separator are passed over. Reads from `position` on
// and leaves it after the time.
struct TimeReading
{
    double seconds = 0;
    bool shortMilliseconds = false;
    bool withoutHours = false;
};

std::optional<TimeReading> readTime(QStringView text, qsizetype &position)
{
    const auto skipSpaces = [&] {
        while (position < text.size() && text[position] == u' ')
            ++position;
    };
    const auto readDigits = [&](int &value, int &count) {
        value = 0;
        count = 0;
        while (position < text.size() && text[position] >= u'0' && text[position] <= u'9' && count < 7) {
            value = value * 10 + (text[position].unicode() - u'0');
            ++position;
            ++count;
        }
        return count > 0;
    };

    int fields[3] = {0, 0, 0};
    int fieldCount = 1;
    int digits = 0;
    if (!readDigits(fields[0], digits))
        return std::nullopt;
    while (fieldCount < 3) {
        const qsizetype beforeColon = position;
        skipSpaces();
        if (position == text.size() || text[position] != u':') {
            position = beforeColon;
            break;
        }
        ++position;
        skipSpaces();
        if (!readDigits(fields[fieldCount], digits))
            return std::nullopt;
        ++fieldCount;
    }
    if (fieldCount < 2)
        return std::nullopt;
    TimeReading reading;
    reading.withoutHours = fieldCount == 2;
    const int hours = reading.withoutHours ? 0 : fields[0];
    const int minutes = reading.withoutHours ? fields[0] : fields[1];
    const int seconds = fields[fieldCount - 1];
    // Without hours the minutes may run past an hour; with them, a minute past 59 is a typo.
    if ((!reading.withoutHours && minutes > 59) || seconds > 59)
        return std::nullopt;

    // Milliseconds, when a comma, period or colon follows; none count as zero.
    int milliseconds = 0;
    const qsizetype beforeMilliseconds = position;
    skipSpaces();
    if (position < text.size() && (text[position] == u',' || text[position] == u'.' || text[position] == u':')) {
        ++position;
        skipSpaces();
        if (readDigits(milliseconds, digits)) {
            if (digits > 3)
                return std::nullopt;
            reading.shortMilliseconds = digits < 3;
        }
    } else {
        position = beforeMilliseconds;
    }
    reading.seconds = double(hours) * 3600 + double(minutes) * 60 + seconds + milliseconds / 1000.0;
    return reading;
}

// The arrow between the times as people write it: "-->", "->", "- >": one or two
// hyphens, then ">", spaces between them allowed. From its first hyphen to after the ">".
std::optional<std::pair<qsizetype, qsizetype>> findArrow(QStringView line)
{
    for (qsizetype head = line.indexOf(u'>'); head >= 0; head = line.indexOf(u'>', head + 1)) {
        qsizetype begin = head;
        int hyphens = 0;
        while (begin > 0 && (line[begin - 1] == u'-' || line[begin - 1] == u' ')) {
            --begin;
            hyphens += line[begin] == u'-';
        }
        while (begin < head && line[begin] == u' ')
            ++begin;
        if (hyphens >= 1 && hyphens <= 2)
            return std::pair{begin, head + 1};
    }
    return std::nullopt;
}

// A timing line as people write it, with what had to be read generously.
struct TimingReading
{
    double start = 0;
    double end = 0;
    bool written = true;   // the times and the arrow exactly "HH:mm:ss,SSS --> HH:mm:ss,SSS"
    bool shortMilliseconds = false;
    bool withoutHours = false;
    QStringView spacesBefore;
    QStringView spacesAfter; // after the end time, when nothing else follows
    QStringView trailing;    // what follows the end time (display coordinates)
};

std::optional<TimingReading> readTiming(QStringView line)
{
    const auto arrow = findArrow(line);
    if (!arrow)
        return std::nullopt;

    TimingReading reading;
    const QStringView left = line.first(arrow->first).trimmed();
    qsizetype position = 0;
    const auto start = readTime(left, position);
    if (!start || position != left.size())
        return std::nullopt;

    const QStringView right = line.sliced(arrow->second);
    position = 0;
    while (position < right.size() && right[position].isSpace())
        ++position;
    const auto end = readTime(right, position);
    if (!end)
        return std::nullopt;
    if (position < right.size() && !right[position].isSpace())
        return std::nullopt;

    const qsizetype timingBegins = left.isEmpty() ? 0 : left.data() - line.data();
    const qsizetype timingEnds = arrow->second + position;
    reading.spacesBefore = line.first(timingBegins);
    reading.trailing = line.sliced(timingEnds).trimmed();
    if (reading.trailing.isEmpty())
        reading.spacesAfter = line.sliced(timingEnds);
    reading.start = start->seconds;
    reading.end = end->seconds;
    reading.shortMilliseconds = start->shortMilliseconds || end->shortMilliseconds;
    reading.withoutHours = start->withoutHours || end->withoutHours;
    const SubtitleParser &parser = SubtitleParser::shared();
    reading.written = line.sliced(timingBegins, timingEnds - timingBegins)
        == parser.formatTime(reading.start) + QStringLiteral(" --> ") + parser.formatTime(reading.end);
    return reading;
}

// "Removed 2 spaces after the timing."
QString removedSpaces(QStringView spaces, bool before)
{
    const bool onlySpaces = std::all_of(spaces.begin(), spaces.end(), [](QChar c) { return c == u' '; });
    if (!onlySpaces)
        return before ? TolerantSubtitleReader::tr("Removed the blank characters before the timing.") : TolerantSubtitleReader::tr("Removed the blank characters after the timing.");
    if (spaces.size() == 1)
        return before ? TolerantSubtitleReader::tr("Removed a space before the timing.") : TolerantSubtitleReader::tr("Removed a space after the timing.");
    return (before ? TolerantSubtitleReader::tr("Removed %1 spaces before the timing.") : TolerantSubtitleReader::tr("Removed %1 spaces after the timing.")).arg(spaces.size());
}

// What reading a timing line generously changed, or nothing when it needed no repair.
QString timingChanges(const TimingReading &timing)
{
    const SubtitleParser &parser = SubtitleParser::shared();
    QStringList changes;
    if (!timing.written)
        changes << TolerantSubtitleReader::tr("Read the timing as %1 --> %2.").arg(parser.formatTime(timing.start), parser.formatTime(timing.end));
    if (timing.withoutHours)
        changes << TolerantSubtitleReader::tr("A time without hours is minutes and seconds.");
    if (timing.shortMilliseconds)
        changes << TolerantSubtitleReader::tr("A millisecond field of fewer than three digits counts whole milliseconds (“5” is 5 ms), as players read it.");
    if (!timing.spacesBefore.isEmpty())
        changes << removedSpaces(timing.spacesBefore, true);
    if (!timing.spacesAfter.isEmpty())
        changes << removedSpaces(timing.spacesAfter, false);
    if (!timing.trailing.isEmpty())
        changes << TolerantSubtitleReader::tr("Left out “%1” after the end time.").arg(ParseError::quotedLine(timing.trailing));
    return changes.join(u' ');
}

// The lines of the text one after the other, with a look at the line after the current
// one: the text is never split into a list of lines, which for a file of blank lines
// would take many times the file's size. UTF-8 text is decoded a line at a time, so that
// the file is never whole in UTF-16 either; a view of a line then lasts only until the
// walk moves past the line after it.
template <typename View>
class Lines
{
public:
    explicit Lines(View text)
        : m_reader(text)
    {
        m_hasCurrent = next(m_current);
        m_hasFollowing = m_hasCurrent && next(m_following);
    }

    bool atEnd() const { return !m_hasCurrent; }
    qsizetype index() const { return m_index; }
    QStringView current() const { return m_current; }
    std::optional<QStringView> following() const
    {
        return m_hasFollowing ? std::optional(QStringView(m_following)) : std::nullopt;
    }
    void advance()
    {
        ++m_index;
        m_hasCurrent = m_hasFollowing;
        m_current = std::move(m_following); // keeps its characters where views of it point
        m_hasFollowing = m_hasFollowing && next(m_following);
    }

private:
    static constexpr bool utf8 = std::is_same_v<View, QByteArrayView>;
    using Line = std::conditional_t<utf8, QString, QStringView>;

    bool next(Line &line)
    {
        View raw;
        if (!m_reader.next(raw))
            return false;
        if constexpr (utf8)
            line = QString::fromUtf8(raw);
        else
            line = raw;
        return true;
    }

    BasicLineReader<View> m_reader;
    Line m_current;
    Line m_following;
    bool m_hasCurrent = false;
    bool m_hasFollowing = false;
    qsizetype m_index = 0;
};

template <typename View>
class Reader
{
public:
    explicit Reader(View text)
        : m_lines(text)
    {
    }

    Expected<T::Result, QString> read();

private:
    // Whether a subtitle begins at the current line: a number over a timing line, or a timing line.
    bool startsSubtitle() const
    {
        if (m_lines.atEnd())
            return false;
        if (readTiming(m_lines.current()))
            return true;
        const auto following = m_lines.following();
        return following && readNumber(m_lines.current()) && readTiming(*following);
    }
    // Skips blank lines; returns how many.
    qsizetype skipBlank()
    {
        qsizetype skipped = 0;
        for (; !m_lines.atEnd() && isBlank(m_lines.current()); m_lines.advance())
            ++skipped;
        return skipped;
    }
    void note(qsizetype line, QStringView lineText, const QString &description)
    {
        Q_ASSERT(m_repairs.listed().isEmpty() || m_repairs.listed().last().line <= line); // kept in line order
        m_repairs.note(line, lineText, description);
    }
    // Reads the text of subtitle `number` up to the line after it.
    Expected<void, QString> readText(qint64 number, QStringList &text);

    Lines<View> m_lines;
    FormatRepairs m_repairs;
};

template <typename View>
Expected<void, QString> Reader<View>::readText(qint64 number, QStringList &text)
{
    const qsizetype firstLine = m_lines.index();
    int absorbed = -1; // lines taken in past a blank line, once there was one
    qsizetype firstAbsorbed = 0;
    QString firstAbsorbedText;
    while (!m_lines.atEnd()) {
        const QStringView line = m_lines.current();
        if (isBlank(line)) {
            const qsizetype blankLine = m_lines.index();
            const QString blank = line.toString();
            m_lines.advance();
            const QString secondBlank = !m_lines.atEnd() && isBlank(m_lines.current()) ? m_lines.current().toString() : QString();
            const qsizetype extra = skipBlank();
            // A number alone after a blank line is meant as the next subtitle's, even
            // when its timing line is missing (which the main loop then sees to).
            if (m_lines.atEnd() || startsSubtitle() || readNumber(m_lines.current())) {
                if (blankLine == firstLine && !m_lines.atEnd())
                    note(blankLine, blank, TolerantSubtitleReader::tr("Subtitle %1 has no text: the blank line ends it, and the next subtitle starts after it.").arg(number));
                else if (!blank.isEmpty())
                    note(blankLine, blank, TolerantSubtitleReader::tr("Took the line of spaces for the blank line that ends subtitle %1.").arg(number));
                if (extra > 0 && !m_lines.atEnd())
                    note(blankLine + 1, secondBlank, extra == 1 ? TolerantSubtitleReader::tr("Skipped 1 extra blank line.") : TolerantSubtitleReader::tr("Skipped %1 extra blank lines.").arg(extra));
                else if (extra > 0)
                    note(blankLine + 1, secondBlank, extra == 1 ? TolerantSubtitleReader::tr("Skipped 1 blank line at the end.") : TolerantSubtitleReader::tr("Skipped %1 blank lines at the end.").arg(extra));
                return {};
            }
            note(blankLine, blank, extra == 0 ? TolerantSubtitleReader::tr("Left out 1 blank line inside the text of subtitle %1.").arg(number)
                                             : TolerantSubtitleReader::tr("Left out %1 blank lines inside the text of subtitle %2.").arg(extra + 1).arg(number));
            if (absorbed < 0) {
                absorbed = 0;
                firstAbsorbed = m_lines.index();
                firstAbsorbedText = ParseError::quotedLine(m_lines.current());
            }
            continue;
        }
        if (startsSubtitle()) {
            note(m_lines.index(), line, TolerantSubtitleReader::tr("No blank line before this subtitle: started a new one here."));
            return {};
        }
        if (line.contains(QChar(0)))
            return TolerantSubtitleReader::tr("Line %1 holds a NUL character (“%2”): the text is not SRT from here on, or not in this encoding.")
                .arg(QString::number(m_lines.index()), ParseError::quotedLine(line));
        if (absorbed >= 0 && ++absorbed > maximumAbsorbedLines)
            return TolerantSubtitleReader::tr("Line %1 is not SRT: “%2” and the lines after it follow the blank line that ends subtitle %3, but begin no subtitle.")
                .arg(QString::number(firstAbsorbed), firstAbsorbedText, QString::number(number));
        text.append(line.toString());
        m_lines.advance();
    }
    return {};
}

template <typename View>
Expected<T::Result, QString> Reader<View>::read()
{
    const SubtitleParser &parser = SubtitleParser::shared();
    SubtitleList subtitles;
    qint64 expectedNumber = 1;
    qint64 count = 0;

    const QString firstLine = m_lines.atEnd() ? QString() : m_lines.current().toString();
    if (const qsizetype skipped = skipBlank(); skipped > 0)
        note(0, firstLine, skipped == 1 ? TolerantSubtitleReader::tr("Skipped 1 blank line at the start.") : TolerantSubtitleReader::tr("Skipped %1 blank lines at the start.").arg(skipped));
    while (!m_lines.atEnd()) {
        const QStringView line = m_lines.current();
        const qsizetype lineIndex = m_lines.index();
        const std::optional<qint64> number = readNumber(line);
        const std::optional<QStringView> following = m_lines.following();
        std::optional<TimingReading> timing;
        if (number && following && (timing = readTiming(*following))) {
            if (*number != expectedNumber)
                note(lineIndex, line, TolerantSubtitleReader::tr("Subtitle numbered %1 where %2 was expected: numbered in order.").arg(*number).arg(expectedNumber));
            else if (line.trimmed().size() != line.size())
                note(lineIndex, line, TolerantSubtitleReader::tr("Removed the spaces around the number %1.").arg(*number));
            expectedNumber = *number + 1;
            m_lines.advance();
        } else if ((timing = readTiming(line))) {
            note(lineIndex, line, TolerantSubtitleReader::tr("Subtitle %1 has no number.").arg(count + 1));
            ++expectedNumber;
        } else if (number) {
            // A number with nothing but blank lines after it: a subtitle that was never written.
            const QString numberLine = line.toString();
            const QString notTiming = following ? ParseError::quotedLine(*following) : QString();
            m_lines.advance();
            skipBlank();
            if (m_lines.atEnd()) {
                note(lineIndex, numberLine, TolerantSubtitleReader::tr("The text ends after the number %1, with no timing or text: left it out.").arg(*number));
                break;
            }
            return TolerantSubtitleReader::tr("Line %1: “%2” is not the timing line of the subtitle numbered %3.")
                .arg(QString::number(lineIndex + 1), notTiming, QString::number(*number));
        } else {
            return TolerantSubtitleReader::tr("Line %1 is not SRT: “%2” is neither a subtitle number nor a timing line.")
                .arg(QString::number(lineIndex), ParseError::quotedLine(line));
        }
        ++count;

        const qsizetype timingLine = m_lines.index();
        const QStringView timingText = m_lines.current();
        if (const QString changes = timingChanges(*timing); !changes.isEmpty())
            note(timingLine, timingText, changes);
        if (timing->end < timing->start) {
            note(timingLine, timingText, TolerantSubtitleReader::tr("The end %1 of subtitle %2 is before its start %3: set the end to the start.")
                                             .arg(parser.formatTime(timing->end))
                                             .arg(count)
                                             .arg(parser.formatTime(timing->start)));
            timing->end = timing->start;
        }
        if (!m_lines.following())
            note(timingLine, timingText, TolerantSubtitleReader::tr("The text ends after the timing of subtitle %1: it has no text.").arg(count));

        m_lines.advance();
        QStringList text;
        if (const auto read = readText(count, text); !read)
            return read.error();
        subtitles.append(Subtitle::create(text.join(u'\n'), timing->start, timing->end));
    }

    if (auto refusal = FormatRepairs::refusalOfNothing(SubtitleFormat::Srt, subtitles.size(), m_repairs.listed()))
        return *refusal;
    if (!std::is_sorted(subtitles.cbegin(), subtitles.cend(), [](const SubtitlePtr &a, const SubtitlePtr &b) { return *a < *b; }))
        sortSubtitles(subtitles);
    const qsizetype unlisted = m_repairs.unlisted();
    return T::Result{std::move(subtitles), m_repairs.takeListed(), unlisted};
}

} // namespace

Expected<TolerantSubtitleReader::Result, QString> TolerantSubtitleReader::read(QStringView text)
{
    auto strict = SubtitleParser::shared().parse(text);
    if (strict)
        return Result{std::move(strict).value(), {}};
    return Reader<QStringView>(text).read();
}

Expected<TolerantSubtitleReader::Result, QString> TolerantSubtitleReader::readUtf8(QByteArrayView text)
{
    auto strict = SubtitleParser::shared().parseUtf8(text);
    if (strict)
        return Result{std::move(strict).value(), {}};
    return Reader<QByteArrayView>(text).read();
}

QString TolerantSubtitleReader::describe(const Repair &repair)
{
    if (repair.lineText.isEmpty())
        return tr("Line %1 (empty): %2").arg(QString::number(repair.line), repair.description);
    return tr("Line %1 “%2”: %3").arg(QString::number(repair.line), repair.lineText, repair.description);
}

QString TolerantSubtitleReader::describeUnlisted(qsizetype count)
{
    return count == 1 ? tr("…and 1 more repair, not listed.") : tr("…and %1 more repairs, not listed.").arg(count);
}
