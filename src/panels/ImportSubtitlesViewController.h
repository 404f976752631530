#pragma once

#include <QDialog>

class Document;
class QDialogButtonBox;
class QPlainTextEdit;

// The import window: a plain text area with OK (the default button) and Cancel, run
// modally for the whole application. Every paragraph of the text becomes a subtitle.
class ImportSubtitlesViewController : public QDialog
{
    Q_OBJECT

public:
    explicit ImportSubtitlesViewController(QWidget *parent = nullptr);

    // Runs the window over `window`. Unless cancelled, the whole text goes to the
    // document's import as one undo step named "Import Subtitles"; Cancel changes nothing.
    // Whether the text was imported.
    static bool run(Document *document, QWidget *window);

    QString text() const;
    QPlainTextEdit *textView() const { return m_textView; }
    QDialogButtonBox *buttons() const { return m_buttons; }

private:
    QPlainTextEdit *m_textView;
    QDialogButtonBox *m_buttons;
};
