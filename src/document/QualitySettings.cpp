#include "document/QualitySettings.h"

#include <QCoreApplication>
#include <QSettings>

QualitySettings::QualitySettings()
    : QObject(QCoreApplication::instance())
    , m_limits(QualityLimits::load(QSettings()))
{
}

QualitySettings *QualitySettings::shared()
{
    static QualitySettings *instance = new QualitySettings;
    return instance;
}

void QualitySettings::setLimits(const QualityLimits &limits)
{
    const QualityLimits clamped = limits.clamped();
    if (clamped == m_limits)
        return;
    m_limits = clamped;
    QSettings settings;
    m_limits.save(settings);
    emit limitsChanged(m_limits);
}
