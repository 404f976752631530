#include "model/quality/QualityFixes.h"

#include "model/FrameTiming.h"
#include "model/text/LineBalancer.h"
#include "model/quality/ProblemIndex.h"
#include "model/quality/ShotChangeRules.h"
#include "model/quality/TimingExcess.h"
#include "model/SubtitleController.h"
#include "model/UndoManager.h"

#include <QStringList>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace {

using Problem = QualityCheck::Problem;
using Problems = QualityCheck::Problems;

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double rounding = TimingExcess::rounding;
using Excess = TimingExcess;

// A subtitle as the fixes so far leave it.
struct Span : TimingExcess::Span
{
    QString text;
};

// How much shorter a subtitle may become and still keep within the shortest duration and
// the reading speed; nothing once it is past either.
double spareTime(const Span &span, const QualityLimits &limits)
{
    const double duration = span.end - span.start;
    double spare = duration - limits.minDuration;
    if (span.counted > 0)
        spare = std::min(spare, duration - span.counted / limits.maxReadingPerSecond());
    return std::max(0.0, spare);
}

// What one fix changes: this subtitle's end and text, and the next one's start.
struct Plan
{
    std::optional<double> end;
    std::optional<QString> text;
    std::optional<double> nextStart;

    bool isEmpty() const { return !end && !text && !nextStart; }
};

// Where a fix may put an edge: on a frame of the video (times stay as computed without
// one), and never later than the next cut allows, so a fix neither leaves the frames
// nor carries an edge into the next shot.
struct Edges
{
    double frameRate = 0;
    const ShotChangeRules &rules;

    double down(double t) const { return frameRate > 0 ? FrameTiming::onFrame(t, frameRate, FrameTiming::Rounding::Down) : t; }
    double up(double t) const { return frameRate > 0 ? FrameTiming::onFrame(t, frameRate, FrameTiming::Rounding::Up) : t; }

    // The end a lengthening from `end` towards `wanted` (no later than `latest`) reaches:
    // on a frame, not past the next cut, and not left a few frames before it, where the
    // rules would move it again: to the place before the cut when that is allowed,
    // else clear of the cut's zone.
    double lengthened(double end, double wanted, double latest) const
    {
        const double limit = down(std::min(latest, rules.latestEnd(end)));
        double to = std::min(up(wanted), limit);
        if (const std::optional<ShotChangeRules::Move> move = rules.end(to); move && move->to > to)
            to = move->to <= limit + rounding ? move->to : std::max(end, down(rules.clearBefore(*move)));
        return to;
    }
};

Plan plan(const Span &self, const Span *next, Problems problems, const QualityLimits &limits, double minGap,
          const Edges &edges, bool rebreak = true)
{
    Plan plan;
    Span after = self;
    Span nextAfter = next ? *next : Span();
    if (rebreak && problems & (QualityCheck::LineTooLong | QualityCheck::TooManyLines)) {
        const std::optional<QString> text = LineBalancer::rebreak(self.text, limits.maxLineLength, limits.maxLines);
        if (text && *text != self.text) {
            plan.text = *text;
            after.counted = QualityCheck::measure(*text, limits).counted;
        }
    }

    const double needed = next ? minGap - (next->start - self.end) : 0;
    if (needed > 0 && problems & (QualityCheck::Overlap | QualityCheck::GapTooSmall)) {
        // The next start goes no further than the cut ahead of it.
        double shift = std::min({needed, minGap, spareTime(*next, limits), edges.rules.latestStart(next->start) - next->start});
        if (next->start + shift >= next->nextStart)
            shift = 0; // it would pass the subtitle after it
        const double wholeGap = edges.up(self.end + minGap);
        const double shifted = std::max(next->start, edges.down(next->start + shift));
        const double shortened = edges.down(shifted - minGap);
        if (shift >= needed && wholeGap <= next->start + shift + rounding) {
            nextAfter.start = wholeGap;
        } else if (self.end - shortened <= spareTime(after, limits) + rounding && shortened > self.start) {
            nextAfter.start = shifted;
            after.end = shortened;
        }
        after.nextStart = nextAfter.start;
    }

    const double maxSpeed = limits.maxReadingPerSecond();
    const double longest = self.start + limits.maxDuration;
    if (problems & QualityCheck::TooLong && after.end > longest && after.counted <= maxSpeed * limits.maxDuration)
        after.end = std::max(self.start, edges.down(longest));

    // New line breaks may add spaces where lines are joined: more time for them, if there is.
    // Measured exactly, as the final comparison below is: were it measured with the checks'
    // tolerance, a text kept at the limit here could be refused there, and taken by a second run.
    const bool readsTooFast = after.counted > maxSpeed * (after.end - self.start);
    if (problems & (QualityCheck::TooShort | QualityCheck::TooFast) || (plan.text && readsTooFast)) {
        const double wanted = self.start + std::max(limits.minDuration, after.counted / maxSpeed);
        const double end = edges.lengthened(after.end, wanted, std::min(std::max(after.end, longest), after.nextStart - minGap));
        if (end > after.end)
            after.end = end;
    }

    if (after.end != self.end)
        plan.end = after.end;
    if (next && nextAfter.start != next->start)
        plan.nextStart = nextAfter.start;
    // Whatever the steps above did, neither subtitle may end up past a limit further.
    const bool sound = Excess(after, limits, minGap).isNotWorseThan(Excess(self, limits, minGap))
                    && (!next || Excess(nextAfter, limits, minGap).isNotWorseThan(Excess(*next, limits, minGap)));
    if (sound)
        return plan;
    return rebreak && plan.text ? ::plan(self, next, problems, limits, minGap, edges, false) : Plan();
}

