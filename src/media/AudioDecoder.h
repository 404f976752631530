#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// One audio stream of a media file (the first unless told), decoded with FFmpeg into
// interleaved signed 16-bit samples at the stream's own sample rate and channel count.
// Every other stream is discarded unread. Not thread-safe: one thread at a time.
class AudioDecoder
{
public:
    enum class Status { Data, End, Failed };

    // Audio track `audioTrack`: the file's audio streams counted from 1 in the file's order,
    // as AudioTrack numbers them. nullptr when the path is not a regular file, cannot be
    // opened, has no such audio stream, or its decoder is missing. The path is always a file
    // name, never a URL.
    static std::unique_ptr<AudioDecoder> open(const QString &path, int audioTrack = 1);
    ~AudioDecoder();

    int sampleRate() const;
    int channelCount() const;
    // Seconds; 0 when the file does not tell.
    double duration() const;

    // Restricts reading to the range: the start is rounded to the nearest second, the
    // end is kept as it is but never goes past the stream's duration (encoders pad the
    // last frame). Seeks when the start is not 0; false when the seek fails.
    bool setRange(double start, double end);
    // Narrows the range to the samples [first, end) of each channel, counted from time 0,
    // within the one setRange allowed, exactly: the samples are those a reading of the
    // whole range gives there. Call after setRange, before reading.
    void narrowRange(int64_t first, int64_t end);

    // Replaces out with the next decoded samples inside the range, each at the time its
    // timestamps give, whether read from the start or after a seek: a gap in the stream is
    // silence and time played twice is given once. Data means out is not empty; after End
    // or Failed, out is empty and errorString() says why it failed.
    Status read(std::vector<int16_t> &out);
    QString errorString() const;

private:
    struct Private;
    explicit AudioDecoder(std::unique_ptr<Private> d);
    std::unique_ptr<Private> d;
};
