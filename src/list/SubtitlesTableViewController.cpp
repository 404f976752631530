#include "list/SubtitlesTableViewController.h"

#include "document/Document.h"
#include "format/SubtitleParser.h"
#include "format/TolerantSubtitleReader.h"
#include "document/Player.h"
#include "list/InlineEditing.h"
#include "list/SubtitleItemDelegate.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "list/TableSelectionSync.h"
#include "model/Fatal.h"
#include "model/text/SubtitleMarkup.h"

#include <QClipboard>
#include <QHeaderView>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTextCursor>
#include <QVBoxLayout>


SubtitlesTableViewController::SubtitlesTableViewController(Document *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    if (!document)
        CUEWRIGHT_FATAL("a subtitle list without a document");
    m_model = new SubtitleTableModel(document, this);
    m_tableView = new SubtitlesTableView(this);
    m_tableView->setModel(m_model);
    m_delegate = new SubtitleItemDelegate(m_model, m_tableView);
    m_tableView->setItemDelegate(m_delegate);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tableView);
    setFocusProxy(m_tableView);

    m_editing = std::make_unique<InlineEditing>(document, m_model, m_tableView, m_delegate);
    connect(m_editing.get(), &InlineEditing::stateChanged, this, &SubtitlesTableViewController::commandStateChanged);
    m_selection = std::make_unique<TableSelectionSync>(document, m_model, m_tableView, m_delegate);
    connect(m_selection.get(), &TableSelectionSync::selectionChanged, this,
            &SubtitlesTableViewController::commandStateChanged);
    connect(m_tableView, &SubtitlesTableView::playbackKeyEvent, this,
            &SubtitlesTableViewController::playbackKeyEvent);
    connect(m_tableView, &SubtitlesTableView::contextMenuRequested, this,
            &SubtitlesTableViewController::showContextMenu);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &SubtitlesTableViewController::commandStateChanged);
    const OriginalSubtitles *original = &document->originalSubtitles();
    const auto showOriginal = [this, original] {
        const bool shown = original->isAttached();
        if (shown == !m_tableView->isColumnHidden(SubtitleTableModel::OriginalColumn))
            return;
        m_tableView->setColumnHidden(SubtitleTableModel::OriginalColumn, !shown);
        m_tableView->fitTextColumns();
    };
    showOriginal();
    connect(original, &OriginalSubtitles::changed, this, showOriginal);
}

// The editing and the selection go first (as members), while the table they work on
// is still whole.
SubtitlesTableViewController::~SubtitlesTableViewController()
{
    m_tableView->disconnect(this);
}

bool SubtitlesTableViewController::isManipulatingSelection() const
{
    return m_selection->isManipulatingSelection();
}

bool SubtitlesTableViewController::endEditing()
{
    return m_editing->endEditing();
}

void SubtitlesTableViewController::editSubtitle(int row)
{
    m_editing->editSubtitle(row);
}

void SubtitlesTableViewController::beginEditingSubtitle(int row)
{
    m_editing->beginEditingSubtitle(row);
}

void SubtitlesTableViewController::confirmSubtitleEdit()
{
    m_editing->confirmSubtitleEdit();
}

IndexSet SubtitlesTableViewController::targetRowIndexes() const
{
    const int clicked = m_tableView->clickedRow();
    const IndexSet &selected = m_document->selectedSubtitleIndexes();
    if (clicked >= 0 && !selected.contains(clicked))
        return IndexSet(clicked);
    return selected;
}

void SubtitlesTableViewController::showError(const QString &message)
{
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), message, QMessageBox::Ok,
                    window());
    box.exec();
}

bool SubtitlesTableViewController::canAddSubtitle() const
{
    return true;
}

bool SubtitlesTableViewController::canDuplicateSubtitle() const
{
    return targetRowIndexes().count() == 1;
}

bool SubtitlesTableViewController::canDeleteSubtitles() const
{
    return !targetRowIndexes().isEmpty();
}

