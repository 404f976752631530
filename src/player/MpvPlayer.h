#pragma once

#include "document/Player.h"
#include "system/RegularFileCheck.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSizeF>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

struct mpv_handle;
struct mpv_event;
struct mpv_event_property;
class SoundGrains;

// The Player on libmpv. In Window mode the picture is drawn into an MpvVideoWidget (view());
// Headless mode renders nothing and plays no sound (tests, and platforms without OpenGL),
// while view() is a plain black widget so the pane still has a picture area to lay out.
// The Sound modes open the sound alone, audible or not, for a player of grains.
//
// Playing faster or slower keeps the pitch: mpv stretches the sound in time with its own
// filter.
//
// mpv cannot play backwards smoothly; a negative rate is emulated by a run of exact seeks
// backwards, keeping the picture and the time moving at that rate.
class MpvPlayer final : public Player
{
    Q_OBJECT

public:
    enum class Output { Window, Headless, Sound, SilentSound };

    explicit MpvPlayer(Output output, QObject *parent = nullptr);
    ~MpvPlayer() override;

    // Opens the file paused at its start. failed() reports a file that cannot be played.
    void load(const QString &path);
    void showSubtitleFile(const QString &path) override;
    void reloadSubtitleFile() override;
    bool isLoaded() const { return m_loaded; }

    double currentTime() const override { return m_time; }
    double rate() const override { return m_rate; }
    void setRate(double rate) override;
    void seek(double seconds, std::function<void(bool finished)> completion = {}) override;
    bool canStepForward() const override;
    bool canStepBackward() const override;
    void stepByCount(int count) override;
    double duration() const override { return m_duration; }
    double frameRate() const override { return m_frameRate; }
    ObserverToken addPeriodicTimeObserver(double interval, std::function<void(double time)> callback) override;
    ObserverToken addBoundaryTimeObserver(const QList<double> &times, std::function<void()> callback) override;
    void removeTimeObserver(ObserverToken token) override;
    QRectF videoRect() const override;
    QWidget *view() const override;
    // Grains come from a second, sound-only player opened at the first one, so that they
    // need not wait for pictures to decode nor move this player's picture.
    void setAudioTrack(int track) override;
    void playGrain(double time, double duration) override;
    void stopGrain() override;
    // What mpv says a property is, as text; empty when it has none. For checks and tests.
    QString mpvProperty(const char *name) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct PeriodicObserver
    {
        std::function<void(double)> callback;
        QTimer *timer;
    };
    struct BoundaryObserver
    {
        QList<double> times;
        std::function<void()> callback;
    };
    struct PendingSeek
    {
        double target;
        std::function<void(bool)> completion;
        bool continuous; // a step of backwards play, not a jump
        quint64 id = 0;
        bool accepted = false; // mpv took the command; its next restart ends the seek
    };

    void start();
    void processEvents();
    void handleEvent(const mpv_event &event);
    void handleProperty(const mpv_event_property &property);
    void handlePauseChanged();
    void handlePlaybackRestart();
    void fail(const QString &message);
    void startSeek(double seconds, std::function<void(bool)> completion, bool continuous);
    void sendSeek(PendingSeek &seek);
    void endSeek(bool finished);
    void moveTime(double time, bool continuous);
    void notifyPeriodicObservers();
    void updateTimers();
    void stepBackwardsPlayback();
    double readTimePos() const;
    void command(std::initializer_list<const char *> args);
    void setFlag(const char *name, bool value);

    Output m_output;
    mpv_handle *m_mpv = nullptr;
    QPointer<QWidget> m_view;
    QString m_pendingPath; // waits for the render context in Window mode
    QString m_path;
    std::unique_ptr<SoundGrains> m_grains;
    bool m_loaded = false;
    // The file whose subtitles mpv draws, added once the video is loaded.
    QString m_subtitleFile;
    bool m_subtitleFileAdded = false;
    bool m_failed = false;
    double m_time = 0;
    double m_rate = 0;
    double m_duration = 0;
    double m_frameRate = 0;
    QSizeF m_videoSize;
    std::optional<double> m_stepTarget; // where mpv's frame step under way goes
    std::optional<PendingSeek> m_seek;
    quint64 m_nextRequestId = 1;
    QTimer m_backwardsTimer;
    QElapsedTimer m_backwardsClock;
    ObserverToken m_nextToken = 1;
    std::map<ObserverToken, PeriodicObserver> m_periodicObservers;
    std::map<ObserverToken, BoundaryObserver> m_boundaryObservers;
    RegularFileCheck m_fileCheck{this}; // only regular files are played
};
