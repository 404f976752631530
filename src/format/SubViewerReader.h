#pragma once

#include "format/FormatReading.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QStringView>

// SubViewer: YouTube's ".sbv" ("0:00:01.000,0:00:04.000", the text lines, a blank line)
// and SubViewer 2.0 (an [INFORMATION] header, times in hundredths, "[br]" between lines).
class SubViewerReader
{
    Q_DECLARE_TR_FUNCTIONS(SubViewerReader)

public:
    static Expected<FormatReading, QString> read(QStringView text, const FormatReadOptions &options = {});
};
