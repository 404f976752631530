#include "timeline/EdgePreview.h"

#include "document/Player.h"

#include <algorithm>
#include <utility>

EdgePreview::EdgePreview(QObject *parent)
    : QObject(parent)
{
    m_rest.setSingleShot(true);
    m_rest.setInterval(restMilliseconds);
    connect(&m_rest, &QTimer::timeout, this, &EdgePreview::play);
}

void EdgePreview::begin(Player *player)
{
    end();
    m_player = player && player->rate() == 0 ? player : nullptr;
}

void EdgePreview::edgeMoved(double time)
{
    if (!m_player || time == m_edge)
        return;
    m_edge = time;
    m_rest.start();
}

void EdgePreview::end()
{
    m_rest.stop();
    m_edge.reset();
    if (m_player && std::exchange(m_playing, false))
        m_player->stopGrain();
    m_player = nullptr;
}

void EdgePreview::play()
{
    if (!m_player || !m_edge)
        return;
    const double from = std::max(0.0, *m_edge - reach);
    m_player->playGrain(from, *m_edge + reach - from);
    m_playing = true;
}
