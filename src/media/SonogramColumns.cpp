#include "media/SonogramColumns.h"

#include <algorithm>
#include <cmath>

namespace {

double melOf(double hertz)
{
    return 2595 * std::log10(1 + hertz / 700);
}

double hertzOf(double mel)
{
    return 700 * (std::pow(10, mel / 2595) - 1);
}

double bandEdge(int edge)
{
    const double low = melOf(SonogramColumns::minFrequency);
    const double high = melOf(SonogramColumns::maxFrequency);
    return hertzOf(low + (high - low) * edge / SonogramColumns::rows);
}

} // namespace

SonogramColumns::SonogramColumns(int windowSize, int hop)
    : m_fft(windowSize)
    , m_hop(std::max(hop, 1))
    , m_bands(rows)
{
    // A sine of amplitude A peaks at A × (sum of the Hann window) / 2 = A × N / 4.
    const double peak = 32768.0 * windowSize / 4;
    m_reference = float(peak * peak);
    const double binWidth = double(sampleRate) / windowSize;
    const int lastBin = windowSize / 2;
    for (int row = 0; row < rows; ++row) {
        Band &band = m_bands[row];
        band.firstBin = int(std::ceil(bandEdge(row) / binWidth));
        band.lastBin = std::min(lastBin, int(std::ceil(bandEdge(row + 1) / binWidth)) - 1);
        if (band.lastBin < band.firstBin) {
            const double middle = rowFrequency(row) / binWidth;
            band.firstBin = std::min(lastBin - 1, int(middle));
            band.lastBin = band.firstBin - 1;
            band.upperWeight = float(middle - band.firstBin);
        }
    }
}

double SonogramColumns::rowFrequency(int row)
{
    return hertzOf((melOf(bandEdge(row)) + melOf(bandEdge(row + 1))) / 2);
}

unsigned char SonogramColumns::byteOf(double decibels)
{
    const double share = (decibels - floorDecibels) / (ceilingDecibels - floorDecibels);
    return (unsigned char)(std::lround(std::clamp(share, 0.0, 1.0) * 255));
}

double SonogramColumns::decibelsOf(unsigned char level)
{
    return floorDecibels + (ceilingDecibels - floorDecibels) * level / 255.0;
}

void SonogramColumns::append(const float *samples, qsizetype count, QByteArray &columns)
{
    m_consumed += count;
    m_buffer.insert(m_buffer.end(), samples, samples + count);
    const size_t window = size_t(windowSize());
    size_t first = 0;
    while (m_buffer.size() - first >= window) {
        m_fft.compute(m_buffer.data() + first, m_power);
        appendColumn(columns);
        first += size_t(m_hop);
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + qsizetype(std::min(first, m_buffer.size())));
}

void SonogramColumns::finish(QByteArray &columns)
{
    // Columns go on while their middle lies inside the sound; the buffer begins at the
    // next column's first sample.
    const size_t window = size_t(windowSize());
    while (m_columns * m_hop + qsizetype(window / 2) < m_consumed) {
        m_buffer.resize(std::max(m_buffer.size(), window), 0.0f);
        m_fft.compute(m_buffer.data(), m_power);
        appendColumn(columns);
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + qsizetype(std::min(size_t(m_hop), m_buffer.size())));
    }
    m_buffer.clear();
}

void SonogramColumns::appendColumn(QByteArray &columns)
{
    const qsizetype at = columns.size();
    columns.resize(at + rows);
    char *column = columns.data() + at;
    for (int row = 0; row < rows; ++row) {
        const Band &band = m_bands[row];
        float power = 0;
        if (band.lastBin >= band.firstBin) {
            power = *std::max_element(m_power.begin() + band.firstBin, m_power.begin() + band.lastBin + 1);
        } else {
            power = m_power[band.firstBin] * (1 - band.upperWeight) + m_power[band.firstBin + 1] * band.upperWeight;
        }
        const double decibels = power > 0 ? 10 * std::log10(power / m_reference) : floorDecibels;
        column[row] = char(byteOf(decibels));
    }
    ++m_columns;
}
