#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <optional>

class Document;
class QWidget;
class ShotChangeTracking;
class SubtitleTextBox;
class SubtitlesTableViewController;
class TimelineViewController;
class VideoPlayerViewController;

// The panes of one document and what passes between them. Each pane knows only the
// document; this wires them together: playback drives the timeline, the list's playback
// keys reach the player, a new selection seeks a paused video, and the commands that
// need two panes at once (edit what is on screen, a shot change at the video) live here.
class DocumentPanes : public QObject
{
    Q_OBJECT

public:
    // Makes the panes as children of `parent` (a window lays them out).
    DocumentPanes(Document *document, QWidget *parent);

    VideoPlayerViewController *player() const;
    SubtitlesTableViewController *table() const;
    // The selected subtitle's text, for under the list.
    SubtitleTextBox *textBox() const { return m_textBox; }
    TimelineViewController *timeline() const;
    ShotChangeTracking *shotChangeTracking() const { return m_shotChangeTracking; }

    void openVideo(QWidget *dialogParent);
    bool canEditDisplayedSubtitle() const;
    void editDisplayedSubtitle();
    // A shot change where the video is (on a frame), as one undo step.
    void addShotChangeAtPlayerTime();

    // The panes' restorable state, with the document's own.
    QVariantMap saveState() const;
    void restoreState(const QVariantMap &state);

signals:
    // Something the can...() answers depend on may have changed.
    void commandStateChanged();

private:
    void wirePlayback();
    // The playback position, on a frame when the video's frame rate is known.
    std::optional<double> playerTimeOnFrame() const;

    QPointer<Document> m_document;
    QPointer<VideoPlayerViewController> m_player;
    QPointer<SubtitlesTableViewController> m_table;
    QPointer<TimelineViewController> m_timeline;
    QPointer<SubtitleTextBox> m_textBox;
    ShotChangeTracking *m_shotChangeTracking;
};
