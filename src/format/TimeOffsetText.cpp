#include "format/TimeOffsetText.h"

#include "format/SubtitleParser.h"

#include <QRegularExpression>

#include <cmath>

std::optional<double> TimeOffsetText::parse(QStringView text)
{
    QStringView rest = text.trimmed();
    double sign = 1;
    if (rest.startsWith(u'+') || rest.startsWith(u'-')) {
        sign = rest.startsWith(u'-') ? -1 : 1;
        rest = rest.sliced(1).trimmed();
    }
    if (rest.isEmpty())
        return std::nullopt;
    static const QRegularExpression seconds(QStringLiteral("^\\d+([.,]\\d+)?$"));
    if (seconds.match(rest).hasMatch()) {
        QString number = rest.toString();
        number.replace(u',', u'.');
        return sign * number.toDouble();
    }
    const auto time = SubtitleParser::shared().parseTime(rest);
    if (!time)
        return std::nullopt;
    return sign * time.value();
}

QString TimeOffsetText::format(double seconds)
{
    const QString sign = seconds < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return sign + SubtitleParser::shared().formatTime(std::abs(seconds));
}
