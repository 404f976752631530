#pragma once

#include "format/FormatReading.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QStringView>

// MicroDVD: "{start}{end}text" in frames, "|" between lines, control codes such as
// {y:i} (this line italic), {Y:b} (the whole subtitle bold) and {c:$BBGGRR} turned into
// the program's tags; other control codes (fonts, sizes, positions) are left out. A first
// line "{1}{1}23.976" gives the frame rate.
class MicroDvdReader
{
    Q_DECLARE_TR_FUNCTIONS(MicroDvdReader)

public:
    static constexpr double defaultFrameRate = 24000.0 / 1001.0;

    static Expected<FormatReading, QString> read(QStringView text, const FormatReadOptions &options = {});
};
