#pragma once

#include <cstdint>
#include <memory>

namespace webrtc {
class AudioFrame;
class AudioProcessing;
}

// webrtc's voice activity detector: tells for each 10 ms frame of 8 kHz mono sound whether
// it holds voice. It adapts to the sound it has heard, so one detector follows one stream.
// It takes much music and some noise for voice: its decisions are a first guess only.
class VoiceActivityDetector
{
public:
    static constexpr int SampleRate = 8000;
    static constexpr int FrameSamples = SampleRate / 100;

    // How readily a frame is called voiced, from least to most.
    enum class Likelihood { VeryLow, Low, Moderate, High };

    explicit VoiceActivityDetector(Likelihood likelihood = Likelihood::Low);
    ~VoiceActivityDetector();
    VoiceActivityDetector(const VoiceActivityDetector &) = delete;
    VoiceActivityDetector &operator=(const VoiceActivityDetector &) = delete;

    // One frame of FrameSamples samples.
    bool isVoiced(const int16_t *frame);

private:
    std::unique_ptr<webrtc::AudioProcessing> m_processing;
    std::unique_ptr<webrtc::AudioFrame> m_frame;
};
