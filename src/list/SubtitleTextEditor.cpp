#include "list/SubtitleTextEditor.h"

#include "list/SpellingHighlighter.h"
#include "spelling/Spelling.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
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
    // A margin counts as a change to Qt; only the user's typing is one.
    document()->setModified(false);
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
    if (!m_fitsHeightToLines)
        return;
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
    QPlainTextEdit::keyPressEvent(event);
}

void SubtitleTextEditor::setSpelling(Spelling *spelling)
{
    m_spelling = spelling;
    if (spelling)
        new SpellingHighlighter(spelling, document());
}

QMenu *SubtitleTextEditor::createContextMenu(const QPoint &position)
{
    QMenu *menu = createStandardContextMenu(position);
    if (!m_spelling || !m_spelling->isEnabled())
        return menu;
    const QTextCursor at = cursorForPosition(position);
    const QTextBlock block = at.block();
    const int offset = at.positionInBlock();
    for (const Spelling::Range &range : m_spelling->misspelledWords(block.text())) {
        if (offset < range.start || offset > range.start + range.length)
            continue;
        const QString word = block.text().mid(range.start, range.length);
        QAction *first = menu->actions().value(0);
        const auto replaceWord = [this, block, range](const QString &replacement) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + range.start);
            cursor.setPosition(block.position() + range.start + range.length, QTextCursor::KeepAnchor);
            cursor.insertText(replacement);
        };
        const QStringList suggestions = m_spelling->suggestions(word).mid(0, 8);
        for (const QString &suggestion : suggestions) {
            QAction *action = new QAction(suggestion, menu);
            connect(action, &QAction::triggered, this, [replaceWord, suggestion] { replaceWord(suggestion); });
            menu->insertAction(first, action);
        }
        if (suggestions.isEmpty()) {
            QAction *none = new QAction(tr("No Suggestions"), menu);
            none->setEnabled(false);
            menu->insertAction(first, none);
        }
        QAction *add = new QAction(tr("Add “%1” to Dictionary").arg(word), menu);
        connect(add, &QAction::triggered, this, [this, word] {
            if (const auto added = m_spelling->addToDictionary(word); !added)
                QMessageBox::warning(this, tr("Add to Dictionary"), added.error());
        });
        menu->insertAction(first, add);
        menu->insertSeparator(first);
        break;
    }
    return menu;
}

void SubtitleTextEditor::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu(event->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
