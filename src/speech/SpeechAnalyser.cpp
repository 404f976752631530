#include "speech/SpeechAnalyser.h"

#include "speech/MonoResampler.h"
#include "speech/HannFft.h"
#include "speech/VoiceActivityDetector.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int Rate = VoiceActivityDetector::SampleRate;
constexpr int FrameSamples = VoiceActivityDetector::FrameSamples;
constexpr double FrameSeconds = double(FrameSamples) / Rate;
constexpr int PointsPerSecond = 500;
constexpr int PointsPerFrame = PointsPerSecond / 100;
constexpr double PointSeconds = 1.0 / PointsPerSecond;
// Rumble, wind, traffic and a kick drum lie below this; a voice mostly above.
constexpr double HighPassHz = 150;
constexpr float SilenceDecibels = -100;

// Smoothing of the detector's frames.
constexpr int JoinGapFrames = 25;  // pauses shorter than this are inside a stretch
constexpr int MinRunFrames = 10;   // voiced runs shorter than this are blips
constexpr int DecideEveryFrames = 10;
// Sound on each side of a stretch that tells its background.
constexpr int ContextFrames = 150;
constexpr int OffsetLookaheadFrames = 35; // how far past a run the next voiced frame is looked for

constexpr int SpectrumSize = 128; // bins of 62.5 Hz
static_assert(Rate == 8000, "the spectrum and the band are set for 8 kHz");
constexpr int SpectrumHop = 2;    // frames
constexpr int SpectrumShapes = 3; // the spectrum's shape is compared with the one two hops before
// The speech band, 250 to 4000 Hz, in bins of 62.5 Hz.
constexpr int FirstBandBin = 4;
constexpr int LastBandBin = SpectrumSize / 2 - 1;
// The floor of the speech band's level: this share of the frames around lies below it.
constexpr double FloorShare = 0.2;
constexpr int FloorStride = 50;
constexpr double ExcessDecibels = 3;
// Frames on each side whose steadiness is averaged, and the average above which the sound
// holds too still for a voice.
constexpr int SteadinessFrames = 7;
constexpr double MaxSteadiness = 0.85;

// Placing the edges on the envelope.
constexpr int SmoothingPoints = 2;     // on each side
constexpr int EdgeReachPoints = 500;   // how far before or after the voiced frames an edge may lie
constexpr int PeakSearchPoints = 75;   // the loudest point within this of the voiced frames
constexpr double PeakRangeDecibels = 38; // sound this far below the run's loudest is not heard
constexpr double EdgeMarginDecibels = 3;
constexpr double FloorSpreadFactor = 1.5;
constexpr int DipPoints = 50;          // quieter stretches this short (a stop's closure) do not end the speech
constexpr int MinBurstPoints = 3;      // ... when what follows them stands above the floor this long
constexpr int FloorPoints = 500;       // the floor is measured on this much sound before or after
constexpr int FloorGapPoints = 25;     // ... ending this far from the voiced frames
constexpr int MinFloorPoints = 25;

float decibels(double meanSquare)
{
    return meanSquare > 0 ? std::max(SilenceDecibels, float(10 * std::log10(meanSquare / (32768.0 * 32768.0))))
                          : SilenceDecibels;
}

} // namespace

SpeechAnalyser::SpeechAnalyser(int sampleRate, int channels, double startTime)
    : m_startTime(startTime)
    , m_resampler(std::make_unique<MonoResampler>(sampleRate, channels, Rate))
    , m_detector(std::make_unique<VoiceActivityDetector>())
    , m_spectrum(std::make_unique<HannFft>(SpectrumSize))
    , m_recent(SpectrumSize, 0.0f)
    , m_shapes(SpectrumShapes, std::vector<float>(LastBandBin - FirstBandBin + 1, 0.0f))
    , m_inputRate(std::max(sampleRate, 1))
    , m_pointEnd(m_inputRate / PointsPerSecond)
    , m_highPass(float(std::exp(-2 * M_PI * HighPassHz / m_inputRate)))
{
    m_frameSamples.reserve(FrameSamples);
}

SpeechAnalyser::~SpeechAnalyser() = default;

