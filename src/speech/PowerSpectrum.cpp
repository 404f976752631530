#include "speech/PowerSpectrum.h"

#include <cmath>

PowerSpectrum::PowerSpectrum(int size)
    : m_size(size)
    , m_window(size)
    , m_twiddles(size / 2)
    , m_reversed(size)
    , m_work(size)
{
    for (int i = 0; i < size; ++i)
        m_window[i] = float(0.5 - 0.5 * std::cos(2 * M_PI * i / size));
    for (int i = 0; i < size / 2; ++i)
        m_twiddles[i] = std::polar(1.0f, float(-2 * M_PI * i / size));
    int bits = 0;
    while ((1 << bits) < size)
        ++bits;
    for (int i = 0; i < size; ++i) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((i >> b) & 1) << (bits - 1 - b);
        m_reversed[i] = r;
    }
}

void PowerSpectrum::compute(const float *samples, std::vector<float> &power)
{
    for (int i = 0; i < m_size; ++i)
        m_work[m_reversed[i]] = {samples[i] * m_window[i], 0.0f};
    for (int length = 2; length <= m_size; length *= 2) {
        const int half = length / 2;
        const int step = m_size / length;
        for (int start = 0; start < m_size; start += length) {
            for (int k = 0; k < half; ++k) {
                const std::complex<float> odd = m_twiddles[k * step] * m_work[start + k + half];
                m_work[start + k + half] = m_work[start + k] - odd;
                m_work[start + k] += odd;
            }
        }
    }
    power.resize(m_size / 2 + 1);
    for (int i = 0; i <= m_size / 2; ++i)
        power[i] = std::norm(m_work[i]);
}
