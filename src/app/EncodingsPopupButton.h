#pragma once

#include <QComboBox>

#include <optional>

// The text-encoding chooser: "Automatic" (0) first, then every encoding by its readable
// name, each carrying its number as item data. Bound to the "saveEncoding" setting: it
// shows the stored number's entry and stores the number of every entry chosen, at once.
class EncodingsPopupButton : public QComboBox
{
    Q_OBJECT

public:
    static inline const QString settingsKey = QStringLiteral("saveEncoding");

    explicit EncodingsPopupButton(QWidget *parent = nullptr);

    // The number of the entry shown, or nullopt while a stored number matches no entry.
    std::optional<int> selectedEncoding() const;
};
