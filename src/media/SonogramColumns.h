#pragma once

#include "speech/HannFft.h"

#include <QByteArray>

#include <vector>

// Turns mono samples at SonogramColumns::sampleRate (full scale 32768, as MonoResampler
// gives them) into sonogram columns at one resolution: every `hop` samples, the power
// spectrum of the `windowSize` samples from there, folded onto `rows` bands evenly spaced on
// the mel scale from minFrequency to maxFrequency (the range in which speech is read), each
// band's level one byte (see byteOf). Samples may arrive in any pieces; the columns do not
// depend on how the sound was split. Column i covers samples [i × hop, i × hop + windowSize):
// its middle lies at (i × hop + windowSize / 2) / sampleRate seconds.
class SonogramColumns
{
public:
    static constexpr int sampleRate = 16000;
    static constexpr int rows = 64;
    static constexpr double minFrequency = 60;
    static constexpr double maxFrequency = 8000;
    // Decibels against a full-scale sine at byte 0 and at byte 255.
    static constexpr double floorDecibels = -100;
    static constexpr double ceilingDecibels = 0;

    // windowSize: a power of two, at least 4; hop at least 1.
    SonogramColumns(int windowSize, int hop);

    int windowSize() const { return m_fft.size(); }
    int hop() const { return m_hop; }

    // Appends `rows` bytes, lowest band first, for every column this completes.
    void append(const float *samples, qsizetype count, QByteArray &columns);
    // The columns whose middles the sound reaches, with silence after its end.
    void finish(QByteArray &columns);

    // The middle frequency of a band, in Hz.
    static double rowFrequency(int row);
    static unsigned char byteOf(double decibels);
    static double decibelsOf(unsigned char level);

private:
    void appendColumn(QByteArray &columns);

    // Per band, the spectrum's bins [firstBin, lastBin] whose strongest it takes; a band
    // narrower than a bin (low notes, short windows) reads between the two bins around its
    // middle instead (lastBin < firstBin, weight of the upper one).
    struct Band
    {
        int firstBin = 0;
        int lastBin = 0;
        float upperWeight = 0;
    };

    HannFft m_fft;
    int m_hop;
    float m_reference; // the power of a full-scale sine's peak bin
    std::vector<Band> m_bands;
    std::vector<float> m_buffer; // samples of the next columns, from the next column's first
    std::vector<float> m_power;
    qsizetype m_consumed = 0; // samples given, to place the end of the sound
    qsizetype m_columns = 0;
};
