#include "app/SpeechTracking.h"

#include "document/Document.h"
#include "player/VideoPlayerViewController.h"
#include "media/AudioWaveform.h"

SpeechTracking::SpeechTracking(Document *document, VideoPlayerViewController *player, QObject *parent)
    : QObject(parent)
    , m_document(document)
{
    connect(player, &VideoPlayerViewController::videoChanged, this, [this] {
        m_waveform = nullptr;
        if (m_document)
            m_document->setSpeech({});
    });
    connect(player, &VideoPlayerViewController::audioWaveformChanged, this, &SpeechTracking::waveformChanged);
}

void SpeechTracking::waveformChanged(const std::shared_ptr<AudioWaveform> &waveform)
{
    if (m_waveform)
        disconnect(m_waveform, nullptr, this, nullptr);
    m_waveform = waveform.get();
    if (m_document)
        m_document->setSpeech({});
    if (!waveform)
        return;
    if (!waveform->hasStarted())
        waveform->setSpeechDetection(true);
    connect(waveform.get(), &AudioWaveform::speechFound, this, [this] {
        if (m_document && m_waveform)
            m_document->setSpeech(m_waveform->speech());
    });
    // The waveform going away before another comes must not leave a dangling pointer.
    connect(waveform.get(), &QObject::destroyed, this, [this] { m_waveform = nullptr; });
}
