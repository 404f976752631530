#pragma once

#include <QString>

#include <optional>

// The text form of a time offset: a sign, then a time as the list shows it
// ("-00:00:01,500"), or a number of seconds ("-1.5" or "-1,5").
class TimeOffsetText
{
public:
    static std::optional<double> parse(QStringView text);
    static QString format(double seconds);
};
