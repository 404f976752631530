#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

// Looks at a file on a thread of its own, never on the GUI thread and never in a pool that
// the program waits for when it quits: a stat on a stalled network mount may block for good
// and cannot be cancelled, so that one thread is left to it rather than joined. It touches
// nothing its caller owns (it holds a copy of the path and its answer), so it is safe to
// abandon. The answer comes on the receiver's thread, only while the receiver lives and no
// later check of the same checker, nor cancel(), has taken its place.
class RegularFileCheck
{
public:
    explicit RegularFileCheck(QObject *receiver);

    // Calls then(isRegularFile) later, from the receiver's event loop.
    void check(const QString &path, std::function<void(bool isRegularFile)> then);
    // Drops the answer of the check under way.
    void cancel() { ++*m_request; }

private:
    QPointer<QObject> m_receiver;
    std::shared_ptr<int> m_request = std::make_shared<int>(0);
};
