#pragma once

#include <QWidget>

class EncodingsPopupButton;
class QFileDialog;

// The accessory of the Open and Save dialogs: a label and the encoding chooser.
class EncodingView : public QWidget
{
    Q_OBJECT

public:
    explicit EncodingView(QWidget *parent = nullptr);

    EncodingsPopupButton *popupButton() const { return m_popupButton; }
    // Puts another choice on the same row, after the chooser.
    void addChoice(QWidget *choice);

    // Adds a new view as the last row of a dialog, which must be non-native
    // (QFileDialog::DontUseNativeDialog): a native dialog has no layout to hold it.
    static EncodingView *addTo(QFileDialog *dialog);

private:
    EncodingsPopupButton *m_popupButton;
};
