#pragma once

#include "format/FormatReading.h"
#include "format/SubtitleFormat.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

// Reads Advanced SubStation Alpha (v4.00+) and SubStation Alpha (v4.00) scripts. Each
// Dialogue event becomes a subtitle whose text uses the program's tags where ASS means
// the same (italics, bold, underline, colour, \an placement, line breaks); every other
// override tag stays in the text in its own {…} block. The keep holds everything else
// exactly: the script info, styles, comment events and unknown sections, and each
// event's fields in the order the file's Format line gives them.
class AssReader
{
    Q_DECLARE_TR_FUNCTIONS(AssReader)

public:
    // `format` is Ass or Ssa: the keep's format, and the field order assumed when a
    // repairing read meets events without a Format line.
    static Expected<FormatReading, QString> read(SubtitleFormat::Id format, QStringView text,
                                                 const FormatReadOptions &options = {});

    // An event's Text field as the program keeps texts. `softBreaksBreak`: the script's
    // WrapStyle is 2, where \n breaks the line as \N does; elsewhere it shows as a space.
    static QString textOf(QStringView field, bool softBreaksBreak = false);
};
