#include "model/timing/SpeechSnapSettings.h"

#include "model/quality/QualityLimits.h"

#include <QSettings>

#include <algorithm>
#include <cmath>

namespace {

const QString leadOutFramesKey = QStringLiteral("speech/leadOutFrames");
const QString searchWindowKey = QStringLiteral("speech/searchWindow");

double readNumber(const QSettings &settings, const QString &key, double fallback)
{
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

} // namespace

double SpeechSnapSettings::leadOut(double frameRate) const
{
    return leadOutFrames / QualityLimits().countingRate(frameRate);
}

SpeechSnapSettings SpeechSnapSettings::clamped() const
{
    const SpeechSnapSettings defaults;
    SpeechSnapSettings settings;
    settings.leadOutFrames = std::clamp(leadOutFrames, 0, maxLeadOutFrames);
    settings.searchWindow = std::isfinite(searchWindow) ? std::clamp(searchWindow, minSearchWindow, maxSearchWindow)
                                                        : defaults.searchWindow;
    return settings;
}

SpeechSnapSettings SpeechSnapSettings::load(const QSettings &settings)
{
    const SpeechSnapSettings defaults;
    SpeechSnapSettings loaded;
    // Read as a number and clamped before it becomes an int: a stored "1e12" must not overflow.
    const double frames = readNumber(settings, leadOutFramesKey, defaults.leadOutFrames);
    loaded.leadOutFrames = int(std::lround(std::clamp(frames, 0.0, double(maxLeadOutFrames))));
    loaded.searchWindow = readNumber(settings, searchWindowKey, defaults.searchWindow);
    return loaded.clamped();
}

void SpeechSnapSettings::save(QSettings &settings) const
{
    const SpeechSnapSettings values = clamped();
    settings.setValue(leadOutFramesKey, values.leadOutFrames);
    settings.setValue(searchWindowKey, values.searchWindow);
}
