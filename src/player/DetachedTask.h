#pragma once

#include <QFileInfo>
#include <QFuture>
#include <QPromise>
#include <QString>

#include <thread>

// Looks at a file on a thread of its own, never on the GUI thread and never in a pool
// that the program waits for when it quits: a stat on a stalled network mount may block
// for good and cannot be cancelled, so this one thread is left to it rather than joined.
// It is safe to abandon because it touches nothing its caller owns: it holds a copy of
// the path and the promise of a bool, both its own, and ends with them. Watch the future
// with a QFutureWatcher owned by the receiver: when the receiver is gone first, the
// answer is simply dropped.
class DetachedTask
{
public:
    static QFuture<bool> isRegularFile(const QString &path)
    {
        QPromise<bool> promise;
        QFuture<bool> future = promise.future();
        std::thread([promise = std::move(promise), path]() mutable {
            promise.start();
            promise.addResult(QFileInfo(path).isFile());
            promise.finish();
        }).detach();
        return future;
    }
};
