#include "list/SubtitleTextEditor.h"

#include <QKeyEvent>
#include <QTextBlock>

#include <cmath>

SubtitleTextEditor::SubtitleTextEditor(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(2);
    connect(document(), &QTextDocument::blockCountChanged, this, &SubtitleTextEditor::fitHeightToLines);
}

int SubtitleTextEditor::caretPosition() const
{
    // Blocks are separated by one character in the document as in toPlainText().
    return textCursor().selectionStart();
}

int SubtitleTextEditor::heightForLines() const
{
    qreal height = 2 * document()->documentMargin() + 2 * frameWidth();
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
        height += blockBoundingRect(block).height();
    return int(std::ceil(height));
}

void SubtitleTextEditor::fitHeightToLines()
{
    resize(width(), std::max(minimumHeight(), heightForLines()));
    ensureCursorVisible();
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
