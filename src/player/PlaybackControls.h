#pragma once

#include "format/TimeDisplay.h"

#include <QWidget>

#include <optional>

class QLabel;
class QToolButton;

// The strip under the picture: step back, play/pause, step forward, and where playback is.
class PlaybackControls : public QWidget
{
    Q_OBJECT

public:
    explicit PlaybackControls(QWidget *parent = nullptr);

    // rate as the player reports it: 0 paused, negative backwards; speed, the one chosen
    // for playing. Paused, a speed other than 1 is shown, so that the next play is no surprise.
    void setRate(double rate, double speed = 1);
    QString rateText() const;
    void setTimes(double current, std::optional<double> duration);
    // The form of the times; shows them again in it.
    void setTimeDisplay(const TimeDisplay &display);
    QString timeText() const;
    // The buttons come after `previous` when Tab is pressed, in the order they stand.
    void placeInTabOrderAfter(QWidget *previous);

signals:
    void playPauseClicked();
    void stepBackwardClicked();
    void stepForwardClicked();

private:
    QToolButton *m_stepBackward;
    QToolButton *m_playPause;
    QToolButton *m_stepForward;
    QLabel *m_time;
    QLabel *m_rate;
    TimeDisplay m_display;
    double m_current = 0;
    std::optional<double> m_duration;
};
