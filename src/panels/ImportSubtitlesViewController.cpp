#include "panels/ImportSubtitlesViewController.h"

#include "document/Document.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QVBoxLayout>

ImportSubtitlesViewController::ImportSubtitlesViewController(QWidget *parent, bool offerSpeechTiming)
    : QDialog(parent)
    , m_textView(new QPlainTextEdit(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Import Subtitles"));
    auto *hint = new QLabel(offerSpeechTiming ? tr("Paste or type the text. Each paragraph, separated from the next by an "
                                                   "empty line, becomes a subtitle: placed where it is spoken when timed by the "
                                                   "film's speech, two seconds long otherwise.")
                                              : tr("Paste or type the text. Each paragraph, separated from the next by an "
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
    if (offerSpeechTiming) {
        m_speechTiming = new QCheckBox(tr("&Time by the film's speech"), this);
        m_speechTiming->setToolTip(tr("Places each paragraph where its words are spoken in the film, in order, instead of two seconds apart"));
        // A script pasted with a film is most often meant for it.
        m_speechTiming->setChecked(QSettings().value(QStringLiteral("import/timeBySpeech"), true).toBool());
        layout->addWidget(m_speechTiming);
    }
    layout->addWidget(m_buttons);
    resize(480, 320);
    m_textView->setFocus();
}

QString ImportSubtitlesViewController::text() const
{
    return m_textView->toPlainText();
}

std::optional<ImportSubtitlesViewController::Imported> ImportSubtitlesViewController::run(Document *document, QWidget *window,
                                                                                           bool offerSpeechTiming)
{
    const QPointer<Document> target(document);
    ImportSubtitlesViewController dialog(window, offerSpeechTiming);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || !target)
        return std::nullopt;
    Imported imported;
    target->undoManager().runAsOneStep(tr("Import Subtitles"),
                                       [&] { imported.subtitles = target->subtitleController().importText(dialog.text()); });
    if (dialog.m_speechTiming) {
        imported.timeBySpeech = dialog.m_speechTiming->isChecked();
        QSettings().setValue(QStringLiteral("import/timeBySpeech"), imported.timeBySpeech);
    }
    return imported;
}