Span spanOf(const Subtitle &subtitle, double nextStart, const QualityLimits &limits)
{
    Span span;
    span.start = subtitle.start;
    span.end = subtitle.end;
    span.text = subtitle.text();
    span.counted = QualityCheck::measure(span.text, limits).counted;
    span.nextStart = nextStart;
    return span;
}

QualityFixes::Reason reasonLeft(Problem problem, const Subtitle &subtitle, const QualityLimits &limits)
{
    switch (problem) {
    case QualityCheck::Overlap:
    case QualityCheck::GapTooSmall:
        return QualityFixes::NoTimeToSpare;
    case QualityCheck::TooShort:
    case QualityCheck::TooFast:
        return subtitle.end >= subtitle.start + limits.maxDuration - QualityCheck::tolerance
                   ? QualityFixes::LongestDuration
                   : QualityFixes::NoFreeTime;
    case QualityCheck::TooLong:
        return QualityFixes::WouldReadTooFast;
    case QualityCheck::LineTooLong:
    case QualityCheck::TooManyLines:
        return LineBalancer::rebreak(subtitle.text(), limits.maxLineLength, limits.maxLines)
                   ? QualityFixes::WouldReadTooFast
                   : QualityFixes::NoBreakFits;
    case QualityCheck::StartNearShotChange:
    case QualityCheck::EndNearShotChange:
        break; // said by the shot-change pass, which knows why
    case QualityCheck::Untranslated:
    case QualityCheck::NoMatchingOriginal:
    case QualityCheck::NotAligned:
        return QualityFixes::NoAutomaticFix;
    }
    return QualityFixes::NoTimeToSpare;
}

// Counts what became of the problems `before` of the subtitle at `position`, now that
// the list holds the fixes.
void account(QualityFixes::Outcome &outcome, const SubtitleList &list, int position, Problems before,
             const QualityLimits &limits, double minGap)
{
    const Subtitle &subtitle = *list[position];
    const Subtitle *next = position + 1 < list.size() ? list[position + 1].get() : nullptr;
    const Problems after = QualityCheck::check(subtitle, next, limits, minGap);
    before &= ~Problems(QualityCheck::shotChangeProblems); // accounted by the shot-change pass
    // The check alone does not know the original: what no fix touches is left as it was,
    // not counted as mended.
    const Problems unfixable = before & Problems::fromInt(QualityCheck::originalProblems);
    // An overlap that became a gap too small (a shorter end) is a problem left, not fixed.
    if (before & QualityCheck::Overlap && after & QualityCheck::GapTooSmall)
        before = (before & ~Problems(QualityCheck::Overlap)) | QualityCheck::GapTooSmall;
    for (Problem problem : QualityCheck::allProblems) {
        if (after & problem || unfixable & problem)
            ++outcome.left[{problem, reasonLeft(problem, subtitle, limits)}];
        else if (before & problem)
            ++outcome.fixed[problem];
    }
}

