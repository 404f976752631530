#include "list/SubtitlesTableView.h"

#include "list/SubtitleTableModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

SubtitlesTableView::SubtitlesTableView(QWidget *parent)
    : QTableView(parent)
{
}

bool SubtitlesTableView::isPlaybackKey(const QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_J:
    case Qt::Key_K:
    case Qt::Key_L:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return true;
    default:
        return false;
    }
}

bool SubtitlesTableView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!QTableView::edit(index, trigger, event))
        return false;
    if (QWidget *editor = indexWidget(index); editor && state() == EditingState)
        emit editingStarted(editor);
    return true;
}

bool SubtitlesTableView::event(QEvent *event)
{
    // With the list focused, these keys belong to the player even if a window shortcut
    // uses them too.
    if (event->type() == QEvent::ShortcutOverride && isPlaybackKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void SubtitlesTableView::keyPressEvent(QKeyEvent *event)
{
    if (isPlaybackKey(event)) {
        emit playbackKeyEvent(event);
        event->accept();
        return;
    }
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && state() != EditingState && currentIndex().isValid()) {
        edit(currentIndex().siblingAtColumn(SubtitleTableModel::TextColumn));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void SubtitlesTableView::keyReleaseEvent(QKeyEvent *event)
{
    if (isPlaybackKey(event)) {
        emit playbackKeyEvent(event);
        event->accept();
        return;
    }
    QTableView::keyReleaseEvent(event);
}

void SubtitlesTableView::mousePressEvent(QMouseEvent *event)
{
    // A right click opens the row's menu without changing the selection: a row outside
    // the selection becomes the commands' target alone.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void SubtitlesTableView::contextMenuEvent(QContextMenuEvent *event)
{
    m_clickedRow = rowAt(event->pos().y());
    viewport()->update();
    emit contextMenuRequested(event->globalPos());
    m_clickedRow = -1;
    viewport()->update();
    event->accept();
}

void SubtitlesTableView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (m_clickedRow < 0 || !model())
        return;
    // Marks the row the open menu acts on, which need not be selected.
    const QHeaderView *columns = horizontalHeader();
    const QRect first = visualRect(model()->index(m_clickedRow, columns->logicalIndex(0)));
    const QRect last = visualRect(model()->index(m_clickedRow, columns->logicalIndex(columns->count() - 1)));
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(first.united(last).adjusted(1, 1, -1, -1));
}

void SubtitlesTableView::commitData(QWidget *editor)
{
    // An alert about the value takes the focus from the editor, which asks to commit
    // again: that is the same commit, already being decided.
    if (editor == m_checkingEditor)
        return;
    m_checkingEditor = editor;
    const bool accepted = !m_commitHandler || m_commitHandler(editor);
    m_checkingEditor = nullptr;
    m_refusedEditor = accepted ? nullptr : editor;
}

void SubtitlesTableView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_checkingEditor)
        return;
    if (editor == m_refusedEditor) {
        m_refusedEditor = nullptr;
        if (hint != QAbstractItemDelegate::RevertModelCache) {
            // Keep editing, with the text the user typed.
            editor->setFocus();
            return;
        }
    }
    QTableView::closeEditor(editor, hint);
    emit editingEnded(hint != QAbstractItemDelegate::RevertModelCache);
}

void SubtitlesTableView::closeEditorWithoutCommit(QWidget *editor)
{
    if (editor == m_refusedEditor)
        m_refusedEditor = nullptr;
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    emit editingEnded(true);
}
