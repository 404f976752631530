#pragma once

#include "model/quality/QualityCheck.h"
#include "model/quality/QualityLimits.h"
#include "model/quality/TimingExcess.h"

#include <QCoreApplication>
#include <QString>

#include <map>
#include <optional>
#include <utility>

class ProblemIndex;
class ShotChangeRules;
class SubtitleController;

// Mends problems without making any limit of the mended subtitle or of its neighbours
// worse than it was. A fix changes the subtitle's end and text and, to open a gap, the
// start of the next subtitle; it never reorders the list.
//
// - overlap, gap too small: start the next subtitle later, by at most one minimum gap (a
//   start marks where the speech begins) and only while that one keeps within its limits;
//   the rest comes off this subtitle's end while it keeps within its own;
// - too short, too fast: lengthen it into the free time that follows, as far as the
//   limits and the next subtitle allow;
// - too long: end it at the maximum duration, unless that makes it too fast;
// - line too long, too many lines: break the text again at the spaces that balance the
//   lines best (joining lines adds spaces, so only while it does not read faster).
// - start or end near a shot change: the edge goes where the shot-change rules put it,
//   unless that breaks the minimum gap to a neighbour or makes the subtitle read faster,
//   shorter or longer than its limits allow.
// - untranslated, no original at these times: left to the translator, as no fix knows
//   what was meant.
// A fix that has no room leaves the subtitle alone, and the outcome says why.
class QualityFixes
{
    Q_DECLARE_TR_FUNCTIONS(QualityFixes)

public:
    // Why a problem was left.
    enum Reason {
        NoTimeToSpare,    // neither this subtitle nor the next can give the time
        NoFreeTime,       // the next subtitle follows too closely
        LongestDuration,  // lengthening it would make it too long
        WouldReadTooFast, // the fix would make it read too fast
        NoBreakFits,      // no breaking of its words fits the line limits
        NoTimeBefore,     // the previous subtitle ends too close to move its start earlier
        NoAutomaticFix,   // only the translator can mend it
    };

    // What a fix did: the problems it mended and those it left, by kind (and why).
    struct Outcome
    {
        int changedSubtitles = 0;
        std::map<QualityCheck::Problem, int> fixed;
        std::map<std::pair<QualityCheck::Problem, Reason>, int> left;

        int fixedCount() const;
        int leftCount() const;
        // "Fixed 24: 10 small gaps, 14 too fast. Left 58: 58 too fast (no free time after it)."
        QString summary() const;
    };

    // Mends one problem of the subtitle at `position` as one named undo step.
    static Outcome fix(SubtitleController &controller, const ProblemIndex &index, int position,
                       QualityCheck::Problem problem);
    // Mends every problem that can be mended, as one update and one named undo step. Run
    // again on its result, it changes nothing.
    static Outcome fixAll(SubtitleController &controller, const ProblemIndex &index);

    // Moves one edge of `span` (StartNearShotChange: its start, EndNearShotChange: its end)
    // where the shot-change rules put it, unless that breaks the minimum gap to a
    // neighbour or makes a limit worse; then leaves it and says why. `previousEnd` is
    // where the subtitle before it ends.
    static std::optional<Reason> moveToShotChangeRule(QualityCheck::Problem edge, const ShotChangeRules &rules,
                                                      TimingExcess::Span &span, double previousEnd,
                                                      const QualityLimits &limits, double minGap);

    static QString actionName(QualityCheck::Problem problem);
    static QString reasonText(Reason reason);
};