QString countText(Problem problem, int count)
{
    switch (problem) {
    case QualityCheck::Overlap:
        return QualityFixes::tr("%n overlap(s)", nullptr, count);
    case QualityCheck::GapTooSmall:
        return QualityFixes::tr("%n small gap(s)", nullptr, count);
    case QualityCheck::TooShort:
        return QualityFixes::tr("%n too short", nullptr, count);
    case QualityCheck::TooLong:
        return QualityFixes::tr("%n too long", nullptr, count);
    case QualityCheck::TooFast:
        return QualityFixes::tr("%n too fast", nullptr, count);
    case QualityCheck::LineTooLong:
        return QualityFixes::tr("%n with a line too long", nullptr, count);
    case QualityCheck::TooManyLines:
        return QualityFixes::tr("%n with too many lines", nullptr, count);
    case QualityCheck::StartNearShotChange:
        return QualityFixes::tr("%n start(s) near a shot change", nullptr, count);
    case QualityCheck::EndNearShotChange:
        return QualityFixes::tr("%n end(s) near a shot change", nullptr, count);
    case QualityCheck::Untranslated:
        return QualityFixes::tr("%n untranslated", nullptr, count);
    case QualityCheck::NoMatchingOriginal:
        return QualityFixes::tr("%n without an original at their times", nullptr, count);
    case QualityCheck::NotAligned:
        return QualityFixes::tr("%n not found in the speech", nullptr, count);
    }
    return {};
}

// Moves the edges of the subtitles at `positions` that the shot-change rules would move,
// as one update: first every end (against the starts as they are), then every start
// (against the ends as moved), so a start and the end before it meet at the same cut
// whichever is looked at first. Counts what it moved and what it left, and why.
int fixShotChanges(SubtitleController &controller, const ProblemIndex &index, const IndexSet &positions,
                   Problems kinds, QualityFixes::Outcome &outcome)
{
    const SubtitleList &list = controller.subtitles();
    const ShotChangeRules rules = index.shotChangeRules();
    std::map<int, Span> spans;
    for (int position : positions) {
        if (position >= 0 && position < list.size()) {
            const double nextStart = position + 1 < list.size() ? list[position + 1]->start : infinity;
            spans.emplace(position, spanOf(*list[position], nextStart, index.limits()));
        }
    }
    const auto move = [&](Problem kind, Span &span, double previousEnd) {
        const bool breaks = kind == QualityCheck::EndNearShotChange ? bool(rules.end(span.end)) : bool(rules.start(span.start));
        if (!(kinds & kind) || !breaks)
            return;
        const auto reason =
            QualityFixes::moveToShotChangeRule(kind, rules, span, previousEnd, index.limits(), index.minGap());
        if (reason)
            ++outcome.left[{kind, *reason}];
        else
            ++outcome.fixed[kind];
    };
    for (auto &[position, span] : spans)
        move(QualityCheck::EndNearShotChange, span, -infinity);
    for (auto &[position, span] : spans) {
        const auto previous = spans.find(position - 1);
        const double previousEnd = previous != spans.end() ? previous->second.end
                                   : position > 0           ? list[position - 1]->end
                                                            : -infinity;
        move(QualityCheck::StartNearShotChange, span, previousEnd);
    }

    QList<Subtitle::Values> values;
    IndexSet changed;
    for (const auto &[position, span] : spans) {
        const Subtitle &subtitle = *list[position];
        Subtitle::Values change;
        if (span.start != subtitle.start)
            change.start = span.start;
        if (span.end != subtitle.end)
            change.end = span.end;
        if (!change.isEmpty()) {
            changed.insert(position);
            values.append(change);
        }
    }
    if (!values.isEmpty())
        controller.updateSubtitles(values, changed);
    return changed.count();
}

// One undo step named `name`, when the list keeps undo at all.
void asOneStep(SubtitleController &controller, const QString &name, const std::function<void()> &change)
{
    if (UndoManager *undo = controller.undoManager())
        undo->runAsOneStep(name, change);
    else
        change();
}

} // namespace

int QualityFixes::Outcome::fixedCount() const
{
    int count = 0;
    for (const auto &[problem, n] : fixed)
        count += n;
    return count;
}

int QualityFixes::Outcome::leftCount() const
{
    int count = 0;
    for (const auto &[kind, n] : left)
        count += n;
    return count;
}

