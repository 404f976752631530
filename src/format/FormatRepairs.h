#pragma once

#include "format/FormatReading.h"
#include "format/SubtitleFormat.h"
#include "format/TolerantSubtitleReader.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

#include <optional>

// What every reader shares: the repairs a repairing read makes (the first ones listed,
// the rest counted) and the message that names a faulty line. Lines are counted from 1,
// but for SRT, whose messages count from 0 as its strict reader does.
class FormatRepairs
{
    Q_DECLARE_TR_FUNCTIONS(FormatRepairs)

public:
    // The latest time a reader accepts (a million hours): later ones are faults, not overflows.
    static constexpr double latestTime = 1e6 * 3600;

    void note(qsizetype line, QStringView lineText, const QString &description);
    const QList<TolerantSubtitleReader::Repair> &listed() const { return m_repairs; }
    qsizetype unlisted() const { return m_unlisted; }
    // The repairs listed, for a reader that hands them on in its own result.
    QList<TolerantSubtitleReader::Repair> takeListed() { return std::move(m_repairs); }

    // A line without the blanks around it and, on the first line, a byte-order mark.
    static QStringView contentOf(QStringView line, qsizetype number);

    // "reason" followed by what line `line` reads.
    static QString fault(qsizetype line, QStringView lineText, const QString &reason);

    // A repairing read that had to mend something and kept no subtitle left out all there
    // was: it is refused with this message, never taken for a file read (an empty output
    // written with success would follow). Nothing when the read kept a subtitle or mended
    // nothing (an empty file, a script with no events yet). It names the first repair's line.
    static std::optional<QString> refusalOfNothing(SubtitleFormat::Id format, qsizetype subtitles, const QList<TolerantSubtitleReader::Repair> &repairs);

    // The subtitles sorted by start (stable), with the repairs noted.
    FormatReading finish(SubtitleList subtitles, std::shared_ptr<const FormatKeep> keep = nullptr);

private:
    QList<TolerantSubtitleReader::Repair> m_repairs;
    qsizetype m_unlisted = 0;
};