void SpeechAnalyser::append(const int16_t *samples, std::int64_t count)
{
    m_mono.clear();
    m_resampler->append(samples, count, m_mono);
    addEnvelope(m_resampler->mixed());
    analyse(m_mono);
    // Deciding looks at whole runs: often enough to hand stretches on soon, not per piece.
    if (m_frames - m_framesDecided >= DecideEveryFrames) {
        m_framesDecided = m_frames;
        decide(false);
    }
}

void SpeechAnalyser::finish()
{
    if (m_inputPosition > std::int64_t(m_fineLevel.size()) * m_inputRate / PointsPerSecond)
        closePoint();
    m_mono.clear();
    m_resampler->finish(m_mono);
    analyse(m_mono);
    decide(true);
}

std::vector<SpeechStretch> SpeechAnalyser::takeFound()
{
    return std::exchange(m_found, {});
}

// The envelope is taken at the input's own rate: a hiss or a sibilant that starts a word
// lies mostly above what 8 kHz holds.
void SpeechAnalyser::addEnvelope(std::span<const float> mixed)
{
    // The filter as out[n] = a out[n-1] + a (in[n] - in[n-1]): the differences in a pass
    // the compiler vectorises, and one multiply-add per sample in the loop that cannot be.
    m_differences.resize(mixed.size());
    if (!mixed.empty()) {
        m_differences[0] = m_highPass * (mixed[0] - m_highPassIn);
        for (std::size_t i = 1; i < mixed.size(); ++i)
            m_differences[i] = m_highPass * (mixed[i] - mixed[i - 1]);
        m_highPassIn = mixed.back();
    }
    const float *in = m_differences.data();
    std::size_t left = mixed.size();
    while (left > 0) {
        const std::size_t n = std::size_t(std::min<std::int64_t>(std::int64_t(left), m_pointEnd - m_inputPosition));
        // Four samples a step: out[n+k] = a^(k+1) out[n-1] + e_k, where e_k needs only the
        // differences, so each step waits for one multiply-add of the one before.
        const float a = m_highPass;
        const float a2 = a * a;
        const float a3 = a2 * a;
        const float a4 = a2 * a2;
        float energy[4] = {0, 0, 0, 0};
        float out = m_highPassOut;
        std::size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            const float e0 = in[i];
            const float e1 = a * e0 + in[i + 1];
            const float e2 = a * e1 + in[i + 2];
            const float e3 = a * e2 + in[i + 3];
            const float out0 = a * out + e0;
            const float out1 = a2 * out + e1;
            const float out2 = a3 * out + e2;
            out = a4 * out + e3;
            energy[0] += out0 * out0;
            energy[1] += out1 * out1;
            energy[2] += out2 * out2;
            energy[3] += out * out;
        }
        for (; i < n; ++i) {
            out = a * out + in[i];
            energy[0] += out * out;
        }
        m_highPassOut = out;
        m_pointEnergy += (energy[0] + energy[1]) + (energy[2] + energy[3]);
        m_inputPosition += std::int64_t(n);
        in += n;
        left -= n;
        if (m_inputPosition == m_pointEnd)
            closePoint();
    }
}

void SpeechAnalyser::closePoint()
{
    const std::int64_t first = std::int64_t(m_fineLevel.size()) * m_inputRate / PointsPerSecond;
    const double meanSquare = m_pointEnergy / double(std::max<std::int64_t>(1, m_inputPosition - first));
    m_finePower.push_back(float(meanSquare));
    m_fineLevel.push_back(decibels(meanSquare));
    m_pointEnergy = 0;
    m_pointEnd = (std::int64_t(m_fineLevel.size()) + 1) * m_inputRate / PointsPerSecond;
}

