#pragma once

#include <QFuture>
#include <QPromise>

#include <functional>
#include <thread>

// Runs work that may block for good (a stat or an open on a stalled network mount, a
// FIFO) on a thread of its own, never on the GUI thread and never in a pool that the
// program waits for when it quits. Watch the future with a QFutureWatcher owned by the
// receiver: when the receiver is gone first, the result is simply dropped.
class DetachedTask
{
public:
    template <typename T>
    static QFuture<T> run(std::function<T()> work)
    {
        QPromise<T> promise;
        QFuture<T> future = promise.future();
        std::thread([promise = std::move(promise), work = std::move(work)]() mutable {
            promise.start();
            promise.addResult(work());
            promise.finish();
        }).detach();
        return future;
    }
};
