#pragma once

#include <QString>
#include <QThread>

#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

// The threads an object starts for its background work, owned by it: each named for the
// debugger, each handed a stop token, and all stopped and joined when the owner goes (a
// reading stops at its next packet; a store that began is completed). Declare it after
// everything the work uses, so that it goes first.
class WorkerThreads
{
public:
    explicit WorkerThreads(QString name)
        : m_name(std::move(name))
    {
    }
    ~WorkerThreads() { stopAndJoin(); }
    WorkerThreads(const WorkerThreads &) = delete;
    WorkerThreads &operator=(const WorkerThreads &) = delete;

    template <typename Work>
    void start(Work work)
    {
        m_threads.emplace_back([work = std::move(work), token = m_stop.get_token(), name = m_name]() mutable {
            QThread::currentThread()->setObjectName(name);
            work(token);
        });
    }

    void stopAndJoin()
    {
        m_stop.request_stop();
        m_threads.clear();
    }

private:
    QString m_name;
    // Before the threads, which use it until they are joined.
    std::stop_source m_stop;
    std::vector<std::jthread> m_threads;
};
