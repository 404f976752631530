#pragma once

#include <QString>

// A word of a line and when it is spoken, in seconds.
struct SpokenWord
{
    QString word;
    double start = 0;
    double end = 0;
    friend bool operator==(const SpokenWord &, const SpokenWord &) = default;
};
