#pragma once

#include "format/FormatKeep.h"
#include "format/FormatReading.h"
#include "format/SubtitleFormat.h"
#include "model/Expected.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Reading and writing any format the program knows, as text: the one place that sends
// each format to its reader and writer. A binary format's text is its bytes one to a
// character (Latin-1). Messages name the line (counted from 1) as the
// SRT reader's do.
class SubtitleFormatIo
{
    Q_DECLARE_TR_FUNCTIONS(SubtitleFormatIo)

public:
    static Expected<FormatReading, QString> read(SubtitleFormat::Id format, const QString &text,
                                                 const FormatReadOptions &options = {});
    // The same from a view, which a format whose keep views the text (TTML) copies first.
    static Expected<FormatReading, QString> read(SubtitleFormat::Id format, QStringView text,
                                                 const FormatReadOptions &options = {});
    // The file's text with line feeds. `keep` is what the file read had (or null): used
    // when it is of `format`, so that what was not edited is written back as it was.
    static QString write(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep);
    // What writing the subtitles in `format` leaves out, one phrase each ("the styles of
    // 3 subtitles", "karaoke and position tags in 2 subtitles"); empty when nothing is lost.
    // `frameRate` is the document's (0 while unknown), for a format that counts frames.
    static QStringList losses(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep,
                              double frameRate = 0);
};
