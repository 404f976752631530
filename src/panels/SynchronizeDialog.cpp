#include "panels/SynchronizeDialog.h"

#include "document/Document.h"
#include "model/LinearTimeMap.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

SynchronizeDialog::SynchronizeDialog(Document *document, QWidget *parent)
    : TimingDialog(document, tr("Synchronise by Two Points"), parent)
{
    const SubtitleController &controller = document->subtitleController();
    const IndexSet &selection = document->selectedSubtitleIndexes();
    // The two selected subtitles when there are two or more, else the first and the last.
    const int first = selection.count() >= 2 ? selection.first() : 0;
    const int second = selection.count() >= 2 ? selection.last() : std::max(controller.count() - 1, 0);

    auto *hint = new QLabel(tr("Give two subtitles, far apart, their correct start times. "
                               "Every time moves along the line through the two corrections."),
                            this);
    hint->setWordWrap(true);
    form()->addRow(hint);
    const auto startOf = [&controller](int index) {
        return index < controller.count() ? controller.at(index)->start : 0.0;
    };
    m_firstNumber = addNumberRow(tr("&First subtitle:"), first + 1);
    m_firstTime = addTimeRow(tr("starts at:"), startOf(first), tr("From &Video"), [this] { return playbackTime(); });
    m_secondNumber = addNumberRow(tr("&Second subtitle:"), second + 1);
    m_secondTime = addTimeRow(tr("starts at:"), startOf(second), tr("From V&ideo"), [this] { return playbackTime(); });
    // Heard alone, the two fields would sound alike.
    m_firstTime->setAccessibleName(tr("First subtitle starts at"));
    m_secondTime->setAccessibleName(tr("Second subtitle starts at"));

    // A new subtitle number shows that subtitle's present start.
    for (auto [number, time] : {std::pair{m_firstNumber, m_firstTime}, std::pair{m_secondNumber, m_secondTime}}) {
        connect(number, &QSpinBox::valueChanged, this, [this, time](int value) {
            const SubtitleController &subtitles = this->document()->subtitleController();
            if (value >= 1 && value <= subtitles.count())
                time->setText(timeText(subtitles.at(value - 1)->start));
        });
    }
    resize(460, sizeHint().height());
}

QSpinBox *SynchronizeDialog::addNumberRow(const QString &label, int number)
{
    auto *spin = new QSpinBox(this);
    spin->setRange(1, std::max(document()->subtitleController().count(), 1));
    spin->setValue(number);
    form()->addRow(label, spin);
    return spin;
}

bool SynchronizeDialog::apply()
{
    SubtitleController &controller = document()->subtitleController();
    if (controller.count() < 2) {
        showError(tr("Synchronising needs two subtitles."));
        return false;
    }
    const auto firstTime = readTime(m_firstTime, tr("The first start"));
    if (!firstTime)
        return false;
    const auto secondTime = readTime(m_secondTime, tr("The second start"));
    if (!secondTime)
        return false;
    const int first = m_firstNumber->value() - 1;
    const int second = m_secondNumber->value() - 1;
    const auto map = LinearTimeMap::throughTwoPoints(controller.at(first)->start, *firstTime,
                                                     controller.at(second)->start, *secondTime);
    if (!map) {
        showError(tr("Choose two subtitles that start at different times, and corrected times in the same order."));
        return false;
    }
    document()->undoManager().runAsOneStep(tr("Synchronise"), [&] {
        controller.retimeSubtitles(IndexSet::fromRange(0, controller.count()), *map);
    });
    return true;
}
