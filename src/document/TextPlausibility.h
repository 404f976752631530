#pragma once

#include <QStringView>

// How much a decoded text looks like writing rather than the jumble a wrong encoding
// makes of it, for choosing between encodings that all decode a short file: words of
// one script each, with the letters that script's languages use most, no control
// characters, no symbols inside words, no capitals after small letters inside a word.
// Only words with a non-ASCII character count, as every candidate reads ASCII alike.
class TextPlausibility
{
public:
    struct Score
    {
        double value = 0;  // higher is more plausible; each word adds one or takes more away
        qsizetype words = 0; // the words with a non-ASCII character
    };

    static Score of(QStringView text);
};
