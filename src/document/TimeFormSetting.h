#pragma once

#include "format/TimeDisplay.h"

#include <QObject>

// The form every window shows times in: read from the settings once, written back and
// announced when the user picks another, so that all open documents change at once.
class TimeFormSetting : public QObject
{
    Q_OBJECT

public:
    static TimeFormSetting *shared();

    TimeForm form() const { return m_form; }
    void setForm(TimeForm form);

signals:
    void formChanged(TimeForm form);

private:
    TimeFormSetting();

    TimeForm m_form;
};
