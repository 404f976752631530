#pragma once

#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>

#include <memory>

struct SmallFrame;

// The first video stream of a file, decoded cheaply (no loop filter, few threads) into
// small frames timed on the player's clock: the file's start time is time 0. Not
// thread-safe: one thread at a time.
class VideoFrameReader
{
    Q_DECLARE_TR_FUNCTIONS(VideoFrameReader)

public:
    enum class Status { Frame, End, Failed };

    // The error is a message for the user: not a file, no video stream, no decoder...
    static Expected<std::unique_ptr<VideoFrameReader>, QString> open(const QString &path);
    ~VideoFrameReader();

    double duration() const;  // seconds, 0 when the file does not tell
    double frameRate() const; // frames per second, 0 when unknown
    // Decoding threads; 1 leaves the other cores to playback. Restarts the decoder, so
    // call it before reading or before a seek.
    void setThreadCount(int threads);

    // Goes to the keyframe at or before `seconds`; reading then starts there.
    bool seek(double seconds);
    // The next frame, in the order they are shown. Frame means `frame` was filled;
    // after Failed, errorString() says why.
    Status read(SmallFrame &frame);
    QString errorString() const;

private:
    struct Private;
    explicit VideoFrameReader(std::unique_ptr<Private> d);
    std::unique_ptr<Private> d;
};
