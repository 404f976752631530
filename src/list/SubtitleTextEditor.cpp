#include "list/SubtitleTextEditor.h"

#include <QKeyEvent>
#include <QTextBlock>

#include <cmath>

SubtitleTextEditor::SubtitleTextEditor(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(2);
    connect(document(), &QTextDocument::blockCountChanged, this, &SubtitleTextEditor::linesChanged);
}

int SubtitleTextEditor::caretPosition() const
{
    // Blocks are separated by one character in the document as in toPlainText().
    return textCursor().selectionStart();
}

int SubtitleTextEditor::heightForLines() const
{
    const int lines = std::max(1, document()->blockCount());
    const qreal margins = 2 * document()->documentMargin() + contentsMargins().top() + contentsMargins().bottom();
    return int(std::ceil(lines * fontMetrics().lineSpacing() + margins));
}

void SubtitleTextEditor::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & Qt::ShiftModifier)) {
        // A plain line feed: Qt would otherwise insert a Unicode line separator.
        insertPlainText(QStringLiteral("\n"));
        event->accept();
        return;
    }
    if (isReturn) {
        event->accept();
        emit commitRequested();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
