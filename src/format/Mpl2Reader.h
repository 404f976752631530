#pragma once

#include "format/FormatReading.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QStringView>

// MPL2: "[start][end]text" in tenths of a second, "|" between lines, a "/" at a line's
// start making it italic.
class Mpl2Reader
{
    Q_DECLARE_TR_FUNCTIONS(Mpl2Reader)

public:
    static Expected<FormatReading, QString> read(QStringView text, const FormatReadOptions &options = {});
};
