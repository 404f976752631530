#include "player/VideoPlayerViewController.h"

#include "document/Document.h"
#include "document/Preferences.h"
#include "model/timing/EdgeStepping.h"
#include "model/Fatal.h"
#include "model/SubtitleController.h"
#include "model/timing/PlaybackSpeed.h"
#include "model/text/SubtitleMarkup.h"
#include "player/MpvPlayer.h"
#include "player/PlaybackControls.h"
#include "player/StyledSubtitleTrack.h"
#include "player/SubtitleAnnouncer.h"
#include "player/VideoPlayerView.h"
#include "media/MediaSession.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Observer 1 only needs the player's calls on starts, stops and jumps, which come with any
// interval; so long a one never fires on its own.
constexpr double rateChangeInterval = 999;
constexpr double playbackInterval = 0.01;
constexpr double maximumShuttleFactor = 4; // of the chosen speed

std::unique_ptr<Player> makeMpvPlayer(const QString &path)
{
    // Without a display server QOpenGLWidget never initialises: play without a picture.
    const QString platform = QGuiApplication::platformName();
    const bool noOpenGL = platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
    auto player = std::make_unique<MpvPlayer>(noOpenGL ? MpvPlayer::Output::Headless : MpvPlayer::Output::Window);
    player->load(path);
    return player;
}

} // namespace

VideoPlayerViewController::LabelGeometry VideoPlayerViewController::labelGeometry(double pictureWidth,
                                                                                  double pictureBottom)
{
    return {pictureWidth / 40, std::max(pictureWidth - 40, 0.0), pictureBottom + pictureWidth / 10};
}

VideoPlayerViewController::VideoPlayerViewController(Document *document, const MediaSession *media, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_media(media)
    , m_playerView(new VideoPlayerView(this))
    , m_stack(new QStackedLayout(m_playerView))
    , m_emptyView(new QLabel(m_playerView))
    , m_videoHost(new QWidget(m_playerView))
    , m_subtitlesLabel(new QLabel(m_videoHost))
    , m_controls(new PlaybackControls(this))
    , m_styledTrack(new StyledSubtitleTrack(document, this))
    , m_announcer(new SubtitleAnnouncer(this))
    , m_playerFactory(&makeMpvPlayer)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_playerView, 1);
    layout->addWidget(m_controls);

    m_emptyView->setAlignment(Qt::AlignCenter);
    m_emptyView->setWordWrap(true);
    m_emptyView->setMargin(24);
    // Dark like the picture it stands in for.
    m_emptyView->setStyleSheet(QStringLiteral("QLabel { background-color: #1e1e1e; color: #c8c8c8; }"));
    m_emptyView->setText(tr("No video.\nTo attach one, choose Open Video… in the File menu, "
                            "or drop a video file here."));
    auto *hostLayout = new QVBoxLayout(m_videoHost);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_emptyView);
    m_stack->addWidget(m_videoHost);
    m_subtitlesLabel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_subtitlesLabel->setTextFormat(Qt::RichText);
    m_subtitlesLabel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_subtitlesLabel->setWordWrap(true);
    m_subtitlesLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_subtitlesLabel->setStyleSheet(QStringLiteral(
        "QLabel { color: white; background-color: rgba(0, 0, 0, 140); border-radius: 5px; padding: 2px 6px; }"));
    m_subtitlesLabel->hide();

    m_playerView->setVideoPlayerViewController(this);
    // Tab reaches the pane too, for its keys (Space, J, K, L, the arrows).
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Video"));
    setAccessibleDescription(tr("Space plays and pauses; J, K and L shuttle; Left and Right step one frame."));
    m_playerView->setAccessibleName(tr("Picture"));
    connect(m_controls, &PlaybackControls::playPauseClicked, this, &VideoPlayerViewController::playPause);
    connect(m_controls, &PlaybackControls::stepBackwardClicked, this, &VideoPlayerViewController::stepBackward);
    connect(m_controls, &PlaybackControls::stepForwardClicked, this, &VideoPlayerViewController::stepForward);
    updateControls();

    // Any change of the list can change which subtitle is current, or its text.
    connect(m_document, &Document::subtitlesChanged, this, &VideoPlayerViewController::updateSubtitlesLabel);
    connect(m_styledTrack, &StyledSubtitleTrack::shownChanged, this, &VideoPlayerViewController::updateSubtitlesLabel);
    connect(&m_document->originalSubtitles(), &OriginalSubtitles::changed, this, [this] {
        updateBoundaryTimeObserver();
        updateSubtitlesLabel();
    });
    m_controls->setTimeDisplay(m_document->timeDisplay());
    connect(m_document, &Document::timeDisplayChanged, this,
            [this] { m_controls->setTimeDisplay(m_document->timeDisplay()); });
    // A newly selected subtitle brings a paused video to its start.
    connect(m_document, &Document::seekPausedVideoRequested, this, [this](double time) {
        if (m_player && m_player->rate() == 0)
            seekTo(time);
    });
}

