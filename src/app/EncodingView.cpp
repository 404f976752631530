#include "app/EncodingView.h"

#include "app/EncodingsPopupButton.h"
#include "model/Fatal.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

EncodingView::EncodingView(QWidget *parent)
    : QWidget(parent)
    , m_popupButton(new EncodingsPopupButton(this))
{
    auto *label = new QLabel(tr("Text encoding:"), this);
    label->setBuddy(m_popupButton);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_popupButton, 1);
}

void EncodingView::addChoice(QWidget *choice)
{
    choice->setParent(this);
    layout()->addWidget(choice);
}

EncodingView *EncodingView::addTo(QFileDialog *dialog)
{
    if (!dialog->testOption(QFileDialog::DontUseNativeDialog))
        CUEWRIGHT_FATAL("the encoding chooser needs a non-native file dialog");
    auto *grid = qobject_cast<QGridLayout *>(dialog->layout());
    if (!grid)
        CUEWRIGHT_FATAL("the file dialog has no grid layout");
    auto *view = new EncodingView(dialog);
    grid->addWidget(view, grid->rowCount(), 0, 1, grid->columnCount());
    return view;
}
