#pragma once

#include "model/Subtitle.h"
#include "document/Player.h"
#include "system/RegularFileCheck.h"

#include <QPointer>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class Document;
class MediaSession;
class PlaybackControls;
class QLabel;
class QStackedLayout;
class StyledSubtitleTrack;
class SubtitleAnnouncer;
class VideoPlayerView;

// The video pane of a document window: plays one video at a time, shows the subtitle
// current at the playback position over the picture, and tells the rest of the window
// (through its signals) where playback is, how long the video lasts and its frame rate.
class VideoPlayerViewController : public QWidget
{
    Q_OBJECT

public:
    // Makes the player for a file and starts opening it.
    using PlayerFactory = std::function<std::unique_ptr<Player>(const QString &path)>;

    // The overlay's size and place for a picture of width w whose bottom edge lies y above
    // the bottom of the view: text w / 40 high, w − 40 wide (never negative), its bottom
    // y + w / 10 above the bottom of the view.
    struct LabelGeometry
    {
        double fontSize;
        double width;
        double bottom;
    };
    static LabelGeometry labelGeometry(double pictureWidth, double pictureBottom);

    // Registers itself with the document; steps to the shot changes and speech `media`
    // found.
    VideoPlayerViewController(Document *document, const MediaSession *media, QWidget *parent = nullptr);
    ~VideoPlayerViewController() override;

    // Tests play fakes; the default makes a libmpv player (headless where OpenGL is absent).
    void setPlayerFactory(PlayerFactory factory);

    Player *player() const { return m_player.get(); }
    // Absolute path of the loaded video; empty before a load and after a failed one.
    QString videoPath() const { return m_path; }
    std::optional<int> currentSubtitleIndex() const { return m_currentSubtitleIndex; }
    VideoPlayerView *playerView() const { return m_playerView; }
    QLabel *subtitlesLabel() const { return m_subtitlesLabel; }
    // Speaks each subtitle as playback reaches it, while Preferences::announcesSubtitles.
    const SubtitleAnnouncer *announcer() const { return m_announcer; }
    // Tab comes to this pane after `previous`, then to its buttons.
    void placeInTabOrderAfter(QWidget *previous);
    // The text the pane shows while no picture is: how to attach a video, or why it failed.
    QString placeholderText() const;
    QString timeText() const;
    // What the clock says of the rate or speed; empty at plain 1×.
    QString rateText() const;
    double speed() const { return m_speed; }
    // Whether the original's line at the playback position shows above the subtitle.
    void setShowsOriginal(bool shows);

    // Window restoration: "videoBookmarkData" (the video's absolute path) and
    // "currentTime" (seconds); empty while no video is loaded.
    QVariantMap saveState() const;
    // A missing or unreadable file leaves the pane as it is, without a message. The file
    // is looked at off the GUI thread, so the video comes a moment later.
    void restoreState(const QVariantMap &state);

public slots:
    void loadVideo(const QString &path);
    // The audio track the player plays, for this and every later video until told again.
    void setAudioTrack(int track);
    // Frame steps (negative: backwards), when the player can.
    void stepVideo(int count);
    void stepForward() { stepVideo(1); }
    void stepBackward() { stepVideo(-1); }
    // Recomputes the current subtitle and the overlay.
    void updateSubtitlesLabel();
    // The completion of every seek of the player; may be called on any thread.
    void seekDidFinish(bool finished);
    // An exact seek that refreshes the overlay once it lands.
    void seekTo(double seconds);
    // Whether a seekTo has not landed yet.
    bool isSeeking() const { return m_seekTarget.has_value(); }
    // Seeks to the document's next or previous shot change from where the video is, or is
    // being sought to; nothing when there is none.
    void goToNextShotChange() { goToShotChange(true); }
    void goToPreviousShotChange() { goToShotChange(false); }
    // The same for the nearest start or end of any subtitle, and for where speech starts
    // or stops.
    void goToNextSubtitleEdge() { goToSubtitleEdge(true); }
    void goToPreviousSubtitleEdge() { goToSubtitleEdge(false); }
    void goToNextSpeechEdge() { goToSpeechEdge(true); }
    void goToPreviousSpeechEdge() { goToSpeechEdge(false); }

