#include "format/TolerantSubtitleReader.h"

#include "format/LineReader.h"
#include "format/SubtitleParser.h"

#include <algorithm>
#include <optional>

namespace {

using Repair = TolerantSubtitleReader::Repair;

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

// One time as people write it: hours, minutes and seconds of one or more digits, then
// optionally milliseconds of up to three digits after a comma, period or colon. Spaces
// around a separator are passed over. Reads from `position` on and leaves it after the time.
struct TimeReading
{
    double seconds = 0;
    bool shortMilliseconds = false;
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

    int fields[4] = {0, 0, 0, 0};
    int digits = 0;
    if (!readDigits(fields[0], digits))
        return std::nullopt;
    for (int i = 1; i < 3; ++i) {
        skipSpaces();
        if (position == text.size() || text[position] != u':')
            return std::nullopt;
        ++position;
        skipSpaces();
        if (!readDigits(fields[i], digits))
            return std::nullopt;
    }
    // Milliseconds, when a comma, period or colon follows; none count as zero.
    TimeReading reading;
    const qsizetype beforeMilliseconds = position;
    skipSpaces();
    if (position < text.size() && (text[position] == u',' || text[position] == u'.' || text[position] == u':')) {
        ++position;
        skipSpaces();
        if (readDigits(fields[3], digits)) {
            if (digits > 3)
                return std::nullopt;
            reading.shortMilliseconds = digits < 3;
        }
    } else {
        position = beforeMilliseconds;
    }
    if (fields[1] > 59 || fields[2] > 59)
        return std::nullopt;
    reading.seconds = double(fields[0]) * 3600 + fields[1] * 60 + fields[2] + fields[3] / 1000.0;
    return reading;
}

// A timing line as people write it, with what had to be read generously.
struct TimingReading
{
    double start = 0;
    double end = 0;
    bool canonical = true;       // exactly "HH:mm:ss,SSS --> HH:mm:ss,SSS"
    bool shortMilliseconds = false;
    QString trailing;            // what follows the end time (display coordinates)
    QStringView written;         // the two times and the arrow as the line has them
};

std::optional<TimingReading> readTiming(QStringView line)
{
    TimingReading reading;
    const SubtitleParser &parser = SubtitleParser::shared();
    const qsizetype arrow = line.indexOf(u"-->");
    if (arrow < 0)
        return std::nullopt;

    const QStringView left = line.first(arrow).trimmed();
    qsizetype position = 0;
    const auto start = readTime(left, position);
    if (!start || position != left.size())
        return std::nullopt;

    const QStringView right = line.sliced(arrow + 3);
    position = 0;
    while (position < right.size() && right[position].isSpace())
        ++position;
    const auto end = readTime(right, position);
    if (!end)
        return std::nullopt;
    if (position < right.size() && !right[position].isSpace())
        return std::nullopt;
    reading.trailing = right.sliced(position).trimmed().toString();
    reading.written = line.first(arrow + 3 + position).trimmed();
    reading.start = start->seconds;
    reading.end = end->seconds;
    reading.shortMilliseconds = start->shortMilliseconds || end->shortMilliseconds;
    // Spaces at the end count against it too, unless coordinates follow.
    const QStringView timingPart = reading.trailing.isEmpty() ? line : line.first(arrow + 3 + position);
    reading.canonical = timingPart == parser.formatTime(reading.start) + QStringLiteral(" --> ") + parser.formatTime(reading.end);
    return reading;
}

QString quoted(QStringView text)
{
    constexpr qsizetype limit = 60;
    return text.size() > limit ? text.first(limit).toString() + QChar(0x2026) : text.toString();
}

class Reader
{
public:
    explicit Reader(QStringView text)
    {
        LineReader lineReader(text);
        QStringView line;
        while (lineReader.next(line))
            m_lines.append(line);
    }

    Expected<TolerantSubtitleReader::Result, QString> read();

private:
    // Whether a subtitle begins at line `i`: a number over a timing line, or a timing line.
    bool startsSubtitle(qsizetype i) const
    {
        if (i >= m_lines.size())
            return false;
        if (readTiming(m_lines[i]))
            return true;
        return readNumber(m_lines[i]) && i + 1 < m_lines.size() && readTiming(m_lines[i + 1]);
    }
    qsizetype skipBlank(qsizetype i) const
    {
        while (i < m_lines.size() && isBlank(m_lines[i]))
            ++i;
        return i;
    }
    void note(qsizetype lineIndex, const QString &description) { m_repairs.append({lineIndex + 1, description}); }
    // Reads the text of subtitle `number` from line `i` on; returns the line after it.
    qsizetype readText(qsizetype i, qint64 number, QStringList &lines);

