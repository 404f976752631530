#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Mixes interleaved signed 16-bit samples to mono and resamples them to another rate with a
// windowed-sinc filter, in any pieces: the output depends only on the samples, not on how
// they were split. Output sample n is at time n / outputRate exactly (the filter is
// symmetric), in the input's scale (full scale is 32768).
class MonoResampler
{
public:
    MonoResampler(int inputRate, int channels, int outputRate);

    void append(const int16_t *samples, std::int64_t count, std::vector<float> &out);
    // The last samples, with silence after them.
    void finish(std::vector<float> &out);

    // The mono samples, at the input's rate, that the last append() mixed; valid until the
    // next call.
    std::span<const float> mixed() const;

private:
    void produce(std::vector<float> &out);

    int m_channels;
    std::int64_t m_up = 1;   // output samples per m_down input samples
    std::int64_t m_down = 1;
    int m_halfWidth = 1;     // taps on each side of an output sample's time, in input samples
    int m_taps = 2;
    int m_phases = 1;
    std::vector<float> m_kernel; // m_phases rows of m_taps taps
    std::vector<float> m_input;  // mono input from m_base on
    std::int64_t m_base = 0;
    std::int64_t m_next = 0;     // the next output sample
    std::size_t m_mixedFirst = 0; // in m_input, of the last append's samples
    std::size_t m_mixedCount = 0;
    std::vector<int16_t> m_partialFrame; // channels of an incomplete sample frame
};
