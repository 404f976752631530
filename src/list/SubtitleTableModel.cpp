#include "list/SubtitleTableModel.h"

#include "document/Document.h"
#include "model/quality/QualityCheck.h"
#include "model/text/SubtitleMarkup.h"
#include "spelling/Spelling.h"
#include "style/ProblemColour.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>

namespace {

// A dot in the # column: visible in selected rows too, where backgrounds are not.
QIcon problemIcon()
{
    static const QIcon icon = [] {
        QPixmap pixmap(12, 12);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ProblemColour::solid());
        painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        return QIcon(pixmap);
    }();
    return icon;
}

// The problems each column is marked for.
QualityCheck::Problems markedProblems(int column)
{
    switch (column) {
    case SubtitleTableModel::EndColumn:
        return QualityCheck::Overlap | QualityCheck::GapTooSmall;
    case SubtitleTableModel::DurationColumn:
        return QualityCheck::TooShort | QualityCheck::TooLong;
    case SubtitleTableModel::ReadingSpeedColumn:
        return QualityCheck::TooFast;
    case SubtitleTableModel::LongestLineColumn:
        return QualityCheck::LineTooLong | QualityCheck::TooManyLines;
    default:
        return {};
    }
}

} // namespace

SubtitleTableModel::SubtitleTableModel(Document *document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
{
    m_rows = document->subtitleController().subtitles();
    connect(document, &Document::subtitlesReloaded, this, &SubtitleTableModel::reload);
    connect(document, &Document::subtitlesInserted, this, &SubtitleTableModel::insertRows);
    connect(document, &Document::subtitlesRemoved, this,
            [this](const SubtitleList &, const IndexSet &indexes) { removeRows(indexes); });
    connect(document, &Document::subtitlesUpdated, this,
            [this](const IndexSet &indexes, const QList<SubtitleIndexUpdate> &indexUpdates, const IndexSet &) {
                updateRows(indexes, indexUpdates);
            });
    connect(document, &Document::subtitlesReordered, this,
            [this](const IndexSet &, const std::vector<int> &newPositions, const IndexSet &) {
                reorderRows(newPositions);
            });
    // Queued: the index reports positions of the list as it is, which these rows reach
    // only once the change has been replayed on them.
    connect(&document->problemIndex(), &ProblemIndex::problemsChanged, this, &SubtitleTableModel::problemsChanged,
            Qt::QueuedConnection);
    connect(document, &Document::timeDisplayChanged, this, &SubtitleTableModel::timesChanged);
    connect(&document->originalSubtitles(), &OriginalSubtitles::changed, this, &SubtitleTableModel::originalChanged);
}

void SubtitleTableModel::originalChanged()
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, OriginalColumn), index(int(m_rows.size()) - 1, OriginalColumn));
}

TimeDisplay SubtitleTableModel::timeDisplay() const
{
    return m_document ? m_document->timeDisplay() : TimeDisplay();
}

void SubtitleTableModel::timesChanged()
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, StartColumn), index(int(m_rows.size()) - 1, EndColumn), {Qt::DisplayRole, Qt::EditRole});
    emit headerDataChanged(Qt::Horizontal, StartColumn, EndColumn);
}

int SubtitleTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SubtitleTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

SubtitlePtr SubtitleTableModel::subtitleAt(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return nullptr;
    return m_rows.at(row);
}

void SubtitleTableModel::setSpelling(Spelling *spelling)
{
    m_spelling = spelling;
    connect(spelling, &Spelling::changed, this, [this] {
        if (!m_rows.isEmpty())
            emit dataChanged(index(0, TextColumn), index(int(m_rows.size()) - 1, TextColumn), {Qt::DecorationRole});
    });
}

Spelling *SubtitleTableModel::spelling() const
{
    return m_spelling;
}

// A short wavy red line, as under a misspelt word.
static QIcon misspeltMark()
{
    static const QIcon icon = [] {
        QPixmap pixmap(12, 12);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ProblemColour::solid(), 1.5));
        QPainterPath wave(QPointF(0, 8));
        for (int x = 0; x < 12; x += 3)
            wave.quadTo(x + 1.5, x % 6 == 0 ? 5 : 11, x + 3, 8);
        painter.drawPath(wave);
        return QIcon(pixmap);
    }();
    return icon;
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
            return timeDisplay().format(subtitle->start);
        case EndColumn:
            return timeDisplay().format(subtitle->end);
        case TextColumn:
            return subtitle->text();
        case OriginalColumn:
            if (const Subtitle *original = m_document ? m_document->originalSubtitles().pairedWith(subtitle->start, subtitle->end) : nullptr)
                return original->text();
            return {};
        }
        break;
    case Qt::DecorationRole:
        if (index.column() == TextColumn && m_spelling && !m_spelling->misspelledWords(subtitle->text()).isEmpty())
            return misspeltMark();
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == NumberColumn || isMeasure(index.column()))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::AccessibleTextRole:
    case Qt::AccessibleDescriptionRole:
        return accessibleData(*subtitle, index.row(), index.column(), role);
    }
    return qualityData(*subtitle, index.row(), index.column(), role);
}

