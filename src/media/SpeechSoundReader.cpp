#include "media/SpeechSoundReader.h"

#include "media/AudioDecoder.h"
#include "speech/MonoResampler.h"
#include "speech/WordAligner.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// The resampling filter needs sound on both sides of the first and last sample it gives.
constexpr double filterRoom = 0.05;
} // namespace

SpeechSoundReader::SpeechSoundReader(QString path, int audioTrack)
    : m_path(std::move(path))
    , m_audioTrack(audioTrack)
{
}

std::vector<int16_t> SpeechSoundReader::read(double from, double to) const
{
    from = std::max(0.0, from);
    if (!(to > from))
        return {};
    const std::unique_ptr<AudioDecoder> decoder = AudioDecoder::open(m_path, m_audioTrack);
    const double readFrom = std::max(0.0, from - filterRoom);
    // The range's start is rounded to a second: from the one before, narrowed to the sample.
    if (!decoder || !decoder->setRange(std::floor(readFrom), to + filterRoom))
        return {};
    const int rate = decoder->sampleRate();
    const auto first = std::int64_t(std::llround(readFrom * rate));
    decoder->narrowRange(first, std::int64_t(std::llround((to + filterRoom) * rate)));

    constexpr int outRate = WordAligner::sampleRate;
    MonoResampler resampler(rate, decoder->channelCount(), outRate);
    std::vector<float> mono;
    std::vector<int16_t> samples;
    while (decoder->read(samples) == AudioDecoder::Status::Data)
        resampler.append(samples.data(), std::int64_t(samples.size()), mono);
    resampler.finish(mono);

    // Output sample n is at readFrom + n / outRate.
    const auto skip = std::size_t(std::llround((from - double(first) / rate) * outRate));
    const auto wanted = std::size_t(std::llround((to - from) * outRate));
    std::vector<int16_t> window;
    if (skip >= mono.size())
        return window;
    const std::size_t count = std::min(wanted, mono.size() - skip);
    window.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        window.push_back(int16_t(std::clamp(std::lround(mono[skip + i]), -32768L, 32767L)));
    return window;
}
