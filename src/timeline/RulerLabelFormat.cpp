#include "timeline/RulerLabelFormat.h"

#include <cmath>

RulerLabelFormat RulerLabelFormat::forDuration(double duration)
{
    RulerLabelFormat format;
    const double whole = std::trunc(duration);
    if (whole >= 86400)
        format.m_largestUnit = Unit::Days;
    else if (whole >= 3600)
        format.m_largestUnit = Unit::Hours;
    else if (whole >= 60)
        format.m_largestUnit = Unit::Minutes;
    return format;
}

QString RulerLabelFormat::format(double seconds) const
{
    const bool negative = seconds < 0;
    long long rest = std::llround(std::trunc(std::fabs(seconds)));

    const long long secs = rest % 60;
    QString text;
    switch (m_largestUnit) {
    case Unit::Seconds:
        text = QString::number(rest);
        break;
    case Unit::Minutes:
        text = QStringLiteral("%1:%2").arg(rest / 60).arg(secs, 2, 10, QLatin1Char('0'));
        break;
    case Unit::Hours:
        text = QStringLiteral("%1:%2:%3")
                   .arg(rest / 3600)
                   .arg(rest / 60 % 60, 2, 10, QLatin1Char('0'))
                   .arg(secs, 2, 10, QLatin1Char('0'));
        break;
    case Unit::Days:
        text = QStringLiteral("%1:%2:%3:%4")
                   .arg(rest / 86400)
                   .arg(rest / 3600 % 24, 2, 10, QLatin1Char('0'))
                   .arg(rest / 60 % 60, 2, 10, QLatin1Char('0'))
                   .arg(secs, 2, 10, QLatin1Char('0'));
        break;
    }
    return negative && rest != 0 ? QLatin1Char('-') + text : text;
}
