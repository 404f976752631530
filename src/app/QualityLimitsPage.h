#pragma once

#include "model/QualityLimits.h"

#include <QWidget>

class QDoubleSpinBox;
class QSpinBox;

// The Preferences page of the limits that subtitles are checked against.
class QualityLimitsPage : public QWidget
{
    Q_OBJECT

public:
    explicit QualityLimitsPage(QWidget *parent = nullptr);

    QualityLimits limits() const;
    void setLimits(const QualityLimits &limits);
    // Stores the shown limits for every document.
    void apply();

private:
    QDoubleSpinBox *m_maxCharactersPerSecond = nullptr;
    QDoubleSpinBox *m_minDuration = nullptr;
    QDoubleSpinBox *m_maxDuration = nullptr;
    QSpinBox *m_maxLineLength = nullptr;
    QSpinBox *m_maxLines = nullptr;
    QSpinBox *m_minGapFrames = nullptr;
    QSpinBox *m_shotChangeZoneFrames = nullptr;
    QSpinBox *m_endBeforeShotChangeFrames = nullptr;
};
