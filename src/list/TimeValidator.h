#pragma once

#include <QValidator>

// Accepts the text form of a time as the subtitle file writes it. Anything else is
// Intermediate rather than Invalid, so that no keystroke is blocked while typing;
// problem() tells the user what is wrong.
class TimeValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;
    // Why `text` is not a time, translated; empty when it is one.
    static QString problem(const QString &text);
};
