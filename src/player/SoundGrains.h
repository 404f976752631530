#pragma once

#include <QObject>
#include <QTimer>

#include <memory>

class MpvPlayer;

// Short pieces of a file's sound, one at a time, from a player of their own: a grain seeks
// exactly to its time, plays, and pauses once its length has been heard. A new grain cuts
// off the one playing; the seeks of a fast run of them are merged by mpv.
class SoundGrains : public QObject
{
    Q_OBJECT

public:
    // Opens path in voice, which should be one of the sound-only players.
    SoundGrains(std::unique_ptr<MpvPlayer> voice, const QString &path, QObject *parent = nullptr);
    ~SoundGrains() override;

    void play(double time, double duration);
    void stop();

signals:
    // The grain asked for last began to play (the seek to it landed with the sound running).
    void grainStarted(double time);

private:
    std::unique_ptr<MpvPlayer> m_voice;
    QTimer m_end;
    int m_request = 0; // the grain that may still start
};
