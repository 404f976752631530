#include "list/TableSelectionSync.h"

#include "document/Document.h"
#include "list/SubtitleItemDelegate.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitlesTableView.h"

#include <algorithm>
#include <limits>
#include <vector>

TableSelectionSync::TableSelectionSync(Document *document, SubtitleTableModel *model, SubtitlesTableView *view,
                                       SubtitleItemDelegate *delegate, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_model(model)
    , m_view(view)
    , m_delegate(delegate)
{
    // A selection kept in the document only is drawn from there; a gesture that changes
    // part of it needs it whole in Qt's selection model first.
    m_delegate->setRowSelected([this](int row) {
        return m_selectionOnlyInDocument && m_document && m_document->selectedSubtitleIndexes().contains(row);
    });
    m_view->setBeforeSelectionChangeInPlace([this] {
        if (m_selectionOnlyInDocument && m_document)
            mirrorSelection(m_document->selectedSubtitleIndexes(), std::numeric_limits<int>::max());
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TableSelectionSync::pushSelection);
    connect(document, &Document::selectionChanged, this,
            [this](const IndexSet &selection) { applySelection(selection); });
    // The document selects the moved subtitles right after a reordering. A selection kept
    // through it would be kept row by row, a persistent index for each, and undoing one
    // in many places costs a repaint region per place: let it go quietly, and keep only
    // the current row, which goes with its subtitle.
    connect(m_model, &SubtitleTableModel::rowsAboutToBeReordered, this, [this] {
        QItemSelectionModel *selection = m_view->selectionModel();
        m_currentWhileReordering = selection->currentIndex();
        selection->reset();
    });
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] {
        if (m_currentWhileReordering.isValid())
            m_view->selectionModel()->setCurrentIndex(m_currentWhileReordering, QItemSelectionModel::NoUpdate);
        m_currentWhileReordering = QPersistentModelIndex();
        m_view->viewport()->update();
    });
    // A reload clears the table's selection but not the document's.
    connect(document, &Document::subtitlesReloaded, this,
            [this] { applySelection(m_document->selectedSubtitleIndexes()); });
    connect(document, &Document::showSubtitleRequested, this, &TableSelectionSync::showRow);

    applySelection(document->selectedSubtitleIndexes());
}

TableSelectionSync::~TableSelectionSync()
{
    m_view->setBeforeSelectionChangeInPlace({});
    m_delegate->setRowSelected({});
    m_view->selectionModel()->disconnect(this);
}

void TableSelectionSync::pushSelection()
{
    // What Qt drops from the selection while the rows follow a change is no choice of
    // the user's; the document selects what the change left once it is over.
    if (m_isApplyingDocumentSelection || m_model->isReplayingChange())
        return;
    // Qt's selection model now holds the whole selection, which Qt draws.
    if (m_selectionOnlyInDocument) {
        m_selectionOnlyInDocument = false;
        m_view->viewport()->update();
    }
    QList<QItemSelectionRange> ranges = m_view->selectionModel()->selection();
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
    emit selectionChanged();
}

void TableSelectionSync::applySelection(const IndexSet &selection)
{
    // The table made this selection itself: it already shows it.
    if (m_isManipulatingSelection)
        return;
    // Qt's selection model keeps two persistent indexes per run of rows and goes through
    // every run for each painted cell: a command that leaves rows selected in a hundred
    // thousand places would make each paint and each later change of the list crawl.
    mirrorSelection(selection, 1000);
    // Keyboard navigation goes on from the selection.
    QItemSelectionModel *selectionModel = m_view->selectionModel();
    const QModelIndex current = selectionModel->currentIndex();
    const bool shown = !selection.isEmpty() && selection.first() < m_model->rowCount();
    if (shown && (!current.isValid() || !selection.contains(current.row()))) {
        const int column = current.isValid() ? current.column() : 0;
        selectionModel->setCurrentIndex(m_model->index(selection.first(), column), QItemSelectionModel::NoUpdate);
    }
    emit selectionChanged();
}

void TableSelectionSync::mirrorSelection(const IndexSet &selection, int rangeLimit)
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
    m_view->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    // Qt repaints only what its own selection model changed.
    if (wasOnlyInDocument || m_selectionOnlyInDocument)
        m_view->viewport()->update();
    m_isApplyingDocumentSelection = false;
}

void TableSelectionSync::showRow(int row)
{
    if (!m_isManipulatingSelection && row >= 0 && row < m_model->rowCount())
        m_view->scrollTo(m_model->index(row, 0));
}
