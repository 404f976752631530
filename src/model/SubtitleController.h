#pragma once

#include "model/IndexSet.h"
#include "model/quality/QualityLimits.h"
#include "model/SpokenWord.h"
#include "model/Subtitle.h"

#include <QList>

#include <functional>
#include <optional>
#include <vector>

class LinearTimeMap;
class SubtitleControllerDelegate;
class UndoManager;

// The one writer of a document's subtitle list. Keeps the list in time order, reports
// every change to its delegate and registers the inverse with the undo manager.
class SubtitleController
{
public:
    static constexpr double defaultSubtitleDuration = 2.0;

    const SubtitleList &subtitles() const { return m_subtitles; }
    int count() const { return int(m_subtitles.size()); }
    SubtitlePtr at(int index) const;
    // The first position holding this very subtitle, or -1.
    int indexOf(const SubtitlePtr &subtitle) const;
    SubtitleList subtitlesAt(const IndexSet &indexes) const;
    // The position of the subtitle shown at time t: the last one starting at or before t,
    // while it lasts (start inclusive, end exclusive). An earlier one that still overlaps t
    // is not shown. `subtitles` in start order.
    static std::optional<int> indexShownAt(const SubtitleList &subtitles, double t);
    // How many subtitles start at or before t.
    static int countStartedBy(const SubtitleList &subtitles, double t);

    UndoManager *undoManager() const { return m_undoManager; }
    void setUndoManager(UndoManager *undoManager) { m_undoManager = undoManager; }
    SubtitleControllerDelegate *delegate() const { return m_delegate; }
    void setDelegate(SubtitleControllerDelegate *delegate) { m_delegate = delegate; }
    double frameRate() const { return m_frameRate; }
    void setFrameRate(double frameRate) { m_frameRate = frameRate; }
    // The quality profile's rate, which counts frames while no video gives a rate.
    void setProfileFrameRate(double frameRate) { m_profileFrameRate = frameRate; }
    // The gap new and split subtitles keep from their neighbours.
    double twoFrameGap() const;

    // The primitives.
    void setSubtitles(SubtitleList subtitles); // sorted by the caller; not undoable
    void updateSubtitles(const QList<Subtitle::Values> &values, const IndexSet &indexes);
    void insertSubtitles(const SubtitleList &subtitles, const IndexSet &indexes);
    void removeSubtitles(const SubtitleList &subtitles, const IndexSet &indexes);

    // The editing operations built on them.
    void setStart(int index, double start);
    void setEnd(int index, double end);
    void setText(const QString &text, int index);
    std::optional<int> addSubtitle(std::optional<double> time, std::optional<int> index);
    void duplicateSubtitle(int index);
    // Cuts the text at `offset` and shares the time by characters, or at the spoken edges
    // of the words around the cut when the subtitle's `words` are known (WordSplit).
    void splitSubtitle(int index, int offset, const QList<SpokenWord> &words = {});
    // Returns the subtitles made, which are in the list now.
    SubtitleList importText(const QString &text);
    // Timing while the video plays: the subtitle at `index` ends at `time` and the one at
    // `next` starts two frames later (a new one when there is none). Returns the next one's
    // position.
    int endAndStartNext(int index, double time, std::optional<int> next);
    // New start and end of every subtitle at `indexes` along `map`, as one update.
    void retimeSubtitles(const IndexSet &indexes, const LinearTimeMap &map);
    // The subtitles at `indexes` become one, from the first start to the last end, their
    // texts on separate lines; one undo step. Needs two or more positions.
    void mergeSubtitles(const IndexSet &indexes);
    // Each where its start puts it, before existing subtitles with the same start.
    void insertInTimeOrder(SubtitleList newSubtitles);

    // Where new subtitles go: each before existing subtitles with the same start.
    IndexSet insertionIndexes(SubtitleList &newSubtitles) const;

private:
    struct NewStart
    {
        int k; // the pair of the update
        bool earlier;
    };
    std::vector<int> reorder(const IndexSet &indexes, const QList<NewStart> &newStarts);
    void restoreSubtitles(const QList<Subtitle::Values> &values, const IndexSet &indexes, const std::vector<int> &positions);
    double snapToFrame(double t) const;
    int reposition(int position, bool earlier);
    void replaceSubtitles(const SubtitleList &old, const IndexSet &indexes, const SubtitleList &replacements);

    SubtitleList m_subtitles;
    UndoManager *m_undoManager = nullptr;
    SubtitleControllerDelegate *m_delegate = nullptr;
    double m_frameRate = 0;
    double m_profileFrameRate = QualityLimits().frameRate;
};
