#pragma once

#include "model/ShotChanges.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

class MediaCache;
class ShotChangeScanner;

// Finds a video's shot changes in the background, nearest the playback cursor first: the
// film is scanned in parts, always the part nearest the focus time next. A list kept in
// the cache comes back at once, in one batch; a finished scan is kept there. Lives on the
// GUI thread and signals there; its one worker (low priority, one decoding thread, so a
// core stays free for playback) is stopped and joined when it goes.
class ShotChangeDetector : public QObject
{
    Q_OBJECT

public:
    // Seconds of film in each part scanned.
    static constexpr double PartLength = 30;
    // Tells the cache's entries of shot changes apart from older ways of finding them.
    static constexpr int CacheKey = 1;

    // Keeps its lists in the user's cache.
    explicit ShotChangeDetector(QObject *parent = nullptr);
    // Keeps them in `cache`; nullptr keeps nothing.
    ShotChangeDetector(std::shared_ptr<MediaCache> cache, QObject *parent = nullptr);
    ~ShotChangeDetector() override;

    // Starts the work for one video; a detector finds the shot changes of one video once.
    void start(const QString &path, double focusTime);
    void setFocusTime(double seconds) { m_focusTime.store(seconds); }
    // Keeps the list (with the user's own additions and removals) in the cache for the
    // video, on the worker.
    void storeInCache(const ShotChanges &shotChanges);

signals:
    // Shot changes of a part just scanned (or all of them, from the cache).
    void found(const QList<double> &times);
    // The share of the film scanned so far.
    void progress(double fraction);
    // Once: complete is false when the video could not be scanned to its end.
    void finished(bool complete);
    // Why the video cannot be scanned, for the user.
    void failed(const QString &message);

private:
    // The part not yet done nearest the focus: the one holding it, then the nearest left.
    static std::optional<int> nearestPart(const QList<bool> &done, double focusTime);
    void run(std::stop_token stop, const QString &path);
    bool scan(std::stop_token stop, ShotChangeScanner &scanner, QList<double> &all);
    void serveStores(std::stop_token stop, const QString &path);

    std::shared_ptr<MediaCache> m_cache;
    std::atomic<double> m_focusTime{0};
    std::mutex m_storeMutex;
    std::condition_variable_any m_storeWanted;
    std::optional<ShotChanges> m_pendingStore;
    std::jthread m_worker;
};
