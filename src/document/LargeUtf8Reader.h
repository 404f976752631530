#pragma once

#include "document/TextFileFormat.h"
#include "format/SubtitleParser.h"
#include "model/Subtitle.h"

#include <QString>

#include <optional>

// Reads a large UTF-8 SRT file in parts of a few megabytes, its two halves on two
// threads, so that the file is never whole in memory beside its subtitles. Only a file
// that plainly reads so (valid UTF-8 that detection would take for UTF-8, and whole
// subtitles in every part) is read this way; for any other the answer is nothing, and
// the file is read whole, which also finds an error's line.
class LargeUtf8Reader
{
public:
    static constexpr qint64 minimumSize = 16 << 20;

    struct Result
    {
        SubtitleList subtitles;
        TextFileFormat format;
    };

    static std::optional<Result> read(const QString &path);

private:
    // Appends the subtitles of the bytes from `from` to `to` to `parts`; false when they
    // do not read so.
    static bool readRange(const QString &path, qint64 from, qint64 to, qint64 size, SubtitleParser::Parts &parts);
};
