#pragma once

#include "model/IndexSet.h"
#include "model/quality/QualityLimits.h"
#include "model/timing/SpeechSnapSettings.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class ShotChanges;
class SpeechStretches;
class SubtitleController;
class WordTimings;

// Moves subtitle edges to the speech in the film's sound: each start to the nearest onset
// of speech, each end to the nearest offset plus the lead-out, when one is within the
// search window; a subtitle whose words are known, to where its first word begins and its
// last ends. Edges land on frames (on milliseconds while no frame rate is known).
//
// A move never goes against the shot-change rules: an edge on its place beside a cut (a
// start on the cut, an end the set frames before it) stays, and an edge that the speech
// would put near a cut goes where the rules put it instead. Nor does it come closer than
// the minimum gap to a neighbour, pass one, or make a timing limit of the subtitle worse
// than it was. A lead-out that would come too close to the next subtitle is shortened,
// down to none; starts come first, as they mark where the speech begins.
// An edge it cannot move is left as it was, and the report says why.
class SpeechSnap
{
    Q_DECLARE_TR_FUNCTIONS(SpeechSnap)

public:
    enum class Edge { Start, End };
    // Why an edge was left.
    enum Reason {
        NoSpeechNear,       // no onset (offset) within the search window
        OnShotChange,       // it is where the shot-change rules put it
        ShotChangeInTheWay, // the rules allow no place there (cuts close together)
        PreviousTooClose,   // the previous subtitle ends too close
        NextTooClose,       // the next subtitle starts too close
        WouldBeTooShort,
        WouldBeTooLong,
        WouldReadTooFast,
    };

    // What snapping goes by besides the subtitles; the lists must outlive the call.
    struct Sources
    {
        const SpeechStretches &speech;
        const ShotChanges &shotChanges;
        QualityLimits limits;
        double frameRate = 0; // 0 while unknown
        SpeechSnapSettings settings;
        // When the subtitles' words are spoken, where known: a subtitle whose words are
        // known starts at its first word and ends after its last, whatever speech is near.
        const WordTimings *words = nullptr;
    };

    struct LeftEdge
    {
        int position = 0;
        Edge edge = Edge::Start;
        Reason reason = NoSpeechNear;
        friend bool operator==(const LeftEdge &, const LeftEdge &) = default;
    };

    struct Report
    {
        int movedSubtitles = 0;
        int movedStarts = 0;
        int movedEnds = 0;
        QList<LeftEdge> left; // by position, a start before its end
        double searchWindow = SpeechSnapSettings().searchWindow;

        // "Moved 12 subtitles to the speech. Left 3 edges: 2 starts (no speech within
        // 0.5 s), 1 end (the next subtitle starts too close)."
        QString summary() const;
    };

    // The new times, for the subtitles at `positions` (one entry each, in their order).
    struct Plan
    {
        QList<Subtitle::Values> values;
        IndexSet positions;
        Report report;
    };

    // What snapping the subtitles at `positions` of `list` would change; changes nothing.
    static Plan plan(const SubtitleList &list, const IndexSet &positions, const Sources &sources);
    // Snaps the subtitles at `positions` as one undo step.
    static Report snap(SubtitleController &controller, const IndexSet &positions, const Sources &sources);

    // Every subtitle of a list, without a document (the command line): the list as
    // snapped, in new subtitles where they changed, and the report.
    struct Snapped
    {
        SubtitleList subtitles;
        Report report;
    };
    static Snapped snapAll(const SubtitleList &list, const Sources &sources);

    static QString actionName();
    static QString reasonText(Reason reason, double searchWindow);
};
