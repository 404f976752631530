#pragma once

#include "panels/TimingDialog.h"

// View ▸ Timecode Offset: the time the video's first frame shows as, such as
// 10:00:00:00, typed in any form. Times in the panes are shown and typed with it added;
// the subtitle file keeps counting from zero.
class TimecodeOffsetDialog : public TimingDialog
{
    Q_OBJECT

public:
    TimecodeOffsetDialog(Document *document, QWidget *parent = nullptr);

    QLineEdit *offsetField() const { return m_offset; }

protected:
    bool apply() override;

private:
    // The document's form without an offset: the offset is typed from zero.
    TimeDisplay fromZero() const;

    QLineEdit *m_offset;
};
