#pragma once

#include <QStringView>

#include <optional>

// TTML's time expressions, in seconds: clock times ("01:02:03.5", "01:02:03:12" in frames,
// "01:02:03:12.1" with sub-frames) and offsets ("12.5s", "500ms", "90f", "10000t"), counted
// at the document's rates.
class TtmlTime
{
public:
    struct Rates
    {
        double frameRate = 30;
        double subFrameRate = 1;
        double tickRate = 1;
    };

    static std::optional<double> of(QStringView value, const Rates &rates);
    // What real files write for a clock time that players still read: a comma before the
    // fraction ("00:00:01,500", as DFXP from subtitle converters has it) or minutes and
    // seconds alone ("3:58.640", as a store's files give a body's duration).
    static std::optional<double> ofLooseClock(QStringView value, const Rates &rates);
};
