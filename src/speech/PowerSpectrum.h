#pragma once

#include <complex>
#include <vector>

// The power spectrum of a Hann-windowed block of samples (a power of two long), by a plain
// radix-2 FFT: bins 0..size/2.
class PowerSpectrum
{
public:
    explicit PowerSpectrum(int size);

    int size() const { return m_size; }
    // samples: size() of them; power: size() / 2 + 1 bins.
    void compute(const float *samples, std::vector<float> &power);

private:
    int m_size;
    std::vector<float> m_window;
    std::vector<std::complex<float>> m_twiddles;
    std::vector<int> m_reversed;
    std::vector<std::complex<float>> m_work;
};
