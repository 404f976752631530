#pragma once

#include <QMenu>
#include <QPointer>

class MediaSession;

// Playback ▸ Audio Track: the attached video's audio tracks by number, language and title,
// the one the session reads (and the player plays) checked. Choosing one is no edit of the
// subtitles: the waveform, speech, spectrogram and player all follow it.
class AudioTrackMenu : public QMenu
{
    Q_OBJECT

public:
    explicit AudioTrackMenu(MediaSession *media, QWidget *parent = nullptr);

private:
    void fill();

    QPointer<MediaSession> m_media;
};
