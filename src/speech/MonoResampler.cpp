#include "speech/MonoResampler.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Zero crossings of the sinc on each side, at the lower of the two rates.
constexpr int ZeroCrossings = 8;
// More phases than this are rounded to the nearest one: rates with no small common ratio.
constexpr int MaxPhases = 4096;
constexpr double KaiserBeta = 7;

double besselI0(double x)
{
    double sum = 1;
    double term = 1;
    for (int k = 1; k < 30; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

} // namespace

MonoResampler::MonoResampler(int inputRate, int channels, int outputRate)
    : m_channels(std::max(channels, 1))
{
    inputRate = std::max(inputRate, 1);
    outputRate = std::max(outputRate, 1);
    const int common = std::gcd(inputRate, outputRate);
    m_up = outputRate / common;
    m_down = inputRate / common;
    const double ratio = double(outputRate) / inputRate;
    // The pass band ends a little below the lower rate's Nyquist frequency.
    const double cutoff = 0.5 * std::min(1.0, ratio) * 0.9; // cycles per input sample
    m_halfWidth = int(std::ceil(ZeroCrossings / std::min(1.0, ratio)));
    m_phases = int(std::min<std::int64_t>(m_up, MaxPhases));
    const int taps = 2 * m_halfWidth;
    m_kernel.resize(std::size_t(m_phases) * taps);
    const double norm = besselI0(KaiserBeta);
    for (int p = 0; p < m_phases; ++p) {
        const double fraction = double(p) / m_phases;
        float *row = &m_kernel[std::size_t(p) * taps];
        double sum = 0;
        for (int j = 0; j < taps; ++j) {
            const double x = (j - m_halfWidth + 1) - fraction;
            const double sinc = x == 0 ? 1 : std::sin(2 * M_PI * cutoff * x) / (2 * M_PI * cutoff * x);
            const double w = x / m_halfWidth;
            const double window = std::abs(w) >= 1 ? 0 : besselI0(KaiserBeta * std::sqrt(1 - w * w)) / norm;
            row[j] = float(sinc * window);
            sum += row[j];
        }
        for (int j = 0; j < taps; ++j)
            row[j] = float(row[j] / sum);
    }
    // Silence before the start.
    m_input.assign(m_halfWidth, 0.0f);
    m_base = -m_halfWidth;
}

void MonoResampler::append(const int16_t *samples, std::int64_t count, std::vector<float> &out)
{
    const float scale = 1.0f / float(m_channels);
    const auto mix = [&](const int16_t *frame) {
        int sum = 0;
        for (int c = 0; c < m_channels; ++c)
            sum += frame[c];
        m_input.push_back(float(sum) * scale);
    };
    if (!m_partialFrame.empty()) {
        while (count > 0 && int(m_partialFrame.size()) < m_channels) {
            m_partialFrame.push_back(*samples++);
            --count;
        }
        if (int(m_partialFrame.size()) < m_channels)
            return;
        mix(m_partialFrame.data());
        m_partialFrame.clear();
    }
    for (; count >= m_channels; samples += m_channels, count -= m_channels)
        mix(samples);
    m_partialFrame.assign(samples, samples + count);
    produce(out);
}

void MonoResampler::finish(std::vector<float> &out)
{
    const std::int64_t end = m_base + std::int64_t(m_input.size());
    m_input.insert(m_input.end(), m_halfWidth, 0.0f);
    // Output samples up to the last input sample's time.
    const std::int64_t last = (end * m_up + m_down - 1) / m_down;
    while (m_next < last) {
        const std::size_t before = out.size();
        produce(out);
        if (out.size() == before)
            break;
    }
    out.resize(out.size() - std::size_t(std::max<std::int64_t>(0, m_next - last)));
    m_next = last;
}

void MonoResampler::produce(std::vector<float> &out)
{
    const int taps = 2 * m_halfWidth;
    const std::int64_t available = m_base + std::int64_t(m_input.size());
    for (;;) {
        const std::int64_t position = m_next * m_down;
        const std::int64_t centre = position / m_up;
        if (centre + m_halfWidth > available)
            break;
        const std::int64_t phase = (position % m_up) * m_phases / m_up;
        const float *row = &m_kernel[std::size_t(phase) * taps];
        const float *in = &m_input[std::size_t(centre - m_halfWidth + 1 - m_base)];
        float sum = 0;
        for (int j = 0; j < taps; ++j)
            sum += row[j] * in[j];
        out.push_back(sum);
        ++m_next;
    }
    // Keep what the next output sample needs.
    const std::int64_t keepFrom = m_next * m_down / m_up - m_halfWidth + 1;
    if (keepFrom - m_base > 65536) {
        m_input.erase(m_input.begin(), m_input.begin() + (keepFrom - m_base));
        m_base = keepFrom;
    }
}
