#pragma once

#include "format/FormatReading.h"
#include "format/FormatRepairs.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QList>
#include <QStringView>

#include <functional>
#include <optional>

// The lines of the formats that put a subtitle on one line after its start and end in
// brackets, counted in frames or tenths of a second: MicroDVD's "{10}{50}Text" and MPL2's
// "[10][50]Text". Blank lines are passed over; a line of any other kind is a fault (passed
// over with a note when repairing).
class BracketTimedLines
{
    Q_DECLARE_TR_FUNCTIONS(BracketTimedLines)

public:
    struct Line
    {
        qsizetype number; // counted from 1
        QStringView whole;
        qint64 start;
        std::optional<qint64> end; // none when the brackets are empty
        QStringView text;
    };

    static Expected<QList<Line>, QString> read(QStringView text, QChar open, QChar close, const QString &formatName,
                                               bool repairing, FormatRepairs &repairs);

    // The subtitles of the lines, each count being `secondsPerCount` long, their texts made
    // by `convert`. A line without an end lasts until the next starts.
    static Expected<FormatReading, QString> subtitles(const QList<Line> &lines, double secondsPerCount,
                                                     const std::function<QString(QStringView)> &convert,
                                                     bool repairing, FormatRepairs &repairs);
};
