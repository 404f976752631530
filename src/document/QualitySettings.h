#pragma once

#include "model/QualityLimits.h"

#include <QObject>

// The user's quality limits, shared by every open document: read from the settings once,
// written back and announced when the user changes them.
class QualitySettings : public QObject
{
    Q_OBJECT

public:
    static QualitySettings *shared();

    QualityLimits limits() const { return m_limits; }
    void setLimits(const QualityLimits &limits);

signals:
    void limitsChanged(const QualityLimits &limits);

private:
    QualitySettings();

    QualityLimits m_limits;
};
