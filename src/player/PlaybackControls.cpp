#include "player/PlaybackControls.h"


#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace {

QToolButton *makeButton(QWidget *parent, QStyle::StandardPixmap icon, const QString &name, const QString &toolTip)
{
    auto *button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAccessibleName(name);
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    // Reached with Tab, as every control is; a click leaves the keys with the pane or the
    // subtitle list that had them.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

PlaybackControls::PlaybackControls(QWidget *parent)
    : QWidget(parent)
    , m_stepBackward(makeButton(this, QStyle::SP_MediaSeekBackward, tr("Previous frame"), tr("Previous frame (Left)")))
    , m_playPause(makeButton(this, QStyle::SP_MediaPlay, tr("Play"), tr("Play (Space)")))
    , m_stepForward(makeButton(this, QStyle::SP_MediaSeekForward, tr("Next frame"), tr("Next frame (Right)")))
    , m_time(new QLabel(this))
    , m_rate(new QLabel(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_stepBackward);
    layout->addWidget(m_playPause);
    layout->addWidget(m_stepForward);
    layout->addSpacing(8);
    layout->addWidget(m_time);
    layout->addStretch();
    layout->addWidget(m_rate);
    m_time->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_time->setAccessibleDescription(tr("Playback position"));
    m_rate->setAccessibleDescription(tr("Playback speed"));
    connect(m_playPause, &QToolButton::clicked, this, &PlaybackControls::playPauseClicked);
    connect(m_stepBackward, &QToolButton::clicked, this, &PlaybackControls::stepBackwardClicked);
    connect(m_stepForward, &QToolButton::clicked, this, &PlaybackControls::stepForwardClicked);
    setTimes(0, std::nullopt);
    setRate(0);
}

void PlaybackControls::placeInTabOrderAfter(QWidget *previous)
{
    QWidget::setTabOrder(previous, m_stepBackward);
    QWidget::setTabOrder(m_stepBackward, m_playPause);
    QWidget::setTabOrder(m_playPause, m_stepForward);
}

void PlaybackControls::setRate(double rate, double speed)
{
    const bool playing = rate != 0;
    m_playPause->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_playPause->setToolTip(playing ? tr("Pause (Space)") : tr("Play (Space)"));
    m_playPause->setAccessibleName(playing ? tr("Pause") : tr("Play"));
    // 1× forwards is plain playing and needs no saying. Rates are products of steps: three
    // digits say them all without a float's tail.
    if (rate == 0 && speed != 1)
        m_rate->setText(tr("%1×").arg(speed, 0, 'g', 3));
    else if (rate == 0 || rate == 1)
        m_rate->clear();
    else if (rate < 0)
        m_rate->setText(tr("◀ %1×").arg(-rate, 0, 'g', 3));
    else
        m_rate->setText(tr("%1× ▶").arg(rate, 0, 'g', 3));
}

void PlaybackControls::setTimes(double current, std::optional<double> duration)
{
    m_current = current;
    m_duration = duration;
    const QString text = duration ? tr("%1 / %2").arg(m_display.format(current), m_display.format(*duration))
                                  : m_display.format(current);
    if (text != m_time->text())
        m_time->setText(text);
}

void PlaybackControls::setTimeDisplay(const TimeDisplay &display)
{
    m_display = display;
    m_time->setToolTip(display.fallbackNote());
    setTimes(m_current, m_duration);
}

QString PlaybackControls::rateText() const
{
    return m_rate->text();
}

QString PlaybackControls::timeText() const
{
    return m_time->text();
}