VideoPlayerViewController::~VideoPlayerViewController()
{
    if (m_player) {
        removeObservers();
        if (m_document && m_document->player() == m_player.get())
            m_document->setPlayer(nullptr);
        m_player.reset();
    }
}

void VideoPlayerViewController::setPlayerFactory(PlayerFactory factory)
{
    m_playerFactory = std::move(factory);
}

QString VideoPlayerViewController::placeholderText() const
{
    return m_stack->currentWidget() == m_emptyView ? m_emptyView->text() : QString();
}

QString VideoPlayerViewController::timeText() const
{
    return m_controls->timeText();
}

QString VideoPlayerViewController::rateText() const
{
    return m_controls->rateText();
}

void VideoPlayerViewController::loadVideo(const QString &path)
{
    m_stack->setCurrentWidget(m_videoHost);

    // The timeline falls back to its own length until the new video reports its duration.
    m_didSetDuration = false;
    m_duration.reset();
    emit videoDurationChanged(std::nullopt);

    releasePlayer();

    m_path = QFileInfo(path).absoluteFilePath();
    m_player = m_playerFactory(m_path);
    if (!m_player)
        CUEWRIGHT_FATAL("the player factory made no player");
    Player *player = m_player.get();
    connect(player, &Player::durationChanged, this, &VideoPlayerViewController::durationDidChange);
    connect(player, &Player::videoRectChanged, this, &VideoPlayerViewController::layoutSubtitlesLabel);
    connect(player, &Player::rateChanged, this, &VideoPlayerViewController::updateControls);
    connect(player, &Player::speedChanged, this, &VideoPlayerViewController::updateControls);
    player->setSpeed(m_speed);
    player->setAudioTrack(m_audioTrack);
    connect(player, &Player::failed, this, &VideoPlayerViewController::playerDidFail);

    installObservers();
    m_styledTrack->setPlayer(player);

    // The label floats over the picture.
    QWidget *overlayParent = m_videoHost;
    if (QWidget *view = player->view()) {
        m_videoHost->layout()->addWidget(view);
        overlayParent = view;
    }
    m_subtitlesLabel->setParent(overlayParent);
    m_subtitlesLabel->raise();
    m_document->setPlayer(player);

    emit videoChanged(m_path);

    // A fake knows its duration at once; libmpv tells it later.
    if (player->duration() > 0)
        durationDidChange(player->duration());

    updateSubtitlesLabel();
    updateControls();
    emit restorableStateChanged();
}

void VideoPlayerViewController::setAudioTrack(int track)
{
    m_audioTrack = track;
    if (m_player)
        m_player->setAudioTrack(track);
}

void VideoPlayerViewController::releasePlayer()
{
    if (!m_player)
        return;
    removeObservers();
    m_seekTarget.reset();
    m_player->disconnect(this);
    m_styledTrack->setPlayer(nullptr);
    if (std::exchange(m_wasPlaying, false))
        emit playingChanged(false);
    if (QWidget *view = m_player->view())
        view->hide();
    // The label must not die with the old picture.
    m_subtitlesLabel->setParent(m_videoHost);
    m_subtitlesLabel->hide();
    if (std::exchange(m_currentSubtitleIndex, std::nullopt))
        emit currentSubtitleChanged();
    // Others let go of the player before it goes; it may be the one now calling us.
    Player *old = m_player.release();
    if (m_document->player() == old)
        m_document->setPlayer(nullptr);
    old->deleteLater();
}

