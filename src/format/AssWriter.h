#pragma once

#include "format/FormatKeep.h"
#include "format/SubtitleFormat.h"
#include "model/Subtitle.h"

#include <QString>

// Writes Advanced SubStation Alpha (v4.00+) or SubStation Alpha (v4.00) scripts. With the
// keep of a script read in the same format, every event still as read is written back
// exactly, and a changed one keeps the fields that were not edited; without one, a
// complete script for HD video with a Default style (white, outlined, bottom centre).
class AssWriter
{
public:
    // `format` is Ass or Ssa; `keep` is used only when it is of `format`.
    static QString write(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep);

    // A subtitle's text as an event's Text field: the program's tags as override tags,
    // line feeds as \N; what only WebVTT can say is left out.
    static QString textField(QStringView text, bool ssa);
};
