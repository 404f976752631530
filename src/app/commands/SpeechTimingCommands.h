#pragma once

#include <QCoreApplication>

class Document;
class MediaSession;
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
    // The speech and shot changes are those `media` found in the document's video.
    SpeechTimingCommands(Document *document, const MediaSession *media, SubtitlesTableViewController *table,
                         QWidget *window, QStatusBar *statusBar);

    bool hasSpeech() const;
    void snapToSpeech();
    void makeSubtitlesFromSpeech();
    void synchroniseWithSound();

private:
    Document *m_document;
    const MediaSession *m_media;
    SubtitlesTableViewController *m_table;
    QWidget *m_window;
    QStatusBar *m_statusBar;
};
