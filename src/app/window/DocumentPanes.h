#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <optional>

class Document;
class MediaSession;
class QWidget;
class SubtitleTextBox;
class SubtitlesTableViewController;
class TimelineViewController;
class VideoPlayerViewController;

// The panes of one document and what passes between them. Each pane knows only the
// document and what its video's media session found; this wires them together: the video
// the player plays is the one the session works out, playback drives the timeline, the
// list's playback keys reach the player, and the commands that need two panes at once
// (edit what is on screen, a shot change at the video) live here.
class DocumentPanes : public QObject
{
    Q_OBJECT

public:
    // Makes the panes as children of `parent` (a window lays them out).
    DocumentPanes(Document *document, MediaSession *media, QWidget *parent);

    VideoPlayerViewController *player() const;
    SubtitlesTableViewController *table() const;
    // The selected subtitle's text, for under the list.
    SubtitleTextBox *textBox() const;
    TimelineViewController *timeline() const;
    MediaSession *media() const { return m_media; }

    // Tab goes through the panes as they are read: the list, the text box under it, the
    // timeline, then the video and its buttons. Once they are laid out: a widget moved into
    // a splitter goes to the end of the order.
    void placeInTabOrder();

    void openVideo(QWidget *dialogParent);
    bool canEditDisplayedSubtitle() const;
    void editDisplayedSubtitle();
    // A shot change where the video is (on a frame), as one undo step.
    void addShotChangeAtPlayerTime();

    // The panes' restorable state, with the document's own and the video's audio track
    // ("audioTrack").
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
    MediaSession *m_media; // outlives the panes
    QPointer<VideoPlayerViewController> m_player;
    QPointer<SubtitlesTableViewController> m_table;
    QPointer<TimelineViewController> m_timeline;
    QPointer<SubtitleTextBox> m_textBox;
    // The restored video's audio track, until that video comes.
    QString m_restoredVideo;
    int m_restoredAudioTrack = 1;
};
