#include "player/MpvPlayer.h"


#include "player/MpvLibrary.h"
#include "player/MpvVideoWidget.h"
#include "player/SoundGrains.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <clocale>
#include <cmath>

namespace {

// How often backwards play issues its next seek.
constexpr int backwardsStepMilliseconds = 50;

// mpv's own words for what went wrong, as a sentence.
QString reason(int error)
{
    QString text = QString::fromUtf8(libmpv().mpv_error_string(error));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text + QLatin1Char('.');
}

enum PropertyId : quint64 { TimePos = 1, Duration, ContainerFps, DisplayWidth, DisplayHeight, Pause };

} // namespace

MpvPlayer::MpvPlayer(Output output, QObject *parent)
    : Player(parent)
    , m_output(output)
{
    // mpv refuses to start unless numbers are read and written the C way.
    std::setlocale(LC_NUMERIC, "C");
    if (const auto library = MpvLibrary::open(); !library) {
        QMetaObject::invokeMethod(this, [this, error = library.error()] { fail(error); }, Qt::QueuedConnection);
        return;
    }
    m_mpv = libmpv().mpv_create();
    if (!m_mpv) {
        QMetaObject::invokeMethod(this, [this] { fail(MpvPlayer::tr("The video player could not be started.")); },
                                  Qt::QueuedConnection);
        return;
    }
    const bool silent = output == Output::Headless || output == Output::SilentSound;
    const bool soundOnly = output == Output::Sound || output == Output::SilentSound;
    const std::pair<const char *, const char *> options[]{
        {"vo", output == Output::Window ? "libmpv" : "null"},
        {"ao", silent ? "null" : "auto"},
        {"vid", soundOnly ? "no" : "auto"},
        // The track the waveform is read from, never one mpv prefers (a "default" flag).
        {"aid", "1"},
        // Faster or slower, voices keep their pitch (mpv's scaletempo2 filter).
        {"audio-pitch-correction", "yes"},
        // A grain is heard as soon as mpv has it, not after a fifth of a second of buffer.
        {"audio-buffer", soundOnly ? "0.02" : "0.2"},
        {"hwdec", "no"},
        {"hr-seek", "yes"},
        {"keep-open", "yes"},
        {"pause", "yes"},
        {"idle", "yes"},
        {"config", "no"},
        {"terminal", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"osc", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        // The overlay shows the document's subtitles; the file's own would get in the way.
        {"sid", "no"},
        {"sub-auto", "no"},
        {"audio-display", "no"},
    };
    for (const auto &[name, value] : options)
        libmpv().mpv_set_option_string(m_mpv, name, value);
    if (libmpv().mpv_initialize(m_mpv) < 0) {
        libmpv().mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        QMetaObject::invokeMethod(this, [this] { fail(MpvPlayer::tr("The video player could not be started.")); },
                                  Qt::QueuedConnection);
        return;
    }
    libmpv().mpv_observe_property(m_mpv, TimePos, "time-pos", MPV_FORMAT_DOUBLE);
    libmpv().mpv_observe_property(m_mpv, Duration, "duration", MPV_FORMAT_DOUBLE);
    libmpv().mpv_observe_property(m_mpv, ContainerFps, "container-fps", MPV_FORMAT_DOUBLE);
    libmpv().mpv_observe_property(m_mpv, DisplayWidth, "dwidth", MPV_FORMAT_INT64);
    libmpv().mpv_observe_property(m_mpv, DisplayHeight, "dheight", MPV_FORMAT_INT64);
    libmpv().mpv_observe_property(m_mpv, Pause, "pause", MPV_FORMAT_FLAG);
    libmpv().mpv_set_wakeup_callback(m_mpv, [](void *context) {
        // Called on one of mpv's threads.
        auto *player = static_cast<MpvPlayer *>(context);
        QMetaObject::invokeMethod(player, &MpvPlayer::processEvents, Qt::QueuedConnection);
    }, this);

    m_backwardsTimer.setInterval(backwardsStepMilliseconds);
    connect(&m_backwardsTimer, &QTimer::timeout, this, &MpvPlayer::stepBackwardsPlayback);

    if (output == Output::Window) {
        auto *widget = new MpvVideoWidget(m_mpv);
        connect(widget, &MpvVideoWidget::renderContextReady, this, [this] {
            if (!m_pendingPath.isEmpty())
                start();
        });
        widget->installEventFilter(this);
        m_view = widget;
    }
}

MpvPlayer::~MpvPlayer()
{
    m_grains.reset();
    if (m_seek && m_seek->completion)
        m_seek->completion(false);
    delete m_view; // frees the render context while mpv still exists
    if (m_mpv) {
        libmpv().mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
        libmpv().mpv_terminate_destroy(m_mpv);
    }
}

void MpvPlayer::load(const QString &path)
{
    if (!m_mpv)
        return; // the failure is already on its way
    m_pendingPath = path;
    m_path = path;
    m_grains.reset(); // they open the new file when next asked for
    auto *widget = qobject_cast<MpvVideoWidget *>(m_view.data());
    if (m_output != Output::Window || (widget && widget->hasRenderContext()))
        start();
}

void MpvPlayer::start()
{
    const QString path = std::exchange(m_pendingPath, QString());
    // Only regular files: mpv would wait on a FIFO for good, and its teardown with it.
    // Looked at off the GUI thread, where a stalled mount may keep the look waiting.
    m_fileCheck.check(path, [this, path](bool isFile) {
        if (!isFile) {
            fail(tr("It is not a regular file."));
            return;
        }
        const QByteArray name = QFile::encodeName(path);
        command({"loadfile", name.constData(), "replace"});
    });
}

QWidget *MpvPlayer::view() const
{
    if (!m_view && m_output != Output::Window) {
        auto *placeholder = new QWidget;
        QPalette palette = placeholder->palette();
        palette.setColor(QPalette::Window, Qt::black);
        placeholder->setPalette(palette);
        placeholder->setAutoFillBackground(true);
        placeholder->installEventFilter(const_cast<MpvPlayer *>(this));
        const_cast<MpvPlayer *>(this)->m_view = placeholder;
    }
    return m_view;
}

bool MpvPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Resize)
        emit videoRectChanged();
    return Player::eventFilter(watched, event);
}

