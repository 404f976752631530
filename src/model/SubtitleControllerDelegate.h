#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"
#include "model/SubtitleIndexUpdate.h"

#include <vector>

class SubtitleController;

// Receives every change of a controller's list, after the list changed and before the
// inverse is registered for undo.
class SubtitleControllerDelegate
{
public:
    virtual ~SubtitleControllerDelegate() = default;

    virtual void didReloadSubtitles(SubtitleController &controller) = 0;
    // indexes: the positions passed to the update; newIndexes: where those subtitles are now.
    virtual void didUpdateSubtitles(SubtitleController &controller, const IndexSet &indexes,
                                    const QList<SubtitleIndexUpdate> &indexUpdates,
                                    const IndexSet &newIndexes) = 0;
    // An update that put many subtitles in new places, reported as one new order of the
    // whole list rather than a move per subtitle: newPositions[p] is where the subtitle
    // that stood at p now stands.
    virtual void didReorderSubtitles(SubtitleController &controller, const IndexSet &indexes,
                                     const std::vector<int> &newPositions, const IndexSet &newIndexes) = 0;
    virtual void didInsertSubtitles(SubtitleController &controller, const IndexSet &indexes) = 0;
    // subtitles in ascending position order; indexes: their positions before the removal.
    virtual void didRemoveSubtitles(SubtitleController &controller, const SubtitleList &subtitles,
                                    const IndexSet &indexes) = 0;
};
