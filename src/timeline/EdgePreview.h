#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class Player;

// Plays the half second around a subtitle edge while it is dragged, so that the edge can be
// put by ear where a word begins or ends: once the edge rests for a moment, from a quarter
// second before it to a quarter second after; again each time it comes to rest somewhere
// else; silent the moment the drag ends. Only a paused player is played: over playing
// sound the preview could not be heard apart.
class EdgePreview : public QObject
{
    Q_OBJECT

public:
    static constexpr double reach = 0.25;
    static constexpr int restMilliseconds = 80;

    explicit EdgePreview(QObject *parent = nullptr);

    void begin(Player *player);
    void edgeMoved(double time);
    void end();

private:
    void play();

    QPointer<Player> m_player;
    QTimer m_rest;
    std::optional<double> m_edge;
    bool m_playing = false;
};
