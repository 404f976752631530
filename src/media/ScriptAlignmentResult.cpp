#include "media/ScriptAlignmentResult.h"

#include "model/timing/SpeechAlignment.h"

#include <QHash>

QList<ScriptAligner::Line> ScriptAlignmentResult::linesOf(const SubtitleList &list, const IndexSet &positions,
                                                          const SpeechStretches &speech, bool timed)
{
    SubtitleList chosen;
    for (int position : positions)
        chosen.append(list[position]);
    QList<ScriptAligner::Line> lines;
    QList<Subtitle::Values> fitted;
    if (timed && !chosen.isEmpty()) {
        const SyncResult sync = SpeechAlignment::align(chosen, speech);
        if (sync.belongs)
            fitted = sync.valuesFor(chosen);
    }
    for (qsizetype i = 0; i < chosen.size(); ++i) {
        ScriptAligner::Line line{chosen[i]->text(), {}, {}};
        if (!fitted.isEmpty()) {
            line.start = fitted[i].start.value_or(chosen[i]->start);
            line.end = fitted[i].end.value_or(chosen[i]->end);
        }
        lines.append(line);
    }
    return lines;
}

ScriptAligner::Bounds ScriptAlignmentResult::boundsOf(const SubtitleList &list, const IndexSet &positions)
{
    ScriptAligner::Bounds bounds;
    if (positions.isEmpty())
        return bounds;
    const int first = positions.first();
    const int last = positions.last();
    // Only a selection that runs as one block has neighbours that bound it.
    if (last - first + 1 != positions.count())
        return bounds;
    if (first > 0)
        bounds.from = list[first - 1]->end;
    if (last + 1 < list.size())
        bounds.to = list[last + 1]->start;
    return bounds;
}

ScriptAlignmentResult ScriptAlignmentResult::of(const SubtitleList &list, const IndexSet &positions,
                                                const QList<ScriptAligner::Outcome> &outcomes,
                                                const SpeechSnap::Sources &sources, bool timed)
{
    ScriptAlignmentResult result;
    QList<AlignedPlacement::Found> found;
    QHash<int, ScriptAligner::Reason> reasons;
    int k = 0;
    for (int position : positions) {
        if (k >= outcomes.size())
            break;
        const ScriptAligner::Outcome &outcome = outcomes[k++];
        if (!outcome.words.isEmpty())
            found.append({position, outcome.words});
        else
            reasons.insert(position, outcome.left.value_or(ScriptAligner::Reason::NotInSound));
    }
    result.plan = AlignedPlacement::plan(list, found, sources,
                                         timed ? AlignedPlacement::Others::Keep : AlignedPlacement::Others::FitBetween);
    for (const AlignedPlacement::Found &line : found) {
        if (result.plan.blocked.contains(line.position))
            continue;
        result.words.append({list[line.position]->text(), line.words});
        ++result.placed;
    }
    for (int position : positions) {
        QString reason;
        if (reasons.contains(position))
            reason = ScriptAligner::reasonText(reasons.value(position));
        else if (result.plan.blocked.contains(position))
            reason = tr("a subtitle that stays is where its words are spoken");
        else
            continue;
        result.left.append({position, reason});
        result.leftSubtitles.append(list[position]);
    }
    return result;
}

QString ScriptAlignmentResult::summary() const
{
    const int all = placedCount() + int(left.size());
    if (left.isEmpty())
        return tr("Placed %n subtitle(s) where their words are spoken.", nullptr, all);
    return tr("Placed %1 of %n subtitle(s) where their words are spoken; left %2.", nullptr, all)
        .arg(placedCount())
        .arg(left.size());
}
