// The SRT reader over arbitrary text: it must not crash, and what it returns must be a
// valid list (ordered by start, no end before its start).
#include "FuzzCheck.h"

#include "format/SubtitleParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    const auto parsed = SubtitleParser::shared().parse(text);
    if (!parsed) {
        FUZZ_CHECK(!parsed.error().message().isEmpty(), text);
        return 0;
    }
    const SubtitleList &subtitles = parsed.value();
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        FUZZ_CHECK(subtitles[i]->end >= subtitles[i]->start, text);
        if (i > 0)
            FUZZ_CHECK(subtitles[i - 1]->start <= subtitles[i]->start, text);
    }
    return 0;
}
