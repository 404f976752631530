#include "speech/HannFft.h"

#include <cmath>

HannFft::HannFft(int size)
    : m_size(size)
    , m_half(size / 2)
    , m_window(size)
    , m_cos(m_half / 2)
    , m_sin(m_half / 2)
    , m_splitCos(m_half + 1)
    , m_splitSin(m_half + 1)
    , m_reversed(m_half)
    , m_re(m_half)
    , m_im(m_half)
{
    for (int i = 0; i < size; ++i)
        m_window[i] = float(0.5 - 0.5 * std::cos(2 * M_PI * i / size));
    for (int i = 0; i < m_half / 2; ++i) {
        m_cos[i] = float(std::cos(2 * M_PI * i / m_half));
        m_sin[i] = float(std::sin(2 * M_PI * i / m_half));
    }
    for (int k = 0; k <= m_half; ++k) {
        m_splitCos[k] = float(std::cos(2 * M_PI * k / size));
        m_splitSin[k] = float(std::sin(2 * M_PI * k / size));
    }
    int bits = 0;
    while ((1 << bits) < m_half)
        ++bits;
    for (int i = 0; i < m_half; ++i) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((i >> b) & 1) << (bits - 1 - b);
        m_reversed[i] = r;
    }
}

void HannFft::compute(const float *samples, std::vector<float> &power)
{
    for (int i = 0; i < m_half; ++i) {
        const int r = m_reversed[i];
        m_re[r] = samples[2 * i] * m_window[2 * i];
        m_im[r] = samples[2 * i + 1] * m_window[2 * i + 1];
    }
    for (int length = 2; length <= m_half; length *= 2) {
        const int half = length / 2;
        const int step = m_half / length;
        for (int start = 0; start < m_half; start += length) {
            for (int k = 0; k < half; ++k) {
                // e^(-2 pi i k / length) times the odd element
                const float c = m_cos[k * step];
                const float s = m_sin[k * step];
                const int a = start + k;
                const int b = a + half;
                const float oddRe = c * m_re[b] + s * m_im[b];
                const float oddIm = c * m_im[b] - s * m_re[b];
                m_re[b] = m_re[a] - oddRe;
                m_im[b] = m_im[a] - oddIm;
                m_re[a] += oddRe;
                m_im[a] += oddIm;
            }
        }
    }
    // The spectra of the even and of the odd samples, joined.
    power.resize(m_half + 1);
    for (int k = 0; k <= m_half; ++k) {
        const int i = k % m_half;
        const int j = (m_half - k) % m_half;
        const float evenRe = 0.5f * (m_re[i] + m_re[j]);
        const float evenIm = 0.5f * (m_im[i] - m_im[j]);
        const float oddRe = 0.5f * (m_im[i] + m_im[j]);
        const float oddIm = -0.5f * (m_re[i] - m_re[j]);
        const float c = m_splitCos[k];
        const float s = m_splitSin[k];
        const float re = evenRe + c * oddRe + s * oddIm;
        const float im = evenIm + c * oddIm - s * oddRe;
        power[k] = re * re + im * im;
    }
}
