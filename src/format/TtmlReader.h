#pragma once

#include "format/FormatReading.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QStringView>

// TTML and its profiles (IMSC, EBU-TT-D, DFXP): each paragraph of the body is a subtitle.
// Times are read as the document's frame, sub-frame and tick rates say, adding up the
// begin times of the enclosing elements; italic, bold, underline and colour from the
// styles (referenced, inline or on the region) become the program's tags, and a region
// at the top a leading {\an8}. The head is kept as it is, and each paragraph exactly as
// written, for the writer: the paragraphs as views into `text`, which the keep holds.
class TtmlReader
{
    Q_DECLARE_TR_FUNCTIONS(TtmlReader)

public:
    // The fields of a kept paragraph, besides its source ("<p begin=…>…</p>" exactly).
    // Paragraphs that give the same share one list.
    enum Field {
        ParentBeginField, // where the times it gives are counted from, in seconds
        BaseStyleField, // what its own and inherited styles make of it (TtmlStyle::encoded)
        FieldCount
    };
    // The file's fields: the ids of a region at the top and one at the bottom (empty when
    // there is none); for a file with no paragraph, what new ones must be put in: "div" or
    // "body" (empty when the file has paragraphs); the prefix of the root element ("tt:" or
    // none); the prefix the root binds to TTML's styling namespace (none when it binds none).
    enum FileField { TopRegionField, BottomRegionField, WrapField, ElementPrefixField, StylingPrefixField, FileFieldCount };

    static Expected<FormatReading, QString> read(const QString &text, const FormatReadOptions &options = {});

    // The XML parser is given the text this many characters at a time.
    static constexpr qsizetype pieceSize = 64 * 1024;
};
