#pragma once

#include <QObject>

class Document;
class QAction;
class QStatusBar;
class QWidget;
class VideoPlayerViewController;

// The window's commands of translation mode: attaching the original a translation is
// made from (read as Open reads a file, never written), detaching it, timing the
// translation line by line from it, and showing it over the video.
class TranslationCommands : public QObject
{
    Q_OBJECT

public:
    TranslationCommands(Document *document, VideoPlayerViewController *player, QWidget *window, QStatusBar *statusBar);

    // Asks for the file (and, if wanted, its encoding) and attaches it; an unreadable
    // or malformed file is explained (a repair offered) and nothing changes.
    void openOriginal();
    // Attaches `path` as Open would read it; false when it was not attached.
    bool attachOriginal(const QString &path, int encoding);
    void closeOriginal();
    // The selected subtitles (two or more) or every one take the times of the original
    // lines at their positions; see OriginalTimingCopy.
    void copyTimingsFromOriginal();

    // The checkable item that shows the original over the video, a setting of every window.
    void setShowOnVideoAction(QAction *action);

private:
    Document *m_document;
    VideoPlayerViewController *m_player;
    QWidget *m_window;
    QStatusBar *m_statusBar;
};
