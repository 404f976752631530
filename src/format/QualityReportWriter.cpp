#include "format/QualityReportWriter.h"

#include "format/SubtitleWriter.h"

#include <algorithm>
#include <cmath>

namespace {

QString plainNumber(double value)
{
    if (!std::isfinite(value))
        return {};
    return QString::number(value, 'g', 12);
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// Kept short and printable: black on white, the table's header repeated on every page.
const char *const style = R"(
body { font-family: system-ui, -apple-system, "Segoe UI", "Noto Sans", sans-serif; color: #1d1d1f;
       margin: 2em auto; max-width: 72em; padding: 0 1.5em; line-height: 1.4; }
h1 { font-size: 1.6em; margin: 0 0 .2em; word-break: break-word; }
.subtitle { color: #555; margin: 0 0 1.5em; }
h2 { font-size: 1.15em; margin: 1.8em 0 .6em; border-bottom: 1px solid #ccc; padding-bottom: .2em; }
dl.limits { display: grid; grid-template-columns: max-content auto; gap: .2em 1.2em; margin: 0; }
dl.limits dt { color: #555; } dl.limits dd { margin: 0; font-variant-numeric: tabular-nums; }
table { border-collapse: collapse; width: 100%; font-size: .92em; }
th, td { text-align: left; padding: .35em .6em; border-bottom: 1px solid #e2e2e2; vertical-align: top; }
thead th { background: #f2f2f4; border-bottom: 2px solid #bbb; }
tbody tr:nth-child(even) { background: #fafafa; }
td.number, td.time, td.value { font-variant-numeric: tabular-nums; white-space: nowrap; }
td.number, td.value, th.value, th.number { text-align: right; }
td.text { white-space: pre-wrap; color: #333; }
.kind { display: inline-block; padding: .05em .5em; border-radius: .8em; background: #fdecea; color: #8a1c12; white-space: nowrap; }
.counts td.count, .counts th.count { text-align: right; font-variant-numeric: tabular-nums; width: 6em; }
.counts { width: auto; min-width: 24em; }
.none { font-size: 1.1em; color: #1b6e2d; }
@media print { body { margin: 0; max-width: none; } thead { display: table-header-group; }
  tr { page-break-inside: avoid; } tbody tr:nth-child(even) { background: none; } .kind { background: none; padding: 0; } }
)";

} // namespace

QString QualityReportWriter::csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

QString QualityReportWriter::shownValue(const QualityReport::Row &row)
{
    const QString limit = QualityReport::number(row.limit, row);
    QString value = QualityReport::number(row.value, row);
    for (int more = 1; more <= 6 && value == limit && row.value != row.limit; ++more)
        value = QualityReport::number(row.value, row, more);
    return value;
}

QByteArray QualityReportWriter::csv(const Source &source)
{
    QString text = QStringLiteral("number,start,end,kind,value,limit,unit,description\r\n");
    for (const QualityReport::Row &row : source.rows) {
        const QStringList fields{QString::number(row.number),
                                 SubtitleWriter::formatTime(row.start),
                                 SubtitleWriter::formatTime(row.end),
                                 QualityReport::id(row.kind),
                                 plainNumber(row.value),
                                 plainNumber(row.limit),
                                 QualityReport::unit(row),
                                 source.report.describe(row, source.subtitles)};
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += u',';
            text += csvField(fields[i]);
        }
        text += QLatin1String("\r\n");
    }
    return text.toUtf8();
}

QByteArray QualityReportWriter::html(const Source &source)
{
    const QualityLimits &limits = source.report.limits();
    const QString title = tr("Quality report: %1").arg(source.fileName);
    QString page;
    page += QLatin1String("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n")
            + QLatin1String("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>")
            + escaped(title) + QLatin1String("</title>\n<style>") + QLatin1String(style)
            + QLatin1String("</style>\n</head>\n<body>\n<h1>") + escaped(title) + QLatin1String("</h1>\n");
    const QString checkedAgainst = source.profileName.isEmpty()
                                       ? tr("Checked against the limits below.")
                                       : tr("Checked against the profile “%1”.").arg(source.profileName);
    page += QLatin1String("<p class=\"subtitle\">") + escaped(checkedAgainst) + QLatin1String("</p>\n");

    page += QLatin1String("<h2>") + escaped(tr("Limits")) + QLatin1String("</h2>\n<dl class=\"limits\">\n");
    const auto limit = [&page](const QString &name, const QString &value) {
        page += QLatin1String("<dt>") + escaped(name) + QLatin1String("</dt><dd>") + escaped(value) + QLatin1String("</dd>\n");
    };
    limit(tr("Reading speed"), limits.readingUnit == QualityLimits::ReadingUnit::WordsPerMinute
                                   ? tr("at most %L1 words per minute").arg(limits.maxReadingSpeed)
                                   : tr("at most %L1 characters per second").arg(limits.maxReadingSpeed));
    limit(tr("Duration"), tr("%L1 s to %L2 s").arg(limits.minDuration).arg(limits.maxDuration));
    limit(tr("Lines"), tr("at most %1, each at most %2 characters").arg(limits.maxLines).arg(limits.maxLineLength));
    limit(tr("Gap"), tr("at least %n frame(s)", nullptr, limits.minGapFrames));
    limit(tr("Shot changes"), tr("edges at least %n frame(s) from a cut", nullptr, limits.shotChangeZoneFrames));
    limit(tr("Frames counted at"), tr("%L1 frames per second").arg(source.report.countingRate()));
    page += QLatin1String("</dl>\n");

    page += QLatin1String("<h2>") + escaped(tr("Summary")) + QLatin1String("</h2>\n");
    if (source.rows.empty()) {
        page += QLatin1String("<p class=\"none\">") + escaped(tr("No problems found: every subtitle keeps to the limits."))
                + QLatin1String("</p>\n");
    } else {
        page += QLatin1String("<table class=\"counts\">\n<tbody>\n");
        for (const QualityCheck::Problem kind : QualityCheck::allProblems) {
            const auto count = std::count_if(source.rows.begin(), source.rows.end(),
                                             [kind](const QualityReport::Row &row) { return row.kind == kind; });
            if (count > 0)
                page += QLatin1String("<tr><td>") + escaped(QualityCheck::name(kind)) + QLatin1String("</td><td class=\"count\">")
                        + QString::number(count) + QLatin1String("</td></tr>\n");
        }
        page += QLatin1String("<tr><th>") + escaped(tr("All problems")) + QLatin1String("</th><th class=\"count\">")
                + QString::number(source.rows.size()) + QLatin1String("</th></tr>\n</tbody>\n</table>\n");

        page += QLatin1String("<h2>") + escaped(tr("Problems")) + QLatin1String("</h2>\n<table>\n<thead><tr>");
        const QStringList headings{tr("#"), tr("Start"), tr("End"), tr("Problem"), tr("Found"), tr("Limit"),
                                   tr("Details"), tr("Text")};
        const QStringList classes{QStringLiteral("number"), {}, {}, {}, QStringLiteral("value"), QStringLiteral("value"), {}, {}};
        for (qsizetype i = 0; i < headings.size(); ++i)
            page += (classes[i].isEmpty() ? QStringLiteral("<th>") : QStringLiteral("<th class=\"%1\">").arg(classes[i]))
                    + escaped(headings[i]) + QLatin1String("</th>");
        page += QLatin1String("</tr></thead>\n<tbody>\n");
        for (const QualityReport::Row &row : source.rows) {
            const QString unit = QualityReport::unit(row);
            const auto withUnit = [&](const QString &number) { return number.isEmpty() ? number : number + u' ' + unit; };
            const qsizetype position = row.number - 1;
            const QString text = position >= 0 && position < source.subtitles.size() ? QualityCheck::withoutTags(source.subtitles[position]->text()) : QString();
            page += QLatin1String("<tr><td class=\"number\">") + QString::number(row.number)
                    + QLatin1String("</td><td class=\"time\">") + SubtitleWriter::formatTime(row.start)
                    + QLatin1String("</td><td class=\"time\">") + SubtitleWriter::formatTime(row.end)
                    + QLatin1String("</td><td><span class=\"kind\">") + escaped(QualityCheck::name(row.kind))
                    + QLatin1String("</span></td><td class=\"value\">") + escaped(withUnit(shownValue(row)))
                    + QLatin1String("</td><td class=\"value\">") + escaped(withUnit(QualityReport::number(row.limit, row)))
                    + QLatin1String("</td><td>") + escaped(source.report.describe(row, source.subtitles))
                    + QLatin1String("</td><td class=\"text\">") + escaped(text) + QLatin1String("</td></tr>\n");
        }
        page += QLatin1String("</tbody>\n</table>\n");
    }
    page += QLatin1String("</body>\n</html>\n");
    return page.toUtf8();
}
