#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How a file lays out its text apart from the encoding: its line endings and whether it
// begins with a byte-order mark. A file keeps both when it is saved; a new document has
// line feeds and the encoding's usual mark.
class TextFileFormat
{
public:
    bool crlf = false;
    // Absent: the encoding's usual choice (a mark for UTF-16 and UTF-32, none for UTF-8).
    std::optional<bool> byteOrderMark;

    // The format of a file's bytes, decoded with `encoding` into `text`.
    static TextFileFormat of(const QByteArray &bytes, QStringView text, int encoding);
    // The format of a file's bytes read as UTF-8.
    static TextFileFormat ofUtf8(const QByteArray &bytes);

    // This format for a file read in `readEncoding` and written in `writeEncoding`: the
    // mark read with one encoding says nothing about another, which takes its usual.
    TextFileFormat forWriting(std::optional<int> readEncoding, int writeEncoding) const;

    // Text with line feeds, given this format's line endings; a line a kept part of the
    // file already ends with CR LF keeps it.
    QString withLineEndings(QString text) const;

    bool operator==(const TextFileFormat &) const = default;
};
