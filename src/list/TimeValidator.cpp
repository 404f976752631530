#include "list/TimeValidator.h"

TimeValidator::TimeValidator(const TimeDisplay &display, QObject *parent)
    : QValidator(parent)
    , m_display(display)
{
}

QValidator::State TimeValidator::validate(QString &input, int &) const
{
    return problem(input).isEmpty() ? Acceptable : Intermediate;
}

QString TimeValidator::problem(const QString &text) const
{
    const Expected<double, QString> time = m_display.parse(text);
    return time ? QString() : time.error();
}
