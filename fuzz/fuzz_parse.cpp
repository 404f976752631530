// The SRT reader over arbitrary text: it must not crash, and what it returns must be a
// valid list (ordered by start, no end before its start). Reading the text's UTF-8 bytes
// gives the same outcome, and writing straight to UTF-8 the same bytes.
#include "FuzzCheck.h"

#include "format/SubtitleParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    const SubtitleParser &parser = SubtitleParser::shared();
    const auto parsed = parser.parse(text);
    const QByteArray utf8 = text.toUtf8();
    const bool carried = QString::fromUtf8(utf8) == text; // no lone surrogates
    const auto fromBytes = carried ? parser.parseUtf8(utf8) : parsed;
    FUZZ_CHECK(parsed.hasValue() == fromBytes.hasValue(), text);
    if (!parsed) {
        FUZZ_CHECK(!parsed.error().message().isEmpty(), text);
        FUZZ_CHECK(parsed.error().message() == fromBytes.error().message(), text);
        return 0;
    }
    const QString written = parser.serialize(parsed.value());
    FUZZ_CHECK(written == parser.serialize(fromBytes.value()), text);
    if (carried)
        FUZZ_CHECK(parser.serializeUtf8(parsed.value(), false, false) == written.toUtf8(), text);
    const SubtitleList &subtitles = parsed.value();
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        FUZZ_CHECK(subtitles[i]->end >= subtitles[i]->start, text);
        if (i > 0)
            FUZZ_CHECK(subtitles[i - 1]->start <= subtitles[i]->start, text);
    }
    return 0;
}
