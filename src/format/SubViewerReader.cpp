#include "format/SubViewerReader.h"

#include "format/FormatRepairs.h"
#include "format/LineReader.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace {

struct Timing
{
    double start;
    double end;
};

std::optional<Timing> timingOf(QStringView line)
{
    static const QRegularExpression timing(
        QStringLiteral(R"(^(\d{1,6}):(\d\d):(\d\d)[.,](\d{1,3})\s*,\s*(\d{1,6}):(\d\d):(\d\d)[.,](\d{1,3})$)"));
    const auto match = timing.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    const auto time = [&](int first) {
        const QStringView fraction = match.capturedView(first + 3);
        double seconds = match.capturedView(first).toInt() * 3600.0 + match.capturedView(first + 1).toInt() * 60.0
                         + match.capturedView(first + 2).toInt();
        return seconds + fraction.toInt() / std::pow(10.0, fraction.size());
    };
    return Timing{time(1), time(5)};
}

QString converted(QStringView line)
{
    static const QRegularExpression lineBreak(QStringLiteral(R"(\[br\])"), QRegularExpression::CaseInsensitiveOption);
    return line.toString().replace(lineBreak, QStringLiteral("\n"));
}

} // namespace

Expected<FormatReading, QString> SubViewerReader::read(QStringView text, const FormatReadOptions &options)
{
    FormatRepairs repairs;
    SubtitleList subtitles;
    QString cueText;
    bool inText = false; // between a timing line and the blank line that ends its text
    bool inInformation = false;
    std::optional<Timing> timing;
    const auto finishCue = [&] {
        if (timing)
            subtitles.append(Subtitle::create(cueText, timing->start, timing->end));
        cueText.clear();
    };

    LineReader reader(text);
    QStringView whole;
    for (qsizetype number = 1; reader.next(whole); ++number) {
        const QStringView line = FormatRepairs::contentOf(whole, number);
        if (line.isEmpty()) {
            inText = false;
            continue;
        }
        const auto read = timingOf(line);
        if (inText && read) {
            // A timing line among the text is the next subtitle with its blank line missing.
            if (!options.repairing)
                return FormatRepairs::fault(number, whole, tr("Line %1 begins a subtitle without the blank line that ends the one before.").arg(number));
            repairs.note(number, whole, tr("No blank line before this subtitle: started a new one here."));
        } else if (inText) {
            cueText += (cueText.isEmpty() ? QString() : QStringLiteral("\n")) + converted(line);
            continue;
        }
        if (read) {
            if (read->start > FormatRepairs::latestTime || read->end > FormatRepairs::latestTime)
                return FormatRepairs::fault(number, whole, tr("Line %1 has a time past the largest the program can hold.").arg(number));
            finishCue();
            timing = read;
            if (timing->end < timing->start) {
                if (!options.repairing)
                    return FormatRepairs::fault(number, whole, tr("Line %1 ends before it starts.").arg(number));
                timing->end = timing->start;
                repairs.note(number, whole, tr("The end is before the start: set the end to the start."));
            }
            inText = true;
            continue;
        }
        // SubViewer 2.0's header: [INFORMATION] … [END INFORMATION], then [SUBTITLE],
        // [COLF]… settings, all before the first subtitle.
        if (!timing && (inInformation || line.startsWith(u'['))) {
            if (line.compare(u"[INFORMATION]", Qt::CaseInsensitive) == 0)
                inInformation = true;
            else if (line.compare(u"[END INFORMATION]", Qt::CaseInsensitive) == 0)
                inInformation = false;
            continue;
        }
        if (!options.repairing || !timing)
            return FormatRepairs::fault(number, whole, tr("Line %1 should be the start and end of a subtitle, as in “0:00:01.000,0:00:04.000”.").arg(number));
        cueText += u'\n' + converted(line);
        inText = true;
        repairs.note(number, whole, tr("Took a line after a blank line, with no timing, for more text of the subtitle before it."));
    }
    finishCue();
    return repairs.finish(std::move(subtitles));
}
