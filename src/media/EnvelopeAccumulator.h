#pragma once

#include <QList>

#include <cstdint>
#include <vector>

// Turns interleaved signed 16-bit samples into envelope points: each point is the mean,
// over one bucket of consecutive samples (channels mixed), of each sample's level in
// decibels against full scale, clipped to [floor, ceiling]. Samples may arrive in any
// pieces; a bucket left incomplete waits for the next piece, so the points do not depend
// on how the audio was split.
class EnvelopeAccumulator
{
public:
    EnvelopeAccumulator(int samplesPerBucket, double floor, double ceiling);

    // Interleaved samples per second of audio divided by the points per second, at least 1.
    static int bucketSize(int interleavedSamplesPerSecond, int pointsPerSecond);

    // Appends one point to points for every bucket this completes.
    void append(const int16_t *samples, qsizetype count, QList<double> &points);
    // Appends the incomplete last bucket, averaged over what it holds, if any.
    void finish(QList<double> &points);

    int samplesPerBucket() const { return m_samplesPerBucket; }
    // The clipped level of one sample, in single precision as the envelope uses it.
    float level(int16_t sample) const;

private:
    double bucketMean(const int16_t *samples, qsizetype count) const;

    int m_samplesPerBucket;
    // Clipped decibels for every magnitude 0..32768: no logarithm per sample.
    std::vector<float> m_levels;
    std::vector<int16_t> m_carry;
};
