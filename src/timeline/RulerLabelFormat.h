#pragma once

#include <QString>

// The text of a ruler label: colon-separated units from the largest one the timeline's
// duration reaches down to seconds, e.g. "1:05" for a ten-minute timeline and "0:01:05"
// for a two-hour one. The largest unit is not padded, the smaller ones have two digits.
class RulerLabelFormat
{
public:
    enum class Unit { Seconds, Minutes, Hours, Days };

    static RulerLabelFormat forDuration(double duration);

    Unit largestUnit() const { return m_largestUnit; }
    QString format(double seconds) const;

private:
    Unit m_largestUnit = Unit::Seconds;
};
