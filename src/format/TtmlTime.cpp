#include "format/TtmlTime.h"

#include <QString>

#include <cmath>

namespace {

// Reads a time expression from left to right (a regular expression here would cost more
// than the rest of a paragraph).
class TimeScanner
{
public:
    explicit TimeScanner(QStringView text)
        : m_text(text)
    {
    }
    bool atEnd() const { return m_at == m_text.size(); }
    bool take(QChar c)
    {
        if (atEnd() || m_text[m_at] != c)
            return false;
        ++m_at;
        return true;
    }
    bool take(QStringView word)
    {
        if (!m_text.sliced(m_at).startsWith(word))
            return false;
        m_at += word.size();
        return true;
    }
    // ASCII digits (exactly `count` when it is given), and a fraction after them when
    // `fraction` allows one: "." and at least one digit. Empty when they are not there.
    QStringView number(bool fraction, qsizetype count = 0)
    {
        const qsizetype from = m_at;
        qsizetype end = digitsFrom(from);
        if (end == from || (count > 0 && end - from != count))
            return {};
        if (fraction && end + 1 < m_text.size() && m_text[end] == u'.' && digitsFrom(end + 1) > end + 1)
            end = digitsFrom(end + 1);
        m_at = end;
        return m_text.sliced(from, end - from);
    }

private:
    qsizetype digitsFrom(qsizetype at) const
    {
        while (at < m_text.size() && m_text[at] >= u'0' && m_text[at] <= u'9')
            ++at;
        return at;
    }

    QStringView m_text;
    qsizetype m_at = 0;
};

// Clock time: "01:02:03.5", "01:02:03:12" (frames), "01:02:03:12.1" (and sub-frames).
std::optional<double> clockTimeOf(QStringView value, const TtmlTime::Rates &rates)
{
    TimeScanner scan(value);
    const QStringView hours = scan.number(false);
    if (hours.isEmpty() || !scan.take(u':'))
        return std::nullopt;
    const QStringView minutes = scan.number(false, 2);
    if (minutes.isEmpty() || !scan.take(u':'))
        return std::nullopt;
    const QStringView seconds = scan.number(true, 2);
    if (seconds.isEmpty())
        return std::nullopt;
    double time = hours.toDouble() * 3600 + minutes.toDouble() * 60 + seconds.toDouble();
    if (scan.take(u':')) {
        const QStringView frames = scan.number(false);
        if (frames.isEmpty())
            return std::nullopt;
        time += frames.toDouble() / rates.frameRate;
        if (scan.take(u'.')) {
            const QStringView subFrames = scan.number(false);
            if (subFrames.isEmpty())
                return std::nullopt;
            time += subFrames.toDouble() / (rates.frameRate * rates.subFrameRate);
        }
    }
    return scan.atEnd() ? std::optional(time) : std::nullopt;
}

} // namespace

std::optional<double> TtmlTime::ofLooseClock(QStringView value, const Rates &rates)
{
    QString dotted = value.trimmed().toString();
    dotted.replace(u',', u'.');
    if (const auto clock = clockTimeOf(dotted, rates))
        return clock;
    const qsizetype colon = dotted.indexOf(u':');
    if (colon <= 0 || dotted.indexOf(u':', colon + 1) >= 0)
        return std::nullopt;
    TimeScanner minutesScan(QStringView(dotted).first(colon));
    const QStringView minutes = minutesScan.number(false);
    TimeScanner secondsScan(QStringView(dotted).sliced(colon + 1));
    const QStringView seconds = secondsScan.number(true, 2);
    if (minutes.isEmpty() || !minutesScan.atEnd() || seconds.isEmpty() || !secondsScan.atEnd())
        return std::nullopt;
    return minutes.toDouble() * 60 + seconds.toDouble();
}

// A time expression: clock time or an offset ("12.5s", "500ms", "90f", "10000t").
std::optional<double> TtmlTime::of(QStringView value, const Rates &rates)
{
    value = value.trimmed();
    if (const auto clock = clockTimeOf(value, rates))
        return clock;
    TimeScanner scan(value);
    const QStringView number = scan.number(true);
    if (number.isEmpty())
        return std::nullopt;
    const double count = number.toDouble();
    double seconds;
    if (scan.take(u"h"))
        seconds = count * 3600;
    else if (scan.take(u"ms"))
        seconds = count / 1000;
    else if (scan.take(u"m"))
        seconds = count * 60;
    else if (scan.take(u"s"))
        seconds = count;
    else if (scan.take(u"f"))
        seconds = count / rates.frameRate;
    else if (scan.take(u"t"))
        seconds = count / rates.tickRate;
    else
        return std::nullopt;
    if (scan.atEnd())
        return seconds;
    return std::nullopt;
}
