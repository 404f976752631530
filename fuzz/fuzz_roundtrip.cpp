// The write-read round trip: whatever parses, when serialized, parses to the same
// subtitles (times as written, texts as the writer writes them), and writing that again
// gives the same text.
#include "FuzzCheck.h"

#include "format/SubtitleParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SubtitleParser &parser = SubtitleParser::shared();
    const QString text = fuzzText(data, size);
    const auto parsed = parser.parse(text);
    if (!parsed)
        return 0;
    const SubtitleList &original = parsed.value();
    const QString written = parser.serialize(original);
    const auto reread = parser.parse(written);
    FUZZ_CHECK(reread.hasValue(), reread.error().message() + QStringLiteral("\n---\n") + written);
    const SubtitleList &again = reread.value();
    FUZZ_CHECK(again.size() == original.size(), written);
    for (qsizetype i = 0; i < original.size(); ++i) {
        FUZZ_CHECK(parser.formatTime(again[i]->start) == parser.formatTime(original[i]->start), written);
        FUZZ_CHECK(parser.formatTime(again[i]->end) == parser.formatTime(original[i]->end), written);
        FUZZ_CHECK(again[i]->text() == SubtitleParser::textAsWritten(original[i]->text()), written);
    }
    FUZZ_CHECK(parser.serialize(again) == written, written);
    return 0;
}
