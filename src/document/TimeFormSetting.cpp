#include "document/TimeFormSetting.h"

#include "document/Preferences.h"

#include <QCoreApplication>

TimeFormSetting::TimeFormSetting()
    : QObject(QCoreApplication::instance())
    , m_form(Preferences::timeForm())
{
}

TimeFormSetting *TimeFormSetting::shared()
{
    static TimeFormSetting *instance = new TimeFormSetting;
    return instance;
}

void TimeFormSetting::setForm(TimeForm form)
{
    if (form == m_form)
        return;
    m_form = form;
    Preferences::setTimeForm(form);
    emit formChanged(form);
}