void SpeechAnalyser::analyse(const std::vector<float> &mono)
{
    for (const float sample : mono) {
        m_frameSamples.push_back(sample);
        if (int(m_frameSamples.size()) < FrameSamples)
            continue;
        // Kept for the detector until the frame is classified.
        for (int i = 0; i < FrameSamples; ++i)
            m_waiting.push_back(
                int16_t(std::clamp(m_frameSamples[i] + (m_frameSamples[i] < 0 ? -0.5f : 0.5f), -32768.0f, 32767.0f)));
        ++m_frames;
        double frameEnergy = 0;
        const std::int64_t firstPoint = (m_frames - 1) * PointsPerFrame;
        const std::int64_t endPoint = std::min<std::int64_t>(firstPoint + PointsPerFrame, std::int64_t(m_fineLevel.size()));
        for (std::int64_t p = firstPoint; p < endPoint; ++p)
            frameEnergy += m_finePower[p];
        m_frameLevel.push_back(endPoint > firstPoint ? decibels(frameEnergy / double(endPoint - firstPoint))
                                                     : SilenceDecibels);
        m_recent.erase(m_recent.begin(), m_recent.begin() + FrameSamples);
        m_recent.insert(m_recent.end(), m_frameSamples.begin(), m_frameSamples.end());
        addSpectrum();
        m_frameSamples.clear();
    }
}

// The speech band's level, and how much its shape changed over the last frames: a voice
// moves from sound to sound every few tens of milliseconds, a note of music holds its
// harmonics still.
void SpeechAnalyser::addSpectrum()
{
    // Every other frame: the spectrum changes little in 10 ms, and this is the costliest part.
    if (m_frames % SpectrumHop != 0 && !m_bandLevel.empty()) {
        m_bandLevel.push_back(m_bandLevel.back());
        m_steadiness.push_back(m_steadiness.back());
        return;
    }
    m_spectrum->compute(m_recent.data(), m_power);
    std::vector<float> &shape = m_shapes[m_shapeIndex]; // replaces the oldest
    double band = 0;
    double mean = 0;
    for (int b = FirstBandBin; b <= LastBandBin; ++b) {
        band += m_power[b];
        shape[b - FirstBandBin] = 10 * std::log10(m_power[b] + 1e-3f);
        mean += shape[b - FirstBandBin];
    }
    mean /= double(shape.size());
    for (float &x : shape)
        x = float(x - mean);
    // Hann window's power gain (3/8) and the one-sided spectrum.
    m_bandLevel.push_back(decibels(2 * band / (SpectrumSize * SpectrumSize * 0.375)));

    m_shapeIndex = (m_shapeIndex + 1) % m_shapes.size();
    const std::vector<float> &before = m_shapes[m_shapeIndex]; // the oldest left
    float ab = 0;
    float aa = 0;
    float bb = 0;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        ab += shape[i] * before[i];
        aa += shape[i] * shape[i];
        bb += before[i] * before[i];
    }
    m_steadiness.push_back(aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0f);
}

// A frame may be speech where the speech band stands above its floor around, the spectrum
// moves, and the detector hears a voice. The detector, the costliest of the three, only
// hears the frames that pass the first two.
void SpeechAnalyser::classify(std::int64_t until)
{
    const std::int64_t frames = m_frames;
    for (std::int64_t f = std::int64_t(m_candidate.size()); f < until; ++f) {
        if (f % FloorStride == 0 || f == 0) {
            const std::int64_t from = std::max<std::int64_t>(0, f - ContextFrames);
            const std::int64_t to = std::min(frames, f + ContextFrames);
            std::vector<float> levels(m_bandLevel.begin() + from, m_bandLevel.begin() + to);
            const auto nth = levels.begin() + std::ptrdiff_t(FloorShare * double(levels.size()));
            std::nth_element(levels.begin(), nth, levels.end());
            m_floor = *nth;
        }
        double steadiness = 0;
        int count = 0;
        for (std::int64_t g = std::max<std::int64_t>(0, f - SteadinessFrames);
             g <= std::min(frames - 1, f + SteadinessFrames); ++g, ++count)
            steadiness += m_steadiness[g];
        steadiness /= std::max(count, 1);
        const std::size_t waiting = std::size_t(f - m_firstWaiting) * FrameSamples;
        m_candidate.push_back(m_bandLevel[f] >= m_floor + ExcessDecibels && steadiness < MaxSteadiness
                              && m_detector->isVoiced(&m_waiting[waiting]));
    }
    const std::int64_t done = std::int64_t(m_candidate.size());
    if (done - m_firstWaiting >= ContextFrames) {
        m_waiting.erase(m_waiting.begin(), m_waiting.begin() + std::ptrdiff_t(done - m_firstWaiting) * FrameSamples);
        m_firstWaiting = done;
    }
}

