#pragma once

#include "model/timing/PlaybackSpeed.h"

#include <QList>
#include <QObject>
#include <QRectF>
#include <QString>

class QWidget;

#include <functional>
#include <utility>

// What the program needs of a video player. The libmpv player implements it for real;
// tests run the same logic against a fake. Times are seconds.
class Player : public QObject
{
    Q_OBJECT

public:
    using ObserverToken = int;

    using QObject::QObject;
    ~Player() override = default;

    virtual double currentTime() const = 0;
    // 0 while paused; 1 at normal speed; negative backwards (the J-K-L shuttle).
    virtual double rate() const = 0;
    virtual void setRate(double rate) = 0;
    // Plays forwards at speed().
    virtual void play() { setRate(m_speed); }
    virtual void pause() { setRate(0); }

    // The speed that playing goes at, PlaybackSpeed::slowest to fastest; the sound keeps
    // its pitch. The shuttle's rates are multiples of it. Changed while playing, the rate
    // changes in proportion.
    double speed() const { return m_speed; }
    void setSpeed(double speed)
    {
        speed = PlaybackSpeed::bounded(speed);
        if (speed == m_speed)
            return;
        const double previous = std::exchange(m_speed, speed);
        emit speedChanged(speed);
        if (const double playing = rate(); playing != 0)
            setRate(playing * speed / previous);
    }

    // Plays `duration` seconds of the sound from `time` on its own, leaving the picture, the
    // time and the rate alone: what the pointer passes over while scrubbing, or the moment
    // around a dragged edge. A new grain cuts off the one playing. Players without sound
    // ignore both.
    virtual void playGrain(double time, double duration) { Q_UNUSED(time); Q_UNUSED(duration); }
    virtual void stopGrain() {}

    // A frame-exact seek. The completion runs on the GUI thread once the seek ended;
    // finished is false when a later seek or a new video interrupted it.
    virtual void seek(double seconds, std::function<void(bool finished)> completion = {}) = 0;

    virtual bool canStepForward() const = 0;
    virtual bool canStepBackward() const = 0;
    // Steps count frames (negative: backwards) and pauses.
    virtual void stepByCount(int count) = 0;

    // 0 until known; durationChanged/frameRateChanged report them once known.
    virtual double duration() const = 0;
    virtual double frameRate() const = 0;

    // Calls back every interval while playing, and also whenever playback starts, stops
    // or jumps. Returns a token for removeTimeObserver.
    virtual ObserverToken addPeriodicTimeObserver(double interval, std::function<void(double time)> callback) = 0;
    // Calls back whenever playback crosses one of the times.
    virtual ObserverToken addBoundaryTimeObserver(const QList<double> &times, std::function<void()> callback) = 0;
    virtual void removeTimeObserver(ObserverToken token) = 0;

    // Where the picture lies inside the player's view, in the view's coordinates.
    virtual QRectF videoRect() const = 0;
    // The widget showing the picture, owned by the player; nullptr when it draws nowhere.
    virtual QWidget *view() const { return nullptr; }

    // Plays audio track `track` of the file: its audio streams counted from 1 in the file's
    // order (mpv's own numbering), the first until told; one the file lacks plays no sound.
    // Grains come from the same track.
    virtual void setAudioTrack(int track) { m_audioTrack = track; }
    int audioTrack() const { return m_audioTrack; }

    // Draws the subtitles of a file over the picture as the player renders its format
    // (styles, positions, effects), or none for an empty path; `reloadSubtitleFile` reads
    // the same file again after it was rewritten. Players that draw no subtitles ignore both.
    virtual void showSubtitleFile(const QString &path) { Q_UNUSED(path); }
    virtual void reloadSubtitleFile() {}

private:
    double m_speed = PlaybackSpeed::normal;
    int m_audioTrack = 1;

signals:
    void durationChanged(double duration);
    void frameRateChanged(double frameRate);
    void rateChanged(double rate);
    void speedChanged(double speed);
    void videoRectChanged();
    // The file could not be played; message is for the user.
    void failed(const QString &message);
};
