#pragma once

#include "model/SpokenWord.h"

#include <QList>
#include <QString>

#include <optional>

// Where a subtitle split at a caret divides its time when its words are known to be
// spoken: the first part ends where the last word before the caret ends, the second starts
// where the next word starts, `gap` apart at least (around the middle of the silence
// between them when they are closer), on frames. None when the caret is not between two
// words, the words are not the text's, or the cut would leave either part no time.
class WordSplit
{
public:
    struct Cut
    {
        double firstEnd = 0;
        double secondStart = 0;
    };
    static std::optional<Cut> at(const QString &text, int offset, const QList<SpokenWord> &words, double start, double end,
                                 double gap, double frameRate);
};
