#include "player/SoundGrains.h"

#include "player/MpvPlayer.h"

#include <cmath>

SoundGrains::SoundGrains(std::unique_ptr<MpvPlayer> voice, const QString &path, QObject *parent)
    : QObject(parent)
    , m_voice(std::move(voice))
{
    m_end.setSingleShot(true);
    m_end.setTimerType(Qt::PreciseTimer);
    connect(&m_end, &QTimer::timeout, m_voice.get(), &MpvPlayer::pause);
    m_voice->load(path);
}

// The voice ends its seek as interrupted when it goes; that completion must not reach here.
SoundGrains::~SoundGrains() = default;

void SoundGrains::play(double time, double duration)
{
    m_end.stop();
    const int request = ++m_request;
    const int milliseconds = std::max(1, int(std::lround(duration * 1000)));
    m_voice->seek(time, [this, request, time, milliseconds](bool finished) {
        if (!finished || request != m_request)
            return;
        emit grainStarted(time);
        m_end.start(milliseconds);
    });
    // Unpaused at once: the sound runs the moment the seek lands.
    m_voice->play();
}

void SoundGrains::stop()
{
    ++m_request;
    m_end.stop();
    m_voice->pause();
}
