#pragma once

#include "format/FormatReading.h"
#include "format/TolerantSubtitleReader.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

// What the readers of formats other than SRT share: the repairs a repairing read makes
// (the first ones listed, the rest counted) and the message that names a faulty line.
// Lines are counted from 1.
class FormatRepairs
{
    Q_DECLARE_TR_FUNCTIONS(FormatRepairs)

public:
    // The latest time a reader accepts (a million hours): later ones are faults, not overflows.
    static constexpr double latestTime = 1e6 * 3600;

    void note(qsizetype line, QStringView lineText, const QString &description);

    // A line without the blanks around it and, on the first line, a byte-order mark.
    static QStringView contentOf(QStringView line, qsizetype number);

    // "reason" followed by what line `line` reads.
    static QString fault(qsizetype line, QStringView lineText, const QString &reason);

    // The subtitles sorted by start (stable), with the repairs noted.
    FormatReading finish(SubtitleList subtitles, std::shared_ptr<const FormatKeep> keep = nullptr);
    // The same, but refused when a repair left nothing: a file read as empty because
    // everything in it was left out has not been read.
    Expected<FormatReading, QString> finishWithSubtitles(SubtitleList subtitles, std::shared_ptr<const FormatKeep> keep = nullptr);

private:
    QList<TolerantSubtitleReader::Repair> m_repairs;
    qsizetype m_unlisted = 0;
};
