#pragma once

#include "format/TimeDisplay.h"

#include <QValidator>

// Accepts a time in any form the display reads. Anything else is Intermediate rather
// than Invalid, so that no keystroke is blocked while typing; problem() tells the user
// what is wrong.
class TimeValidator : public QValidator
{
    Q_OBJECT

public:
    explicit TimeValidator(const TimeDisplay &display, QObject *parent = nullptr);

    State validate(QString &input, int &position) const override;
    // Why `text` is not a time, translated; empty when it is one.
    QString problem(const QString &text) const;

private:
    TimeDisplay m_display;
};
