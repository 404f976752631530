#pragma once

#include "format/TimeDisplay.h"

#include <QVariantMap>

class QSettings;

// The user's settings as the program may use them. Settings are a file anyone can edit:
// every value is checked, a number outside its range is clamped, and a value that is
// not what its key holds falls back to its default.
class Preferences
{
public:
    static constexpr int defaultRecentFilesLimit = 10;
    static constexpr int maximumRecentFilesLimit = 100;
    static constexpr int defaultAutosaveDelaySeconds = 3;
    static constexpr int maximumAutosaveDelaySeconds = 600;

    static int recentFilesLimit();
    static int autosaveDelayMilliseconds();
    // An encoding the program knows, or 0 for automatic detection.
    static int saveEncoding();
    // Whether dragging a subtitle's start or end on the timeline plays the sound around it.
    static bool playsDraggedEdges();
    static void setPlaysDraggedEdges(bool plays);
    // Whether the subtitles that playback reaches are told to a screen reader; off unless chosen.
    static bool announcesSubtitles();
    static void setAnnouncesSubtitles(bool announces);
    // Whether a translation's original shows above it over the video.
    static bool showsOriginalOnVideo();
    static void setShowsOriginalOnVideo(bool shows);

    // How the panes show times; milliseconds unless the setting names another form.
    static TimeForm timeForm();
    static void setTimeForm(TimeForm form);

    // The state a window stored for its next start, without values that no window can
    // take: non-numbers, infinities, negative positions.
    static QVariantMap checkedWindowState(const QVariantMap &state);

    // An integer setting: a number in [minimum, maximum] (clamped), else the fallback.
    static int boundedInt(const QVariant &value, int fallback, int minimum, int maximum);
};
