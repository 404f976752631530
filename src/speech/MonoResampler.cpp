#include "speech/MonoResampler.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Zero crossings of the sinc on each side, at the lower of the two rates.
constexpr int ZeroCrossings = 4;
// More phases than this are rounded to the nearest one: rates with no small common ratio.
constexpr int MaxPhases = 4096;
constexpr double KaiserBeta = 7;
constexpr int Lanes = 8;

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
    // The pass band ends well below the lower rate's Nyquist frequency, so that a short
    // filter leaves little to fold back into it.
    const double cutoff = 0.5 * std::min(1.0, ratio) * 0.85; // cycles per input sample
    m_halfWidth = int(std::ceil(ZeroCrossings / std::min(1.0, ratio)));
    m_phases = int(std::min<std::int64_t>(m_up, MaxPhases));
    const int taps = 2 * m_halfWidth;
    m_taps = (taps + Lanes - 1) / Lanes * Lanes; // padded with zeros
    m_kernel.assign(std::size_t(m_phases) * m_taps, 0.0f);
    const double norm = besselI0(KaiserBeta);
    for (int p = 0; p < m_phases; ++p) {
        const double fraction = double(p) / m_phases;
        float *row = &m_kernel[std::size_t(p) * m_taps];
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
    m_input.assign(m_halfWidth - 1, 0.0f);
    m_base = -(m_halfWidth - 1);
}

void MonoResampler::append(const int16_t *samples, std::int64_t count, std::vector<float> &out)
{
    // Drop what the next output sample no longer needs, now that mixed() is done with it.
    const std::int64_t keepFrom = m_next * m_down / m_up - m_halfWidth + 1;
    if (keepFrom - m_base > 65536) {
        m_input.erase(m_input.begin(), m_input.begin() + (keepFrom - m_base));
        m_base = keepFrom;
    }
    m_mixedFirst = m_input.size();
    const float scale = 1.0f / float(m_channels);
    if (!m_partialFrame.empty()) {
        while (count > 0 && int(m_partialFrame.size()) < m_channels) {
            m_partialFrame.push_back(*samples++);
            --count;
        }
        if (int(m_partialFrame.size()) < m_channels)
            return;
        int sum = 0;
        for (const int16_t sample : m_partialFrame)
            sum += sample;
        m_input.push_back(float(sum) * scale);
        m_partialFrame.clear();
    }
    const std::int64_t frames = count / m_channels;
    const std::size_t first = m_input.size();
    m_input.resize(first + std::size_t(frames));
    float *mono = m_input.data() + first;
    if (m_channels == 1) {
        for (std::int64_t i = 0; i < frames; ++i)
            mono[i] = samples[i];
    } else if (m_channels == 2) {
        for (std::int64_t i = 0; i < frames; ++i)
            mono[i] = float(int(samples[2 * i]) + int(samples[2 * i + 1])) * 0.5f;
    } else {
        for (std::int64_t i = 0; i < frames; ++i) {
            int sum = 0;
            for (int c = 0; c < m_channels; ++c)
                sum += samples[i * m_channels + c];
            mono[i] = float(sum) * scale;
        }
    }
    samples += frames * m_channels;
    m_partialFrame.assign(samples, samples + (count - frames * m_channels));
    m_mixedCount = m_input.size() - m_mixedFirst;
    produce(out);
}

std::span<const float> MonoResampler::mixed() const
{
    return {m_input.data() + m_mixedFirst, m_mixedCount};
}

void MonoResampler::finish(std::vector<float> &out)
{
    m_mixedCount = 0;
    const std::int64_t end = m_base + std::int64_t(m_input.size());
    m_input.insert(m_input.end(), m_taps, 0.0f);
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
    const std::int64_t available = m_base + std::int64_t(m_input.size());
    // Output sample m_next lies at input position centre + remainder / m_up; both advance
    // without a division per sample.
    std::int64_t centre = m_next * m_down / m_up;
    std::int64_t remainder = m_next * m_down % m_up;
    const std::int64_t wholeStep = m_down / m_up;
    const std::int64_t partStep = m_down % m_up;
    const bool exactPhases = m_phases == m_up;
    // The padding taps read past the filter's width too.
    while (centre - m_halfWidth + 1 + m_taps <= available) {
        const std::int64_t phase = exactPhases ? remainder : remainder * m_phases / m_up;
        const float *row = &m_kernel[std::size_t(phase) * m_taps];
        const float *in = &m_input[std::size_t(centre - m_halfWidth + 1 - m_base)];
        // Lanes of partial sums, which the compiler turns into vector instructions.
        float sums[Lanes] = {};
        for (int j = 0; j < m_taps; j += Lanes) {
            for (int k = 0; k < Lanes; ++k)
                sums[k] += row[j + k] * in[j + k];
        }
        out.push_back(((sums[0] + sums[1]) + (sums[2] + sums[3])) + ((sums[4] + sums[5]) + (sums[6] + sums[7])));
        ++m_next;
        centre += wholeStep;
        remainder += partStep;
        if (remainder >= m_up) {
            remainder -= m_up;
            ++centre;
        }
    }
}
