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

Expected<FormatReading, QString> FormatRepairs::finishWithSubtitles(SubtitleList subtitles, std::shared_ptr<const FormatKeep> keep)
{
    if (subtitles.isEmpty() && !m_repairs.isEmpty())
        return tr("Not one subtitle could be read, even repairing. The first fault:") + u'\n'
               + TolerantSubtitleReader::describe(m_repairs.first());
    return finish(std::move(subtitles), std::move(keep));
}
