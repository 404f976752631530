#pragma once

#include "panels/TimingDialog.h"

class QRadioButton;

// Edit ▸ Shift Times: moves the selected subtitles, the selected one and all after it, or
// all of them, by a signed offset, or so that the first selected one starts at the
// playback position.
class ShiftTimesDialog : public TimingDialog
{
    Q_OBJECT

public:
    enum class Scope { Selected, SelectedAndAfter, All };

    ShiftTimesDialog(Document *document, QWidget *parent = nullptr);

    QLineEdit *offsetField() const { return m_offset; }
    void setScope(Scope scope);

protected:
    bool apply() override;

private:
    QLineEdit *m_offset;
    QRadioButton *m_selected;
    QRadioButton *m_selectedAndAfter;
    QRadioButton *m_all;
};
