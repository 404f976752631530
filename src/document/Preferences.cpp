#include "document/Preferences.h"

#include "document/QualityProfiles.h"
#include "document/TextEncoding.h"

#include <QPointF>
#include <QSettings>

#include <algorithm>
#include <cmath>

int Preferences::boundedInt(const QVariant &value, int fallback, int minimum, int maximum)
{
    bool ok = false;
    // Through double: a huge number is clamped, not wrapped or refused.
    const double number = value.toDouble(&ok);
    if (!ok || std::isnan(number))
        return fallback;
    return int(std::clamp(number, double(minimum), double(maximum)));
}

int Preferences::recentFilesLimit()
{
    return boundedInt(QSettings().value(QStringLiteral("recentFilesLimit")), defaultRecentFilesLimit, 0,
                      maximumRecentFilesLimit);
}

int Preferences::autosaveDelayMilliseconds()
{
    return 1000 * boundedInt(QSettings().value(QStringLiteral("autosaveDelaySeconds")), defaultAutosaveDelaySeconds, 1,
                             maximumAutosaveDelaySeconds);
}

int Preferences::saveEncoding()
{
    bool ok = false;
    const int number = QSettings().value(QStringLiteral("saveEncoding")).toInt(&ok);
    if (!ok || (number != TextEncoding::Automatic && !TextEncoding::find(number)))
        return TextEncoding::Automatic;
    return number;
}

namespace {
const QString timeFormKey = QStringLiteral("timeForm");
const QString millisecondsName = QStringLiteral("milliseconds");
const QString timecodeName = QStringLiteral("timecode");
const QString framesName = QStringLiteral("frames");
} // namespace

TimeForm Preferences::timeForm()
{
    const QString name = QSettings().value(timeFormKey).toString();
    if (name == timecodeName)
        return TimeForm::Timecode;
    if (name == framesName)
        return TimeForm::Frames;
    return TimeForm::Milliseconds;
}

void Preferences::setTimeForm(TimeForm form)
{
    const QString name = form == TimeForm::Timecode ? timecodeName
        : form == TimeForm::Frames                   ? framesName
                                                     : millisecondsName;
    QSettings().setValue(timeFormKey, name);
}

bool Preferences::playsDraggedEdges()
{
    // Anything but false, 0 or nothing leaves it on.
    return QSettings().value(QStringLiteral("playDraggedEdges"), true).toBool();
}

void Preferences::setPlaysDraggedEdges(bool plays)
{
    QSettings().setValue(QStringLiteral("playDraggedEdges"), plays);
}

bool Preferences::announcesSubtitles()
{
    return QSettings().value(QStringLiteral("announceSubtitles"), false).toBool();
}

void Preferences::setAnnouncesSubtitles(bool announces)
{
    QSettings().setValue(QStringLiteral("announceSubtitles"), announces);
}

bool Preferences::showsOriginalOnVideo()
{
    return QSettings().value(QStringLiteral("showOriginalOnVideo"), true).toBool();
}

void Preferences::setShowsOriginalOnVideo(bool shows)
{
    QSettings().setValue(QStringLiteral("showOriginalOnVideo"), shows);
}

QVariantMap Preferences::checkedWindowState(const QVariantMap &state)
{
    QVariantMap checked = state;
    const auto dropUnless = [&checked](const QString &key, auto &&acceptable) {
        if (checked.contains(key) && !acceptable(checked.value(key)))
            checked.remove(key);
    };
    const auto finiteNumber = [](const QVariant &value, double minimum) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        return ok && std::isfinite(number) && number >= minimum;
    };
    dropUnless(QStringLiteral("selectedIndex"), [](const QVariant &value) {
        bool ok = false;
        return value.toInt(&ok) >= 0 && ok;
    });
    dropUnless(QStringLiteral("audioTrack"), [](const QVariant &value) {
        bool ok = false;
        return value.toInt(&ok) >= 1 && ok;
    });
    // A path, never a list or a map; an encoding only by a number known here.
    dropUnless(QStringLiteral("originalFile"), [](const QVariant &value) {
        return value.typeId() == QMetaType::QString && !value.toString().isEmpty() && !value.toString().contains(QChar(0));
    });
    dropUnless(QStringLiteral("originalEncoding"), [](const QVariant &value) {
        bool ok = false;
        const int number = value.toInt(&ok);
        return ok && TextEncoding::find(number) != nullptr;
    });
    dropUnless(QStringLiteral("magnification"), [&](const QVariant &value) { return finiteNumber(value, 0); });
    dropUnless(QStringLiteral("timecodeOffset"), [&](const QVariant &value) { return finiteNumber(value, 0); });
    dropUnless(QStringLiteral("waveformZoom"), [&](const QVariant &value) { return finiteNumber(value, 0); });
    dropUnless(QStringLiteral("currentTime"), [&](const QVariant &value) { return finiteNumber(value, 0); });
    dropUnless(QStringLiteral("offset"), [](const QVariant &value) {
        const QPointF point = value.toPointF();
        return value.canConvert<QPointF>() && std::isfinite(point.x()) && std::isfinite(point.y()) && point.x() >= 0;
    });
    dropUnless(QStringLiteral("qualityProfile"), [](const QVariant &value) {
        return value.typeId() == QMetaType::QString && QualityProfiles::isPlausibleId(value.toString());
    });
    return checked;
}
