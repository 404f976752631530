#include "system/RegularFileCheck.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QPromise>

#include <thread>

RegularFileCheck::RegularFileCheck(QObject *receiver)
    : m_receiver(receiver)
{
}

void RegularFileCheck::check(const QString &path, std::function<void(bool)> then)
{
    if (!m_receiver)
        return;
    const int request = ++*m_request;
    QPromise<bool> promise;
    QFuture<bool> future = promise.future();
    std::thread([promise = std::move(promise), path]() mutable {
        promise.start();
        promise.addResult(QFileInfo(path).isFile());
        promise.finish();
    }).detach();
    auto *watcher = new QFutureWatcher<bool>(m_receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, m_receiver,
                     [watcher, request, current = std::weak_ptr<int>(m_request), then = std::move(then)] {
                         watcher->deleteLater();
                         const std::shared_ptr<int> latest = current.lock();
                         if (latest && *latest == request)
                             then(watcher->result());
                     });
    watcher->setFuture(future);
}