QString QualityFixes::Outcome::summary() const
{
    QStringList fixedParts;
    for (const auto &[problem, n] : fixed)
        fixedParts << countText(problem, n);
    QStringList leftParts;
    for (const auto &[kind, n] : left)
        leftParts << tr("%1 (%2)", "number and kind of problem, why it was left").arg(countText(kind.first, n),
                                                                                     reasonText(kind.second));
    QString text = fixedParts.isEmpty()
                       ? tr("Nothing fixed.")
                       : tr("Fixed %1: %2.", "count, then counts by kind").arg(fixedCount()).arg(fixedParts.join(tr(", ")));
    if (!leftParts.isEmpty())
        text += QLatin1Char(' ')
              + tr("Left %1: %2.", "count, then counts by kind").arg(leftCount()).arg(leftParts.join(tr(", ")));
    return text;
}

QualityFixes::Outcome QualityFixes::fix(SubtitleController &controller, const ProblemIndex &index, int position,
                                        QualityCheck::Problem problem)
{
    Outcome outcome;
    const Problems before = index.problems(position);
    if (position < 0 || position >= controller.count() || !(before & problem))
        return outcome;
    if (QualityCheck::originalProblems & problem) {
        ++outcome.left[{problem, NoAutomaticFix}];
        return outcome;
    }
    if (QualityCheck::shotChangeProblems & problem) {
        asOneStep(controller, actionName(problem), [&] {
            outcome.changedSubtitles = fixShotChanges(controller, index, IndexSet(position), problem, outcome);
        });
        return outcome;
    }
    const SubtitleList &list = controller.subtitles();
    const bool hasNext = position + 1 < list.size();
    const double nextNextStart = position + 2 < list.size() ? list[position + 2]->start : infinity;
    const Span self = spanOf(*list[position], hasNext ? list[position + 1]->start : infinity, index.limits());
    const std::optional<Span> next =
        hasNext ? std::optional(spanOf(*list[position + 1], nextNextStart, index.limits())) : std::nullopt;
    const ShotChangeRules rules = index.shotChangeRules();
    const Plan plan = ::plan(self, next ? &*next : nullptr, problem, index.limits(), index.minGap(),
                             Edges{index.frameRate(), rules});
    if (!plan.isEmpty()) {
        QList<Subtitle::Values> values;
        IndexSet positions;
        if (plan.end || plan.text) {
            values.append({std::nullopt, plan.end, plan.text});
            positions.insert(position);
        }
        if (plan.nextStart) {
            values.append({plan.nextStart, std::nullopt, std::nullopt});
            positions.insert(position + 1);
        }
        asOneStep(controller, actionName(problem), [&] { controller.updateSubtitles(values, positions); });
        outcome.changedSubtitles = positions.count();
    }
    account(outcome, controller.subtitles(), position, before, index.limits(), index.minGap());
    return outcome;
}

