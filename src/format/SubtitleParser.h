#pragma once

#include "format/ParseError.h"
#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QString>

class LineReader;

// Reads and writes SRT text, and owns the one text form of a time, "HH:mm:ss,SSS".
class SubtitleParser
{
public:
    static SubtitleParser &shared();

    // Every subtitle of the text, sorted by start (stable); the first error otherwise.
    Expected<SubtitleList, ParseError> parse(QStringView text) const;
    // Exactly one timestamp "HH:mm:ss,SSS" (hours may have more digits past 99 h).
    Expected<double, ParseError> parseTime(QStringView text) const;

    // Times from 24 h on get as many hour digits as they need; negative times write as 0.
    QString formatTime(double seconds) const;
    // SRT text of the subtitles, numbered from 1 in the order given. Every text is
    // written so that it reads back: empty lines inside it (which would end the
    // subtitle) are left out and line breaks become line feeds.
    QString serialize(const SubtitleList &subtitles) const;

    // A text as serialize writes it.
    static QString textAsWritten(const QString &text);

private:
    SubtitleParser() = default;
    // A timing line "start --> end" with end not before start.
    bool readTimingLine(QStringView line, double &start, double &end) const;
    // Whether `line` is a timing line, or an index whose next line (the next of
    // `reader`, a copy) is a timing line.
    bool beginsSubtitle(QStringView line, LineReader reader) const;
    // Hours take up to six digits: "999999:59:59,999".
    static constexpr qsizetype maximumTimeLength = 16;
    static char16_t *writeTime(char16_t *out, double seconds);
    static bool readsBackAsWritten(QStringView text);
};
