#pragma once

#include "format/FormatKeep.h"
#include "format/FormatReading.h"
#include "model/Expected.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

#include <optional>

// Reads an EBU-STL file (binary: a general information block and text blocks) into
// subtitles. The keep holds the file's bytes one to a character (Latin-1): the general
// information block as the header, each subtitle's blocks as its cue, and comments and
// user data blocks before the cue they come before, so that the writer puts back what was
// not edited byte for byte.
class EbuStlReader
{
    Q_DECLARE_TR_FUNCTIONS(EbuStlReader)

public:
    // Whether the bytes begin as an EBU-STL file does: a three-digit code page, then a
    // disk format code "STL25.01", "STL30.01" or the like.
    static bool recognizes(QByteArrayView bytes);
    static Expected<FormatReading, QString> read(QByteArrayView bytes);
    // The same, from the bytes held one to a character.
    static Expected<FormatReading, QString> read(QStringView latin1);

    // Where the programme's time code starts, in seconds (10:00:00:00 for many), which
    // the subtitles' times were read from: the document's timecode offset. None when the
    // file gives none or its times come before it (then they are read as they stand).
    static std::optional<double> timecodeOffset(const FormatKeep &keep);
    // The frame rate the file's disk format gives (25 or 30); none for another format's keep.
    static std::optional<int> frameRate(const FormatKeep &keep);
};
