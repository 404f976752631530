#include "app/window/EncodingsPopupButton.h"

#include "document/TextEncoding.h"

EncodingsPopupButton::EncodingsPopupButton(QWidget *parent)
    : QComboBox(parent)
{
    addItem(tr("Automatic"), TextEncoding::Automatic);
    bool oddities = false;
    for (const TextEncoding::Entry &entry : TextEncoding::all()) {
        if (!entry.common && !oddities) {
            insertSeparator(count());
            oddities = true;
        }
        addItem(entry.displayName, entry.number);
    }
    setMaxVisibleItems(24);
    setCurrentIndex(0);
}

std::optional<int> EncodingsPopupButton::selectedEncoding() const
{
    if (currentIndex() < 0)
        return std::nullopt;
    return currentData().toInt();
}

void EncodingsPopupButton::setSelectedEncoding(int number)
{
    setCurrentIndex(findData(number));
}
