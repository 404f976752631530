#pragma once

#include "model/QualityCheck.h"
#include "model/QualityLimits.h"
#include "model/Subtitle.h"

#include <QCoreApplication>

class ProblemIndex;
class SubtitleController;

// Mends problems by changing ends and texts only, so a fix never reorders the list and
// never changes another subtitle's problems (those of the subtitle before depend on this
// one's start, which stays).
//
// - overlap, gap too small: end the subtitle the minimum gap before the next one;
// - too short, too fast: lengthen it into the free time that follows, as far as the
//   limits and the next subtitle allow;
// - too long: end it at the maximum duration, unless that makes it too fast;
// - line too long, too many lines: break the text again at the spaces that balance the
//   lines best.
// A fix that has no room leaves the subtitle alone.
class QualityFixes
{
    Q_DECLARE_TR_FUNCTIONS(QualityFixes)

public:
    // The values that mend `problems` of `subtitle` (empty when none can be mended).
    static Subtitle::Values proposal(const Subtitle &subtitle, const Subtitle *next, QualityCheck::Problems problems,
                                     const QualityLimits &limits, double minGap);

    // Mends one problem of the subtitle at `position` as one named undo step. False when
    // there was nothing to change.
    static bool fix(SubtitleController &controller, const ProblemIndex &index, int position,
                    QualityCheck::Problem problem);
    // Mends every problem that can be mended, as one named undo step. Returns how many
    // subtitles changed.
    static int fixAll(SubtitleController &controller, const ProblemIndex &index);

    static QString actionName(QualityCheck::Problem problem);
};
