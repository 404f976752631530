#pragma once

#include "model/Subtitle.h"
#include "timeline/SnapProvider.h"
#include "timeline/SubtitleViewAction.h"

#include <QHash>
#include <QList>

#include <optional>

// One drag of subtitle times on the timeline, as a preview: the dragged blocks' times
// live here while the pointer moves, and the subtitles themselves are left alone. The
// caller makes the drop one undoable update from newValues(), or drops the drag to
// cancel it.
class SubtitleDrag
{
public:
    static constexpr double minimumSubtitleDuration = 0.5;
    static constexpr double snapMargin = 10.0; // points on screen, whatever the zoom

    struct Times
    {
        double start;
        double end;
    };

    // subtitles: the blocks being dragged, sorted by start (left and right neighbour for
    // the gap between two blocks); positions: where each stands in the list.
    SubtitleDrag(SubtitleViewAction::Kind kind, SubtitleList subtitles, QList<int> positions);

    struct Step
    {
        double pointsPerSecond = 30;
        double translationX = 0; // pointer movement since the drag began
        double proposedX = 0;    // where the pointer puts the first block's left edge
        double frameRate = 0;
        // Where edges may snap; none while the user drags freely.
        QList<const SnapProvider *> snapTargets;
    };
    struct StepResult
    {
        double offset = 0;
        // The edge that a snap newly caught, to be shown to the user.
        std::optional<double> snappedEdge;
    };
    StepResult move(const Step &step);

    SubtitleViewAction::Kind kind() const { return m_kind; }
    const SubtitleList &subtitles() const { return m_subtitles; }
    const QList<int> &positions() const { return m_positions; }
    bool contains(const Subtitle &subtitle) const { return m_indexOf.contains(&subtitle); }
    // The times the drag gives the subtitle at index i of subtitles().
    Times shownTimes(qsizetype i) const { return m_shown.at(i); }
    // The same for a dragged subtitle; none for any other.
    std::optional<Times> shownTimes(const Subtitle &subtitle) const;
    // Where the edge that a start or end drag moves is shown now; none for other drags.
    std::optional<double> draggedEdge() const;
    // From the earliest shown start to the latest shown end.
    Times span() const;
    bool hasMoved() const;
    // What the drop changes, for each subtitle in the order of subtitles().
    QList<Subtitle::Values> newValues() const;

private:
    struct Snap
    {
        double offset;
        bool startEdge;
        double distance; // points
    };

    std::optional<Snap> snapEdge(const Step &step, SnapProvider::Edge edge, double edgeX,
                                 double spanLength) const;
    void apply(double offset, double frameRate);

    SubtitleViewAction::Kind m_kind;
    SubtitleList m_subtitles;
    QList<int> m_positions;
    QHash<const Subtitle *, qsizetype> m_indexOf;
    QList<Times> m_original;
    QList<Times> m_shown;
    std::optional<double> m_oldOffset;
};
