#include "list/InlineEditing.h"

#include "document/Document.h"
#include "document/Player.h"
#include "list/SubtitleItemDelegate.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"

InlineEditing::InlineEditing(Document *document, SubtitleTableModel *model, SubtitlesTableView *view,
                             SubtitleItemDelegate *delegate, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_model(model)
    , m_view(view)
    , m_delegate(delegate)
{
    connect(m_delegate, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                // Only a kept edit resumes the video; Escape leaves it paused where it was.
                if (hint == QAbstractItemDelegate::RevertModelCache)
                    m_continuePlayingAfterEditing = false;
                else
                    confirmSubtitleEdit();
                emit stateChanged();
            });
    // Split needs an open text editor holding some text: the menus and keys follow both.
    connect(m_view, &SubtitlesTableView::editingStarted, this, [this](QWidget *editor) {
        if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor))
            connect(textEditor, &QPlainTextEdit::textChanged, this, &InlineEditing::stateChanged, Qt::UniqueConnection);
        emit stateChanged();
    });
}

InlineEditing::~InlineEditing()
{
    m_view->disconnect(this);
    m_delegate->disconnect(this);
    if (QWidget *editor = m_view->openEditor())
        editor->disconnect(this);
    m_view->cancelEditing();
}

bool InlineEditing::endEditing()
{
    QWidget *editor = m_view->openEditor();
    if (!editor)
        return true;
    if (!m_delegate->commitAndClose(editor))
        return false;
    m_view->setFocus();
    // The edit is its own undo step, apart from the command that follows.
    if (m_document)
        m_document->undoManager().closeEventGroup();
    return true;
}

int InlineEditing::endEditingFinding(const SubtitlePtr &subtitle)
{
    if (!endEditing() || !m_document)
        return -1;
    // A committed start time may have moved the subtitle.
    return m_document->subtitleController().indexOf(subtitle);
}

SubtitleTextEditor *InlineEditing::openTextEditor() const
{
    return qobject_cast<SubtitleTextEditor *>(m_view->openEditor());
}

SubtitleTextEditor *InlineEditing::textEditorOfRow(int row) const
{
    if (row < 0 || row >= m_model->rowCount())
        return nullptr;
    return qobject_cast<SubtitleTextEditor *>(m_view->indexWidget(m_model->index(row, SubtitleTableModel::TextColumn)));
}

void InlineEditing::editSubtitle(int row)
{
    Player *player = m_document ? m_document->player() : nullptr;
    m_continuePlayingAfterEditing = player && player->rate() != 0;
    if (player)
        player->pause();
    beginEditingSubtitle(row);
}

void InlineEditing::beginEditingSubtitle(int row)
{
    if (!m_document || row < 0 || row >= m_model->rowCount())
        return;
    m_document->setSelectedSubtitleIndexes(IndexSet(row));
    const QModelIndex textIndex = m_model->index(row, SubtitleTableModel::TextColumn);
    // A row out of view is brought into it first, so its editor has a place.
    m_view->scrollTo(textIndex);
    m_view->selectionModel()->setCurrentIndex(textIndex, QItemSelectionModel::NoUpdate);
    m_view->setFocus();
    m_view->edit(textIndex);
}

void InlineEditing::confirmSubtitleEdit()
{
    if (!m_continuePlayingAfterEditing)
        return;
    m_continuePlayingAfterEditing = false;
    if (Player *player = m_document ? m_document->player() : nullptr)
        player->play();
}