void VideoPlayerViewController::installObservers()
{
    m_wasPlaying = false;
    m_periodicTimeObserverForRateChanges = m_player->addPeriodicTimeObserver(rateChangeInterval, [this](double) {
        updateBoundaryTimeObserver();
        updateSubtitlesLabel();
        const bool playing = !m_player || m_player->rate() != 0;
        if (playing && !m_wasPlaying)
            emit scrollToCursorRequested();
        const bool changed = playing != m_wasPlaying;
        m_wasPlaying = playing;
        if (!playing)
            removeStopObserver(); // a pause by hand ends a playRange too
        if (changed)
            emit playingChanged(playing);
    });
    m_periodicTimeObserverForPlayback = m_player->addPeriodicTimeObserver(playbackInterval, [this](double) {
        if (!m_player)
            return;
        const double time = m_player->currentTime();
        emit playbackTimeChanged(time);
        m_controls->setTimes(time, m_duration);
    });
}

void VideoPlayerViewController::removeObservers()
{
    for (auto *token : {&m_periodicTimeObserverForRateChanges, &m_periodicTimeObserverForPlayback,
                        &m_boundaryTimeObserver, &m_stopObserver}) {
        if (*token)
            m_player->removeTimeObserver(**token);
        token->reset();
    }
}

void VideoPlayerViewController::updateBoundaryTimeObserver()
{
    if (!m_player)
        return;
    if (m_boundaryTimeObserver) {
        m_player->removeTimeObserver(*m_boundaryTimeObserver);
        m_boundaryTimeObserver.reset();
    }
    const SubtitleList &subtitles = m_document->subtitleController().subtitles();
    if (subtitles.isEmpty())
        return;
    QList<double> times;
    times.reserve(subtitles.size() * 2);
    for (const SubtitlePtr &subtitle : subtitles)
        times << subtitle->start << subtitle->end;
    if (m_showsOriginal) {
        for (const SubtitlePtr &line : m_document->originalSubtitles().subtitles())
            times << line->start << line->end;
    }
    m_boundaryTimeObserver = m_player->addBoundaryTimeObserver(times, [this] {
        QMetaObject::invokeMethod(this, &VideoPlayerViewController::updateSubtitlesLabel, Qt::QueuedConnection);
    });
}

void VideoPlayerViewController::updateSubtitlesLabel()
{
    if (!m_player)
        return;
    const SubtitleList &subtitles = m_document->subtitleController().subtitles();
    const std::optional<int> previous = m_currentSubtitleIndex;
    m_currentSubtitleIndex = SubtitleController::indexShownAt(subtitles, m_player->currentTime());
    if (m_currentSubtitleIndex != previous) {
        // Only what playing reaches: a seek comes from the list or the timeline, which say
        // their subtitle themselves.
        if (m_currentSubtitleIndex && m_player->rate() != 0 && Preferences::announcesSubtitles())
            m_announcer->announce(SubtitleMarkup::spoken(subtitles[*m_currentSubtitleIndex]->text()));
        emit currentSubtitleChanged();
    }
    // Tags become formatting; the label is rich text on purpose, so line breaks must be
    // written as such.
    const bool showsOwn = m_currentSubtitleIndex.has_value() && !m_styledTrack->isShown();
    const SubtitleMarkup::Rendered rendered =
        SubtitleMarkup::render(showsOwn ? subtitles[*m_currentSubtitleIndex]->text() : QString());
    const Subtitle *original = m_showsOriginal ? m_document->originalSubtitles().lineAt(m_player->currentTime()) : nullptr;
    QString html = rendered.html;
    if (original) {
        // Above the translation, smaller and in another colour: never taken for it.
        const QString line = QStringLiteral("<span style=\"color:#ffd75e; font-size:small\">%1</span>")
                                 .arg(SubtitleMarkup::render(original->text()).html);
        html = showsOwn ? line + QStringLiteral("<br>") + html : line;
    }
    m_subtitlesLabel->setText(html);
    m_subtitlesLabel->setAlignment(rendered.horizontal | (rendered.top ? Qt::AlignTop : Qt::AlignBottom));
    m_labelAtTop = rendered.top;
    m_subtitlesLabel->setVisible(showsOwn || original);
    layoutSubtitlesLabel();
    m_controls->setTimes(m_player->currentTime(), m_duration);
}

