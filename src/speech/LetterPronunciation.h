#pragma once

#include <QString>

// A pronunciation, in the recogniser's phones (ARPAbet: "K AE T"), for a word its
// dictionary lacks: a name, a made-up word, a misspelling. Read letter by letter with the
// commonest English spellings of each sound; rough, but it gives the word a length and a
// shape in its slot, where no pronunciation at all would make the whole line unusable.
class LetterPronunciation
{
public:
    static QString phones(const QString &word);
};
