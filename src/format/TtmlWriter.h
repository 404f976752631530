#pragma once

#include "format/FormatKeep.h"
#include "model/Subtitle.h"

#include <QString>
#include <QStringView>

// Writes TTML. With the keep of a TTML file read before, the file's head and structure
// are written back as they were, every unedited paragraph exactly, and an edited one with
// its attributes (a time edit keeps its content as written, a text edit its attributes);
// new subtitles go beside their neighbours. Without, an IMSC 1.1 Text document with a
// region at the bottom and one at the top.
class TtmlWriter
{
public:
    static QString write(const SubtitleList &subtitles, const FormatKeep *keep);

    // Whether XML can hold the character in a text: not the control characters but tab
    // and line feed, nor U+FFFE and U+FFFF.
    static bool holds(QChar c);
    static QString heldText(QStringView text);
    // Whether the text has spaces or tabs that a reader collapses unless the paragraph
    // says xml:space="preserve".
    static bool needsPreservedSpace(QStringView text);
};
