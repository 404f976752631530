#pragma once

#include "model/timing/TimingSettings.h"

#include <QWidget>

class QDoubleSpinBox;
class QSpinBox;

// The Preferences page of the keyboard timing commands.
class TimingPage : public QWidget
{
    Q_OBJECT

public:
    explicit TimingPage(QWidget *parent = nullptr);

    TimingSettings settings() const;
    void setSettings(const TimingSettings &settings);
    // Stores the shown settings, which the next command goes by.
    void apply();

private:
    QDoubleSpinBox *m_defaultDuration = nullptr;
    QSpinBox *m_chainThresholdFrames = nullptr;
};
