#include "media/WaveformSegments.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

std::vector<WaveformSegment> WaveformSegments::split(const Sound &sound, double start, double end,
                                                     int samplesPerBucket, int threadCount, double focusTime)
{
    const int rate = sound.sampleRate;
    const int channels = sound.channels;
    const int64_t first = int64_t(std::round(start)) * rate;
    const double length = std::min(end, sound.duration) - std::round(start);
    int count = end < unknownEnd && length > 0 ? threadCount : 1;
    while (count > 1 && length / count < shortestSeconds)
        --count;
    const int64_t frames = int64_t(length * rate);
    const int64_t step = std::lcm<int64_t>(samplesPerBucket, channels) / channels;

    std::vector<int64_t> begins;
    for (int i = 0; i < count; ++i)
        begins.push_back(first + frames * i / count / step * step);
    // Not when a part already begins close to the focus.
    const int64_t focus = first + (int64_t(focusTime * rate) - first) / step * step;
    const int64_t near = int64_t(shortestSeconds * rate);
    if (count > 1 && focus > first && focus < first + frames - near
        && std::none_of(begins.cbegin(), begins.cend(), [&](int64_t begin) { return std::abs(begin - focus) < near; }))
        begins.insert(std::upper_bound(begins.begin(), begins.end(), focus), focus);

    std::vector<WaveformSegment> parts;
    for (const int64_t begin : begins) {
        if (!parts.empty()) {
            if (begin <= parts.back().first)
                continue;
            parts.back().end = begin;
            parts.back().last = false;
        }
        parts.push_back({int(parts.size()), begin});
    }
    return parts;
}
