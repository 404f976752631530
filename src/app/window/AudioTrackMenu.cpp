#include "app/window/AudioTrackMenu.h"

#include "media/MediaSession.h"

#include <QActionGroup>

AudioTrackMenu::AudioTrackMenu(MediaSession *media, QWidget *parent)
    : QMenu(tr("Au&dio Track"), parent)
    , m_media(media)
{
    connect(media, &MediaSession::audioTracksChanged, this, &AudioTrackMenu::fill);
    connect(media, &MediaSession::audioTrackChanged, this, &AudioTrackMenu::fill);
    fill();
}

void AudioTrackMenu::fill()
{
    clear();
    const QList<AudioTrack> tracks = m_media ? m_media->audioTracks() : QList<AudioTrack>();
    if (tracks.isEmpty()) {
        const bool attached = m_media && !m_media->path().isEmpty();
        const bool known = m_media && m_media->areAudioTracksKnown();
        addAction(!attached ? tr("No Video") : known ? tr("No Sound") : tr("Looking for Tracks…"))->setEnabled(false);
        return;
    }
    auto *group = new QActionGroup(this);
    for (const AudioTrack &track : tracks) {
        // A title's ampersand is shown, not taken as a mnemonic.
        QAction *action = addAction(track.label().replace(u'&', QStringLiteral("&&")));
        action->setCheckable(true);
        action->setChecked(track.number == m_media->audioTrack());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, number = track.number] {
            if (m_media)
                m_media->setAudioTrack(number);
        });
    }
}
