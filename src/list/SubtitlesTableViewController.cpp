#include "list/SubtitlesTableViewController.h"

#include "document/Document.h"
#include "format/SubtitleParser.h"
#include "format/TolerantSubtitleReader.h"
#include "list/SubtitleItemDelegate.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "model/Fatal.h"
#include "document/Player.h"
#include "model/SubtitleMarkup.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <vector>

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
    configureTable();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tableView);
    setFocusProxy(m_tableView);

    // A selection kept in the document only is drawn from there; a gesture that changes
    // part of it needs it whole in Qt's selection model first.
    m_delegate->setRowSelected([this](int row) {
        return m_selectionOnlyInDocument && m_document && m_document->selectedSubtitleIndexes().contains(row);
    });
    m_tableView->setBeforeSelectionChangeInPlace([this] {
        if (m_selectionOnlyInDocument && m_document)
            mirrorSelection(m_document->selectedSubtitleIndexes(), std::numeric_limits<int>::max());
    });
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SubtitlesTableViewController::pushSelection);
    connect(m_tableView, &SubtitlesTableView::playbackKeyEvent, this,
            &SubtitlesTableViewController::playbackKeyEvent);
    connect(m_tableView, &SubtitlesTableView::contextMenuRequested, this,
            &SubtitlesTableViewController::showContextMenu);
    connect(m_delegate, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                // Only a kept edit resumes the video; Escape leaves it paused where it was.
                if (hint == QAbstractItemDelegate::RevertModelCache)
                    m_continuePlayingAfterEditing = false;
                else
                    confirmSubtitleEdit();
                emit commandStateChanged();
            });
    // Split needs an open text editor holding some text: the menus and keys follow both.
    connect(m_tableView, &SubtitlesTableView::editingStarted, this, [this](QWidget *editor) {
        if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor))
            connect(textEditor, &QPlainTextEdit::textChanged, this, &SubtitlesTableViewController::commandStateChanged,
                    Qt::UniqueConnection);
        emit commandStateChanged();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &SubtitlesTableViewController::commandStateChanged);

    connect(document, &Document::selectionChanged, this,
            [this](const IndexSet &selection) { applySelection(selection); });
    // The document selects the moved subtitles right after a reordering. A selection kept
    // through it would be kept row by row, a persistent index for each, and undoing one
    // in many places costs a repaint region per place: let it go quietly, and keep only
    // the current row, which goes with its subtitle.
    connect(m_model, &SubtitleTableModel::rowsAboutToBeReordered, this, [this] {
        QItemSelectionModel *selection = m_tableView->selectionModel();
        m_currentWhileReordering = selection->currentIndex();
        selection->reset();
    });
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] {
        if (m_currentWhileReordering.isValid())
            m_tableView->selectionModel()->setCurrentIndex(m_currentWhileReordering, QItemSelectionModel::NoUpdate);
        m_currentWhileReordering = QPersistentModelIndex();
        m_tableView->viewport()->update();
    });
    // A reload clears the table's selection but not the document's.
    connect(document, &Document::subtitlesReloaded, this,
            [this] { applySelection(m_document->selectedSubtitleIndexes()); });
    connect(document, &Document::showSubtitleRequested, this, &SubtitlesTableViewController::showRow);

    applySelection(document->selectedSubtitleIndexes());
}

SubtitlesTableViewController::~SubtitlesTableViewController()
{
    // An editor still open is given up, as the window it was in goes: a commit now
    // would change the document after the user was asked about its changes. And
    // nothing the table does while it is destroyed may reach this half-destroyed
    // controller.
    m_tableView->disconnect(this);
    m_delegate->disconnect(this);
    m_tableView->selectionModel()->disconnect(this);
    if (QWidget *editor = m_tableView->openEditor())
        editor->disconnect(this);
    m_tableView->cancelEditing();
    m_tableView->setBeforeSelectionChangeInPlace({});
    m_delegate->setRowSelected({});
}

