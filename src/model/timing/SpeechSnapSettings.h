#pragma once

class QSettings;

// How subtitle edges are moved to the speech in a film's sound: how far from an edge
// speech is looked for, and how long an end stays after the voice stops. Not quality
// limits: no subtitle is checked against them. Values read from the settings are clamped,
// as the quality limits are.
class SpeechSnapSettings
{
public:
    // Three frames (an eighth of a second at 24 fps): speech detection ends a stretch
    // where the sound falls below its threshold, which loses the fading end of the last
    // word, and a reader wants a moment after the voice stops. Still shorter than a pause
    // between sentences, and than the 12 frames around a shot change.
    int leadOutFrames = 3;
    // Seconds on either side of an edge: wider than the usual error of a hand-timed edge,
    // narrower than the shortest subtitle, so that an edge does not jump to the next line.
    double searchWindow = 0.5;

    static constexpr int maxLeadOutFrames = 12;
    static constexpr double minSearchWindow = 0.05;
    static constexpr double maxSearchWindow = 3;

    // The lead-out in seconds, counted at the video's rate (24 while none gives one).
    double leadOut(double frameRate) const;

    SpeechSnapSettings clamped() const;
    static SpeechSnapSettings load(const QSettings &settings);
    void save(QSettings &settings) const;

    friend bool operator==(const SpeechSnapSettings &, const SpeechSnapSettings &) = default;
};
