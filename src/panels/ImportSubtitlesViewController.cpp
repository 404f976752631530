#include "panels/ImportSubtitlesViewController.h"

#include "document/Document.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

ImportSubtitlesViewController::ImportSubtitlesViewController(QWidget *parent)
    : QDialog(parent)
    , m_textView(new QPlainTextEdit(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Import Subtitles"));
    auto *hint = new QLabel(tr("Paste or type the text. Each paragraph, separated from the next by an "
                               "empty line, becomes a subtitle of two seconds."),
                            this);
    hint->setWordWrap(true);
    m_textView->setTabChangesFocus(true);
    m_textView->setAccessibleName(tr("Text to import"));
    m_buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Return must stay a line break in the text area, so OK also answers Ctrl+Return
    // from there; Return presses OK wherever else the focus is.
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_textView, 1);
    layout->addWidget(m_buttons);
    resize(480, 320);
    m_textView->setFocus();
}

QString ImportSubtitlesViewController::text() const
{
    return m_textView->toPlainText();
}

bool ImportSubtitlesViewController::run(Document *document, QWidget *window)
{
    const QPointer<Document> target(document);
    ImportSubtitlesViewController dialog(window);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || !target)
        return false;
    target->undoManager().runAsOneStep(tr("Import Subtitles"),
                                       [&] { target->subtitleController().importText(dialog.text()); });
    return true;
}
