#pragma once

#include <QCoreApplication>

class Document;
class SubtitlesTableViewController;
class QStatusBar;
class QWidget;

// The window's commands that time subtitles from the speech found in the video's sound:
// snapping the chosen subtitles' edges to it, making empty subtitles from it, and
// synchronising the whole file with it. Each changes the document as one undo step.
class SpeechTimingCommands
{
    Q_DECLARE_TR_FUNCTIONS(SpeechTimingCommands)

public:
    SpeechTimingCommands(Document *document, SubtitlesTableViewController *table, QWidget *window, QStatusBar *statusBar);

    bool hasSpeech() const;
    void snapToSpeech();
    void makeSubtitlesFromSpeech();
    void synchroniseWithSound();

private:
    Document *m_document;
    SubtitlesTableViewController *m_table;
    QWidget *m_window;
    QStatusBar *m_statusBar;
};
