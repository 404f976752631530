#pragma once

#include "model/Subtitle.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class Document;
class QLabel;
class Spelling;
class SubtitleTextEditor;

// The selected subtitle's text in a box under the list, with each line's length beside
// it and the reading speed under it, both as the user types and marked past their
// limits. Empty and disabled unless exactly one subtitle is selected.
//
// Typing changes the subtitle at once through the document's subtitle controller, so the
// list, the timeline and the video follow it; a burst of typing is one undo step. A burst
// ends when the box loses focus, the selection changes, the subtitle is changed from
// elsewhere, after a pause in typing, and around Ctrl+I / Ctrl+B (each its own step).
// Return starts a new line here: the box holds the whole text, not a cell.
class SubtitleTextBox : public QWidget
{
    Q_OBJECT

public:
    explicit SubtitleTextBox(Document *document, QWidget *parent = nullptr);

    // A pause this long ends a burst of typing.
    static constexpr int burstPauseMs = 2000;

    SubtitleTextEditor *editor() const { return m_editor; }
    void setSpelling(Spelling *spelling);
    // <i>…</i> (tag 'i') or <b>…</b> (tag 'b') on or off for the selected words or the
    // word at the caret, as one undo step.
    void toggleTag(QChar tag);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followSelection();
    // The subtitle's text into the editor, keeping the caret where it was when it can.
    void showSubtitleText();
    void commitTyping();
    void commitText(const QString &name);
    void endBurst();
    void subtitleChangedElsewhere();
    void updateMeasures();

    QPointer<Document> m_document;
    SubtitleTextEditor *m_editor;
    QWidget *m_lineLengths;
    QLabel *m_readingSpeed;
    SubtitlePtr m_subtitle;
    QTimer m_pause;
    quint64 m_burst = 0;
    // While the box itself changes the editor or the subtitle, the echoes are its own.
    bool m_changing = false;
};
