#include "model/timing/SpeechSnap.h"

#include "model/FrameTiming.h"
#include "model/quality/QualityCheck.h"
#include "model/quality/ShotChangeRules.h"
#include "model/ShotChanges.h"
#include "model/SpeechStretches.h"
#include "model/SubtitleController.h"
#include "model/quality/TimingExcess.h"
#include "model/UndoManager.h"
#include "model/timing/WordTimings.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <vector>

namespace {

using Edge = SpeechSnap::Edge;
using Reason = SpeechSnap::Reason;

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double tolerance = QualityCheck::tolerance;
// A move can make room for another (an end that comes earlier lets the next start come
// earlier, a start that comes later lets the end come later); a few rounds settle them all.
constexpr int rounds = 3;

// One subtitle being snapped.
struct Item
{
    int position = 0;
    double start = 0;
    double end = 0;
    int counted = 0;
    double originalStart = 0;
    double originalEnd = 0;
    // Where the start goes, from the speech and the rules.
    std::optional<double> startTarget;
    // The offset of speech the end follows; the lead-out is added as far as there is room.
    std::optional<double> offset;
    // Why an edge stays, from the last attempt to move it.
    std::optional<Reason> startLeft;
    std::optional<Reason> endLeft;
};

class Snapper
{
public:
    Snapper(const SubtitleList &list, const IndexSet &positions, const SpeechSnap::Sources &sources)
        : m_list(list)
        , m_speech(sources.speech)
        , m_words(sources.words)
        , m_limits(sources.limits.clamped())
        , m_rate(std::isfinite(sources.frameRate) && sources.frameRate > 0 ? sources.frameRate : 0)
        , m_rules(sources.shotChanges, m_rate, m_limits)
        , m_minGap(m_limits.minGap(m_rate))
        , m_leadOut(sources.settings.clamped().leadOut(m_rate))
        , m_window(sources.settings.clamped().searchWindow)
    {
        for (int position : positions) {
            if (position < m_list.size())
                m_items.push_back(itemAt(position));
        }
    }

    SpeechSnap::Plan plan()
    {
        for (int round = 0; round < rounds; ++round) {
            const std::vector<Item> before = m_items;
            // What only shortens a subtitle first: it needs no room from a neighbour. An
            // end goes to the speech's offset, the lead-out comes last.
            for (size_t k = 0; k < m_items.size(); ++k) {
                Item &item = m_items[k];
                if (item.startTarget && *item.startTarget > item.start + tolerance)
                    moveStart(k, *item.startTarget);
                if (item.offset) {
                    const std::optional<double> bare = endTarget(*item.offset, 0, infinity);
                    if (bare && *bare < item.end - tolerance)
                        moveEnd(k, *bare);
                }
            }
            // Then starts, before the ends' lead-outs take the room they want.
            for (size_t k = 0; k < m_items.size(); ++k) {
                Item &item = m_items[k];
                if (item.startTarget && *item.startTarget < item.start - tolerance)
                    moveStart(k, *item.startTarget);
            }
            for (size_t k = 0; k < m_items.size(); ++k) {
                Item &item = m_items[k];
                if (!item.offset)
                    continue;
                const std::optional<double> target = endTarget(*item.offset, m_leadOut, nextStart(k) - m_minGap);
                if (!target)
                    item.endLeft = SpeechSnap::ShotChangeInTheWay;
                else if (std::fabs(*target - item.end) > tolerance)
                    moveEnd(k, *target);
                else
                    item.endLeft.reset();
            }
            if (std::equal(before.begin(), before.end(), m_items.begin(), [](const Item &a, const Item &b) {
                    return a.start == b.start && a.end == b.end;
                }))
                break;
        }
        return result();
    }

private:
    Item itemAt(int position) const
    {
        const Subtitle &subtitle = *m_list[position];
        Item item;
        item.position = position;
        item.start = item.originalStart = subtitle.start;
        item.end = item.originalEnd = subtitle.end;
        item.counted = QualityCheck::measure(subtitle.text(), m_limits).counted;

        // Its own words say better than any speech near it where it is spoken.
        const QList<SpokenWord> words = m_words ? m_words->wordsOf(subtitle.text(), subtitle.start, subtitle.end)
                                                : QList<SpokenWord>();
        const auto onsetNear = [&]() -> std::optional<double> {
            return words.isEmpty() ? m_speech.nearestOnset(item.start, m_window) : words.constFirst().start;
        };
        const auto offsetNear = [&]() -> std::optional<double> {
            return words.isEmpty() ? m_speech.nearestOffset(item.end - m_leadOut, m_window) : words.constLast().end;
        };
        if (m_rules.startIsOnCut(item.start)) {
            item.startLeft = SpeechSnap::OnShotChange;
        } else if (const std::optional<double> onset = onsetNear()) {
            double target = onFrame(*onset);
            if (const std::optional<ShotChangeRules::Move> move = m_rules.start(target))
                target = move->to;
            if (target < 0 || m_rules.start(target))
                item.startLeft = SpeechSnap::ShotChangeInTheWay;
            else
                item.startTarget = target;
        } else {
            item.startLeft = SpeechSnap::NoSpeechNear;
        }

        if (m_rules.endIsBeforeCut(item.end))
            item.endLeft = SpeechSnap::OnShotChange;
        else if (const std::optional<double> offset = offsetNear())
            item.offset = offset;
        else
            item.endLeft = SpeechSnap::NoSpeechNear;
        return item;
    }

