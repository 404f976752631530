#include "timeline/RulerLabelFormat.h"

#include <QCoreApplication>

#include <cmath>

QString RulerLabelFormat::format(double seconds)
{
    const bool negative = seconds < 0;
    const long long rest = std::llround(std::trunc(std::fabs(seconds)));
    const long long days = rest / 86400;
    const QString clock = QStringLiteral("%1:%2:%3")
                              .arg(rest / 3600 % 24, 2, 10, QLatin1Char('0'))
                              .arg(rest / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(rest % 60, 2, 10, QLatin1Char('0'));
    const QString text = days > 0
        ? QCoreApplication::translate("RulerLabelFormat", "%1d %2", "days, then hours:minutes:seconds").arg(days).arg(clock)
        : clock;
    return negative && rest != 0 ? QLatin1Char('-') + text : text;
}
