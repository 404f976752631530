#pragma once

#include "model/timing/SpeechSnapSettings.h"

#include <QWidget>

class QDoubleSpinBox;
class QSpinBox;

// The Preferences page of how subtitle edges are moved to speech.
class SpeechSnapPage : public QWidget
{
    Q_OBJECT

public:
    explicit SpeechSnapPage(QWidget *parent = nullptr);

    SpeechSnapSettings settings() const;
    void setSettings(const SpeechSnapSettings &settings);
    // Stores the shown settings, which the next snapping goes by.
    void apply();

private:
    QSpinBox *m_leadOutFrames = nullptr;
    QDoubleSpinBox *m_searchWindow = nullptr;
};
