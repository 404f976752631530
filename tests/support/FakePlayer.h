#pragma once

#include "document/Player.h"

#include <QList>
#include <QPair>

#include <map>

// A Player for unit tests: time moves only when the test says so, and seeks() tells where
// it was asked to go.
class FakePlayer : public Player
{
    Q_OBJECT

public:
    using Player::Player;
    ~FakePlayer() override;

    // Player
    double currentTime() const override { return m_time; }
    double rate() const override { return m_rate; }
    void setRate(double rate) override;
    void seek(double seconds, std::function<void(bool finished)> completion = {}) override;
    bool canStepForward() const override { return m_frameRate > 0 && m_time + 1 / m_frameRate <= m_duration; }
    bool canStepBackward() const override { return m_frameRate > 0 && m_time > 0; }
    void stepByCount(int count) override;
    double duration() const override { return m_duration; }
    double frameRate() const override { return m_frameRate; }
    ObserverToken addPeriodicTimeObserver(double interval, std::function<void(double)> callback) override;
    ObserverToken addBoundaryTimeObserver(const QList<double> &times, std::function<void()> callback) override;
    void removeTimeObserver(ObserverToken token) override;
    QRectF videoRect() const override { return m_videoRect; }
    void playGrain(double time, double duration) override { m_grains.append({time, duration}); }
    void stopGrain() override { ++m_grainStops; }
    void showSubtitleFile(const QString &path) override { m_subtitleFile = path; }

    // Test controls.
    const QList<double> &seeks() const { return m_seeks; }
    // The grains asked for, as (time, duration), and how often they were stopped.
    const QList<QPair<double, double>> &grains() const { return m_grains; }
    int grainStops() const { return m_grainStops; }
    // The subtitle file the player was told to draw, or empty.
    QString subtitleFile() const { return m_subtitleFile; }
    void setDuration(double duration) { emit durationChanged(m_duration = duration); }
    void setFrameRate(double frameRate) { emit frameRateChanged(m_frameRate = frameRate); }
    void setVideoRect(const QRectF &rect) { m_videoRect = rect; emit videoRectChanged(); }
    void fail(const QString &message) { emit failed(message); }
    // Plays on by `seconds` at the current rate: crosses boundaries, fires periodic
    // observers as their intervals pass. No jump.
    void advance(double seconds);
    // A jump: sets the time and fires the periodic observers, as a seek does.
    void jumpTo(double seconds) { m_time = seconds; notifyPeriodicObservers(); }
    int observerCount() const { return int(m_periodic.size() + m_boundaries.size()); }

private:
    void notifyPeriodicObservers();

    struct Periodic
    {
        double interval;
        double elapsed = 0;
        std::function<void(double)> callback;
    };

    QList<double> m_seeks;
    QList<QPair<double, double>> m_grains;
    int m_grainStops = 0;
    QString m_subtitleFile;
    double m_time = 0;
    double m_rate = 0;
    double m_duration = 0;
    double m_frameRate = 0;
    QRectF m_videoRect;
    // Seeks complete on the next turn of the event loop, or as interrupted by the next.
    std::function<void(bool)> m_pendingCompletion;
    ObserverToken m_nextToken = 1;
    std::map<ObserverToken, Periodic> m_periodic;
    std::map<ObserverToken, std::pair<QList<double>, std::function<void()>>> m_boundaries;
};
