#pragma once

#include "media/MediaSession.h"
#include "model/timing/AlignedPlacement.h"
#include "speech/ScriptAligner.h"

#include <QCoreApplication>

// What aligning subtitles to the speech comes to, for the window and the command line
// alike: the lines to look for (around their times when those fit the speech), the new
// times of the lines found, by the placement rules, and which were left and why.
class ScriptAlignmentResult
{
    Q_DECLARE_TR_FUNCTIONS(ScriptAlignmentResult)

public:
    struct Left
    {
        int position = 0;
        QString reason;
    };

    // The subtitles at `positions` as lines of a script, with their own times.
    static QList<ScriptAligner::Line> linesOf(const SubtitleList &list, const IndexSet &positions);
    // The lines with times only where those fit the speech, moved as syncing would move
    // them; times that are all wrong are no guide, and the lines keep none.
    static QList<ScriptAligner::Line> fitted(QList<ScriptAligner::Line> lines, const SpeechStretches &speech);
    // The lines without times (an imported script's are placeholders).
    static QList<ScriptAligner::Line> untimed(QList<ScriptAligner::Line> lines);
    // Where the lines may be: after the subtitle before the first, before the one after the last.
    static ScriptAligner::Bounds boundsOf(const SubtitleList &list, const IndexSet &positions);

    // `outcomes` are those of the subtitles at `positions`, in order.
    // Lines not found keep their times when `timed`, and are fitted between the found ones otherwise.
    static ScriptAlignmentResult of(const SubtitleList &list, const IndexSet &positions,
                                    const QList<ScriptAligner::Outcome> &outcomes, const SpeechSnap::Sources &sources,
                                    bool timed = true);

    // How many lines were found and placed (those fitted between them are left).
    int placed = 0;

    AlignedPlacement::Plan plan;
    QList<Left> left;                          // by position
    QList<MediaSession::AlignedLine> words;    // the words of each line placed
    SubtitleList leftSubtitles;

    int placedCount() const { return placed; }
    // "Placed 12 of 14 subtitles where their words are spoken; left 2."
    QString summary() const;
};