void SubtitlesTableViewController::configureTable()
{
    QTableView *view = m_tableView;
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    view->setDragEnabled(false);
    view->setAlternatingRowColors(true);
    view->setShowGrid(false);
    view->setWordWrap(true);
    view->setTextElideMode(Qt::ElideRight);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    // One height for every row keeps a long list as cheap as a short one.
    QHeaderView *rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(SubtitleItemDelegate::rowHeight(view->fontMetrics()));

    QHeaderView *columns = view->horizontalHeader();
    const QFontMetrics metrics = view->fontMetrics();
    const int padding = 3 * metrics.horizontalAdvance(QLatin1Char(' ')) + 8;
    columns->setMinimumSectionSize(metrics.horizontalAdvance(QStringLiteral("00")) + padding);
    const int timeWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00,000")) + padding;
    columns->resizeSection(SubtitleTableModel::StartColumn, timeWidth);
    columns->resizeSection(SubtitleTableModel::EndColumn, timeWidth);
    // The measures stand after the times; the text stays last, where it stretches.
    const std::pair<int, QString> measures[] = {{SubtitleTableModel::DurationColumn, QStringLiteral("00.000")},
                                                {SubtitleTableModel::ReadingSpeedColumn, QStringLiteral("00.0")},
                                                {SubtitleTableModel::LongestLineColumn, QStringLiteral("00 ×0")}};
    for (const auto &[column, widest] : measures) {
        columns->resizeSection(column, metrics.horizontalAdvance(widest) + padding);
        columns->moveSection(columns->visualIndex(column), columns->visualIndex(SubtitleTableModel::TextColumn));
    }
    columns->setStretchLastSection(true);
    columns->setHighlightSections(false);
}

IndexSet SubtitlesTableViewController::targetRowIndexes() const
{
    const int clicked = m_tableView->clickedRow();
    const IndexSet &selected = m_document->selectedSubtitleIndexes();
    if (clicked >= 0 && !selected.contains(clicked))
        return IndexSet(clicked);
    return selected;
}

void SubtitlesTableViewController::pushSelection()
{
    if (m_isApplyingDocumentSelection)
        return;
    // Qt's selection model now holds the whole selection, which Qt draws.
    if (m_selectionOnlyInDocument) {
        m_selectionOnlyInDocument = false;
        m_tableView->viewport()->update();
    }
    QList<QItemSelectionRange> ranges = m_tableView->selectionModel()->selection();
    std::sort(ranges.begin(), ranges.end(),
              [](const QItemSelectionRange &a, const QItemSelectionRange &b) { return a.top() < b.top(); });
    IndexSet rows;
    for (const QItemSelectionRange &range : ranges) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(row);
    }
    m_isManipulatingSelection = true;
    m_document->setSelectedSubtitleIndexes(rows);
    m_isManipulatingSelection = false;
    emit commandStateChanged();
}

void SubtitlesTableViewController::applySelection(const IndexSet &selection)
{
    // The table made this selection itself: it already shows it.
    if (m_isManipulatingSelection)
        return;
    // Qt's selection model keeps two persistent indexes per run of rows and goes through
    // every run for each painted cell: a command that leaves rows selected in a hundred
    // thousand places would make each paint and each later change of the list crawl.
    mirrorSelection(selection, 1000);
    // Keyboard navigation goes on from the selection.
    QItemSelectionModel *selectionModel = m_tableView->selectionModel();
    const QModelIndex current = selectionModel->currentIndex();
    const bool shown = !selection.isEmpty() && selection.first() < m_model->rowCount();
    if (shown && (!current.isValid() || !selection.contains(current.row()))) {
        const int column = current.isValid() ? current.column() : 0;
        selectionModel->setCurrentIndex(m_model->index(selection.first(), column), QItemSelectionModel::NoUpdate);
    }
    emit commandStateChanged();
}

void SubtitlesTableViewController::mirrorSelection(const IndexSet &selection, int rangeLimit)
{
    m_isApplyingDocumentSelection = true;
    const int rowCount = m_model->rowCount();
    std::vector<std::pair<int, int>> runs;
    for (int row : selection) {
        if (row >= rowCount)
            break;
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    const bool wasOnlyInDocument = m_selectionOnlyInDocument;
    m_selectionOnlyInDocument = int(runs.size()) > rangeLimit;
    QItemSelection rows;
    if (!m_selectionOnlyInDocument) {
        const int lastColumn = SubtitleTableModel::ColumnCount - 1;
        for (const auto &[first, last] : runs)
            rows.select(m_model->index(first, 0), m_model->index(last, lastColumn));
    }
    m_tableView->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    // Qt repaints only what its own selection model changed.
    if (wasOnlyInDocument || m_selectionOnlyInDocument)
        m_tableView->viewport()->update();
    m_isApplyingDocumentSelection = false;
}

void SubtitlesTableViewController::showRow(int row)
{
    if (!m_isManipulatingSelection && row >= 0 && row < m_model->rowCount())
        m_tableView->scrollTo(m_model->index(row, 0));
}

SubtitleTextEditor *SubtitlesTableViewController::textEditorOfRow(int row) const
{
    if (row < 0 || row >= m_model->rowCount())
        return nullptr;
    return qobject_cast<SubtitleTextEditor *>(
        m_tableView->indexWidget(m_model->index(row, SubtitleTableModel::TextColumn)));
}

bool SubtitlesTableViewController::endEditing()
{
    QWidget *editor = m_tableView->openEditor();
    if (!editor)
        return true;
    if (!m_delegate->commitAndClose(editor))
        return false;
    m_tableView->setFocus();
    // The edit is its own undo step, apart from the command that follows.
    m_document->undoManager().closeEventGroup();
    return true;
}

int SubtitlesTableViewController::endEditingFinding(const SubtitlePtr &subtitle)
{
    if (!endEditing())
        return -1;
    // A committed start time may have moved the subtitle.
    return m_document->subtitleController().indexOf(subtitle);
}

void SubtitlesTableViewController::showError(const QString &message)
{
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), message, QMessageBox::Ok,
                    window());
    box.exec();
}

