#pragma once

#include <QString>
#include <QStringList>

// A subtitle's text as it is spoken, word by word, for a recogniser that knows words and
// not writing: no tags, no speaker dashes or punctuation, lower case, numbers, amounts
// and percentages in words ("£5" is "five pounds", "1990" is "nineteen ninety").
class SpokenWords
{
public:
    static QStringList of(const QString &text);
    // A whole number in words: "twelve", "two hundred and five"; a year-like four-digit
    // number as it is read as a year.
    static QStringList number(qint64 value, bool asYear = false);
    // How long `words` take to say at an ordinary pace, in seconds: about fourteen letters a second.
    static double sayingSeconds(const QStringList &words);
};
