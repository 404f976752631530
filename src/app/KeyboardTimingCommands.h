#pragma once

#include "model/NudgeRun.h"
#include "model/TimingNudge.h"

#include <QCoreApplication>

class Document;
class SubtitlesTableViewController;
class QStatusBar;

// The window's commands that time subtitles from the keyboard: moving the chosen
// subtitles' edges by a frame or a tenth of a second, adding a subtitle at the playback
// cursor, and closing the short gaps between subtitles. Each change is one undo step.
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

private:
    Document *m_document;
    SubtitlesTableViewController *m_table;
    QStatusBar *m_statusBar;
    NudgeRun m_shortRun{shortStep};
};
