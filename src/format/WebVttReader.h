#pragma once

#include "format/FormatReading.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

// Reads WebVTT: the header, NOTE, STYLE and REGION blocks and every cue's identifier and
// settings go into the keep as written, so that WebVttWriter puts back what was not edited.
// Texts follow the program's convention: entities decoded, <i> <b> <u> as they are, voices,
// classes, languages, ruby and timestamps left as written, and a top or middle placement
// (line and align settings) given as a leading {\anN}.
class WebVttReader
{
    Q_DECLARE_TR_FUNCTIONS(WebVttReader)

public:
    static Expected<FormatReading, QString> read(QStringView text, const FormatReadOptions &options = {});
};