QualityFixes::Outcome QualityFixes::fixAll(SubtitleController &controller, const ProblemIndex &index)
{
    const SubtitleList &list = controller.subtitles();
    const int count = int(list.size());
    const QualityLimits &limits = index.limits();
    const double minGap = index.minGap();

    // From the last subtitle back: when a fix starts the next subtitle later, that one is
    // settled already, so what keeps it within its limits holds, and a second run finds
    // nothing to change. A fix changes its own subtitle and the next one's start, so of
    // the changes made so far only the two latest can concern the subtitles it looks at.
    std::vector<std::pair<int, Subtitle::Values>> changes; // descending positions
    std::vector<std::pair<int, Problems>> found;             // descending positions
    const auto pending = [&changes](int position) -> const Subtitle::Values * {
        for (size_t k = changes.size(); k > 0 && k + 2 > changes.size(); --k) {
            if (changes[k - 1].first == position)
                return &changes[k - 1].second;
        }
        return nullptr;
    };
    const auto startOf = [&](int position) {
        if (position >= count)
            return infinity;
        const Subtitle::Values *change = pending(position);
        return change && change->start ? *change->start : list[position]->start;
    };
    const auto spanAt = [&](int position) {
        Span span = spanOf(*list[position], startOf(position + 1), limits);
        if (const Subtitle::Values *change = pending(position)) {
            span.start = change->start.value_or(span.start);
            span.end = change->end.value_or(span.end);
            if (change->text) {
                span.text = *change->text;
                span.counted = QualityCheck::measure(span.text, limits).counted;
            }
        }
        return span;
    };

    const ShotChangeRules rules = index.shotChangeRules();
    const Edges edges{index.frameRate(), rules};
    for (int position = count - 1; position >= 0; --position) {
        const Problems problems = index.problems(position);
        if (!problems)
            continue;
        found.emplace_back(position, problems);
        const Span self = spanAt(position);
        const std::optional<Span> next = position + 1 < count ? std::optional(spanAt(position + 1)) : std::nullopt;
        const Plan plan = ::plan(self, next ? &*next : nullptr, problems, limits, minGap, edges);
        if (plan.nextStart) {
            if (!changes.empty() && changes.back().first == position + 1)
                changes.back().second.start = plan.nextStart;
            else
                changes.push_back({position + 1, {plan.nextStart, std::nullopt, std::nullopt}});
        }
        if (plan.end || plan.text)
            changes.push_back({position, {std::nullopt, plan.end, plan.text}});
    }

    Outcome outcome;
    asOneStep(controller, tr("Fix All Problems"), [&] {
        if (!changes.empty()) {
            // One update for everything: one report to the panes.
            QList<Subtitle::Values> values;
            values.reserve(qsizetype(changes.size()));
            IndexSet positions;
            for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
                positions.insert(it->first);
                values.append(std::move(it->second));
            }
            controller.updateSubtitles(values, positions);
            outcome.changedSubtitles = positions.count();
        }
        for (const auto &[position, before] : found)
            account(outcome, controller.subtitles(), position, before, limits, minGap);
        // Then the edges near shot changes, within the limits the fixes above settled; the
        // same undo step.
        IndexSet nearShotChanges;
        for (const auto &[position, before] : found) {
            if (before & QualityCheck::shotChangeProblems)
                nearShotChanges.insert(position);
        }
        outcome.changedSubtitles += fixShotChanges(controller, index, nearShotChanges,
                                                   Problems(QualityCheck::shotChangeProblems), outcome);
    });
    return outcome;
}

std::optional<QualityFixes::Reason> QualityFixes::moveToShotChangeRule(QualityCheck::Problem edge,
                                                                     const ShotChangeRules &rules,
                                                                     TimingExcess::Span &self, double previousEnd,
                                                                     const QualityLimits &limits, double minGap)
{
    TimingExcess::Span after = self;
    if (edge == QualityCheck::StartNearShotChange) {
        const std::optional<ShotChangeRules::Move> move = rules.start(self.start);
        if (!move)
            return std::nullopt;
        after.start = move->to;
        if (after.start < self.start && after.start < previousEnd + minGap - QualityCheck::tolerance)
            return NoTimeBefore;
    } else {
        const std::optional<ShotChangeRules::Move> move = rules.end(self.end);
        if (!move)
            return std::nullopt;
        after.end = move->to;
        if (after.end > self.end && after.end > self.nextStart - minGap + QualityCheck::tolerance)
            return NoFreeTime;
    }
    const Excess before(self, limits, minGap);
    const Excess now(after, limits, minGap);
    if (after.end <= after.start || !now.isNotWorseThan(before))
        return now.length > before.length + rounding ? LongestDuration : WouldReadTooFast;
    self = after;
    return std::nullopt;
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
    case QualityCheck::StartNearShotChange:
    case QualityCheck::EndNearShotChange:
        return tr("Time to Shot Change");
    case QualityCheck::Untranslated:
    case QualityCheck::NoMatchingOriginal:
    case QualityCheck::NotAligned:
        break; // never fixed
    }
    return {};
}

QString QualityFixes::reasonText(Reason reason)
{
    switch (reason) {
    case NoTimeToSpare:
        return tr("neither it nor the next one has time to spare");
    case NoFreeTime:
        return tr("no free time after it");
    case LongestDuration:
        return tr("on screen the longest time already");
    case WouldReadTooFast:
        return tr("it would read too fast");
    case NoBreakFits:
        return tr("no line breaks fit");
    case NoTimeBefore:
        return tr("the previous subtitle ends too close");
    case NoAutomaticFix:
        return tr("no automatic fix; the translator decides");
    }
    return {};
}