// A run is decided once the sound after it is known well enough: no pause too short to
// end it, and the background after it.
void SpeechAnalyser::decide(bool atEnd)
{
    const std::int64_t known = m_frames;
    classify(atEnd ? known : std::max<std::int64_t>(0, known - ContextFrames));
    const std::int64_t frames = std::int64_t(m_candidate.size());
    std::int64_t f = m_decidedFrame;
    for (;;) {
        while (f < frames && !m_candidate[f])
            ++f;
        if (f >= frames) {
            m_decidedFrame = std::max(m_decidedFrame, atEnd ? frames : frames - JoinGapFrames);
            return;
        }
        Run run{f, f};
        std::int64_t gap = 0;
        for (; f < frames && gap < JoinGapFrames; ++f) {
            if (m_candidate[f]) {
                run.end = f + 1;
                gap = 0;
            } else {
                ++gap;
            }
        }
        if (!atEnd && (gap < JoinGapFrames || frames < run.end + OffsetLookaheadFrames))
            return;
        if (run.end - run.first >= MinRunFrames && soundsLikeSpeech(run)) {
            // Bounded by the stretch found last, whether or not it has been taken yet: the
            // result must not depend on when the caller takes what was found.
            const double onset = onsetOf(run, m_lastFoundEnd.value_or(m_startTime));
            // The next voiced frame bounds the sound after this run. Looking a fixed way
            // ahead, once that much is known, never as far as happens to be known, keeps the
            // result the same however the sound arrives in pieces.
            std::int64_t next = run.end;
            while (next < std::min(frames, run.end + OffsetLookaheadFrames) && !m_candidate[next])
                ++next;
            const double offset = offsetOf(run, next);
            if (offset > onset) {
                m_found.push_back({m_startTime + onset, m_startTime + offset});
                m_lastFoundEnd = m_found.back().end;
            }
        }
        m_decidedFrame = run.end;
        f = run.end;
    }
}

double SpeechAnalyser::percentile(std::int64_t from, std::int64_t to, double share) const
{
    from = std::max<std::int64_t>(from, 0);
    to = std::min<std::int64_t>(to, std::int64_t(m_frameLevel.size()));
    if (to <= from)
        return SilenceDecibels;
    std::vector<float> levels(m_frameLevel.begin() + from, m_frameLevel.begin() + to);
    const auto nth = levels.begin() + std::min<std::ptrdiff_t>(levels.size() - 1, std::ptrdiff_t(share * levels.size()));
    std::nth_element(levels.begin(), nth, levels.end());
    return *nth;
}

bool SpeechAnalyser::soundsLikeSpeech(const Run &run) const
{
    const double loud = percentile(run.first, run.end, 0.9);
    const double background = percentile(run.first - ContextFrames, run.end + ContextFrames, 0.2);
    return loud - background >= 9;
}

// The envelope, power-averaged over 10 ms around point p, in dB.
double SpeechAnalyser::smoothedLevel(std::int64_t p) const
{
    const std::int64_t points = std::int64_t(m_fineLevel.size());
    double power = 0;
    int count = 0;
    for (std::int64_t q = std::max<std::int64_t>(0, p - SmoothingPoints); q <= std::min(points - 1, p + SmoothingPoints);
         ++q, ++count)
        power += m_finePower[q];
    return count > 0 ? decibels(power / count) : SilenceDecibels;
}

// Where the sound stands clearly above the floor of points [from, to), which may hold
// some speech too: its quieter fifth is the floor, and how far its louder fifth lies
// above tells how much the background itself moves.
double SpeechAnalyser::floorThreshold(std::int64_t from, std::int64_t to, const Run &run) const
{
    from = std::max<std::int64_t>(from, 0);
    to = std::min<std::int64_t>(to, std::int64_t(m_fineLevel.size()));
    if (to - from < MinFloorPoints)
        return percentile(run.first - ContextFrames, run.end + ContextFrames, FloorShare) + EdgeMarginDecibels;
    std::vector<double> levels;
    levels.reserve(std::size_t(to - from));
    for (std::int64_t p = from; p < to; ++p)
        levels.push_back(smoothedLevel(p));
    std::sort(levels.begin(), levels.end());
    const double low = levels[levels.size() / 5];
    const double high = levels[levels.size() * 4 / 5];
    return low + std::max(EdgeMarginDecibels, FloorSpreadFactor * (high - low));
}

