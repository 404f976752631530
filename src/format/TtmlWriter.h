#pragma once

#include "format/FormatKeep.h"
#include "model/Subtitle.h"

#include <QString>

// Writes TTML. With the keep of a TTML file read before, the file's head and structure
// are written back as they were, every unedited paragraph exactly, and an edited one with
// its attributes (a time edit keeps its content as written, a text edit its attributes);
// new subtitles go beside their neighbours. Without, an IMSC 1.1 Text document with a
// region at the bottom and one at the top.
class TtmlWriter
{
public:
    static QString write(const SubtitleList &subtitles, const FormatKeep *keep);
};
