#pragma once

#include <QPointer>

class Document;
class Player;

// The playback keys of the list: Space plays or pauses; J, K, L shuttle as in a video
// editor; the arrows step one frame.
//
// L plays forward and doubles the speed on each further press, up to 4x. K pauses.
// The player cannot play backwards, so J first slows a fast forward play down
// (4x, 2x, 1x) and otherwise jumps back one second, keeping playing or paused as it
// was. With K held, J and L step one frame back or forward.
class PlaybackKeyHandler
{
public:
    static constexpr double maximumRate = 4.0;
    static constexpr double jumpBackSeconds = 1.0;

    explicit PlaybackKeyHandler(Document *document);

    // Keys without a player are swallowed: they never move through the table.
    void keyPressed(int key, bool autoRepeat);
    void keyReleased(int key, bool autoRepeat);

private:
    static void step(Player &player, int count);

    QPointer<Document> m_document;
    bool m_isKHeld = false;
};
