#include "media/EnvelopeAccumulator.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int FullScale = 32768;

inline int magnitude(int16_t sample)
{
    return sample < 0 ? -int(sample) : int(sample);
}

} // namespace

EnvelopeAccumulator::EnvelopeAccumulator(int samplesPerBucket, double floor, double ceiling)
    : m_samplesPerBucket(std::max(samplesPerBucket, 1))
    , m_levels(FullScale + 1)
{
    const float low = float(floor);
    const float high = float(ceiling);
    // Magnitude 0 is minus infinity before clipping, so it lands on the floor.
    m_levels[0] = low;
    for (int m = 1; m <= FullScale; ++m) {
        const float decibels = 20.0f * std::log10(float(m) / float(FullScale));
        m_levels[m] = std::clamp(decibels, low, high);
    }
    m_carry.reserve(m_samplesPerBucket);
}

int EnvelopeAccumulator::bucketSize(int interleavedSamplesPerSecond, int pointsPerSecond)
{
    if (pointsPerSecond <= 0)
        return 1;
    const int size = interleavedSamplesPerSecond / pointsPerSecond;
    return size < 2 ? 1 : size;
}

float EnvelopeAccumulator::level(int16_t sample) const
{
    return m_levels[magnitude(sample)];
}

// Four running sums break the dependency chain of one; each bucket is always summed
// from its own first sample in the same order, so splitting never changes a point.
double EnvelopeAccumulator::bucketMean(const int16_t *samples, qsizetype count) const
{
    const float *levels = m_levels.data();
    double sums[4] = {0, 0, 0, 0};
    qsizetype i = 0;
    for (; i + 4 <= count; i += 4) {
        sums[0] += levels[magnitude(samples[i])];
        sums[1] += levels[magnitude(samples[i + 1])];
        sums[2] += levels[magnitude(samples[i + 2])];
        sums[3] += levels[magnitude(samples[i + 3])];
    }
    for (; i < count; ++i)
        sums[0] += levels[magnitude(samples[i])];
    return ((sums[0] + sums[1]) + (sums[2] + sums[3])) / double(count);
}

void EnvelopeAccumulator::append(const int16_t *samples, qsizetype count, QList<double> &points)
{
    const qsizetype bucket = m_samplesPerBucket;
    if (!m_carry.empty()) {
        const qsizetype needed = std::min(bucket - qsizetype(m_carry.size()), count);
        m_carry.insert(m_carry.end(), samples, samples + needed);
        samples += needed;
        count -= needed;
        if (qsizetype(m_carry.size()) < bucket)
            return;
        points.append(bucketMean(m_carry.data(), bucket));
        m_carry.clear();
    }
    for (; count >= bucket; samples += bucket, count -= bucket)
        points.append(bucketMean(samples, bucket));
    m_carry.assign(samples, samples + count);
}

void EnvelopeAccumulator::finish(QList<double> &points)
{
    if (m_carry.empty())
        return;
    points.append(bucketMean(m_carry.data(), qsizetype(m_carry.size())));
    m_carry.clear();
}
