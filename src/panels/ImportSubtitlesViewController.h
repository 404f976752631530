#pragma once

#include "model/Subtitle.h"

#include <QDialog>

#include <optional>

class Document;
class QCheckBox;
class QDialogButtonBox;
class QPlainTextEdit;

// The import window: a plain text area with OK (the default button) and Cancel, run
// modally for the whole application. Every paragraph of the text becomes a subtitle.
class ImportSubtitlesViewController : public QDialog
{
    Q_OBJECT

public:
    // `offerSpeechTiming`: a video with speech is attached, and the lines may be timed by it.
    explicit ImportSubtitlesViewController(QWidget *parent = nullptr, bool offerSpeechTiming = false);

    struct Imported
    {
        bool timeBySpeech = false; // the user asked for the lines to be placed where they are spoken
        SubtitleList subtitles;    // the lines made, in the script's order
    };
    // Runs the window over `window`. Unless cancelled, the whole text goes to the
    // document's import as one undo step named "Import Subtitles"; Cancel changes nothing.
    // None when nothing was imported.
    static std::optional<Imported> run(Document *document, QWidget *window, bool offerSpeechTiming = false);

    QString text() const;
    QPlainTextEdit *textView() const { return m_textView; }
    QDialogButtonBox *buttons() const { return m_buttons; }
    QCheckBox *speechTiming() const { return m_speechTiming; }

private:
    QPlainTextEdit *m_textView;
    QDialogButtonBox *m_buttons;
    QCheckBox *m_speechTiming = nullptr;
};