bool SubtitlesTableViewController::canCopy() const
{
    return !targetRowIndexes().isEmpty();
}

bool SubtitlesTableViewController::canPaste() const
{
    const QMimeData *mimeData = QGuiApplication::clipboard()->mimeData();
    return mimeData && mimeData->hasText();
}

int SubtitlesTableViewController::splitRow() const
{
    const IndexSet targets = targetRowIndexes();
    if (targets.count() == 1)
        return targets.first();
    // Editing can begin on the current row with no row selected: the text being edited
    // is the one to split then, as it is the one Italic changes.
    return targets.isEmpty() && m_tableView->openEditor() ? m_tableView->editedIndex().row() : -1;
}

bool SubtitlesTableViewController::canSplitSubtitle() const
{
    // The text as the user sees it in the editor, which the split commits first.
    const SubtitleTextEditor *editor = m_editing->textEditorOfRow(splitRow());
    return editor && !editor->toPlainText().isEmpty();
}

void SubtitlesTableViewController::setSpelling(Spelling *spelling)
{
    m_model->setSpelling(spelling);
}

bool SubtitlesTableViewController::canMergeSubtitles() const
{
    const IndexSet targets = targetRowIndexes();
    return targets.count() >= 2 && targets.last() - targets.first() + 1 == targets.count();
}

void SubtitlesTableViewController::mergeSubtitles()
{
    if (!canMergeSubtitles() || !m_editing->endEditing())
        return;
    const IndexSet targets = targetRowIndexes();
    m_document->undoManager().runAsOneStep(tr("Merge Subtitles"),
                                           [&] { m_document->subtitleController().mergeSubtitles(targets); });
}

void SubtitlesTableViewController::toggleItalic()
{
    // The text being edited wins, whatever is selected.
    if (auto *editor = m_editing->openTextEditor()) {
        // Within the editor, as typing would be: the editor's own undo takes it back.
        QTextCursor cursor = editor->textCursor();
        int start = cursor.hasSelection() ? cursor.selectionStart() : 0;
        int end = cursor.hasSelection() ? cursor.selectionEnd() : int(editor->toPlainText().size());
        const QString text = SubtitleMarkup::toggledItalic(editor->toPlainText(), start, end);
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
        return;
    }
    const IndexSet targets = targetRowIndexes();
    if (targets.isEmpty())
        return;
    SubtitleController &controller = m_document->subtitleController();
    QList<Subtitle::Values> values;
    for (const SubtitlePtr &subtitle : controller.subtitlesAt(targets)) {
        Subtitle::Values v;
        v.text = SubtitleMarkup::toggledItalic(subtitle->text());
        values.append(v);
    }
    m_document->undoManager().runAsOneStep(tr("Italic"), [&] { controller.updateSubtitles(values, targets); });
}

void SubtitlesTableViewController::addSubtitle()
{
    if (!m_editing->endEditing())
        return;
    std::optional<double> time;
    if (Player *player = m_document->player())
        time = player->currentTime();
    const IndexSet targets = targetRowIndexes();
    std::optional<int> anchor;
    if (!targets.isEmpty())
        anchor = targets.first();
    std::optional<int> row;
    m_document->undoManager().runAsOneStep(tr("Add Subtitle"),
                                           [&] { row = m_document->subtitleController().addSubtitle(time, anchor); });
    if (row)
        beginEditingSubtitle(*row);
}

void SubtitlesTableViewController::duplicateSubtitle()
{
    const IndexSet targets = targetRowIndexes();
    if (targets.isEmpty())
        return;
    const int row = m_editing->endEditingFinding(m_document->subtitleController().at(targets.first()));
    if (row < 0)
        return;
    m_document->undoManager().runAsOneStep(tr("Duplicate Subtitle"),
                                           [&] { m_document->subtitleController().duplicateSubtitle(row); });
}

