#include "FakePlayer.h"

#include <QTimer>

#include <cmath>
#include <utility>

FakePlayer::~FakePlayer()
{
    if (m_pendingCompletion)
        m_pendingCompletion(false);
}

void FakePlayer::setRate(double rate)
{
    if (rate == m_rate)
        return;
    m_rate = rate;
    emit rateChanged(rate);
    notifyPeriodicObservers();
}

void FakePlayer::seek(double seconds, std::function<void(bool)> completion)
{
    m_seeks.append(seconds);
    if (m_pendingCompletion)
        std::exchange(m_pendingCompletion, {})(false);
    jumpTo(seconds);
    m_pendingCompletion = completion ? std::move(completion) : [](bool) {};
    QTimer::singleShot(0, this, [this] {
        if (m_pendingCompletion)
            std::exchange(m_pendingCompletion, {})(true);
    });
}

void FakePlayer::stepByCount(int count)
{
    m_rate = 0;
    jumpTo(std::max(0.0, m_time + count / m_frameRate));
}

Player::ObserverToken FakePlayer::addPeriodicTimeObserver(double interval, std::function<void(double)> callback)
{
    const ObserverToken token = m_nextToken++;
    m_periodic.emplace(token, Periodic{interval, 0, std::move(callback)});
    return token;
}

Player::ObserverToken FakePlayer::addBoundaryTimeObserver(const QList<double> &times, std::function<void()> callback)
{
    const ObserverToken token = m_nextToken++;
    m_boundaries.emplace(token, std::make_pair(times, std::move(callback)));
    return token;
}

void FakePlayer::removeTimeObserver(ObserverToken token)
{
    m_periodic.erase(token);
    m_boundaries.erase(token);
}

void FakePlayer::advance(double seconds)
{
    const double from = m_time;
    m_time += seconds * m_rate;
    const double low = std::min(from, m_time);
    const double high = std::max(from, m_time);
    QList<std::function<void()>> crossed;
    for (const auto &entry : m_boundaries) {
        for (double boundary : entry.second.first) {
            if (boundary > low && boundary <= high) {
                crossed.append(entry.second.second);
                break;
            }
        }
    }
    for (const auto &callback : crossed)
        callback();
    QList<std::function<void(double)>> due;
    for (auto &entry : m_periodic) {
        entry.second.elapsed += seconds;
        if (entry.second.elapsed >= entry.second.interval) {
            entry.second.elapsed = std::fmod(entry.second.elapsed, entry.second.interval);
            due.append(entry.second.callback);
        }
    }
    for (const auto &callback : due)
        callback(m_time);
}

void FakePlayer::notifyPeriodicObservers()
{
    QList<std::function<void(double)>> callbacks;
    for (const auto &entry : m_periodic)
        callbacks.append(entry.second.callback);
    for (const auto &callback : callbacks)
        callback(m_time);
}
