#pragma once

#include <cstdint>
#include <limits>
#include <vector>

// A part of a range of sound decoded on its own thread, in samples per channel from time 0.
struct WaveformSegment
{
    int index = 0;
    int64_t first = 0;
    int64_t end = std::numeric_limits<int64_t>::max();
    bool last = true;
};

// How a range of a waveform is shared between reading threads. It is split where a point
// begins and a sample frame begins, so the joined points equal those of one reading; the
// end stays open, as the decoder finds it.
class WaveformSegments
{
public:
    // Read to here when the file does not tell how long its audio is: the decoder stops at
    // the end of the stream long before.
    static constexpr double unknownEnd = 1e9;
    // Shorter parts are not worth opening the file once more.
    static constexpr double shortestSeconds = 1;

    struct Sound
    {
        double duration = 0; // 0 when unknown
        int sampleRate = 0;
        int channels = 0;
    };

    // `focusTime` is where the user looks: a part of its own begins there, so that its
    // points come first.
    static std::vector<WaveformSegment> split(const Sound &sound, double start, double end, int samplesPerBucket,
                                              int threadCount, double focusTime);
};
