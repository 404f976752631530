#include "model/timing/OriginalTimingCopy.h"

#include "model/SubtitleController.h"
#include "model/UndoManager.h"

OriginalTimingCopy::Result OriginalTimingCopy::apply(SubtitleController &controller, const SubtitleList &originals,
                                                     const IndexSet &selection)
{
    const bool all = selection.count() < 2;
    const int count = controller.count();
    const IndexSet targets = all ? IndexSet::fromRange(0, count) : selection;
    QList<Subtitle::Values> values;
    IndexSet changed;
    for (int position : targets) {
        if (position < 0 || position >= count || position >= originals.size())
            continue;
        const Subtitle &original = *originals[position];
        const Subtitle &subtitle = *controller.at(position);
        if (subtitle.start != original.start || subtitle.end != original.end) {
            values.append({original.start, original.end, std::nullopt});
            changed.insert(position);
        }
    }
    SubtitleList added;
    if (all) {
        for (qsizetype k = count; k < originals.size(); ++k)
            added.append(Subtitle::create(QString(), originals[k]->start, originals[k]->end));
    }
    if (changed.isEmpty() && added.isEmpty())
        return {};
    const auto change = [&] {
        if (!changed.isEmpty())
            controller.updateSubtitles(values, changed);
        if (!added.isEmpty())
            controller.insertInTimeOrder(added);
    };
    if (UndoManager *undo = controller.undoManager())
        undo->runAsOneStep(tr("Copy Timings from Original"), change);
    else
        change();
    return {changed.count(), int(added.size())};
}
