#include "model/timing/TimingSettings.h"

#include "model/FrameTiming.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

const QString defaultDurationKey = QStringLiteral("timing/defaultDuration");
const QString chainThresholdFramesKey = QStringLiteral("timing/chainThresholdFrames");

double readNumber(const QSettings &settings, const QString &key, double fallback)
{
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

} // namespace

double TimingSettings::chainThreshold(double videoRate, double profileRate) const
{
    return chainThresholdFrames * FrameTiming::frameLength(videoRate, profileRate);
}

TimingSettings TimingSettings::clamped() const
{
    const TimingSettings defaults;
    TimingSettings settings;
    settings.defaultDuration = std::isfinite(defaultDuration)
                                   ? std::clamp(defaultDuration, minDefaultDuration, maxDefaultDuration)
                                   : defaults.defaultDuration;
    settings.chainThresholdFrames = std::clamp(chainThresholdFrames, 1, maxChainThresholdFrames);
    return settings;
}

TimingSettings TimingSettings::load(const QSettings &settings)
{
    const TimingSettings defaults;
    TimingSettings loaded;
    loaded.defaultDuration = readNumber(settings, defaultDurationKey, defaults.defaultDuration);
    // Clamped before it becomes an int: a stored "1e12" must not overflow.
    const double frames = readNumber(settings, chainThresholdFramesKey, defaults.chainThresholdFrames);
    loaded.chainThresholdFrames = int(std::lround(std::clamp(frames, 1.0, double(maxChainThresholdFrames))));
    return loaded.clamped();
}

void TimingSettings::save(QSettings &settings) const
{
    const TimingSettings values = clamped();
    settings.setValue(defaultDurationKey, values.defaultDuration);
    settings.setValue(chainThresholdFramesKey, values.chainThresholdFrames);
}
