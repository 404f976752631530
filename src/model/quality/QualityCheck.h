#pragma once

#include "model/quality/QualityLimits.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QFlags>
#include <QString>
#include <QStringView>

#include <array>

// The checks of one subtitle against the limits. A subtitle's problems depend only on
// itself and on the subtitle after it, so an edit changes the problems of the edited
// subtitles and of those just before them, nothing else.
//
// Text is measured as the viewer reads it: user-perceived characters (graphemes), each
// line trimmed, without line breaks and without formatting tags (<i>, </b>,
// <font color="…">, {\an8}). Lines without a visible character are not counted.
class QualityCheck
{
    Q_GADGET
    Q_DECLARE_TR_FUNCTIONS(QualityCheck)

public:
    enum Problem : quint16 {
        Overlap = 1 << 0,     // ends after the next subtitle starts
        GapTooSmall = 1 << 1, // ends less than the minimum gap before the next one
        TooShort = 1 << 2,
        TooLong = 1 << 3,
        TooFast = 1 << 4, // reads faster than the limit
        LineTooLong = 1 << 5,
        TooManyLines = 1 << 6,
        // An edge a few frames from a shot change (checked by the problem index, which
        // knows the shot changes; see ShotChangeRules).
        StartNearShotChange = 1 << 7,
        EndNearShotChange = 1 << 8,
        // Against the original of a translation, while one is attached (checked by the
        // problem index, which knows it; see OriginalPairing). No fix mends these.
        Untranslated = 1 << 9,
        NoMatchingOriginal = 1 << 10, // no original line has this start and end
        // Left where it was by the last alignment to the speech: its words were not found
        // (checked by the problem index, which is told which lines were left).
        NotAligned = 1 << 11,
    };
    // The names give the report's machine ids: TooFast is "too-fast".
    Q_ENUM(Problem)
    Q_DECLARE_FLAGS(Problems, Problem)
    // Every kind, in the order problems are listed.
    static constexpr std::array<Problem, 12> allProblems{Overlap,      GapTooSmall,         TooShort,
                                                         TooLong,      TooFast,             LineTooLong,
                                                         TooManyLines, StartNearShotChange, EndNearShotChange,
                                                         Untranslated, NoMatchingOriginal,  NotAligned};
    static constexpr quint16 shotChangeProblems = StartNearShotChange | EndNearShotChange;
    static constexpr quint16 originalProblems = Untranslated | NoMatchingOriginal;

    // Times closer than half a millisecond (what an SRT file keeps) count as equal, so a
    // fixed subtitle stays fixed after it is saved and read again.
    static constexpr double tolerance = 0.0005;

    struct TextMeasure
    {
        int counted = 0;     // characters or words of all lines together, as the reading speed counts them
        int longestLine = 0; // visible characters of the longest line
        int lines = 0;       // lines with a visible character
    };
    // `reading` says which characters `counted` counts; line lengths count them all.
    static TextMeasure measure(QStringView text, QualityLimits::Characters reading = QualityLimits::Characters::All);
    // `counted` as the limits' reading speed counts: characters by their rule, or words.
    static TextMeasure measure(QStringView text, const QualityLimits &limits);
    // Words as a reader sees them: tags left out, a dash that marks a speaker is no word,
    // and a hyphen, an apostrophe or a decimal point does not split one ("don't",
    // "well-known", "3.5").
    static int wordCount(QStringView text);
    // Visible characters of one line: tags removed, trimmed, graphemes counted.
    static int visibleLength(QStringView line);
    static int graphemeCount(QStringView text, QualityLimits::Characters counted = QualityLimits::Characters::All);
    static QString withoutTags(QStringView text);
    // Where the tag starting at `from` ends (one past its last character), or -1 when the
    // text there is no tag: "<i>", "</font>", "<font color=…>", "{\an8}".
    static qsizetype tagEnd(QStringView text, qsizetype from);

    static double duration(const Subtitle &subtitle) { return subtitle.end - subtitle.start; }
    // In the limits' unit (characters a second or words a minute), counted by their rule;
    // 0 without text, infinity when text has no time at all.
    static double readingSpeed(const Subtitle &subtitle, const QualityLimits &limits);
    // What was counted over the seconds, a second.
    static double readingSpeed(int counted, double duration);
    // A speed in the limits' unit as every view shows it: "17.2" characters a second,
    // "172" words a minute, "∞".
    static QString shownReadingSpeed(double speed, const QualityLimits &limits);

    // `next` is the subtitle after this one in the list, or nullptr for the last one.
    static Problems check(const Subtitle &subtitle, const Subtitle *next, const QualityLimits &limits,
                          double minGap);

    static QString name(Problem problem);
    // A measure as every view shows it: in the user's locale ("0,833" in German), with
    // `decimals` places, never grouped ("3599.960", not "3,599.960").
    static QString shownNumber(double value, int decimals);
    // A short sentence with the numbers: "3.20 s on screen; at least 0.83 s".
    static QString describe(Problem problem, const Subtitle &subtitle, const Subtitle *next,
                            const QualityLimits &limits, double minGap);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(QualityCheck::Problems)
