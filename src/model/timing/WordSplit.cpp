#include "model/timing/WordSplit.h"

#include "model/FrameTiming.h"
#include "model/text/SpokenWords.h"

std::optional<WordSplit::Cut> WordSplit::at(const QString &text, int offset, const QList<SpokenWord> &words, double start,
                                            double end, double gap, double frameRate)
{
    // Words found for another text (or by another way of reading it) do not say where
    // this one's words are.
    if (words.size() != SpokenWords::of(text).size())
        return std::nullopt;
    const qsizetype before = SpokenWords::of(text.left(offset)).size();
    if (before <= 0 || before >= words.size())
        return std::nullopt;
    const double lastEnd = words[before - 1].end;
    const double nextStart = words[before].start;
    Cut cut{FrameTiming::snapToFrame(lastEnd, frameRate), FrameTiming::snapToFrame(nextStart, frameRate)};
    constexpr double tolerance = 1e-6;
    if (cut.secondStart - cut.firstEnd < gap - tolerance) {
        const double middle = (lastEnd + nextStart) / 2;
        cut.firstEnd = FrameTiming::snapToFrame(middle - gap / 2, frameRate);
        cut.secondStart = FrameTiming::snapToFrame(cut.firstEnd + gap, frameRate);
    }
    if (cut.firstEnd <= start || cut.secondStart >= end)
        return std::nullopt;
    return cut;
}
