#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>
#include <optional>

#include "document/Document.h"
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;

// The common frame of the dialogs that retime many subtitles at once: a form, a line for
// what is wrong with the input, OK and Cancel. OK applies the change as one undo step and
// closes; input that does not read keeps the dialog open and says why.
class TimingDialog : public QDialog
{
    Q_OBJECT

public:
    QLabel *messageLabel() const { return m_message; }
    QDialogButtonBox *buttons() const { return m_buttons; }

    void accept() override;
    // Keys typed before the dialog appeared (while the window was still busy, say making a
    // large selection) go to the dialog, not to the window behind it, which it blocks.
    int exec() override;

protected:
    TimingDialog(Document *document, const QString &title, QWidget *parent);

    // Applies the change; false (after showError) keeps the dialog open.
    virtual bool apply() = 0;
    void showEvent(QShowEvent *event) override;

    Document *document() const { return m_document; }
    QFormLayout *form() const { return m_form; }
    void showError(const QString &message);
    // The playback position on a frame, when a video is loaded.
    std::optional<double> playbackTime() const;
    // A row with a time field and, while a video is loaded, a button that takes the
    // playback position.
    QLineEdit *addTimeRow(const QString &label, double seconds, const QString &buttonText,
                          std::function<std::optional<double>()> fromVideo);
    // A time as the document shows it.
    QString timeText(double seconds) const;
    // The field's time in any form the document reads, or an error shown for the field
    // named `what`.
    std::optional<double> readTime(QLineEdit *field, const QString &what);

private:
    QPointer<Document> m_document;
    QFormLayout *m_form;
    QLabel *m_message;
    QDialogButtonBox *m_buttons;
};
