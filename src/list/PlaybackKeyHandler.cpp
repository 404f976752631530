#include "list/PlaybackKeyHandler.h"

#include "app/Document.h"
#include "player/Player.h"

#include <algorithm>

PlaybackKeyHandler::PlaybackKeyHandler(Document *document)
    : m_document(document)
{
}

void PlaybackKeyHandler::keyPressed(int key, bool autoRepeat)
{
    if (key == Qt::Key_K && !autoRepeat)
        m_isKHeld = true;
    Player *player = m_document ? m_document->player() : nullptr;
    if (!player)
        return;

    switch (key) {
    case Qt::Key_Left:
        step(*player, -1);
        return;
    case Qt::Key_Right:
        step(*player, 1);
        return;
    case Qt::Key_J:
    case Qt::Key_L:
        if (m_isKHeld) {
            step(*player, key == Qt::Key_L ? 1 : -1);
            return;
        }
        break;
    default:
        break;
    }
    // A held key must not race the speed up or keep jumping.
    if (autoRepeat)
        return;

    const double rate = player->rate();
    switch (key) {
    case Qt::Key_Space:
        if (rate == 0)
            player->play();
        else
            player->pause();
        break;
    case Qt::Key_K:
        player->pause();
        break;
    case Qt::Key_L:
        if (rate <= 0)
            player->play();
        else
            player->setRate(std::min(rate * 2, maximumRate));
        break;
    case Qt::Key_J:
        if (rate > 1)
            player->setRate(std::max(rate / 2, 1.0));
        else
            player->seek(std::max(0.0, player->currentTime() - jumpBackSeconds));
        break;
    default:
        break;
    }
}

void PlaybackKeyHandler::keyReleased(int key, bool autoRepeat)
{
    if (key == Qt::Key_K && !autoRepeat)
        m_isKHeld = false;
}

void PlaybackKeyHandler::step(Player &player, int count)
{
    if (count < 0 ? player.canStepBackward() : player.canStepForward())
        player.stepByCount(count);
}
