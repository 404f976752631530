#include "format/BracketTimedLines.h"

#include "format/LineReader.h"

namespace {

// "{123}" at `position`: the number, or none for "{}"; false when it is not there.
bool readBracket(QStringView line, qsizetype &position, QChar open, QChar close, std::optional<qint64> &number)
{
    if (position >= line.size() || line[position] != open)
        return false;
    qsizetype i = position + 1;
    qint64 value = 0;
    qsizetype digits = 0;
    while (i < line.size() && line[i].isDigit() && line[i].unicode() < 128) {
        if (++digits > 15) // past any time a film has: refused rather than overflowing
            return false;
        value = value * 10 + (line[i].unicode() - u'0');
        ++i;
    }
    if (i >= line.size() || line[i] != close)
        return false;
    number = digits > 0 ? std::optional<qint64>(value) : std::nullopt;
    position = i + 1;
    return true;
}

} // namespace

Expected<QList<BracketTimedLines::Line>, QString> BracketTimedLines::read(QStringView text, QChar open, QChar close,
                                                                          const QString &formatName, bool repairing,
                                                                          FormatRepairs &repairs)
{
    QList<Line> lines;
    LineReader reader(text);
    QStringView whole;
    for (qsizetype number = 1; reader.next(whole); ++number) {
        const QStringView line = FormatRepairs::contentOf(whole, number);
        if (line.isEmpty())
            continue;
        qsizetype position = 0;
        std::optional<qint64> start;
        std::optional<qint64> end;
        if (readBracket(line, position, open, close, start) && start && readBracket(line, position, open, close, end)) {
            lines.append({number, whole, *start, end, line.sliced(position)});
            continue;
        }
        const QString reason = tr("Line %1 is not a %2 subtitle: it should begin with its start and end, as in “%3”.")
                                   .arg(number)
                                   .arg(formatName, open + QStringLiteral("100") + close + open + QStringLiteral("150") + close);
        if (!repairing)
            return FormatRepairs::fault(number, whole, reason);
        repairs.note(number, whole, tr("Left out a line that is not a subtitle."));
    }
    return lines;
}

Expected<FormatReading, QString> BracketTimedLines::subtitles(const QList<Line> &lines, double secondsPerCount,
                                                             const std::function<QString(QStringView)> &convert,
                                                             bool repairing, FormatRepairs &repairs)
{
    SubtitleList subtitles;
    subtitles.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line &line = lines[i];
        const double start = line.start * secondsPerCount;
        double end = line.end.value_or(0) * secondsPerCount;
        if (start > FormatRepairs::latestTime || end > FormatRepairs::latestTime)
            return FormatRepairs::fault(line.number, line.whole, tr("Line %1 has a time past the largest the program can hold.").arg(line.number));
        if (!line.end) {
            if (!repairing)
                return FormatRepairs::fault(line.number, line.whole, tr("Line %1 has no end.").arg(line.number));
            const bool last = i + 1 == lines.size();
            end = last ? start + 2 : std::max(start, lines[i + 1].start * secondsPerCount);
            repairs.note(line.number, line.whole, last ? tr("The last subtitle has no end: made it two seconds long.")
                                                       : tr("The subtitle has no end: it lasts until the next one starts."));
        } else if (end < start) {
            if (!repairing)
                return FormatRepairs::fault(line.number, line.whole, tr("Line %1 ends before it starts.").arg(line.number));
            end = start;
            repairs.note(line.number, line.whole, tr("The end is before the start: set the end to the start."));
        }
        subtitles.append(Subtitle::create(convert(line.text), start, end));
    }
    return repairs.finishWithSubtitles(std::move(subtitles));
}
