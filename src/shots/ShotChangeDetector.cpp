#include "shots/ShotChangeDetector.h"

#include "shots/ShotChangeScanner.h"
#include "decoding/MediaCache.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>

#include <sys/resource.h>

ShotChangeDetector::ShotChangeDetector(QObject *parent)
    : ShotChangeDetector(MediaCache::userCache(QStringLiteral("shotchanges")), parent)
{
}

ShotChangeDetector::ShotChangeDetector(std::shared_ptr<MediaCache> cache, QObject *parent)
    : QObject(parent)
    , m_cache(std::move(cache))
{
}

ShotChangeDetector::~ShotChangeDetector()
{
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
}

void ShotChangeDetector::start(const QString &path, double focusTime)
{
    if (m_worker.joinable())
        return;
    m_focusTime.store(focusTime);
    m_worker = std::jthread([this, path](std::stop_token stop) { run(stop, path); });
}

void ShotChangeDetector::storeInCache(const ShotChanges &shotChanges)
{
    {
        std::lock_guard lock(m_storeMutex);
        m_pendingStore = shotChanges;
    }
    m_storeWanted.notify_one();
}

std::optional<int> ShotChangeDetector::nearestPart(const QList<bool> &done, double focusTime)
{
    std::optional<int> best;
    double bestDistance = 0;
    for (int part = 0; part < done.size(); ++part) {
        if (done[part])
            continue;
        const double start = part * PartLength;
        const double distance = std::max({0.0, start - focusTime, focusTime - (start + PartLength)});
        if (!best || distance < bestDistance) {
            best = part;
            bestDistance = distance;
        }
    }
    return best;
}

void ShotChangeDetector::run(std::stop_token stop, const QString &path)
{
    // Playback keeps its core: this thread yields to it.
    ::setpriority(PRIO_PROCESS, 0, 10);
    auto post = [this](auto call) { QMetaObject::invokeMethod(this, call, Qt::QueuedConnection); };

    if (const auto cached = m_cache ? m_cache->find(path, CacheKey) : std::nullopt) {
        post([this, times = cached->samples] {
            emit found(times);
            emit progress(1);
            emit finished(true);
        });
        serveStores(stop, path);
        return;
    }
    auto opened = ShotChangeScanner::open(path);
    if (!opened) {
        post([this, message = opened.error()] {
            emit failed(message);
            emit finished(false);
        });
        serveStores(stop, path);
        return;
    }
    ShotChangeScanner &scanner = *opened.value();
    scanner.setThreadCount(1);
    QList<double> all;
    const bool complete = scan(stop, scanner, all);
    if (stop.stop_requested())
        return;
    if (complete && m_cache) {
        std::sort(all.begin(), all.end());
        m_cache->store(path, CacheKey, MediaCache::Series{all, 1, int(all.size())});
    }
    post([this, complete, error = scanner.errorString()] {
        if (!complete && !error.isEmpty())
            emit failed(error);
        emit finished(complete);
    });
    serveStores(stop, path);
}

bool ShotChangeDetector::scan(std::stop_token stop, ShotChangeScanner &scanner, QList<double> &all)
{
    auto post = [this](auto call) { QMetaObject::invokeMethod(this, call, Qt::QueuedConnection); };
    const double duration = scanner.duration();
    // Without a known length the film is read in one go, from its start.
    const int parts = duration > 0 ? int(std::ceil(duration / PartLength)) : 1;
    QList<bool> done(parts, false);
    int scanned = 0;
    while (const std::optional<int> part = nearestPart(done, m_focusTime.load())) {
        const double start = *part * PartLength;
        const double end = duration > 0 && *part == parts - 1 ? INFINITY : start + PartLength;
        const QList<double> times = scanner.scan(start, duration > 0 ? end : INFINITY, stop);
        if (stop.stop_requested() || !scanner.errorString().isEmpty())
            return false;
        done[*part] = true;
        all += times;
        ++scanned;
        post([this, times, fraction = double(scanned) / parts] {
            if (!times.isEmpty())
                emit found(times);
            emit progress(fraction);
        });
    }
    return true;
}

void ShotChangeDetector::serveStores(std::stop_token stop, const QString &path)
{
    while (!stop.stop_requested()) {
        std::unique_lock lock(m_storeMutex);
        if (!m_storeWanted.wait(lock, stop, [this] { return m_pendingStore.has_value(); }))
            return;
        const ShotChanges shotChanges = *std::exchange(m_pendingStore, std::nullopt);
        lock.unlock();
        if (m_cache) {
            const std::vector<double> &times = shotChanges.times();
            m_cache->store(path, CacheKey, MediaCache::Series{QList<double>(times.cbegin(), times.cend()), 1,
                                                              int(times.size())});
        }
    }
}
