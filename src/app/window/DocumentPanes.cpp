#include "app/window/DocumentPanes.h"

#include "app/lifecycle/DialogFolder.h"
#include "document/Document.h"
#include "document/Player.h"
#include "list/SubtitleTextBox.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"
#include "media/MediaSession.h"
#include "model/FrameTiming.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeDatabase>

DocumentPanes::DocumentPanes(Document *document, MediaSession *media, QWidget *parent)
    : QObject(parent)
    , m_document(document)
    , m_media(media)
    , m_player(new VideoPlayerViewController(document, media, parent))
    , m_table(new SubtitlesTableViewController(document, parent))
    , m_timeline(new TimelineViewController(document, media, parent))
    , m_textBox(new SubtitleTextBox(document, parent))
{
    wirePlayback();
    m_table->setWordSource([media](const Subtitle &subtitle) {
        return media->wordTimings().wordsOf(subtitle.text(), subtitle.start, subtitle.end);
    });
    connect(m_table, &SubtitlesTableViewController::commandStateChanged, this, &DocumentPanes::commandStateChanged);
    connect(m_player, &VideoPlayerViewController::playingChanged, this, &DocumentPanes::commandStateChanged);
    connect(m_player, &VideoPlayerViewController::currentSubtitleChanged, this, &DocumentPanes::commandStateChanged);
}

VideoPlayerViewController *DocumentPanes::player() const
{
    return m_player;
}

SubtitleTextBox *DocumentPanes::textBox() const
{
    return m_textBox;
}

SubtitlesTableViewController *DocumentPanes::table() const
{
    return m_table;
}

TimelineViewController *DocumentPanes::timeline() const
{
    return m_timeline;
}

void DocumentPanes::wirePlayback()
{
    VideoPlayerViewController *player = m_player;
    TimelineViewController *timeline = m_timeline;
    // Playback drives the timeline: its cursor, duration, ruler and waveform.
    connect(player, &VideoPlayerViewController::videoDurationChanged, timeline, &TimelineViewController::setVideoDuration);
    connect(player, &VideoPlayerViewController::playbackTimeChanged, timeline, &TimelineViewController::setCurrentTime);
    connect(player, &VideoPlayerViewController::playingChanged, timeline, &TimelineViewController::setPlaying);
    connect(player, &VideoPlayerViewController::scrollToCursorRequested, timeline, &TimelineViewController::followCursor);
    // The video played is the one worked out, from where playback is; a new video from its
    // first audio track, a restored one from the track it had. The player plays the track
    // the sound is read from.
    MediaSession *media = m_media;
    connect(player, &VideoPlayerViewController::videoChanged, media, [this, media, player](const QString &path) {
        const int track = !path.isEmpty() && path == m_restoredVideo ? m_restoredAudioTrack : 1;
        m_restoredVideo.clear();
        media->start(path, player->player() ? player->player()->currentTime() : 0, track);
        player->setAudioTrack(media->audioTrack());
    });
    connect(media, &MediaSession::audioTrackChanged, player, &VideoPlayerViewController::setAudioTrack);
    connect(player, &VideoPlayerViewController::playbackTimeChanged, media, &MediaSession::setFocusTime);
    // The document times to the rate its film tells; a film that tells none (sound alone)
    // leaves the rate as it was.
    connect(media, &MediaSession::frameRateChanged, m_document.data(), [document = m_document.data()](double rate) {
        if (rate > 0)
            document->setVideoFrameRate(rate);
    });
    // The player pane owns what Space, J, K, L and the arrows do, wherever they are pressed.
    connect(m_table, &SubtitlesTableViewController::playbackKeyEvent, player,
            [player](QKeyEvent *event) { QCoreApplication::sendEvent(player, event); });
}

void DocumentPanes::placeInTabOrder()
{
    QWidget::setTabOrder(m_table->tableView(), m_textBox->editor());
    QWidget::setTabOrder(m_textBox->editor(), m_timeline->contentView());
    m_player->placeInTabOrderAfter(m_timeline->contentView());
}

void DocumentPanes::openVideo(QWidget *dialogParent)
{
    QStringList patterns;
    for (const QMimeType &type : QMimeDatabase().allMimeTypes()) {
        if (type.name().startsWith(QStringLiteral("video/")))
            patterns << type.globPatterns();
    }
    patterns.removeDuplicates();
    const QString filter = tr("Movies (%1);;All files (*)").arg(patterns.join(u' '));
    const QString folder = DialogFolder::startFor(m_document ? m_document->filePath() : QString(),
                                                  m_player ? m_player->videoPath() : QString());
    const QString path = QFileDialog::getOpenFileName(dialogParent, tr("Open Video"), folder, filter);
    DialogFolder::remember(path);
    if (!path.isEmpty() && m_player)
        m_player->loadVideo(path);
}

bool DocumentPanes::canEditDisplayedSubtitle() const
{
    return m_player && m_table && m_player->currentSubtitleIndex().has_value();
}

void DocumentPanes::editDisplayedSubtitle()
{
    if (canEditDisplayedSubtitle())
        m_table->editSubtitle(*m_player->currentSubtitleIndex());
}

std::optional<double> DocumentPanes::playerTimeOnFrame() const
{
    const Player *player = m_document ? m_document->player() : nullptr;
    if (!player)
        return std::nullopt;
    return FrameTiming::snapToFrame(player->currentTime(), m_document->frameRate());
}

void DocumentPanes::addShotChangeAtPlayerTime()
{
    if (const std::optional<double> time = playerTimeOnFrame())
        m_media->addShotChange(*time);
}

QVariantMap DocumentPanes::saveState() const
{
    QVariantMap state = m_document->restorableState();
    state.insert(m_timeline->saveState());
    state.insert(m_player->saveState());
    if (!m_player->videoPath().isEmpty())
        state.insert(QStringLiteral("audioTrack"), m_media->audioTrack());
    return state;
}

void DocumentPanes::restoreState(const QVariantMap &state)
{
    // Taken up when the restored video comes (it is looked at off the GUI thread first).
    const QString video = state.value(QStringLiteral("videoBookmarkData")).toString();
    m_restoredVideo = video.isEmpty() ? QString() : QFileInfo(video).absoluteFilePath();
    m_restoredAudioTrack = state.value(QStringLiteral("audioTrack"), 1).toInt();
    m_timeline->restoreState(state);
    m_player->restoreState(state);
    m_document->restoreState(state);
}
