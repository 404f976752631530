#pragma once

#include "format/ParseError.h"
#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

// Reads and writes SRT text, and owns the one text form of a time, "HH:mm:ss,SSS". The
// writing is SubtitleWriter's.
class SubtitleParser
{
public:
    static SubtitleParser &shared();

    // Every subtitle of the text, sorted by start (stable); the first error otherwise.
    Expected<SubtitleList, ParseError> parse(QStringView text) const;
    // The same for UTF-8 text, which must be valid UTF-8 (without a byte-order mark).
    Expected<SubtitleList, ParseError> parseUtf8(QByteArrayView text) const;
    // What reading a long UTF-8 text in parts has read so far.
    struct Parts
    {
        SubtitleList subtitles;
        qint64 lastIndex = 0; // the number of the subtitle read last
        bool inTimeOrder = true;
    };
    // Reading a long UTF-8 text in parts, one after the other, each but the first
    // beginning with a subtitle's number after an empty line (see firstPartStart and
    // lastPartStart): appends the subtitles of `part` to `parts`. False when the part
    // does not read as whole subtitles (up to the end of the text when `last`); the text
    // must then be read in one go, which also finds the error's line.
    bool parseUtf8Part(QByteArrayView part, bool last, Parts &parts) const;
    // Where a part may begin, with that subtitle's number: the first place within a
    // megabyte, or the last place in the text.
    static std::optional<std::pair<qsizetype, qint64>> firstPartStart(QByteArrayView text);
    static std::optional<qsizetype> lastPartStart(QByteArrayView text);
    // The subtitles of the text whose parts these are, the second run following the
    // first, in order as parse gives them.
    static SubtitleList joinParts(Parts first, Parts second);

    // Exactly one timestamp "HH:mm:ss,SSS" (hours may have more digits past 99 h).
    Expected<double, ParseError> parseTime(QStringView text) const;

    // Times from 24 h on get as many hour digits as they need; negative times write as 0.
    QString formatTime(double seconds) const;
    // SRT text of the subtitles, numbered from 1 in the order given. Every text is
    // written so that it reads back: empty lines inside it (which would end the
    // subtitle) are left out and line breaks become line feeds.
    QString serialize(const SubtitleList &subtitles) const;
    // The same as UTF-8, with CR LF line breaks when `crlf` and after a byte-order mark
    // when `byteOrderMark`; nothing when a text holds a lone surrogate, which UTF-8
    // cannot carry.
    std::optional<QByteArray> serializeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark) const;
    // The same bytes handed to `sink` part by part, in order, so that a large file is
    // written while it is made. False when a text cannot be carried or `sink` returns
    // false; the parts handed on before then are not the whole file.
    bool writeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark,
                   const std::function<bool(QByteArrayView)> &sink) const;

    // A text as serialize writes it.
    static QString textAsWritten(const QString &text);

private:
    SubtitleParser() = default;
};
