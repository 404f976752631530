#include "panels/ShiftTimesDialog.h"

#include "document/Document.h"
#include "format/TimeOffsetText.h"
#include "model/LinearTimeMap.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ShiftTimesDialog::ShiftTimesDialog(Document *document, QWidget *parent)
    : TimingDialog(document, tr("Shift Times"), parent)
    , m_offset(new QLineEdit(TimeOffsetText::format(0, document->timeDisplay()), this))
    , m_selected(new QRadioButton(tr("&Selected subtitles"), this))
    , m_selectedAndAfter(new QRadioButton(tr("Selected subtitle and all &after it"), this))
    , m_all(new QRadioButton(tr("A&ll subtitles"), this))
{
    m_offset->setToolTip(tr("A sign and a length of time, as +00:00:01,500, -00:00:00:06 or a number of frames "
                            "while frames are shown, or seconds, as -1.5"));
    const IndexSet &selection = document->selectedSubtitleIndexes();
    auto *toCursor = new QPushButton(tr("Start at &Playback Position"), this);
    toCursor->setAutoDefault(false);
    toCursor->setToolTip(tr("The offset that makes the first selected subtitle start at the playback position"));
    toCursor->setEnabled(playbackTime().has_value() && !selection.isEmpty());
    connect(toCursor, &QPushButton::clicked, this, [this] {
        const IndexSet &selected = this->document()->selectedSubtitleIndexes();
        const auto time = playbackTime();
        if (!time || selected.isEmpty())
            return;
        m_offset->setText(TimeOffsetText::format(*time - this->document()->subtitleController().at(selected.first())->start,
                                                 this->document()->timeDisplay()));
    });
    auto *offsetRow = new QHBoxLayout;
    offsetRow->addWidget(m_offset, 1);
    offsetRow->addWidget(toCursor);
    auto *offsetLabel = new QLabel(tr("&Offset:"), this);
    offsetLabel->setBuddy(m_offset);
    form()->addRow(offsetLabel, offsetRow);

    auto *scopes = new QVBoxLayout;
    auto *group = new QButtonGroup(this);
    for (QRadioButton *button : {m_selected, m_selectedAndAfter, m_all}) {
        group->addButton(button);
        scopes->addWidget(button);
    }
    m_selected->setEnabled(!selection.isEmpty());
    m_selectedAndAfter->setEnabled(!selection.isEmpty());
    setScope(selection.isEmpty() ? Scope::All : Scope::Selected);
    form()->addRow(tr("Move:"), scopes);
    m_offset->setFocus();
    m_offset->selectAll();
}

void ShiftTimesDialog::setScope(Scope scope)
{
    (scope == Scope::Selected ? m_selected : scope == Scope::SelectedAndAfter ? m_selectedAndAfter : m_all)
        ->setChecked(true);
}

bool ShiftTimesDialog::apply()
{
    const auto offset = TimeOffsetText::parse(m_offset->text(), document()->timeDisplay());
    if (!offset) {
        showError(tr("The offset is not a time. Write a sign and a time, as +00:00:01,500 or -00:00:00:06, "
                     "or seconds, as -1.5."));
        m_offset->setFocus();
        return false;
    }
    SubtitleController &controller = document()->subtitleController();
    const IndexSet &selection = document()->selectedSubtitleIndexes();
    IndexSet indexes;
    if (m_all->isChecked() || selection.isEmpty())
        indexes = IndexSet::fromRange(0, controller.count());
    else if (m_selectedAndAfter->isChecked())
        indexes = IndexSet::fromRange(selection.first(), controller.count() - selection.first());
    else
        indexes = selection;
    if (*offset == 0 || indexes.isEmpty())
        return true;
    document()->undoManager().runAsOneStep(tr("Shift Times"), [&] { controller.retimeSubtitles(indexes, LinearTimeMap::shift(*offset)); });
    return true;
}
