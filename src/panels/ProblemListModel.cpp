#include "panels/ProblemListModel.h"

#include "document/Document.h"

#include <QTimer>

#include <algorithm>

ProblemListModel::ProblemListModel(Document *document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
{
    const auto changed = [this] { scheduleRefresh(); };
    connect(&document->problemIndex(), &ProblemIndex::problemsChanged, this, changed);
    // Insertions and removals renumber the subtitles after them.
    connect(document, &Document::subtitlesChanged, this, changed);
}

int ProblemListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ProblemListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

std::pair<int, QualityCheck::Problem> ProblemListModel::problemAt(int row) const
{
    if (row < 0 || size_t(row) >= m_rows.size())
        return {-1, QualityCheck::Overlap};
    return m_rows[size_t(row)];
}

int ProblemListModel::firstRowOf(int position) const
{
    const auto it = std::lower_bound(m_rows.cbegin(), m_rows.cend(), position,
                                     [](const auto &row, int value) { return row.first < value; });
    return it != m_rows.cend() && it->first == position ? int(it - m_rows.cbegin()) : -1;
}

QVariant ProblemListModel::data(const QModelIndex &index, int role) const
{
    const auto [position, problem] = problemAt(index.row());
    if (position < 0 || !m_document)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int((index.column() == NumberColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case NumberColumn:
        return QString::number(position + 1);
    case KindColumn:
        return QualityCheck::name(problem);
    case DescriptionColumn:
        return m_document->problemIndex().describe(position, problem);
    }
    return {};
}

QVariant ProblemListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NumberColumn:
        return tr("#");
    case KindColumn:
        return tr("Problem");
    case DescriptionColumn:
        return tr("Description");
    }
    return {};
}

void ProblemListModel::setLive(bool live)
{
    m_live = live;
    if (live)
        refresh();
}

void ProblemListModel::scheduleRefresh()
{
    m_stale = true;
    if (!m_live || m_refreshScheduled)
        return;
    m_refreshScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshScheduled = false;
        refresh();
    });
}

void ProblemListModel::refresh()
{
    if (!m_stale || !m_document)
        return;
    m_stale = false;
    const ProblemIndex &index = m_document->problemIndex();
    const int count = m_document->subtitleController().count();
    beginResetModel();
    m_rows.clear();
    for (int position = 0; position < count; ++position) {
        const QualityCheck::Problems problems = index.problems(position);
        if (!problems)
            continue;
        for (QualityCheck::Problem problem : QualityCheck::allProblems) {
            if (problems & problem)
                m_rows.emplace_back(position, problem);
        }
    }
    endResetModel();
    emit refreshed();
}
