#include "format/FormatRepairs.h"

#include "format/ParseError.h"

void FormatRepairs::note(qsizetype line, QStringView lineText, const QString &description)
{
    if (m_repairs.size() < TolerantSubtitleReader::listedRepairLimit)
        m_repairs.append({line, description, ParseError::quotedLine(lineText)});
    else
        ++m_unlisted;
}

QStringView FormatRepairs::contentOf(QStringView line, qsizetype number)
{
    line = line.trimmed();
    return number == 1 && line.startsWith(QChar(0xFEFF)) ? line.sliced(1).trimmed() : line;
}

QString FormatRepairs::fault(qsizetype line, QStringView lineText, const QString &reason)
{
    return reason + u'\n' + ParseError::lineReads(line, lineText);
}

FormatReading FormatRepairs::finish(SubtitleList subtitles, std::shared_ptr<const FormatKeep> keep)
{
    sortSubtitles(subtitles);
    return FormatReading{std::move(subtitles), std::move(keep), std::move(m_repairs), m_unlisted};
}

std::optional<QString> FormatRepairs::refusalOfNothing(SubtitleFormat::Id format, qsizetype subtitles, const QList<TolerantSubtitleReader::Repair> &repairs)
{
    // Only counted repairs come after listed ones, so a refusal always has a line to name.
    if (subtitles > 0 || repairs.isEmpty())
        return std::nullopt;
    // The line first, as every refusal names one; the repairs listed come before those counted.
    return TolerantSubtitleReader::describe(repairs.first()) + u'\n'
        + tr("Nothing in the file reads as %1: a repair would leave no subtitle.").arg(SubtitleFormat::name(format));
}
