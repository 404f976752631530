#include "list/TimeValidator.h"

#include "format/SubtitleParser.h"

QValidator::State TimeValidator::validate(QString &input, int &) const
{
    return problem(input).isEmpty() ? Acceptable : Intermediate;
}

QString TimeValidator::problem(const QString &text)
{
    const Expected<double, ParseError> time = SubtitleParser::shared().parseTime(text);
    return time ? QString() : time.error().message();
}
