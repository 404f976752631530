#pragma once

#include <vector>

// The power spectrum of a Hann-windowed block of real samples, a power of two long (at
// least 4): bins 0..size/2. A complex FFT of half the size, radix 2, on the even and odd
// samples taken as real and imaginary parts.
class HannFft
{
public:
    explicit HannFft(int size);

    int size() const { return m_size; }
    // samples: size() of them; power: size() / 2 + 1 bins.
    void compute(const float *samples, std::vector<float> &power);

private:
    int m_size;
    int m_half;
    std::vector<float> m_window;
    std::vector<float> m_cos; // of the half-size FFT's twiddles
    std::vector<float> m_sin;
    std::vector<float> m_splitCos; // of the full size, to split the half-size result
    std::vector<float> m_splitSin;
    std::vector<int> m_reversed;
    std::vector<float> m_re;
    std::vector<float> m_im;
};
