#pragma once

#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// Reads SRT text as the files other programs and people write it: where the strict
// reader stops at the first fault, this one reads every construct that plainly means
// one thing for what it means (numbering that restarts or skips, stray blank lines,
// short or sloppy time fields, times without hours, "-->" without spaces or written
// "- >", display coordinates after the end time, an end before the start, a missing
// blank line between subtitles, a number with nothing after it at the end) and records
// what it did. Text that is not SRT at all is still refused, naming the line: so is
// text that would have to be swallowed into one subtitle to be read (more than a few
// lines past a blank line, or NUL characters, as in a file whose second half is in
// another encoding).
//
// Text that the strict reader accepts is read exactly as the strict reader reads it,
// with no repairs.
class TolerantSubtitleReader
{
    Q_DECLARE_TR_FUNCTIONS(TolerantSubtitleReader)

public:
    struct Repair
    {
        qsizetype line; // counted from 0, as the strict reader's messages count
        QString description;
        QString lineText = {}; // the line's own text, as messages quote it
    };

    // Only the first repairs are listed; a file where every subtitle needed one would
    // otherwise keep more repair lines than subtitles.
    static constexpr qsizetype listedRepairLimit = 1000;

    struct Result
    {
        SubtitleList subtitles; // sorted by start (stable)
        QList<Repair> repairs;  // in line order, at most listedRepairLimit
        qsizetype unlistedRepairs = 0; // repairs made past the listed ones
    };

    // The subtitles and what was repaired, or a message naming the line that cannot be read.
    static Expected<Result, QString> read(QStringView text);
    // The same for UTF-8 text, which must be valid UTF-8 (without a byte-order mark).
    static Expected<Result, QString> readUtf8(QByteArrayView text);

    // One repair as the user reads it: "Line 4 “0:0:1,5 --> 0:0:2,0”: Read the timing as …".
    static QString describe(const Repair &repair);
    // The line that follows the listed repairs when there were more.
    static QString describeUnlisted(qsizetype count);
};
