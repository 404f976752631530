#pragma once

#include "model/Subtitle.h"
#include "timeline/SubtitleViewAction.h"

#include <QList>

#include <optional>

// One drag of subtitle times on the timeline. While the pointer moves, the new times are
// written straight into the subtitles (no undo, no notification); finish() puts the
// times from before the drag back and returns the new ones, so that the caller can make
// the whole drag one undoable update.
class SubtitleDrag
{
public:
    static constexpr double minimumSubtitleDuration = 0.5;
    static constexpr double snapMargin = 10.0; // points on screen, whatever the zoom

    // subtitles: the blocks being dragged, sorted by start (left and right neighbour for
    // the gap between two blocks).
    SubtitleDrag(SubtitleViewAction::Kind kind, SubtitleList subtitles);

    struct Step
    {
        double pointsPerSecond = 30;
        double translationX = 0; // pointer movement since the drag began
        double proposedX = 0;    // where the pointer puts the first block's left edge
        double currentTime = 0;  // the playback cursor
        double frameRate = 0;
        bool snapping = true;
        SubtitleList candidates; // blocks on screen that are not being dragged
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
    bool hasMoved() const;
    // Puts the times from before the drag back (a cancelled drag).
    void restore();
    // Restores and returns each subtitle's new values, in the order of subtitles().
    QList<Subtitle::Values> finish();

private:
    struct Times
    {
        double start;
        double end;
    };
    struct Span
    {
        double start; // times of the dragged blocks' outer edges
        double end;
    };

    SubtitleList sortedCandidates(const Step &step, const Span &span) const;
    std::optional<double> snapStart(const Step &step, const SubtitleList &candidates, const Span &span,
                                    double proposedX) const;
    std::optional<double> snapEnd(const Step &step, const SubtitleList &candidates, const Span &span,
                                  double proposedX) const;
    static bool overlapsAny(const SubtitleList &candidates, double start, double end);
    void apply(double offset, double frameRate);

    SubtitleViewAction::Kind m_kind;
    SubtitleList m_subtitles;
    QList<Times> m_original;
    std::optional<double> m_oldOffset;
};