    QList<QStringView> m_lines;
    QList<Repair> m_repairs;
};

qsizetype Reader::readText(qsizetype i, qint64 number, QStringList &lines)
{
    using T = TolerantSubtitleReader;
    const qsizetype firstLine = i;
    while (i < m_lines.size()) {
        const QStringView line = m_lines[i];
        if (isBlank(line)) {
            const qsizetype next = skipBlank(i);
            // A number alone after a blank line is meant as the next subtitle's, even
            // when its timing line is missing (which the main loop then refuses).
            if (next == m_lines.size() || startsSubtitle(next) || readNumber(m_lines[next])) {
                if (i == firstLine && next < m_lines.size())
                    note(i, T::tr("Subtitle %1 has no text: the blank line ends it, and the next subtitle starts after it.").arg(number));
                else if (!line.isEmpty())
                    note(i, T::tr("Took the line of spaces for the blank line that ends subtitle %1.").arg(number));
                const qsizetype extra = next - i - 1;
                if (extra > 0 && next < m_lines.size())
                    note(i + 1, extra == 1 ? T::tr("Skipped 1 extra blank line.") : T::tr("Skipped %1 extra blank lines.").arg(extra));
                else if (extra > 0)
                    note(i + 1, extra == 1 ? T::tr("Skipped 1 blank line at the end.") : T::tr("Skipped %1 blank lines at the end.").arg(extra));
                return next;
            }
            note(i, next - i == 1 ? T::tr("Left out 1 blank line inside the text of subtitle %1.").arg(number)
                                  : T::tr("Left out %1 blank lines inside the text of subtitle %2.").arg(next - i).arg(number));
            i = next;
            continue;
        }
        if (startsSubtitle(i)) {
            note(i, T::tr("No blank line before this subtitle: started a new one here."));
            return i;
        }
        lines.append(line.toString());
        ++i;
    }
    return i;
}

Expected<TolerantSubtitleReader::Result, QString> Reader::read()
{
    using T = TolerantSubtitleReader;
    const SubtitleParser &parser = SubtitleParser::shared();
    SubtitleList subtitles;
    qint64 expectedNumber = 1;
    qint64 count = 0;

    qsizetype i = skipBlank(0);
    if (i > 0)
        note(0, i == 1 ? T::tr("Skipped 1 blank line at the start.") : T::tr("Skipped %1 blank lines at the start.").arg(i));
    while (i < m_lines.size()) {
        const QStringView line = m_lines[i];
        const std::optional<qint64> number = readNumber(line);
        std::optional<TimingReading> timing;
        qsizetype timingLine = i;
        if (number && i + 1 < m_lines.size() && (timing = readTiming(m_lines[i + 1]))) {
            timingLine = i + 1;
        } else if ((timing = readTiming(line))) {
            note(i, T::tr("Subtitle %1 has no number.").arg(count + 1));
        } else if (number && i + 1 < m_lines.size()) {
            return T::tr("Line %1: “%2” is not the timing line of the subtitle numbered %3.")
                .arg(i + 2)
                .arg(quoted(m_lines[i + 1]))
                .arg(*number);
        } else if (number) {
            return T::tr("Line %1: the text ends after the subtitle number %2.").arg(i + 1).arg(*number);
        } else {
            return T::tr("Line %1 is not SRT: “%2” is neither a subtitle number nor a timing line.")
                .arg(i + 1)
                .arg(quoted(line));
        }
        ++count;
        if (number) {
            if (*number != expectedNumber)
                note(i, T::tr("Subtitle numbered %1 where %2 was expected: numbered in order.").arg(*number).arg(expectedNumber));
            else if (line.trimmed().size() != line.size())
                note(i, T::tr("Read the number “%1” as %2.").arg(line).arg(*number));
            expectedNumber = *number + 1;
        } else {
            ++expectedNumber;
        }

        if (!timing->canonical || !timing->trailing.isEmpty()) {
            QString description;
            if (!timing->canonical)
                description = T::tr("Read the timing “%1” as %2 --> %3.")
                                  .arg(quoted(timing->written), parser.formatTime(timing->start),
                                       parser.formatTime(timing->end));
            if (!timing->trailing.isEmpty())
                description += (description.isEmpty() ? QString() : QStringLiteral(" ")) + T::tr("Left out “%1” after the end time.").arg(quoted(timing->trailing));
            if (timing->shortMilliseconds)
                description += u' ' + T::tr("A millisecond field of fewer than three digits counts whole milliseconds (“5” is 5 ms), as players read it.");
            note(timingLine, description);
        }
        if (timing->end < timing->start) {
            note(timingLine, T::tr("The end %1 of subtitle %2 is before its start %3: set the end to the start.")
                                 .arg(parser.formatTime(timing->end))
                                 .arg(count)
                                 .arg(parser.formatTime(timing->start)));
            timing->end = timing->start;
        }

        QStringList text;
        if (timingLine + 1 == m_lines.size())
            note(timingLine, T::tr("The text ends after the timing of subtitle %1: it has no text.").arg(count));
        i = readText(timingLine + 1, count, text);
        subtitles.append(Subtitle::create(text.join(u'\n'), timing->start, timing->end));
    }

    if (!std::is_sorted(subtitles.cbegin(), subtitles.cend(), [](const SubtitlePtr &a, const SubtitlePtr &b) { return *a < *b; }))
        sortSubtitles(subtitles);
    std::stable_sort(m_repairs.begin(), m_repairs.end(), [](const Repair &a, const Repair &b) { return a.line < b.line; });
    return TolerantSubtitleReader::Result{std::move(subtitles), std::move(m_repairs)};
}

} // namespace

Expected<TolerantSubtitleReader::Result, QString> TolerantSubtitleReader::read(QStringView text)
{
    auto strict = SubtitleParser::shared().parse(text);
    if (strict)
        return Result{std::move(strict).value(), {}};
    return Reader(text).read();
}
