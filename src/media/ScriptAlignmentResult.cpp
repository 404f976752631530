#include "media/ScriptAlignmentResult.h"

#include "model/timing/SpeechAlignment.h"

#include <QHash>

QList<ScriptAligner::Line> ScriptAlignmentResult::linesOf(const SubtitleList &list, const IndexSet &positions)
{
    QList<ScriptAligner::Line> lines;
    for (int position : positions)
        lines.append({list[position]->text(), list[position]->start, list[position]->end});
    return lines;
}

QList<ScriptAligner::Line> ScriptAlignmentResult::fitted(QList<ScriptAligner::Line> lines, const SpeechStretches &speech)
{
    SubtitleList timed;
    for (const ScriptAligner::Line &line : lines)
        timed.append(Subtitle::create(line.text, line.start.value_or(0), line.end.value_or(0)));
    const SyncResult sync = timed.isEmpty() ? SyncResult() : SpeechAlignment::align(timed, speech);
    if (!sync.belongs)
        return untimed(std::move(lines));
    const QList<Subtitle::Values> values = sync.valuesFor(timed);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        lines[i].start = values[i].start.value_or(timed[i]->start);
        lines[i].end = values[i].end.value_or(timed[i]->end);
    }
    return lines;
}

QList<ScriptAligner::Line> ScriptAlignmentResult::untimed(QList<ScriptAligner::Line> lines)
{
    for (ScriptAligner::Line &line : lines) {
        line.start.reset();
        line.end.reset();
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
                                         timed ? AlignedPlacement::Others::Keep : AlignedPlacement::Others::FitBetween,
                                         positions);
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