QRectF MpvPlayer::videoRect() const
{
    if (!m_view)
        return QRectF(QPointF(), m_videoSize);
    const QRectF bounds = m_view->rect();
    if (m_videoSize.isEmpty() || bounds.isEmpty())
        return bounds;
    // The picture keeps its aspect and is centred, with bars on two sides.
    const QSizeF size = m_videoSize.scaled(bounds.size(), Qt::KeepAspectRatio);
    return QRectF(bounds.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void MpvPlayer::setRate(double rate)
{
    if (!m_mpv || m_failed || rate == m_rate)
        return;
    m_stepTarget.reset();
    m_rate = rate;
    m_backwardsTimer.stop();
    if (rate > 0) {
        libmpv().mpv_set_property(m_mpv, "speed", MPV_FORMAT_DOUBLE, &rate);
        setFlag("pause", false);
    } else {
        setFlag("pause", true);
        if (rate < 0) {
            m_backwardsClock.start();
            m_backwardsTimer.start();
        }
    }
    emit rateChanged(rate);
    updateTimers();
    notifyPeriodicObservers();
}

void MpvPlayer::playGrain(double time, double duration)
{
    if (!m_mpv || m_failed || m_path.isEmpty())
        return;
    if (!m_grains) {
        const bool silent = m_output == Output::Headless || m_output == Output::SilentSound;
        auto voice = std::make_unique<MpvPlayer>(silent ? Output::SilentSound : Output::Sound);
        voice->setAudioTrack(audioTrack());
        m_grains = std::make_unique<SoundGrains>(std::move(voice), m_path);
    }
    m_grains->play(time, duration);
}

void MpvPlayer::setAudioTrack(int track)
{
    if (track == audioTrack())
        return;
    Player::setAudioTrack(track);
    m_grains.reset(); // they open the track when next asked for
    if (!m_mpv)
        return;
    // Set before a file is loaded, it holds for the file.
    int64_t id = track;
    libmpv().mpv_set_property(m_mpv, "aid", MPV_FORMAT_INT64, &id);
}

void MpvPlayer::stopGrain()
{
    if (m_grains)
        m_grains->stop();
}

QString MpvPlayer::mpvProperty(const char *name) const
{
    if (!m_mpv)
        return {};
    char *text = libmpv().mpv_get_property_string(m_mpv, name);
    const QString value = QString::fromUtf8(text);
    libmpv().mpv_free(text);
    return value;
}

void MpvPlayer::seek(double seconds, std::function<void(bool)> completion)
{
    if (!m_mpv || m_failed) {
        if (completion)
            completion(false);
        return;
    }
    startSeek(seconds, std::move(completion), false);
}

bool MpvPlayer::canStepForward() const
{
    // The last frame starts one frame before the end.
    return m_loaded && m_frameRate > 0 && m_time + 1.5 / m_frameRate < m_duration;
}

bool MpvPlayer::canStepBackward() const
{
    return m_loaded && m_frameRate > 0 && m_time >= 0.5 / m_frameRate;
}

void MpvPlayer::stepByCount(int count)
{
    if (!m_loaded || m_failed || count == 0 || m_frameRate <= 0)
        return;
    setRate(0);
    // Pressed again before the last step or seek landed, a step goes on from where that
    // one goes: mpv drops a frame step asked for while one is under way, and the time it
    // tells until then is the one it left. A frame's time may lie a rounding error off it.
    const double from = m_seek ? m_seek->target : m_stepTarget.value_or(m_time);
    // At the last frame mpv tells the end of the film.
    const double lastFrame = std::max(0.0, std::floor(m_duration * m_frameRate + 1e-6) - 1);
    const double fromFrame = std::min(std::round(from * m_frameRate), lastFrame);
    const double frame = std::clamp(fromFrame + count, 0.0, lastFrame);
    if (frame == fromFrame)
        return;
    if (count == 1 && !m_seek && !m_stepTarget) {
        // mpv's own step decodes one frame more, where a seek starts from a key frame.
        m_stepTarget = frame / m_frameRate;
        command({"frame-step"});
    } else {
        startSeek(frame / m_frameRate, {}, false);
    }
}

Player::ObserverToken MpvPlayer::addPeriodicTimeObserver(double interval, std::function<void(double)> callback)
{
    const ObserverToken token = m_nextToken++;
    auto *timer = new QTimer(this);
    timer->setInterval(std::max(1, int(std::lround(interval * 1000))));
    connect(timer, &QTimer::timeout, this, [this, token] {
        if (auto it = m_periodicObservers.find(token); it != m_periodicObservers.end())
            it->second.callback(m_time);
    });
    m_periodicObservers.emplace(token, PeriodicObserver{std::move(callback), timer});
    if (m_rate != 0)
        timer->start();
    return token;
}

Player::ObserverToken MpvPlayer::addBoundaryTimeObserver(const QList<double> &times, std::function<void()> callback)
{
    const ObserverToken token = m_nextToken++;
    m_boundaryObservers.emplace(token, BoundaryObserver{times, std::move(callback)});
    return token;
}

void MpvPlayer::removeTimeObserver(ObserverToken token)
{
    if (auto it = m_periodicObservers.find(token); it != m_periodicObservers.end()) {
        delete it->second.timer;
        m_periodicObservers.erase(it);
    }
    m_boundaryObservers.erase(token);
}

void MpvPlayer::processEvents()
{
    while (m_mpv) {
        const mpv_event *event = libmpv().mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void MpvPlayer::handleEvent(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE:
        handleProperty(*static_cast<mpv_event_property *>(event.data));
        break;
    case MPV_EVENT_FILE_LOADED:
        m_loaded = true;
        m_time = readTimePos();
        if (!m_subtitleFile.isEmpty())
            showSubtitleFile(m_subtitleFile);
        if (m_seek)
            sendSeek(*m_seek);
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<mpv_event_end_file *>(event.data);
        if (end->reason == MPV_END_FILE_REASON_ERROR)
            fail(reason(end->error));
        break;
    }
    case MPV_EVENT_COMMAND_REPLY:
        if (m_seek && m_seek->id != 0 && event.reply_userdata == m_seek->id) {
            if (event.error < 0)
                endSeek(false);
            else
                m_seek->accepted = true;
        }
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        handlePlaybackRestart();
        break;
    default:
        break;
    }
}

void MpvPlayer::handleProperty(const mpv_event_property &property)
{
    const QByteArray name(property.name);
    const bool isDouble = property.format == MPV_FORMAT_DOUBLE;
    if (name == "time-pos" && isDouble) {
        const double time = *static_cast<double *>(property.data);
        // The times mpv passes on its way to a target mean nothing; backwards play takes
        // its times from the landings of its seeks, as late reports would run it to and fro.
        if (m_seek || m_rate < 0)
            return;
        if (m_stepTarget) {
            m_stepTarget.reset();
            m_time = time;
            notifyPeriodicObservers();
        } else if (m_rate > 0) {
            moveTime(time, true);
        } else {
            m_time = readTimePos(); // a report that left before the last landing may come late
        }
    } else if (name == "duration" && isDouble) {
        const double duration = *static_cast<double *>(property.data);
        if (duration > 0 && duration != m_duration) {
            m_duration = duration;
            emit durationChanged(duration);
        }
    } else if (name == "container-fps" && isDouble) {
        const double frameRate = *static_cast<double *>(property.data);
        if (std::isfinite(frameRate) && frameRate > 0 && frameRate != m_frameRate) {
            m_frameRate = frameRate;
            emit frameRateChanged(frameRate);
        }
    } else if ((name == "dwidth" || name == "dheight") && property.format == MPV_FORMAT_INT64) {
        const double value = double(*static_cast<int64_t *>(property.data));
        if (name == "dwidth")
            m_videoSize.setWidth(value);
        else
            m_videoSize.setHeight(value);
        emit videoRectChanged();
    } else if (name == "pause" && property.format == MPV_FORMAT_FLAG) {
        handlePauseChanged();
    }
}

void MpvPlayer::handlePauseChanged()
{
    // Our own pause and play requests come back here late; only a pause that mpv made on
    // its own while we play forwards (the end of the file) changes the rate. A frame step
    // unpauses mpv for one frame, which is no start of playback.
    int paused = 0;
    libmpv().mpv_get_property(m_mpv, "pause", MPV_FORMAT_FLAG, &paused);
    if (!paused || m_rate <= 0 || m_stepTarget)
        return;
    m_rate = 0;
    emit rateChanged(0);
    updateTimers();
    notifyPeriodicObservers();
}

void MpvPlayer::handlePlaybackRestart()
{
    if (m_seek && !m_seek->accepted)
        return; // an older seek ended; the newest one is still to come
    const double time = readTimePos();
    if (m_seek && m_seek->continuous) {
        moveTime(time, true);
        endSeek(true);
        return;
    }
    m_time = time;
    notifyPeriodicObservers();
    if (m_seek)
        endSeek(true);
}

void MpvPlayer::fail(const QString &message)
{
    if (m_failed)
        return;
    m_failed = true;
    m_loaded = false;
    m_rate = 0;
    m_backwardsTimer.stop();
    updateTimers();
    if (m_seek)
        endSeek(false);
    emit failed(message);
}

void MpvPlayer::startSeek(double seconds, std::function<void(bool)> completion, bool continuous)
{
    if (m_seek) {
        // Interrupted by this one.
        std::function<void(bool)> previous = std::move(m_seek->completion);
        m_seek.reset();
        if (previous)
            QMetaObject::invokeMethod(this, [previous] { previous(false); }, Qt::QueuedConnection);
    }
    m_stepTarget.reset();
    m_seek = PendingSeek{std::max(0.0, seconds), std::move(completion), continuous};
    if (m_loaded)
        sendSeek(*m_seek);
}

void MpvPlayer::sendSeek(PendingSeek &seek)
{
    seek.id = m_nextRequestId++;
    const QByteArray target = QByteArray::number(seek.target, 'f', 9);
    const char *args[]{"seek", target.constData(), "absolute+exact", nullptr};
    libmpv().mpv_command_async(m_mpv, seek.id, args);
}

void MpvPlayer::endSeek(bool finished)
{
    std::function<void(bool)> completion = std::move(m_seek->completion);
    m_seek.reset();
    if (completion)
        completion(finished);
}

void MpvPlayer::moveTime(double time, bool continuous)
{
    const double previous = m_time;
    m_time = time;
    if (!continuous || time == previous)
        return;
    const double low = std::min(previous, time);
    const double high = std::max(previous, time);
    const bool forwards = time > previous;
    QList<ObserverToken> crossed;
    for (const auto &[token, observer] : m_boundaryObservers) {
        for (double boundary : observer.times) {
            // Crossing forwards reaches a boundary on arrival; backwards on leaving it.
            if (forwards ? (boundary > low && boundary <= high) : (boundary >= low && boundary < high)) {
                crossed.append(token);
                break;
            }
        }
    }
    for (ObserverToken token : crossed) {
        if (auto it = m_boundaryObservers.find(token); it != m_boundaryObservers.end())
            it->second.callback();
    }
}

void MpvPlayer::notifyPeriodicObservers()
{
    QList<ObserverToken> tokens;
    for (const auto &entry : m_periodicObservers)
        tokens.append(entry.first);
    for (ObserverToken token : tokens) {
        if (auto it = m_periodicObservers.find(token); it != m_periodicObservers.end())
            it->second.callback(m_time);
    }
}

void MpvPlayer::updateTimers()
{
    for (auto &entry : m_periodicObservers) {
        if (m_rate != 0)
            entry.second.timer->start();
        else
            entry.second.timer->stop();
    }
}

void MpvPlayer::stepBackwardsPlayback()
{
    if (m_seek || !m_loaded)
        return; // the picture has not caught up yet; the next tick covers the time lost
    if (m_time <= 0) {
        setRate(0);
        return;
    }
    const double elapsed = m_backwardsClock.restart() / 1000.0;
    startSeek(std::max(0.0, m_time + m_rate * elapsed), {}, true);
}

double MpvPlayer::readTimePos() const
{
    double time = m_time;
    if (libmpv().mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &time) < 0)
        return m_time;
    return time;
}

void MpvPlayer::showSubtitleFile(const QString &path)
{
    if (m_subtitleFileAdded) {
        command({"sub-remove"});
        m_subtitleFileAdded = false;
    }
    m_subtitleFile = path;
    if (path.isEmpty() || !m_loaded)
        return;
    const QByteArray name = QFile::encodeName(path);
    command({"sub-add", name.constData(), "select"});
    m_subtitleFileAdded = true;
}

void MpvPlayer::reloadSubtitleFile()
{
    if (m_subtitleFileAdded)
        command({"sub-reload"});
}

void MpvPlayer::command(std::initializer_list<const char *> args)
{
    QList<const char *> list(args);
    list.append(nullptr);
    libmpv().mpv_command_async(m_mpv, 0, list.data());
}

void MpvPlayer::setFlag(const char *name, bool value)
{
    int flag = value ? 1 : 0;
    libmpv().mpv_set_property(m_mpv, name, MPV_FORMAT_FLAG, &flag);
}
