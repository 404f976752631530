#include "format/TimeOffsetText.h"

#include <QRegularExpression>

#include <cmath>

std::optional<double> TimeOffsetText::parse(QStringView text, const TimeDisplay &display)
{
    QStringView rest = text.trimmed();
    double sign = 1;
    if (rest.startsWith(u'+') || rest.startsWith(u'-')) {
        sign = rest.startsWith(u'-') ? -1 : 1;
        rest = rest.sliced(1).trimmed();
    }
    if (rest.isEmpty())
        return std::nullopt;
    const TimeDisplay length = display.withoutOffset();
    static const QRegularExpression seconds(QStringLiteral("^\\d+([.,]\\d+)?$"));
    const bool wholeNumber = !rest.contains(u'.') && !rest.contains(u',');
    if (seconds.match(rest).hasMatch() && !(wholeNumber && length.form() == TimeForm::Frames)) {
        QString number = rest.toString();
        number.replace(u',', u'.');
        return sign * number.toDouble();
    }
    const auto time = length.parse(rest);
    if (!time)
        return std::nullopt;
    return sign * time.value();
}

QString TimeOffsetText::format(double seconds, const TimeDisplay &display)
{
    const QString sign = seconds < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return sign + display.withoutOffset().format(std::abs(seconds));
}
