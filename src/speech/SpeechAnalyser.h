#pragma once

#include "model/SpeechStretches.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class MonoResampler;
class HannFft;
class VoiceActivityDetector;

// Finds where people speak in a stream of sound fed as interleaved signed 16-bit samples at
// any rate and channel count, in any pieces. The sound is mixed to mono and resampled to
// 8 kHz (a voice's band, and all webrtc's detector looks at). A 10 ms frame may be speech
// where its speech band stands above the floor around it, its spectrum moves (a note of
// music holds still) and the detector hears a voice. Such frames are smoothed into stretches
// (short blips dropped, short pauses joined), each checked against the sound around it, and
// their edges are then placed to the millisecond on a 2 ms loudness envelope taken at the
// input's own rate: where it rises clearly above the floor before the voiced frames, and
// falls back to it after them. Needs about 1.5 s of sound after a stretch to decide it.
class SpeechAnalyser
{
public:
    // startTime: where the first sample fed lies in the stream, in seconds.
    SpeechAnalyser(int sampleRate, int channels, double startTime = 0);
    ~SpeechAnalyser();
    SpeechAnalyser(const SpeechAnalyser &) = delete;
    SpeechAnalyser &operator=(const SpeechAnalyser &) = delete;

    void append(const int16_t *samples, std::int64_t count);
    // The end of the stream: the stretches still open are decided.
    void finish();

    // The stretches decided since the last call, in order; later ones never overlap them
    // except where a stretch is continued (SpeechStretches joins such).
    std::vector<SpeechStretch> takeFound();

    // Joins the speech of parts read one after another: a stretch cut where one part ends
    // and the next begins is one again.
    static SpeechStretches joinParts(const std::vector<std::vector<SpeechStretch>> &parts);

private:
    struct Run
    {
        std::int64_t first = 0; // frames
        std::int64_t end = 0;
    };

    void addEnvelope(std::span<const float> mixed);
    void closePoint();
    void analyse(const std::vector<float> &mono);
    void addSpectrum();
    void classify(std::int64_t until);
    void decide(bool atEnd);
    bool soundsLikeSpeech(const Run &run) const;
    double smoothedLevel(std::int64_t point) const;
    double floorThreshold(std::int64_t from, std::int64_t to, const Run &run) const;
    double loudestOf(const Run &run) const;
    double onsetOf(const Run &run, double previousEnd) const;
    double offsetOf(const Run &run, std::int64_t nextFrame) const;
    double percentile(std::int64_t from, std::int64_t to, double share) const;

    double m_startTime;
    std::unique_ptr<MonoResampler> m_resampler;
    std::unique_ptr<VoiceActivityDetector> m_detector;
    std::vector<float> m_frameSamples; // of the frame being filled
    std::unique_ptr<HannFft> m_spectrum;
    std::vector<float> m_recent;                 // the last samples, for the spectrum's window
    std::vector<float> m_power;
    std::vector<std::vector<float>> m_shapes;    // shapes of the last frames' spectra, a ring
    std::size_t m_shapeIndex = 0;
    // The envelope, at the input's rate.
    int m_inputRate;
    std::int64_t m_inputPosition = 0; // mono samples taken into points
    std::int64_t m_pointEnd;          // where the point being summed ends
    float m_pointEnergy = 0;
    float m_highPass;      // the one-pole high-pass filter's coefficient, and its state
    float m_highPassIn = 0;
    float m_highPassOut = 0;
    std::vector<float> m_differences;

    std::vector<float> m_mono;
    std::int64_t m_frames = 0;
    std::int64_t m_framesDecided = 0; // m_frames at the last decision
    std::vector<int16_t> m_waiting;  // the frames from m_firstWaiting on, for the detector
    std::int64_t m_firstWaiting = 0;
    std::vector<float> m_frameLevel; // per frame, dB
    std::vector<float> m_bandLevel;  // per frame, dB
    std::vector<float> m_steadiness; // per frame
    std::vector<float> m_fineLevel;  // per envelope point, dB
    std::vector<float> m_finePower;  // per envelope point, mean square
    std::vector<bool> m_candidate;   // per frame, once classified
    float m_floor = 0;
    std::int64_t m_decidedFrame = 0; // frames before this one belong to decided stretches or none
    std::vector<SpeechStretch> m_found;
    // The end of the last stretch found, taken or not.
    std::optional<double> m_lastFoundEnd;
};