// What a screen reader says of a cell: the words of a text without its tags, and, read
// after it, what the marks of the cell show (its problems, misspelt words).
QVariant SubtitleTableModel::accessibleData(const Subtitle &subtitle, int row, int column, int role) const
{
    if (role == Qt::AccessibleTextRole) {
        if (column == TextColumn)
            return SubtitleMarkup::spoken(subtitle.text());
        if (column == OriginalColumn)
            return SubtitleMarkup::spoken(data(index(row, column)).toString());
        return {};
    }
    QStringList said;
    if (column == TextColumn && m_spelling) {
        const QString text = subtitle.text();
        QStringList words;
        for (const Spelling::Range &range : m_spelling->misspelledWords(text))
            words << text.mid(range.start, range.length);
        if (!words.isEmpty())
            said << tr("Misspelt: %1").arg(words.join(QStringLiteral(", ")));
    }
    if (m_document) {
        const ProblemIndex &problems = m_document->problemIndex();
        // The number says every problem of the row; the other cells those they are marked for.
        QualityCheck::Problems found = problems.problems(row);
        if (column != NumberColumn)
            found &= markedProblems(column);
        for (QualityCheck::Problem problem : QualityCheck::allProblems) {
            if (found & problem)
                said << tr("%1: %2").arg(QualityCheck::name(problem), problems.describe(row, problem));
        }
    }
    return said.isEmpty() ? QVariant() : QVariant(said.join(QStringLiteral(". ")));
}

QVariant SubtitleTableModel::qualityData(const Subtitle &subtitle, int row, int column, int role) const
{
    if (role == Qt::DisplayRole && isMeasure(column)) {
        const QualityLimits::Characters reading =
            m_document ? m_document->problemIndex().limits().readingCharacters : QualityLimits::Characters::All;
        const QualityCheck::TextMeasure text = QualityCheck::measure(subtitle.text(), reading);
        switch (column) {
        case DurationColumn:
            return QualityCheck::shownNumber(QualityCheck::duration(subtitle), 3);
        case ReadingSpeedColumn: {
            const double speed = QualityCheck::readingSpeed(text.characters, QualityCheck::duration(subtitle));
            return std::isfinite(speed) ? QualityCheck::shownNumber(speed, 1) : QStringLiteral("∞");
        }
        case LongestLineColumn:
            return text.lines > 1 ? tr("%1 ×%2", "longest line, number of lines").arg(text.longestLine).arg(text.lines)
                                  : QString::number(text.longestLine);
        }
    }
    if (!m_document || (role != Qt::BackgroundRole && role != Qt::DecorationRole && role != Qt::ToolTipRole))
        return {};
    const ProblemIndex &problems = m_document->problemIndex();
    const QualityCheck::Problems found = problems.problems(row);
    if (!found)
        return {};
    if (role == Qt::DecorationRole)
        return column == NumberColumn ? QVariant(problemIcon()) : QVariant();
    if (role == Qt::BackgroundRole)
        return found & markedProblems(column) ? QVariant(ProblemColour::background()) : QVariant();
    if (column == TextColumn || column == OriginalColumn) // these tips show the whole text
        return {};
    QStringList lines;
    for (QualityCheck::Problem problem : QualityCheck::allProblems) {
        if (found & problem)
            lines << tr("%1: %2").arg(QualityCheck::name(problem), problems.describe(row, problem));
    }
    return lines.join(u'\n');
}

QVariant SubtitleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int((section == NumberColumn || isMeasure(section) ? Qt::AlignRight : Qt::AlignLeft)
                   | Qt::AlignVCenter);
    if (role == Qt::AccessibleTextRole) {
        switch (section) {
        case NumberColumn:
            return tr("Number");
        case ReadingSpeedColumn:
            return tr("Reading speed");
        case LongestLineColumn:
            return tr("Longest line");
        }
        return {};
    }
    if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
        switch (section) {
        case DurationColumn:
            return tr("Seconds on screen");
        case ReadingSpeedColumn:
            return tr("Reading speed: visible characters per second, without line breaks and formatting tags");
        case LongestLineColumn:
            return tr("Characters in the longest line (×: the number of lines)");
        case StartColumn:
        case EndColumn:
            return timeDisplay().fallbackNote();
        }
        return {};
    }
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
    case DurationColumn:
        return tr("Duration");
    case ReadingSpeedColumn:
        return tr("CPS", "characters per second");
    case LongestLineColumn:
        return tr("Line", "characters in the longest line");
    case OriginalColumn:
        return tr("Original");
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

