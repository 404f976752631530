#pragma once

#include "model/Expected.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <stop_token>

class VideoFrameReader;

// Finds a video's hard cuts: the times (seconds, on the player's clock) of the first
// frames of new shots. Flashes of light, fast motion and cross-fades are not cuts.
// Not thread-safe: one thread at a time.
class ShotChangeScanner
{
    Q_DECLARE_TR_FUNCTIONS(ShotChangeScanner)

public:
    // The error is a message for the user (no video stream, unreadable...).
    static Expected<std::unique_ptr<ShotChangeScanner>, QString> open(const QString &path);
    ~ShotChangeScanner();

    double duration() const;  // seconds, 0 when unknown
    double frameRate() const; // frames per second of the video stream, 0 when unknown
    // Decoding threads, 1 by default: the other cores stay free for playback.
    void setThreadCount(int threads);

    // The cuts in [start, end), each once, sorted. Reads a little before and after the
    // range as the decisions need, so that scanning [0, a) and [a, b) finds exactly what
    // scanning [0, b) finds. Looks at `stop` between frames and returns what it found so
    // far when it is set; `progress` gets the time reached.
    QList<double> scan(double start, double end, std::stop_token stop = {},
                       const std::function<void(double reached)> &progress = {});
    // Why the last scan ended early, empty when it read all it needed.
    QString errorString() const;

private:
    explicit ShotChangeScanner(std::unique_ptr<VideoFrameReader> reader);
    std::unique_ptr<VideoFrameReader> m_reader;
    QString m_error;
};
