#include "model/QualityFixes.h"

#include "model/LineBalancer.h"
#include "model/ProblemIndex.h"
#include "model/SubtitleController.h"
#include "model/UndoManager.h"

#include <algorithm>
#include <limits>

Subtitle::Values QualityFixes::proposal(const Subtitle &subtitle, const Subtitle *next,
                                        QualityCheck::Problems problems, const QualityLimits &limits,
                                        double minGap)
{
    Subtitle::Values values;
    QString text = subtitle.text();
    if (problems & (QualityCheck::LineTooLong | QualityCheck::TooManyLines)) {
        const std::optional<QString> rebroken = LineBalancer::rebreak(text, limits.maxLineLength, limits.maxLines);
        if (rebroken && *rebroken != text) {
            text = *rebroken;
            values.text = text;
        }
    }

    const double latestEnd = next ? next->start - minGap : std::numeric_limits<double>::infinity();
    const int characters = QualityCheck::measure(text).characters;
    const double maxSpeed = limits.maxCharactersPerSecond;
    if (problems & (QualityCheck::Overlap | QualityCheck::GapTooSmall)) {
        // No room when the gap would swallow the whole subtitle.
        if (latestEnd > subtitle.start && latestEnd < subtitle.end)
            values.end = latestEnd;
    } else if (problems & (QualityCheck::TooShort | QualityCheck::TooFast)) {
        const double needed = std::max(limits.minDuration, characters / maxSpeed);
        const double end = std::min({subtitle.start + needed, subtitle.start + limits.maxDuration, latestEnd});
        if (end > subtitle.end + QualityCheck::tolerance)
            values.end = end;
    } else if (problems & QualityCheck::TooLong) {
        const double end = subtitle.start + limits.maxDuration;
        if (characters <= maxSpeed * limits.maxDuration && end < subtitle.end)
            values.end = end;
    }
    return values;
}

bool QualityFixes::fix(SubtitleController &controller, const ProblemIndex &index, int position,
                       QualityCheck::Problem problem)
{
    if (position < 0 || position >= controller.count() || !(index.problems(position) & problem))
        return false;
    const Subtitle *next = position + 1 < controller.count() ? controller.at(position + 1).get() : nullptr;
    const Subtitle::Values values = proposal(*controller.at(position), next, problem, index.limits(), index.minGap());
    if (values.isEmpty())
        return false;
    controller.updateSubtitles({values}, IndexSet(position));
    if (UndoManager *undo = controller.undoManager())
        undo->setActionName(actionName(problem));
    return true;
}

int QualityFixes::fixAll(SubtitleController &controller, const ProblemIndex &index)
{
    // One update for everything: one undo step, one report to the panes.
    QList<Subtitle::Values> allValues;
    IndexSet positions;
    const SubtitleList &list = controller.subtitles();
    for (int position = 0; position < list.size(); ++position) {
        const QualityCheck::Problems problems = index.problems(position);
        if (!problems)
            continue;
        const Subtitle *next = position + 1 < list.size() ? list[position + 1].get() : nullptr;
        Subtitle::Values values = proposal(*list[position], next, problems, index.limits(), index.minGap());
        if (values.isEmpty())
            continue;
        allValues.append(std::move(values));
        positions.insert(position);
    }
    if (positions.isEmpty())
        return 0;
    controller.updateSubtitles(allValues, positions);
    if (UndoManager *undo = controller.undoManager())
        undo->setActionName(tr("Fix All Problems"));
    return positions.count();
}

QString QualityFixes::actionName(QualityCheck::Problem problem)
{
    switch (problem) {
    case QualityCheck::Overlap:
        return tr("Fix Overlap");
    case QualityCheck::GapTooSmall:
        return tr("Fix Gap");
    case QualityCheck::TooShort:
        return tr("Fix Duration");
    case QualityCheck::TooLong:
        return tr("Fix Duration");
    case QualityCheck::TooFast:
        return tr("Fix Reading Speed");
    case QualityCheck::LineTooLong:
    case QualityCheck::TooManyLines:
        return tr("Fix Line Breaks");
    }
    return {};
}
