#pragma once

#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// Reads SRT text as the files other programs and people write it: where the strict
// reader stops at the first fault, this one reads every construct that plainly means
// one thing for what it means (numbering that restarts or skips, stray blank lines,
// short or sloppy time fields, "-->" without spaces, display coordinates after the end
// time, an end before the start, a missing blank line between subtitles) and records
// what it did. Text that is not SRT at all is still refused, naming the line.
//
// Text that the strict reader accepts is read exactly as the strict reader reads it,
// with no repairs.
class TolerantSubtitleReader
{
    Q_DECLARE_TR_FUNCTIONS(TolerantSubtitleReader)

public:
    struct Repair
    {
        qsizetype line; // counted from 1, as editors show lines
        QString description;
    };

    struct Result
    {
        SubtitleList subtitles; // sorted by start (stable)
        QList<Repair> repairs;  // in line order
    };

    // The subtitles and what was repaired, or a message naming the line that cannot be read.
    static Expected<Result, QString> read(QStringView text);
};
