#pragma once

class QSettings;

// How the keyboard timing commands go: how long a subtitle added at the playback cursor
// lasts, and which gaps chaining closes. Values read from the settings are clamped, as
// the quality limits are.
class TimingSettings
{
public:
    double defaultDuration = 2; // seconds
    // Half a second at 24 fps: shorter gaps flicker between two subtitles.
    int chainThresholdFrames = 12;

    static constexpr double minDefaultDuration = 0.5;
    static constexpr double maxDefaultDuration = 10;
    static constexpr int maxChainThresholdFrames = 100;

    // The threshold in seconds, its frames counted as FrameTiming::countingRate() does.
    double chainThreshold(double videoRate, double profileRate) const;

    TimingSettings clamped() const;
    static TimingSettings load(const QSettings &settings);
    void save(QSettings &settings) const;

    friend bool operator==(const TimingSettings &, const TimingSettings &) = default;
};
