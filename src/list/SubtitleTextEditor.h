#pragma once

#include <QPlainTextEdit>
#include <QPointer>

class Spelling;

// The inline editor of a subtitle's text. Shift+Return starts a new line (plain Return
// is the table's, which commits with it). It grows with its lines so that a multi-line
// text is edited whole.
class SubtitleTextEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit SubtitleTextEditor(QWidget *parent = nullptr);

    // Where the caret (or the start of the selected stretch) lies, in UTF-16 code units
    // of toPlainText().
    int caretPosition() const;
    // The height that shows every line.
    int heightForLines() const;
    // Grows (or shrinks, down to the minimum height) to show every line, unless switched
    // off for an editor that a layout sizes.
    void fitHeightToLines();
    void setFitsHeightToLines(bool fits) { m_fitsHeightToLines = fits; }
    // Underlines misspelt words and offers suggestions in the context menu.
    void setSpelling(Spelling *spelling);
    // The context menu for a click at `position` (in the editor's coordinates).
    QMenu *createContextMenu(const QPoint &position);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QPointer<Spelling> m_spelling;
    bool m_fitsHeightToLines = true;
};
