#pragma once

#include <QComboBox>

#include <optional>

// The text-encoding chooser: "Automatic" (0) first, then every encoding by its readable
// name, each carrying its number as item data; the common encodings come first, the
// oddities after a separator. It holds its own choice: choosing in one dialog never
// changes how a later file is read.
class EncodingsPopupButton : public QComboBox
{
    Q_OBJECT

public:
    // The Save dialog's last choice, the encoding of new documents.
    static inline const QString settingsKey = QStringLiteral("saveEncoding");

    explicit EncodingsPopupButton(QWidget *parent = nullptr);

    // The number of the entry shown, or nullopt while no entry is selected.
    std::optional<int> selectedEncoding() const;
    // Shows the entry of `number`, or none when no entry carries it.
    void setSelectedEncoding(int number);
};