    double onFrame(double time, FrameTiming::Rounding rounding = FrameTiming::Rounding::Nearest) const
    {
        return FrameTiming::onFrame(time, m_rate, rounding);
    }

    // Where an end following `offset` goes: the lead-out after it, shortened to end by
    // `room` if need be, then where the shot-change rules put it. Nothing when the rules
    // allow no place there.
    std::optional<double> endTarget(double offset, double leadOut, double room) const
    {
        double target = onFrame(offset + leadOut);
        if (target > room + tolerance)
            target = std::max(onFrame(room, FrameTiming::Rounding::Down), onFrame(offset));
        if (const std::optional<ShotChangeRules::Move> move = m_rules.end(target))
            target = move->to;
        if (m_rules.end(target))
            return std::nullopt;
        return target;
    }

    double previousEnd(size_t k) const
    {
        const int position = m_items[k].position;
        if (k > 0 && m_items[k - 1].position == position - 1)
            return m_items[k - 1].end;
        return position > 0 ? m_list[position - 1]->end : -infinity;
    }

    double nextStart(size_t k) const
    {
        const int position = m_items[k].position;
        if (k + 1 < m_items.size() && m_items[k + 1].position == position + 1)
            return m_items[k + 1].start;
        return position + 1 < m_list.size() ? m_list[position + 1]->start : infinity;
    }

    // Which timing limit the new times make worse, if any (the gap is the caller's).
    std::optional<Reason> worseLimit(const Item &item, double start, double end) const
    {
        if (end <= start)
            return SpeechSnap::WouldBeTooShort;
        const TimingExcess before({item.start, item.end, item.counted, infinity}, m_limits, m_minGap);
        const TimingExcess after({start, end, item.counted, infinity}, m_limits, m_minGap);
        constexpr double rounding = TimingExcess::rounding;
        if (after.shortness > before.shortness + rounding)
            return SpeechSnap::WouldBeTooShort;
        if (after.length > before.length + rounding)
            return SpeechSnap::WouldBeTooLong;
        if (after.speed > before.speed + rounding)
            return SpeechSnap::WouldReadTooFast;
        return std::nullopt;
    }

    void moveStart(size_t k, double target)
    {
        Item &item = m_items[k];
        if (target < item.start && target < previousEnd(k) + m_minGap - tolerance)
            item.startLeft = SpeechSnap::PreviousTooClose;
        else if (target > item.start && target >= nextStart(k))
            item.startLeft = SpeechSnap::NextTooClose; // it would pass the next one
        else
            item.startLeft = worseLimit(item, target, item.end);
        if (!item.startLeft)
            item.start = target;
    }

    void moveEnd(size_t k, double target)
    {
        Item &item = m_items[k];
        if (target > item.end && target > nextStart(k) - m_minGap + tolerance)
            item.endLeft = SpeechSnap::NextTooClose;
        else
            item.endLeft = worseLimit(item, item.start, target);
        if (!item.endLeft)
            item.end = target;
    }

