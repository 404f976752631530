#include "list/SubtitleTableModel.h"

#include "app/Document.h"
#include "format/SubtitleParser.h"

#include <algorithm>

SubtitleTableModel::SubtitleTableModel(Document *document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
{
    m_rowCount = document->subtitleController().count();
    connect(document, &Document::subtitlesReloaded, this, &SubtitleTableModel::reload);
    connect(document, &Document::subtitlesInserted, this, &SubtitleTableModel::insertRows);
    connect(document, &Document::subtitlesRemoved, this,
            [this](const SubtitleList &, const IndexSet &indexes) { removeRows(indexes); });
    connect(document, &Document::subtitlesUpdated, this,
            [this](const IndexSet &indexes, const QList<SubtitleIndexUpdate> &indexUpdates, const IndexSet &) {
                updateRows(indexes, indexUpdates);
            });
}

int SubtitleTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int SubtitleTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

SubtitlePtr SubtitleTableModel::subtitleAt(int row) const
{
    if (!m_document || row < 0 || row >= m_rowCount || row >= m_document->subtitleController().count())
        return nullptr;
    return m_document->subtitleController().at(row);
}

QVariant SubtitleTableModel::data(const QModelIndex &index, int role) const
{
    const SubtitlePtr subtitle = subtitleAt(index.row());
    if (!subtitle)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case NumberColumn:
            return QString::number(index.row() + 1);
        case StartColumn:
            return SubtitleParser::shared().formatTime(subtitle->start);
        case EndColumn:
            return SubtitleParser::shared().formatTime(subtitle->end);
        case TextColumn:
            return subtitle->text;
        }
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == NumberColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant SubtitleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int((section == NumberColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NumberColumn:
        return tr("#");
    case StartColumn:
        return tr("Start");
    case EndColumn:
        return tr("End");
    case TextColumn:
        return tr("Text");
    }
    return {};
}

Qt::ItemFlags SubtitleTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && isEditable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

void SubtitleTableModel::reload()
{
    beginResetModel();
    m_rowCount = m_document ? m_document->subtitleController().count() : 0;
    endResetModel();
}

// Runs of consecutive positions, ascending.
template <typename Function>
static void forEachRun(const IndexSet &indexes, Function function)
{
    int k = 0;
    while (k < indexes.count()) {
        const int first = indexes.at(k);
        int last = first;
        while (k + 1 < indexes.count() && indexes.at(k + 1) == last + 1) {
            ++k;
            ++last;
        }
        function(first, last);
        ++k;
    }
}

void SubtitleTableModel::insertRows(const IndexSet &indexes)
{
    // The positions are final ones: inserting the runs in ascending order lands each
    // where it belongs.
    forEachRun(indexes, [this](int first, int last) {
        beginInsertRows({}, first, last);
        m_rowCount += last - first + 1;
        endInsertRows();
    });
    if (!indexes.isEmpty())
        renumberFrom(indexes.first());
}

void SubtitleTableModel::removeRows(const IndexSet &indexes)
{
    QList<std::pair<int, int>> runs;
    forEachRun(indexes, [&runs](int first, int last) { runs.append({first, last}); });
    // From the bottom up, so that each run's positions are still valid.
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        beginRemoveRows({}, it->first, it->second);
        m_rowCount -= it->second - it->first + 1;
        endRemoveRows();
    }
    if (!indexes.isEmpty())
        renumberFrom(indexes.first());
}

void SubtitleTableModel::updateRows(const IndexSet &indexes, const QList<SubtitleIndexUpdate> &indexUpdates)
{
    // Whole rows, never a single cell: a view refills an open editor only when exactly
    // its cell is reported, and a cell being edited must keep what the user typed.
    for (int row : indexes)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));

    // Each update is one take-and-insert on the list as the previous one left it.
    int firstMoved = m_rowCount;
    for (const SubtitleIndexUpdate &update : indexUpdates) {
        const int from = update.oldIndex;
        const int to = update.newIndex;
        if (from == to)
            continue;
        // Qt names the row before which the moved row goes, counted before the move.
        const int destination = to > from ? to + 1 : to;
        beginMoveRows({}, from, from, {}, destination);
        endMoveRows();
        firstMoved = std::min({firstMoved, from, to});
    }
    renumberFrom(firstMoved);
}

void SubtitleTableModel::renumberFrom(int row)
{
    if (row < m_rowCount)
        emit dataChanged(index(row, NumberColumn), index(m_rowCount - 1, NumberColumn), {Qt::DisplayRole});
}