void VideoPlayerViewController::placeInTabOrderAfter(QWidget *previous)
{
    QWidget::setTabOrder(previous, this);
    m_controls->placeInTabOrderAfter(this);
}

void VideoPlayerViewController::setShowsOriginal(bool shows)
{
    if (shows == m_showsOriginal)
        return;
    m_showsOriginal = shows;
    updateBoundaryTimeObserver();
    updateSubtitlesLabel();
}

void VideoPlayerViewController::layoutSubtitlesLabel()
{
    if (!m_player)
        return;
    QWidget *overlayParent = m_subtitlesLabel->parentWidget();
    const QRectF picture = m_player->videoRect();
    const double viewHeight = overlayParent->height();
    const LabelGeometry geometry = labelGeometry(picture.width(), viewHeight - picture.bottom());

    QFont font = m_subtitlesLabel->font();
    font.setPixelSize(std::max(1, int(std::lround(geometry.fontSize))));
    m_subtitlesLabel->setFont(font);
    const int width = int(std::lround(geometry.width));
    const int height = width > 0 ? m_subtitlesLabel->heightForWidth(width) : 0;
    // At the top, the label keeps the same distance below the picture's top edge.
    const int top = m_labelAtTop ? int(std::lround(picture.top() + picture.width() / 10.0))
                                 : int(std::lround(viewHeight - geometry.bottom)) - height;
    m_subtitlesLabel->setGeometry(int(std::lround(picture.center().x() - width / 2.0)), top, width,
                                  std::max(height, 0));
}

void VideoPlayerViewController::durationDidChange(double duration)
{
    if (m_didSetDuration)
        return;
    m_didSetDuration = true;
    m_duration = duration;
    emit videoDurationChanged(duration);
    updateControls();
}

void VideoPlayerViewController::playerDidFail(const QString &message)
{
    const QString fileName = QFileInfo(m_path).fileName();
    const QString text = tr("“%1” cannot be played.\n%2").arg(fileName, message);
    releasePlayer();
    m_path.clear();
    m_duration.reset();
    emit videoChanged(m_path);
    showPlaceholder(text);
    updateControls();
    emit restorableStateChanged();
    emit failed(text);
}

void VideoPlayerViewController::showPlaceholder(const QString &text)
{
    m_emptyView->setText(text);
    m_stack->setCurrentWidget(m_emptyView);
}

void VideoPlayerViewController::stepVideo(int count)
{
    if (!m_player)
        return;
    const bool can = count < 0 ? m_player->canStepBackward() : m_player->canStepForward();
    if (!can)
        return;
    m_player->stepByCount(count);
    emit scrollToCursorRequested();
}

void VideoPlayerViewController::seekDidFinish(bool finished)
{
    // An interrupted seek is followed by the one that interrupted it.
    if (finished)
        QMetaObject::invokeMethod(this, &VideoPlayerViewController::updateSubtitlesLabel, Qt::QueuedConnection);
}

void VideoPlayerViewController::seekTo(double seconds)
{
    if (!m_player)
        return;
    m_seekTarget = seconds;
    m_player->seek(seconds, [self = QPointer<VideoPlayerViewController>(this), seek = ++m_seekCount](bool finished) {
        if (!self)
            return;
        if (seek == self->m_seekCount)
            self->m_seekTarget.reset();
        self->seekDidFinish(finished);
    });
}

void VideoPlayerViewController::goToShotChange(bool forward)
{
    if (!m_media)
        return;
    const ShotChanges &shotChanges = m_media->shotChanges();
    goToTarget([&](double from) { return forward ? shotChanges.next(from) : shotChanges.previous(from); });
}

void VideoPlayerViewController::goToSubtitleEdge(bool forward)
{
    if (!m_document)
        return;
    const SubtitleList &subtitles = m_document->subtitleController().subtitles();
    goToTarget([&](double from) { return EdgeStepping::subtitleEdge(subtitles, from, forward); });
}

