#pragma once

#include "model/timing/NudgeRun.h"
#include "model/timing/ScriptTiming.h"
#include "model/timing/TimingNudge.h"

#include <QCoreApplication>

#include <optional>
#include <utility>

class Document;
class SubtitlesTableViewController;
class QStatusBar;

// The window's commands that time subtitles from the keyboard: taking a subtitle's start
// or end from the video, moving the chosen subtitles' edges by a frame or a tenth of a
// second, adding a subtitle at the playback cursor, and closing the short gaps between
// subtitles. Each change is one undo step.
class KeyboardTimingCommands
{
    Q_DECLARE_TR_FUNCTIONS(KeyboardTimingCommands)

public:
    static constexpr double shortStep = 0.1; // seconds

    KeyboardTimingCommands(Document *document, SubtitlesTableViewController *table, QStatusBar *statusBar);

    // A step of `frames` frames, or of shortStep when frames is 0; negative is earlier.
    void nudge(TimingNudge::Edge edge, int frames, int direction, const QString &stepName);
    void insertAtCursor();
    void chainGaps();

    // The one target subtitle's start or end where the video is, on a frame. While the
    // video plays, setting the end moves on to the next line of the script; the next is
    // always the script's, whatever order the new times give the list.
    void setStartFromVideo();
    void setEndFromVideo();
    void setEndAndStartNext();
    // The subtitles just imported, in their order, are the script that timing goes through.
    void takeScript(const SubtitleList &lines);

private:
    // The one row that timing from the video acts on, and the video's time on a frame.
    std::optional<std::pair<int, double>> videoTimingTarget() const;
    void refuseEndNotAfterStart();

    Document *m_document;
    SubtitlesTableViewController *m_table;
    QStatusBar *m_statusBar;
    NudgeRun m_shortRun{shortStep};
    ScriptTiming m_script;
};
