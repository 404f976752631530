#include "panels/TimecodeOffsetDialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

TimecodeOffsetDialog::TimecodeOffsetDialog(Document *document, QWidget *parent)
    : TimingDialog(document, tr("Timecode Offset"), parent)
    , m_offset(new QLineEdit(this))
{
    m_offset->setText(fromZero().format(document->timecodeOffset()));
    auto *hint = new QLabel(tr("The time the video's first frame shows, as 10:00:00:00 for many films. "
                               "Times are shown and typed with it added; the subtitle file still counts from zero."),
                            this);
    hint->setWordWrap(true);
    form()->addRow(hint);
    auto *label = new QLabel(tr("Video &starts at:"), this);
    label->setBuddy(m_offset);
    form()->addRow(label, m_offset);
    m_offset->setFocus();
    m_offset->selectAll();
    resize(420, sizeHint().height());
}

TimeDisplay TimecodeOffsetDialog::fromZero() const
{
    const TimeDisplay display = document()->timeDisplay();
    return TimeDisplay(display.chosenForm(), display.frameRate());
}

bool TimecodeOffsetDialog::apply()
{
    const auto offset = fromZero().parse(m_offset->text());
    if (!offset) {
        showError(offset.error());
        m_offset->setFocus();
        return false;
    }
    document()->setTimecodeOffset(offset.value());
    return true;
}
