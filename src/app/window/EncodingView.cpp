#include "app/window/EncodingView.h"

#include "app/window/EncodingsPopupButton.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
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
    // Only Qt's own dialog can carry the chooser.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    auto *view = new EncodingView(dialog);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog->layout()))
        grid->addWidget(view, grid->rowCount(), 0, 1, grid->columnCount());
    else if (QLayout *layout = dialog->layout())
        layout->addWidget(view); // another Qt version's layout: below the rest
    else
        (new QVBoxLayout(dialog))->addWidget(view);
    return view;
}