double SpeechAnalyser::loudestOf(const Run &run) const
{
    const std::int64_t end = std::min(std::int64_t(m_fineLevel.size()), run.end * PointsPerFrame);
    float loudest = SilenceDecibels;
    for (std::int64_t p = run.first * PointsPerFrame; p < end; ++p)
        loudest = std::max(loudest, m_fineLevel[p]);
    return loudest;
}

// Walking from the loudest point near the run's start back to where the envelope stays
// below the floor for longer than a closure inside a word.
double SpeechAnalyser::onsetOf(const Run &run, double previousEnd) const
{
    const std::int64_t points = std::int64_t(m_fineLevel.size());
    const std::int64_t first = run.first * PointsPerFrame;
    const std::int64_t limit = std::max<std::int64_t>(
        {0, first - EdgeReachPoints, std::int64_t(std::ceil((previousEnd - m_startTime) / PointSeconds))});
    std::int64_t peak = first;
    for (std::int64_t p = first; p < std::min(points, first + PeakSearchPoints); ++p)
        if (m_fineLevel[p] > m_fineLevel[peak])
            peak = p;
    const double threshold = std::max(floorThreshold(std::max(limit, first - FloorPoints), first - FloorGapPoints, run),
                                      loudestOf(run) - PeakRangeDecibels);
    std::int64_t onset = peak;
    int above = 0; // points in a row above the threshold
    for (std::int64_t p = peak - 1; p >= limit && onset - p <= DipPoints + MinBurstPoints; --p) {
        above = smoothedLevel(p) > threshold ? above + 1 : 0;
        if (above >= MinBurstPoints || (above > 0 && onset - p <= above))
            onset = p;
    }
    // The smoothing spreads a rise over the points before it: the rise itself is the first
    // point that stands above the threshold on its own.
    for (const std::int64_t last = std::min(peak, onset + 2 * SmoothingPoints); onset < last && m_fineLevel[onset] <= threshold;)
        ++onset;
    return onset * PointSeconds;
}

double SpeechAnalyser::offsetOf(const Run &run, std::int64_t nextFrame) const
{
    const std::int64_t points = std::int64_t(m_fineLevel.size());
    const std::int64_t end = std::min(points, run.end * PointsPerFrame);
    const std::int64_t next = std::min(points, nextFrame * PointsPerFrame);
    const std::int64_t limit = std::min({points - 1, end + EdgeReachPoints, next});
    std::int64_t peak = end - 1;
    for (std::int64_t p = std::max<std::int64_t>(0, end - PeakSearchPoints); p < end; ++p)
        if (m_fineLevel[p] >= m_fineLevel[peak])
            peak = p;
    const double threshold = std::max(floorThreshold(end + FloorGapPoints, std::min(end + FloorPoints, next), run),
                                      loudestOf(run) - PeakRangeDecibels);
    std::int64_t offset = peak;
    int above = 0;
    for (std::int64_t p = peak + 1; p <= limit && p - offset <= DipPoints + MinBurstPoints; ++p) {
        above = smoothedLevel(p) > threshold ? above + 1 : 0;
        if (above >= MinBurstPoints || (above > 0 && p - offset <= above))
            offset = p;
    }
    for (const std::int64_t first = std::max(peak, offset - 2 * SmoothingPoints); offset > first && m_fineLevel[offset] <= threshold;)
        --offset;
    return (offset + 1) * PointSeconds;
}

SpeechStretches SpeechAnalyser::joinParts(const std::vector<std::vector<SpeechStretch>> &parts)
{
    std::vector<SpeechStretch> all;
    for (const std::vector<SpeechStretch> &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    std::sort(all.begin(), all.end(), [](const SpeechStretch &a, const SpeechStretch &b) { return a.start < b.start; });
    std::vector<SpeechStretch> joined;
    for (const SpeechStretch &stretch : all) {
        if (!joined.empty() && stretch.start - joined.back().end < JoinGapFrames * FrameSeconds)
            joined.back().end = std::max(joined.back().end, stretch.end);
        else
            joined.push_back(stretch);
    }
    return SpeechStretches(std::move(joined));
}
