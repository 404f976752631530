#include "app/EncodingsPopupButton.h"

#include "document/TextEncoding.h"

#include <QSettings>

EncodingsPopupButton::EncodingsPopupButton(QWidget *parent)
    : QComboBox(parent)
{
    addItem(tr("Automatic"), TextEncoding::Automatic);
    for (const TextEncoding::Entry &entry : TextEncoding::all())
        addItem(entry.displayName, entry.number);
    setMaxVisibleItems(24);

    // A stored number no entry carries leaves the button without a selection.
    setCurrentIndex(findData(QSettings().value(settingsKey, 0).toInt()));
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            QSettings().setValue(settingsKey, itemData(index).toInt());
    });
}

std::optional<int> EncodingsPopupButton::selectedEncoding() const
{
    if (currentIndex() < 0)
        return std::nullopt;
    return currentData().toInt();
}