void SubtitlesTableViewController::deleteSubtitles()
{
    const IndexSet targets = targetRowIndexes();
    if (targets.isEmpty())
        return;
    SubtitleController &controller = m_document->subtitleController();
    m_document->undoManager().runAsOneStep(targets.count() == 1 ? tr("Delete Subtitle") : tr("Delete Subtitles"),
                                           [&] { controller.removeSubtitles(controller.subtitlesAt(targets), targets); });
}

void SubtitlesTableViewController::copy()
{
    const IndexSet targets = targetRowIndexes();
    if (targets.isEmpty())
        return;
    const SubtitleList subtitles = m_document->subtitleController().subtitlesAt(targets);
    QGuiApplication::clipboard()->setText(SubtitleParser::shared().serialize(subtitles));
}

void SubtitlesTableViewController::paste()
{
    const QMimeData *mimeData = QGuiApplication::clipboard()->mimeData();
    if (!mimeData || !mimeData->hasText())
        return;
    pasteTexts({mimeData->text()});
}

void SubtitlesTableViewController::pasteTexts(const QStringList &texts)
{
    SubtitleController &controller = m_document->subtitleController();
    UndoManager *undoManager = controller.undoManager();
    for (const QString &text : texts) {
        const IndexSet targets = targetRowIndexes();
        // Text copied from other programs is read as repairing on open reads it; what
        // cannot be read at all gets the strict reader's message, as a file would.
        auto parsed = TolerantSubtitleReader::read(text);
        if (!parsed) {
            showError(SubtitleParser::shared().parse(text).error().message(text));
            return;
        }
        SubtitleList subtitles = std::move(parsed).value().subtitles;
        const auto paste = [&] {
            if (!targets.isEmpty())
                controller.removeSubtitles(controller.subtitlesAt(targets), targets);
            // Each lands where its start time puts it, not where the replaced rows were.
            if (!subtitles.isEmpty())
                controller.insertInTimeOrder(std::move(subtitles));
        };
        if (undoManager)
            undoManager->runAsOneStep(tr("Paste"), paste);
        else
            paste();
    }
}

void SubtitlesTableViewController::splitSubtitle()
{
    const int target = splitRow();
    SubtitleTextEditor *editor = m_editing->textEditorOfRow(target);
    if (!editor)
        return; // the split needs the caret of the text being edited
    const int position = editor->caretPosition();
    // The text as the user sees it is committed first, so the split divides that.
    const int row = m_editing->endEditingFinding(m_document->subtitleController().at(target));
    if (row < 0)
        return;
    SubtitleController &controller = m_document->subtitleController();
    const QList<SpokenWord> words = m_wordSource ? m_wordSource(*controller.at(row)) : QList<SpokenWord>();
    m_document->undoManager().runAsOneStep(tr("Split Subtitle"), [&] { controller.splitSubtitle(row, position, words); });
}

void SubtitlesTableViewController::selectAll()
{
    m_tableView->selectAll();
}

void SubtitlesTableViewController::showContextMenu(const QPoint &globalPosition)
{
    QMenu menu(this);
    const auto addCommand = [&menu, this](const QString &text, void (SubtitlesTableViewController::*command)(),
                                          bool enabled) {
        QAction *action = menu.addAction(text, this, command);
        action->setEnabled(enabled);
    };
    addCommand(tr("Add Subtitle"), &SubtitlesTableViewController::addSubtitle, canAddSubtitle());
    addCommand(tr("Duplicate Subtitle"), &SubtitlesTableViewController::duplicateSubtitle, canDuplicateSubtitle());
    addCommand(tr("Split Subtitle at Text Cursor"), &SubtitlesTableViewController::splitSubtitle, canSplitSubtitle());
    menu.addSeparator();
    addCommand(tr("Copy"), &SubtitlesTableViewController::copy, canCopy());
    addCommand(tr("Paste"), &SubtitlesTableViewController::paste, canPaste());
    addCommand(tr("Delete"), &SubtitlesTableViewController::deleteSubtitles, canDeleteSubtitles());
    // The commands run while the menu is open, when the clicked row is still known.
    menu.exec(globalPosition);
}
