#include "speech/VoiceActivityDetector.h"

#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>

#include <QtGlobal>

namespace {

webrtc::VoiceDetection::Likelihood webrtcLikelihood(VoiceActivityDetector::Likelihood likelihood)
{
    switch (likelihood) {
    case VoiceActivityDetector::Likelihood::VeryLow:
        return webrtc::VoiceDetection::kVeryLowLikelihood;
    case VoiceActivityDetector::Likelihood::Low:
        return webrtc::VoiceDetection::kLowLikelihood;
    case VoiceActivityDetector::Likelihood::Moderate:
        return webrtc::VoiceDetection::kModerateLikelihood;
    case VoiceActivityDetector::Likelihood::High:
        break;
    }
    return webrtc::VoiceDetection::kHighLikelihood;
}

} // namespace

VoiceActivityDetector::VoiceActivityDetector(Likelihood likelihood)
    : m_processing(webrtc::AudioProcessing::Create())
    , m_frame(std::make_unique<webrtc::AudioFrame>())
{
    // Nothing but the detector: the sound itself is only looked at.
    webrtc::VoiceDetection *detection = m_processing->voice_detection();
    const bool ready = detection->Enable(true) == webrtc::AudioProcessing::kNoError
                       && detection->set_likelihood(webrtcLikelihood(likelihood)) == webrtc::AudioProcessing::kNoError
                       && detection->set_frame_size_ms(10) == webrtc::AudioProcessing::kNoError;
    Q_ASSERT(ready);
    Q_UNUSED(ready);
}

VoiceActivityDetector::~VoiceActivityDetector() = default;

bool VoiceActivityDetector::isVoiced(const int16_t *frame)
{
    m_frame->UpdateFrame(0, 0, frame, FrameSamples, SampleRate, webrtc::AudioFrame::kNormalSpeech,
                         webrtc::AudioFrame::kVadUnknown, 1);
    if (m_processing->ProcessStream(m_frame.get()) != webrtc::AudioProcessing::kNoError)
        return false;
    return m_processing->voice_detection()->stream_has_voice();
}
