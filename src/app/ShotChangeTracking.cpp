#include "app/ShotChangeTracking.h"

#include "document/Document.h"
#include "document/Player.h"
#include "player/DetachedTask.h"
#include "player/VideoPlayerViewController.h"
#include "shots/ShotChangeDetector.h"

#include <QFutureWatcher>

ShotChangeTracking::ShotChangeTracking(Document *document, VideoPlayerViewController *player, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_player(player)
{
    connect(player, &VideoPlayerViewController::videoChanged, this, &ShotChangeTracking::videoChanged);
    connect(player, &VideoPlayerViewController::playbackTimeChanged, this, [this](double time) {
        if (m_detector)
            m_detector->setFocusTime(time);
    });
    // The user's additions and removals are kept with the finished list.
    connect(document, &Document::shotChangesChanged, this, [this] {
        if (m_detector && m_complete)
            m_detector->storeInCache(m_document->shotChanges());
    });
}

ShotChangeTracking::~ShotChangeTracking() = default;

void ShotChangeTracking::videoChanged(const QString &path)
{
    m_detector.reset(); // stops and joins the old video's scan
    m_complete = false;
    m_document->clearShotChanges();
    setProgress(std::nullopt);
    const int request = ++m_request;
    if (path.isEmpty())
        return;
    // Opening a FIFO, or a file on a stalled mount, would hold the worker and then the
    // window that joins it: the file is first looked at on a thread left to it.
    auto *watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path, request] {
        watcher->deleteLater();
        if (request == m_request && watcher->result())
            startDetector(path);
    });
    watcher->setFuture(DetachedTask::isRegularFile(path));
}

void ShotChangeTracking::startDetector(const QString &path)
{
    m_detector = std::make_unique<ShotChangeDetector>();
    ShotChangeDetector *detector = m_detector.get();
    connect(detector, &ShotChangeDetector::found, this, [this](const QList<double> &times) {
        m_document->addFoundShotChanges(std::vector<double>(times.cbegin(), times.cend()));
    });
    connect(detector, &ShotChangeDetector::failed, this, &ShotChangeTracking::failed);
    connect(detector, &ShotChangeDetector::progress, this, [this](double fraction) { setProgress(fraction); });
    connect(detector, &ShotChangeDetector::finished, this, [this](bool complete) {
        setProgress(std::nullopt);
        m_complete = complete;
        // What the user changed while the scan ran is kept with its list.
        if (complete && m_detector && !(m_document->shotChangeEdits() == Document::ShotChangeEdits{}))
            m_detector->storeInCache(m_document->shotChanges());
    });
    setProgress(0);
    detector->start(path, m_player && m_player->player() ? m_player->player()->currentTime() : 0);
}

void ShotChangeTracking::setProgress(std::optional<double> progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    emit progressChanged(progress);
}