bool SubtitleTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const SubtitlePtr subtitle = subtitleAt(index.row());
    if (!m_document || !subtitle || role != Qt::EditRole || !isEditable(index.column()))
        return false;
    SubtitleController &controller = m_document->subtitleController();
    const int row = controller.indexOf(subtitle);
    if (row < 0)
        return false;
    UndoManager &undo = m_document->undoManager();
    const QString text = value.toString();
    if (index.column() == TextColumn) {
        if (text != subtitle->text())
            undo.runAsOneStep(tr("Edit Text"), [&] { controller.setText(text, row); });
        return true;
    }
    const Expected<double, QString> time = timeDisplay().parse(text);
    if (!time)
        return false;
    if (index.column() == StartColumn && time.value() != subtitle->start)
        undo.runAsOneStep(tr("Edit Start Time"), [&] { controller.setStart(row, time.value()); });
    else if (index.column() == EndColumn && time.value() != subtitle->end)
        undo.runAsOneStep(tr("Edit End Time"), [&] { controller.setEnd(row, time.value()); });
    return true;
}

void SubtitleTableModel::reload()
{
    const QScopedValueRollback replaying(m_replaying, true);
    beginResetModel();
    m_rows = m_document ? m_document->subtitleController().subtitles() : SubtitleList();
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

// Changes in more places than this are shown as a new list: one change instead of one
// per place, each of which moves the rest of the rows along.
constexpr int manyRuns = 64;

void SubtitleTableModel::insertRows(const IndexSet &indexes)
{
    const QScopedValueRollback replaying(m_replaying, true);
    const SubtitleList &list = m_document->subtitleController().subtitles();
    QList<std::pair<int, int>> runs;
    forEachRun(indexes, [&runs](int first, int last) { runs.append({first, last}); });
    if (runs.size() > manyRuns) {
        reload();
        return;
    }
    // The positions are final ones: inserting the runs in ascending order lands each
    // where it belongs.
    for (const auto &[first, last] : std::as_const(runs)) {
        beginInsertRows({}, first, last);
        m_rows.insert(first, last - first + 1, nullptr);
        std::copy(list.cbegin() + first, list.cbegin() + last + 1, m_rows.begin() + first);
        endInsertRows();
    }
    if (!indexes.isEmpty())
        renumberFrom(indexes.first());
}

void SubtitleTableModel::removeRows(const IndexSet &indexes)
{
    const QScopedValueRollback replaying(m_replaying, true);
    QList<std::pair<int, int>> runs;
    forEachRun(indexes, [&runs](int first, int last) { runs.append({first, last}); });
    if (runs.size() > manyRuns) {
        reload();
        return;
    }
    // From the bottom up, so that each run's positions are still valid.
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        beginRemoveRows({}, it->first, it->second);
        m_rows.remove(it->first, it->second - it->first + 1);
        endRemoveRows();
    }
    if (!indexes.isEmpty())
        renumberFrom(indexes.first());
}

void SubtitleTableModel::updateRows(const IndexSet &indexes, const QList<SubtitleIndexUpdate> &indexUpdates)
{
    const QScopedValueRollback replaying(m_replaying, true);
    // Each update is one take-and-insert on the list as the previous one left it.
    int firstMoved = int(m_rows.size());
    for (const SubtitleIndexUpdate &update : indexUpdates) {
        const int from = update.oldIndex;
        const int to = update.newIndex;
        if (from == to)
            continue;
        // Qt names the row before which the moved row goes, counted before the move.
        const int destination = to > from ? to + 1 : to;
        beginMoveRows({}, from, from, {}, destination);
        m_rows.move(from, to);
        endMoveRows();
        firstMoved = std::min({firstMoved, from, to});
    }

    // Whole rows, never a single cell: a view refills an open editor only when exactly
    // its cell is reported, and a cell being edited must keep what the user typed.
    // `indexes` were the rows before the moves; the same subtitles lie at newIndexes.
    QList<std::pair<int, int>> runs;
    forEachRun(indexes, [&runs, firstMoved](int first, int last) {
        if (first < firstMoved)
            runs.append({first, std::min(last, firstMoved - 1)});
    });
    if (runs.size() > manyRuns) // one report for rows in many places
        runs = {{runs.first().first, runs.last().second}};
    for (const auto &[first, last] : std::as_const(runs))
        emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
    renumberFrom(firstMoved);
}

void SubtitleTableModel::reorderRows(const std::vector<int> &newPositions)
{
    const QScopedValueRollback replaying(m_replaying, true);
    // One layout change: persistent indexes (the current row, an open editor) follow
    // their subtitles.
    emit rowsAboutToBeReordered();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before) {
        const int row = size_t(old.row()) < newPositions.size() ? newPositions[size_t(old.row())] : old.row();
        after.append(index(row, old.column()));
    }
    m_rows = m_document ? m_document->subtitleController().subtitles() : SubtitleList();
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    renumberFrom(0); // every row may show other times and numbers
}

void SubtitleTableModel::problemsChanged(int first, int last)
{
    const int lastRow = int(m_rows.size()) - 1;
    if (first > lastRow)
        return;
    emit dataChanged(index(std::max(first, 0), 0), index(std::min(last, lastRow), ColumnCount - 1));
}

void SubtitleTableModel::renumberFrom(int row)
{
    if (row < m_rows.size())
        emit dataChanged(index(row, NumberColumn), index(int(m_rows.size()) - 1, ColumnCount - 1));
}
