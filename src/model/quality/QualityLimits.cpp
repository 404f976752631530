#include "model/quality/QualityLimits.h"

#include "model/FrameTiming.h"

#include <QSettings>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const QString maxCharactersPerSecondKey = QStringLiteral("quality/maxCharactersPerSecond");
const QString minDurationKey = QStringLiteral("quality/minDuration");
const QString maxDurationKey = QStringLiteral("quality/maxDuration");
const QString maxLineLengthKey = QStringLiteral("quality/maxLineLength");
const QString maxLinesKey = QStringLiteral("quality/maxLines");
const QString minGapFramesKey = QStringLiteral("quality/minGapFrames");
const QString shotChangeZoneKey = QStringLiteral("quality/shotChangeZoneFrames");
const QString endBeforeShotChangeKey = QStringLiteral("quality/endBeforeShotChangeFrames");
const std::array<const QString *, 8> storedKeys{&maxCharactersPerSecondKey, &minDurationKey, &maxDurationKey,
                                                &maxLineLengthKey,          &maxLinesKey,    &minGapFramesKey,
                                                &shotChangeZoneKey,         &endBeforeShotChangeKey};

double clampedValue(double value, double fallback, double low, double high)
{
    if (!std::isfinite(value))
        return fallback;
    return std::clamp(value, low, high);
}

double readNumber(const QSettings &settings, const QString &key, double fallback)
{
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok ? value : fallback;
}

int clampedInt(double value, int fallback, int low, int high)
{
    if (!std::isfinite(value))
        return fallback;
    return int(std::lround(std::clamp(value, double(low), double(high))));
}

} // namespace

double QualityLimits::maxReadingPerSecond() const
{
    return readingUnit == ReadingUnit::WordsPerMinute ? maxReadingSpeed / 60 : maxReadingSpeed;
}

double QualityLimits::inReadingUnit(double perSecond) const
{
    return readingUnit == ReadingUnit::WordsPerMinute ? perSecond * 60 : perSecond;
}

double QualityLimits::countingRate(double videoRate) const
{
    return FrameTiming::countingRate(videoRate, frameRate);
}

double QualityLimits::minGap(double videoRate) const
{
    return minGapFrames / countingRate(videoRate);
}

QualityLimits QualityLimits::clamped() const
{
    const QualityLimits defaults;
    QualityLimits limits;
    limits.maxReadingSpeed = clampedValue(maxReadingSpeed, defaults.maxReadingSpeed, 1, 1000);
    limits.minDuration = clampedValue(minDuration, defaults.minDuration, 0, 3600);
    limits.maxDuration = clampedValue(maxDuration, defaults.maxDuration, 0.1, 86400);
    limits.maxDuration = std::max(limits.maxDuration, limits.minDuration);
    limits.maxLineLength = clampedInt(maxLineLength, defaults.maxLineLength, 1, 10000);
    limits.maxLines = clampedInt(maxLines, defaults.maxLines, 1, 100);
    limits.minGapFrames = clampedInt(minGapFrames, defaults.minGapFrames, 0, 1000);
    limits.shotChangeZoneFrames = clampedInt(shotChangeZoneFrames, defaults.shotChangeZoneFrames, 1, 50);
    limits.endBeforeShotChangeFrames =
        clampedInt(endBeforeShotChangeFrames, defaults.endBeforeShotChangeFrames, 0, limits.shotChangeZoneFrames - 1);
    limits.readingCharacters = readingCharacters;
    limits.readingUnit = readingUnit;
    limits.frameRate = clampedValue(frameRate, defaults.frameRate, 1, 1000);
    return limits;
}

QualityLimits QualityLimits::load(const QSettings &settings)
{
    const QualityLimits defaults;
    QualityLimits limits;
    limits.maxReadingSpeed = readNumber(settings, maxCharactersPerSecondKey, defaults.maxReadingSpeed);
    limits.minDuration = readNumber(settings, minDurationKey, defaults.minDuration);
    limits.maxDuration = readNumber(settings, maxDurationKey, defaults.maxDuration);
    // Whole numbers are read as numbers too: a stored "1e9" or "-3" is clamped, not refused.
    limits.maxLineLength = clampedInt(readNumber(settings, maxLineLengthKey, defaults.maxLineLength),
                                      defaults.maxLineLength, 1, 10000);
    limits.maxLines = clampedInt(readNumber(settings, maxLinesKey, defaults.maxLines), defaults.maxLines, 1, 100);
    limits.minGapFrames = clampedInt(readNumber(settings, minGapFramesKey, defaults.minGapFrames),
                                     defaults.minGapFrames, 0, 1000);
    limits.shotChangeZoneFrames = clampedInt(readNumber(settings, shotChangeZoneKey, defaults.shotChangeZoneFrames),
                                             defaults.shotChangeZoneFrames, 1, 50);
    limits.endBeforeShotChangeFrames =
        clampedInt(readNumber(settings, endBeforeShotChangeKey, defaults.endBeforeShotChangeFrames),
                   defaults.endBeforeShotChangeFrames, 0, 50);
    return limits.clamped();
}

bool QualityLimits::isStoredIn(const QSettings &settings)
{
    return std::any_of(storedKeys.begin(), storedKeys.end(), [&settings](const QString *key) { return settings.contains(*key); });
}

void QualityLimits::removeFrom(QSettings &settings)
{
    for (const QString *key : storedKeys)
        settings.remove(*key);
}
