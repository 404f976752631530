#include "format/TimeDisplay.h"

#include "format/SubtitleParser.h"
#include "model/FrameTiming.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// Frames a drop-frame minute leaves out at its start: 2 at 29.97, 4 at 59.94.
int droppedPerMinute(int nominalRate)
{
    return nominalRate / 15;
}

QString rateText(double frameRate)
{
    return QString::number(frameRate, 'g', 5);
}

QString twoDigits(qint64 number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

} // namespace

TimeDisplay::TimeDisplay(TimeForm form, double frameRate, double offset)
    : m_form(form)
    , m_frameRate(std::isfinite(frameRate) && frameRate > 0 ? frameRate : 0)
    , m_offset(std::isfinite(offset) && offset > 0 ? offset : 0)
{
}

TimeForm TimeDisplay::form() const
{
    return hasRate() ? m_form : TimeForm::Milliseconds;
}

QString TimeDisplay::fallbackNote() const
{
    if (form() == m_form)
        return {};
    return tr("Timecode and frame numbers need the video's frame rate, which is not known: times show in milliseconds.");
}

qint64 TimeDisplay::frameAt(double seconds, double frameRate)
{
    if (!(frameRate > 0) || !(seconds > 0))
        return 0;
    // Far past any video, so that the count stays a number.
    constexpr double largest = 1e15;
    const double frame = std::floor(std::min(seconds * frameRate, largest));
    const double nextStart = (frame + 1) / frameRate;
    // The next frame's start as a subtitle file keeps it: cut to whole milliseconds.
    const double nextStartAsSaved = std::floor(nextStart * 1000 + 1e-6) / 1000;
    constexpr double halfMillisecond = 0.0005;
    const bool atNext = nextStart - seconds < halfMillisecond || nextStartAsSaved <= seconds + 1e-9;
    return qint64(frame) + (atNext ? 1 : 0);
}

bool TimeDisplay::isDropFrame(double frameRate)
{
    constexpr double tolerance = 0.005;
    return std::fabs(frameRate - 30000.0 / 1001) < tolerance || std::fabs(frameRate - 60000.0 / 1001) < tolerance;
}

int TimeDisplay::nominalRate(double frameRate)
{
    return std::max(1, int(std::lround(std::min(frameRate, 1e6))));
}

QString TimeDisplay::format(double seconds) const
{
    const double shown = std::max(seconds + m_offset, 0.0);
    switch (form()) {
    case TimeForm::Milliseconds:
        return SubtitleParser::shared().formatTime(shown);
    case TimeForm::Timecode:
        return timecode(frameAt(shown, m_frameRate));
    case TimeForm::Frames:
        return QString::number(frameAt(shown, m_frameRate));
    }
    return {};
}

QString TimeDisplay::timecode(qint64 frame) const
{
    const int rate = nominalRate(m_frameRate);
    const bool drop = isDropFrame(m_frameRate);
    if (drop) {
        // Counts the labels skipped before this frame: `dropped` at every minute but every tenth.
        const int dropped = droppedPerMinute(rate);
        const qint64 perMinute = qint64(rate) * 60 - dropped;
        const qint64 perTenMinutes = qint64(rate) * 600 - 9 * dropped;
        const qint64 tens = frame / perTenMinutes;
        const qint64 rest = frame % perTenMinutes;
        frame += 9 * dropped * tens + (rest >= dropped ? dropped * ((rest - dropped) / perMinute) : 0);
    }
    const qint64 totalSeconds = frame / rate;
    return QStringLiteral("%1:%2:%3%4%5")
        .arg(twoDigits(totalSeconds / 3600), twoDigits(totalSeconds / 60 % 60), twoDigits(totalSeconds % 60),
             drop ? QStringLiteral(";") : QStringLiteral(":"), twoDigits(frame % rate));
}

Expected<double, QString> TimeDisplay::parse(QStringView text) const
{
    const QStringView trimmed = text.trimmed();
    const auto needsRate = [] {
        return tr("A timecode or a frame number needs the video's frame rate, which is not known: "
                  "type the time as 00:00:01,500.");
    };

    static const QRegularExpression frameNumber(QStringLiteral("^\\d{1,12}$"));
    if (frameNumber.match(trimmed).hasMatch()) {
        if (!hasRate())
            return needsRate();
        return frameStart(trimmed.toLongLong());
    }
    static const QRegularExpression timecodePattern(QStringLiteral("^(\\d{1,6}):(\\d\\d):(\\d\\d)([:;])(\\d{2,3})$"));
    if (const auto match = timecodePattern.match(trimmed); match.hasMatch()) {
        if (!hasRate())
            return needsRate();
        return parseTimecode(match.capturedView(1), match.capturedView(2), match.capturedView(3),
                             match.capturedView(4).front(), match.capturedView(5));
    }
    // The list's own form, with a point for the comma as other programs write it.
    QString milliseconds = trimmed.toString();
    if (milliseconds.size() >= 4 && milliseconds.at(milliseconds.size() - 4) == u'.')
        milliseconds[milliseconds.size() - 4] = u',';
    const auto time = SubtitleParser::shared().parseTime(milliseconds);
    if (!time)
        return tr("“%1” is not a time: type it as 00:00:01,500, as timecode 00:00:01:12 or as a frame number.")
            .arg(trimmed.toString());
    // Whole milliseconds, as typed: the offset's sum leaves no rounding error in the list.
    const auto seconds = withOffsetTakenAway(time.value());
    if (!seconds)
        return seconds;
    return std::round(seconds.value() * 1000) / 1000;
}

Expected<double, QString> TimeDisplay::parseTimecode(QStringView hours, QStringView minutes, QStringView seconds,
                                                     QChar separator, QStringView frames) const
{
    const int rate = nominalRate(m_frameRate);
    const bool drop = isDropFrame(m_frameRate);
    const qint64 h = hours.toLongLong();
    const int m = minutes.toInt();
    const int s = seconds.toInt();
    const int f = frames.toInt();
    if (m > 59 || s > 59)
        return tr("Minutes and seconds go from 00 to 59.");
    if (f >= rate)
        return tr("At %1 frames per second the frames go from 00 to %2.").arg(rateText(m_frameRate)).arg(rate - 1);
    if (separator == u';' && !drop)
        return tr("“;” marks drop-frame timecode, which only 29.97 and 59.94 frames per second use: "
                  "write “:” before the frames.");
    qint64 frame = (h * 3600 + m * 60 + s) * rate + f;
    if (drop) {
        const int dropped = droppedPerMinute(rate);
        if (s == 0 && m % 10 != 0 && f < dropped)
            return tr("Drop-frame timecode skips frames 00 to %1 at the start of every minute but every tenth.")
                .arg(twoDigits(dropped - 1));
        const qint64 totalMinutes = h * 60 + m;
        frame -= dropped * (totalMinutes - totalMinutes / 10);
    }
    return frameStart(frame);
}

Expected<double, QString> TimeDisplay::frameStart(qint64 frame) const
{
    const auto time = withOffsetTakenAway(double(frame) / m_frameRate);
    if (!time)
        return time;
    // A frame's start, without the offset's rounding error.
    return FrameTiming::onFrame(time.value(), m_frameRate);
}

Expected<double, QString> TimeDisplay::withOffsetTakenAway(double shown) const
{
    const double seconds = shown - m_offset;
    constexpr double roundingError = 1e-6;
    if (seconds < -roundingError)
        return tr("That is before the timecode offset %1, where the video starts.").arg(format(0));
    return std::max(seconds, 0.0);
}