    SpeechSnap::Plan result() const
    {
        SpeechSnap::Plan plan;
        plan.report.searchWindow = m_window;
        for (const Item &item : m_items) {
            Subtitle::Values change;
            if (item.start != item.originalStart)
                change.start = item.start;
            if (item.end != item.originalEnd)
                change.end = item.end;
            if (!change.isEmpty()) {
                plan.values.append(change);
                plan.positions.insert(item.position);
            }
            plan.report.movedStarts += change.start ? 1 : 0;
            plan.report.movedEnds += change.end ? 1 : 0;
            if (!change.start && item.startLeft)
                plan.report.left.append({item.position, Edge::Start, *item.startLeft});
            if (!change.end && item.endLeft)
                plan.report.left.append({item.position, Edge::End, *item.endLeft});
        }
        plan.report.movedSubtitles = plan.positions.count();
        return plan;
    }

    const SubtitleList &m_list;
    const SpeechStretches &m_speech;
    const WordTimings *m_words;
    const QualityLimits m_limits;
    const double m_rate;
    const ShotChangeRules m_rules;
    const double m_minGap;
    const double m_leadOut;
    const double m_window;
    std::vector<Item> m_items; // by position
};

} // namespace

SpeechSnap::Plan SpeechSnap::plan(const SubtitleList &list, const IndexSet &positions, const Sources &sources)
{
    return Snapper(list, positions, sources).plan();
}

SpeechSnap::Report SpeechSnap::snap(SubtitleController &controller, const IndexSet &positions, const Sources &sources)
{
    const Plan plan = SpeechSnap::plan(controller.subtitles(), positions, sources);
    if (plan.values.isEmpty())
        return plan.report;
    const auto change = [&] { controller.updateSubtitles(plan.values, plan.positions); };
    if (UndoManager *undo = controller.undoManager())
        undo->runAsOneStep(actionName(), change);
    else
        change();
    return plan.report;
}

SpeechSnap::Snapped SpeechSnap::snapAll(const SubtitleList &list, const Sources &sources)
{
    const Plan plan = SpeechSnap::plan(list, IndexSet::fromRange(0, int(list.size())), sources);
    Snapped snapped{list, plan.report};
    for (int k = 0; k < plan.positions.count(); ++k) {
        const int position = plan.positions.at(k);
        const Subtitle &subtitle = *list[position];
        const Subtitle::Values &change = plan.values[k];
        snapped.subtitles[position] =
            Subtitle::create(subtitle.text(), change.start.value_or(subtitle.start), change.end.value_or(subtitle.end));
    }
    return snapped;
}

QString SpeechSnap::Report::summary() const
{
    QString text = movedSubtitles > 0 ? tr("Moved %n subtitle(s) to the speech.", nullptr, movedSubtitles)
                                      : tr("No subtitle moved.");
    if (left.isEmpty())
        return text;
    std::map<std::pair<Edge, Reason>, int> counts;
    for (const LeftEdge &edge : left)
        ++counts[{edge.edge, edge.reason}];
    QStringList parts;
    for (const auto &[kind, n] : counts) {
        const QString edges = kind.first == Edge::Start ? tr("%n start(s)", nullptr, n) : tr("%n end(s)", nullptr, n);
        parts << tr("%1 (%2)", "number of edges, why they were left").arg(edges, reasonText(kind.second, searchWindow));
    }
    return text + QLatin1Char(' ')
         + tr("Left %n edge(s): %1.", "count, then counts by kind", int(left.size())).arg(parts.join(tr(", ")));
}

QString SpeechSnap::actionName()
{
    return tr("Snap to Speech");
}

QString SpeechSnap::reasonText(Reason reason, double searchWindow)
{
    switch (reason) {
    case NoSpeechNear:
        return tr("no speech within %1 s").arg(searchWindow);
    case OnShotChange:
        return tr("it is on a shot change");
    case ShotChangeInTheWay:
        return tr("shot changes leave it no place there");
    case PreviousTooClose:
        return tr("the previous subtitle ends too close");
    case NextTooClose:
        return tr("the next subtitle starts too close");
    case WouldBeTooShort:
        return tr("it would be too short");
    case WouldBeTooLong:
        return tr("it would be too long");
    case WouldReadTooFast:
        return tr("it would read too fast");
    }
    return {};
}
