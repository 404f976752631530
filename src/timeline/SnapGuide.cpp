#include "timeline/SnapGuide.h"

namespace {
constexpr int shownMilliseconds = 400;
} // namespace

SnapGuide::SnapGuide(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(shownMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &SnapGuide::hide);
}

void SnapGuide::show(double time)
{
    m_time = time;
    m_timer.start();
    emit changed();
}

void SnapGuide::hide()
{
    if (!m_time)
        return;
    m_time.reset();
    emit changed();
}

std::optional<double> SnapGuide::time() const
{
    return m_time;
}
