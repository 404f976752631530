// parseTime over arbitrary text: whatever it accepts is a finite, non-negative time that
// formatTime writes as text parseTime reads back to the very same time.
#include "FuzzCheck.h"

#include "format/SubtitleParser.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SubtitleParser &parser = SubtitleParser::shared();
    const QString text = fuzzText(data, size);
    const auto time = parser.parseTime(text);
    if (!time)
        return 0;
    const double seconds = time.value();
    FUZZ_CHECK(std::isfinite(seconds) && seconds >= 0, text);
    const QString written = parser.formatTime(seconds);
    const auto reread = parser.parseTime(written);
    FUZZ_CHECK(reread.hasValue(), text + QStringLiteral(" -> ") + written);
    FUZZ_CHECK(reread.value() == seconds, text + QStringLiteral(" -> ") + written);
    FUZZ_CHECK(parser.formatTime(reread.value()) == written, text + QStringLiteral(" -> ") + written);
    return 0;
}