void VideoPlayerViewController::goToSpeechEdge(bool forward)
{
    if (!m_media)
        return;
    const SpeechStretches &speech = m_media->speech();
    goToTarget([&](double from) { return EdgeStepping::speechEdge(speech, from, forward); });
}

void VideoPlayerViewController::goToTarget(const std::function<std::optional<double>(double from)> &target)
{
    if (!m_player)
        return;
    // Pressed again before the last seek landed, the key goes on from where that one goes.
    const std::optional<double> time = target(m_seekTarget.value_or(m_player->currentTime()));
    if (!time)
        return;
    seekTo(*time);
    emit scrollToCursorRequested();
}

void VideoPlayerViewController::playPause()
{
    if (!m_player)
        return;
    if (m_player->rate() != 0)
        m_player->pause();
    else
        m_player->play();
}

void VideoPlayerViewController::playRange(double from, double to)
{
    if (!m_player || !(to > from))
        return;
    removeStopObserver();
    m_player->seek(std::max(0.0, from));
    m_player->play();
    m_stopObserver = m_player->addBoundaryTimeObserver({to}, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_player)
                    return;
                m_player->pause();
                removeStopObserver();
            },
            Qt::QueuedConnection);
    });
}

void VideoPlayerViewController::removeStopObserver()
{
    if (m_stopObserver && m_player)
        m_player->removeTimeObserver(*m_stopObserver);
    m_stopObserver.reset();
}

void VideoPlayerViewController::shuttleForward()
{
    if (!m_player)
        return;
    const double rate = m_player->rate();
    const double speed = m_player->speed();
    m_player->setRate(rate <= 0 ? speed : std::min(rate * 2, speed * maximumShuttleFactor));
}

void VideoPlayerViewController::shuttleBackward()
{
    if (!m_player)
        return;
    const double rate = m_player->rate();
    const double speed = m_player->speed();
    m_player->setRate(rate >= 0 ? -speed : std::max(rate * 2, -speed * maximumShuttleFactor));
}

void VideoPlayerViewController::shuttleStop()
{
    if (m_player)
        m_player->pause();
}

void VideoPlayerViewController::playFaster()
{
    setSpeed(PlaybackSpeed::faster(m_speed));
}

void VideoPlayerViewController::playSlower()
{
    setSpeed(PlaybackSpeed::slower(m_speed));
}

void VideoPlayerViewController::playAtNormalSpeed()
{
    setSpeed(PlaybackSpeed::normal);
}

void VideoPlayerViewController::setSpeed(double speed)
{
    m_speed = PlaybackSpeed::bounded(speed);
    if (m_player)
        m_player->setSpeed(m_speed);
    updateControls();
}

void VideoPlayerViewController::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space: playPause(); break;
    case Qt::Key_J: shuttleBackward(); break;
    case Qt::Key_K: shuttleStop(); break;
    case Qt::Key_L: shuttleForward(); break;
    case Qt::Key_Left: stepVideo(-1); break;
    case Qt::Key_Right: stepVideo(1); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void VideoPlayerViewController::updateControls()
{
    m_controls->setEnabled(m_player != nullptr);
    m_controls->setRate(m_player ? m_player->rate() : 0, m_speed);
    m_controls->setTimes(m_player ? m_player->currentTime() : 0, m_duration);
}

QVariantMap VideoPlayerViewController::saveState() const
{
    if (m_path.isEmpty() || !m_player)
        return {};
    return {{QStringLiteral("videoBookmarkData"), m_path},
            {QStringLiteral("currentTime"), m_player->currentTime()}};
}

void VideoPlayerViewController::restoreState(const QVariantMap &state)
{
    const QVariant bookmark = state.value(QStringLiteral("videoBookmarkData"));
    if (bookmark.typeId() != QMetaType::QString)
        return;
    const QString path = bookmark.toString();
    if (path.isEmpty())
        return;
    const double time = state.value(QStringLiteral("currentTime"), 0.0).toDouble();
    // The video may sit on a mount that no longer answers.
    m_restoreCheck.check(path, [this, path, time](bool isFile) {
        // A video the user opened meanwhile wins.
        if (!isFile || !m_path.isEmpty())
            return;
        loadVideo(path);
        seekTo(time);
    });
}
