#pragma once

#include "panels/TimingDialog.h"

class QSpinBox;

// Edit ▸ Synchronise by Two Points: the user gives two subtitles their correct start
// times, and every time moves along the straight line through the two corrections.
class SynchronizeDialog : public TimingDialog
{
    Q_OBJECT

public:
    SynchronizeDialog(Document *document, QWidget *parent = nullptr);

    QSpinBox *firstNumber() const { return m_firstNumber; }
    QSpinBox *secondNumber() const { return m_secondNumber; }
    QLineEdit *firstTime() const { return m_firstTime; }
    QLineEdit *secondTime() const { return m_secondTime; }

protected:
    bool apply() override;

private:
    QSpinBox *addNumberRow(const QString &label, int number);

    QSpinBox *m_firstNumber;
    QLineEdit *m_firstTime;
    QSpinBox *m_secondNumber;
    QLineEdit *m_secondTime;
};
