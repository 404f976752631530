#pragma once

#include <QtGlobal>

class QSettings;

// The limits subtitles are checked against, with defaults from common subtitling
// guidance. Values read from the settings are clamped to sane ranges: a hand-edited or
// damaged settings file must not switch every check off or make every subtitle fail.
class QualityLimits
{
public:
    // How the reading speed is counted: characters a second, or words a minute as
    // broadcasters count it (160 to 180 for adults).
    enum class ReadingUnit : quint8 { CharactersPerSecond, WordsPerMinute };
    ReadingUnit readingUnit = ReadingUnit::CharactersPerSecond;
    double maxReadingSpeed = 20; // in readingUnit
    double minDuration = 0.833; // seconds
    double maxDuration = 7;     // seconds
    int maxLineLength = 42;     // characters
    int maxLines = 2;
    int minGapFrames = 2;
    // Shot changes: an edge closer than this many frames to a cut is moved onto it or
    // away from it, and an end near a cut ends this many frames before it.
    int shotChangeZoneFrames = 12;
    int endBeforeShotChangeFrames = 2;

    // What a reading speed in characters counts as a character. Line lengths always count every
    // visible character, spaces included: they measure the width of the line.
    enum class Characters { All, WithoutSpaces, LettersAndDigits };
    Characters readingCharacters = Characters::All;
    // The rate frames are counted at while no video gives one.
    double frameRate = 24;

    // The smallest gap between two subtitles in seconds: minGapFrames at the video's
    // rate, or at the limits' own rate while no video gives one.
    double minGap(double videoRate) const;
    // The reading speed limit in characters or words a second, what timing is worked
    // out in; and a speed a second in readingUnit.
    double maxReadingPerSecond() const;
    double inReadingUnit(double perSecond) const;
    // The rate frames are counted in: the video's, or the limits' own while none gives one.
    double countingRate(double videoRate) const;

    // Every value inside its range, and the maximum duration not below the minimum.
    QualityLimits clamped() const;

    // The one global set of limits earlier versions kept in the settings, read once to
    // move it into a profile, then removed.
    static QualityLimits load(const QSettings &settings);
    static bool isStoredIn(const QSettings &settings);
    static void removeFrom(QSettings &settings);

    friend bool operator==(const QualityLimits &, const QualityLimits &) = default;
};