    void playPause();
    // Plays from `from` and pauses at `to`: a subtitle, or the moment before or after it.
    void playRange(double from, double to);
    // The J-K-L shuttle. L plays forwards, faster with each press (1×, 2×, 4× the chosen
    // speed); J the same backwards; K stops. Pressing the other direction's key turns to it
    // at 1× the speed.
    void shuttleForward();
    void shuttleBackward();
    void shuttleStop();
    // The speed of playing, in PlaybackSpeed's steps; it holds for every video of the pane.
    void playFaster();
    void playSlower();
    void playAtNormalSpeed();
    void setSpeed(double speed);

signals:
    // Absent when a video starts loading, then its duration once known.
    void videoDurationChanged(std::optional<double> duration);
    // Every 0.01 s while playing, and when playback starts, stops or jumps.
    void playbackTimeChanged(double time);
    // Another video began loading (its absolute path), or the loaded one failed (empty).
    void videoChanged(const QString &path);
    // Playback started from a pause, or a frame step: the timeline follows the cursor.
    void scrollToCursorRequested();
    // Playback started or stopped (the shuttle's speeds and directions count as playing).
    void playingChanged(bool playing);
    void restorableStateChanged();
    // The subtitle shown over the picture (currentSubtitleIndex) changed.
    void currentSubtitleChanged();
    // The video could not be played; the pane shows the same message.
    void failed(const QString &message);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void installObservers();
    void removeObservers();
    void removeStopObserver();
    void updateBoundaryTimeObserver();
    void layoutSubtitlesLabel();
    void durationDidChange(double duration);
    void playerDidFail(const QString &message);
    void releasePlayer();
    void showPlaceholder(const QString &text);
    void updateControls();
    void goToShotChange(bool forward);
    void goToSubtitleEdge(bool forward);
    void goToSpeechEdge(bool forward);
    // Seeks to the time `target` finds from where the video is, or is being sought to.
    void goToTarget(const std::function<std::optional<double>(double from)> &target);

    QPointer<Document> m_document;
    QPointer<const MediaSession> m_media;
    VideoPlayerView *m_playerView;
    QStackedLayout *m_stack;
    QLabel *m_emptyView;
    QWidget *m_videoHost;
    QLabel *m_subtitlesLabel;
    PlaybackControls *m_controls;
    // Draws ASS and SSA documents through the player, in place of the label.
    StyledSubtitleTrack *m_styledTrack;
    SubtitleAnnouncer *m_announcer;
    PlayerFactory m_playerFactory;

    QString m_path;
    RegularFileCheck m_restoreCheck{this}; // the restored video, looked at off the GUI thread
    std::optional<int> m_currentSubtitleIndex;
    std::unique_ptr<Player> m_player;
    std::optional<Player::ObserverToken> m_boundaryTimeObserver;
    std::optional<Player::ObserverToken> m_periodicTimeObserverForRateChanges;
    std::optional<Player::ObserverToken> m_periodicTimeObserverForPlayback;
    std::optional<Player::ObserverToken> m_stopObserver; // ends playRange
    double m_speed = 1;
    int m_audioTrack = 1;
    bool m_labelAtTop = false; // {\an7} to {\an9}
    bool m_showsOriginal = true;
    bool m_wasPlaying = false;
    // Cleared for every video, so that each one's duration reaches the timeline.
    bool m_didSetDuration = false;
    std::optional<double> m_duration;
    // Where the last seekTo goes, until it lands: a player tells the time it left until then.
    std::optional<double> m_seekTarget;
    int m_seekCount = 0;
};