void SubtitlesTableViewController::nameUndoStep(const QString &name)
{
    m_document->undoManager().setActionName(name);
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
    const SubtitleTextEditor *editor = textEditorOfRow(splitRow());
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
    if (!canMergeSubtitles() || !endEditing())
        return;
    const IndexSet targets = targetRowIndexes();
    m_document->undoManager().runAsOneStep(tr("Merge Subtitles"),
                                           [&] { m_document->subtitleController().mergeSubtitles(targets); });
}

void SubtitlesTableViewController::toggleItalic()
{
    // The text being edited wins, whatever is selected.
    if (auto *editor = qobject_cast<SubtitleTextEditor *>(m_tableView->openEditor())) {
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
    if (!endEditing())
        return;
    std::optional<double> time;
    if (Player *player = m_document->player())
        time = player->currentTime();
    const IndexSet targets = targetRowIndexes();
    std::optional<int> anchor;
    if (!targets.isEmpty())
        anchor = targets.first();
    const std::optional<int> row = m_document->subtitleController().addSubtitle(time, anchor);
    nameUndoStep(tr("Add Subtitle"));
    if (row)
        beginEditingSubtitle(*row);
}

void SubtitlesTableViewController::duplicateSubtitle()
{
    const IndexSet targets = targetRowIndexes();
    if (targets.isEmpty())
        return;
    const int row = endEditingFinding(m_document->subtitleController().at(targets.first()));
    if (row < 0)
        return;
    m_document->subtitleController().duplicateSubtitle(row);
    nameUndoStep(tr("Duplicate Subtitle"));
}

void SubtitlesTableViewController::deleteSubtitles()
{
    const IndexSet targets = targetRowIndexes();
    if (targets.isEmpty())
        return;
    SubtitleController &controller = m_document->subtitleController();
    controller.removeSubtitles(controller.subtitlesAt(targets), targets);
    nameUndoStep(targets.count() == 1 ? tr("Delete Subtitle") : tr("Delete Subtitles"));
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
        if (undoManager)
            undoManager->beginUndoGrouping();
        if (!targets.isEmpty())
            controller.removeSubtitles(controller.subtitlesAt(targets), targets);
        // Each lands where its start time puts it, not where the replaced rows were.
        if (!subtitles.isEmpty())
            controller.insertInTimeOrder(std::move(subtitles));
        if (undoManager) {
            undoManager->setActionName(tr("Paste"));
            undoManager->endUndoGrouping();
        }
    }
}

void SubtitlesTableViewController::splitSubtitle()
{
    const int target = splitRow();
    SubtitleTextEditor *editor = textEditorOfRow(target);
    if (!editor)
        return; // the split needs the caret of the text being edited
    const int position = editor->caretPosition();
    // The text as the user sees it is committed first, so the split divides that.
    const int row = endEditingFinding(m_document->subtitleController().at(target));
    if (row < 0)
        return;
    m_document->subtitleController().splitSubtitle(row, position);
    nameUndoStep(tr("Split Subtitle"));
}

void SubtitlesTableViewController::selectAll()
{
    m_tableView->selectAll();
}

void SubtitlesTableViewController::editSubtitle(int row)
{
    Player *player = m_document->player();
    m_continuePlayingAfterEditing = player && player->rate() != 0;
    if (player)
        player->pause();
    beginEditingSubtitle(row);
}

void SubtitlesTableViewController::beginEditingSubtitle(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_document->setSelectedSubtitleIndexes(IndexSet(row));
    const QModelIndex textIndex = m_model->index(row, SubtitleTableModel::TextColumn);
    // A row out of view is brought into it first, so its editor has a place.
    m_tableView->scrollTo(textIndex);
    m_tableView->selectionModel()->setCurrentIndex(textIndex, QItemSelectionModel::NoUpdate);
    m_tableView->setFocus();
    m_tableView->edit(textIndex);
}

void SubtitlesTableViewController::confirmSubtitleEdit()
{
    if (!m_continuePlayingAfterEditing)
        return;
    m_continuePlayingAfterEditing = false;
    if (Player *player = m_document->player())
        player->play();
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
