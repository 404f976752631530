#pragma once

#include <QFrame>

#include <functional>

class Document;
class QComboBox;
class QPlainTextEdit;

// Shown above the panes when detection was unsure of the file's encoding: the encodings
// it weighed, the lines each reads differently, and a way to reopen the file in the one
// that reads right (as File ▸ Reopen with Encoding does) or to keep the guess.
class EncodingPreview : public QFrame
{
    Q_OBJECT

public:
    // `reopen` reads the document's file again in the encoding picked.
    EncodingPreview(Document *document, std::function<void(int encoding)> reopen, QWidget *parent = nullptr);

private:
    void update();
    void showExcerpt(int index);

    Document *m_document;
    std::function<void(int encoding)> m_reopen;
    QComboBox *m_encodings;
    QPlainTextEdit *m_excerpt;
};
