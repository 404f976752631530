#include "model/timing/AlignedPlacement.h"

#include "model/SpeechStretches.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace {

struct Copy
{
    SubtitlePtr subtitle;
    int position = 0; // in the list
    bool moved = false;
    bool fitted = false; // a line not found, given a place between found ones
};

// Each run of the script's lines not found shares the time between the found lines around
// it: a placeholder's length at most, a little apart. `lines` are the script's, in order.
void fitBetween(const std::vector<Copy *> &lines, double defaultLength)
{
    constexpr double apart = 0.1;
    size_t k = 0;
    while (k < lines.size()) {
        if (lines[k]->moved) {
            ++k;
            continue;
        }
        size_t end = k;
        while (end < lines.size() && !lines[end]->moved)
            ++end;
        const double wanted = double(end - k) * (defaultLength + apart);
        if (k == 0 && end == lines.size())
            return; // none found: nothing to fit between
        const double to = end < lines.size() ? lines[end]->subtitle->start - apart : lines[k - 1]->subtitle->end + apart + wanted;
        const double from = k > 0 ? lines[k - 1]->subtitle->end + apart : std::max(0.0, to - wanted);
        const double share = std::max(0.0, to - from) / double(end - k);
        // Never none: squeezed, a line still has half its share.
        const double length = std::max(share / 2, std::min(defaultLength, share - apart));
        for (size_t i = k; i < end; ++i) {
            const double start = from + double(i - k) * share;
            lines[i]->subtitle = Subtitle::create(lines[i]->subtitle->text(), start, start + length);
            lines[i]->fitted = true;
        }
        k = end;
    }
}

bool overlaps(const Subtitle &a, const Subtitle &b)
{
    return a.start < b.end && b.start < a.end;
}

} // namespace

AlignedPlacement::Plan AlignedPlacement::plan(const SubtitleList &list, const QList<Found> &found,
                                              const SpeechSnap::Sources &sources, Others others, const IndexSet &script)
{
    QHash<int, const Found *> byPosition;
    for (const Found &line : found) {
        if (!line.words.isEmpty() && line.position >= 0 && line.position < list.size())
            byPosition.insert(line.position, &line);
    }

    // The list as it would be with every found line on its words.
    std::vector<Copy> copies;
    copies.reserve(size_t(list.size()));
    for (int position = 0; position < list.size(); ++position) {
        const Subtitle &subtitle = *list[position];
        const Found *line = byPosition.value(position);
        const double start = line ? line->words.constFirst().start : subtitle.start;
        const double end = line ? line->words.constLast().end : subtitle.end;
        copies.push_back({Subtitle::create(subtitle.text(), start, end), position, line != nullptr});
    }
    const auto byStart = [](const Copy &a, const Copy &b) { return a.subtitle->start < b.subtitle->start; };
    std::stable_sort(copies.begin(), copies.end(), byStart);

    // A found line over one that stays goes back, and the list is looked at again. A line
    // of the script whose times mean nothing stays nowhere: it never blocks a found one.
    const bool fitting = others == Others::FitBetween;
    const auto stays = [&](const Copy &copy) { return !copy.moved && !(fitting && script.contains(copy.position)); };
    Plan plan;
    for (bool again = true; again;) {
        again = false;
        for (size_t k = 0; k < copies.size(); ++k) {
            if (!copies[k].moved)
                continue;
            const auto kept = [&](size_t other) {
                return other < copies.size() && stays(copies[other]) && overlaps(*copies[k].subtitle, *copies[other].subtitle);
            };
            if (kept(k - 1) || kept(k + 1)) {
                const Subtitle &original = *list[copies[k].position];
                copies[k].subtitle = Subtitle::create(original.text(), original.start, original.end);
                copies[k].moved = false;
                plan.blocked.append(copies[k].position);
                again = true;
            }
        }
        if (again)
            std::stable_sort(copies.begin(), copies.end(), byStart);
    }
    std::sort(plan.blocked.begin(), plan.blocked.end());
    // The lines not found, and those blocked, share the time between the found ones.
    if (fitting) {
        std::sort(copies.begin(), copies.end(), [](const Copy &a, const Copy &b) { return a.position < b.position; });
        std::vector<Copy *> lines;
        for (Copy &copy : copies) {
            if (script.contains(copy.position))
                lines.push_back(&copy);
        }
        fitBetween(lines, std::max(sources.limits.minDuration, 2.0));
        std::stable_sort(copies.begin(), copies.end(), byStart);
    }

    SubtitleList placedList;
    std::vector<SpeechStretch> spoken;
    IndexSet movedPositions;
    for (size_t k = 0; k < copies.size(); ++k) {
        placedList.append(copies[k].subtitle);
        if (copies[k].moved) {
            spoken.push_back({copies[k].subtitle->start, copies[k].subtitle->end});
            movedPositions.insert(int(k));
        }
    }
    const SpeechStretches speech{std::move(spoken)};
    const SpeechSnap::Sources rules{speech, sources.shotChanges, sources.limits, sources.frameRate, sources.settings};
    const SpeechSnap::Plan snapped = SpeechSnap::plan(placedList, movedPositions, rules);

    QHash<int, Subtitle::Values> snappedAt;
    int index = 0;
    for (int k : snapped.positions)
        snappedAt.insert(k, snapped.values[index++]);
    std::vector<std::pair<int, Subtitle::Values>> changes;
    for (int k : movedPositions) {
        const Subtitle &placed = *placedList[k];
        const Subtitle::Values rule = snappedAt.value(k);
        changes.push_back({copies[size_t(k)].position, {rule.start.value_or(placed.start), rule.end.value_or(placed.end), {}}});
    }
    for (const Copy &copy : copies) {
        if (copy.fitted)
            changes.push_back({copy.position, {copy.subtitle->start, copy.subtitle->end, {}}});
    }
    std::sort(changes.begin(), changes.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[position, values] : changes) {
        plan.positions.insert(position);
        plan.values.append(values);
    }
    return plan;
}
