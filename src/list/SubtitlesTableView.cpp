#include "list/SubtitlesTableView.h"

#include "list/SubtitleItemDelegate.h"
#include "list/SubtitleTableModel.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

SubtitlesTableView::SubtitlesTableView(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setDragEnabled(false);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(true);
    setTextElideMode(Qt::ElideRight);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Tab goes on to the text box and the other panes; the arrows move between cells.
    setTabKeyNavigation(false);
    setAccessibleName(tr("Subtitles"));
    setAccessibleDescription(tr("One subtitle a row. Return edits the cell; Space, J, K and L play, "
                                "Left and Right step one frame."));

    // One height for every row keeps a long list as cheap as a short one.
    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(SubtitleItemDelegate::rowHeight(fontMetrics()));
}

void SubtitlesTableView::setModel(QAbstractItemModel *model)
{
    if (QAbstractItemModel *old = this->model())
        old->disconnect(this);
    QTableView::setModel(model);
    if (!model)
        return;
    // A number with one more digit would be cut, so the column follows the row count.
    connect(model, &QAbstractItemModel::rowsInserted, this, &SubtitlesTableView::fitNumberColumn);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &SubtitlesTableView::fitNumberColumn);
    connect(model, &QAbstractItemModel::modelReset, this, &SubtitlesTableView::fitNumberColumn);
    sizeColumns();
    fitNumberColumn();
}

void SubtitlesTableView::sizeColumns()
{
    if (model()->columnCount() != SubtitleTableModel::ColumnCount)
        return;
    QHeaderView *columns = horizontalHeader();
    const QFontMetrics metrics = fontMetrics();
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
        const int text = columns->visualIndex(SubtitleTableModel::TextColumn);
        if (columns->visualIndex(column) > text)
            columns->moveSection(columns->visualIndex(column), text);
    }
    // The original stands before the translation, which keeps the stretching place.
    const int text = columns->visualIndex(SubtitleTableModel::TextColumn);
    if (columns->visualIndex(SubtitleTableModel::OriginalColumn) > text)
        columns->moveSection(columns->visualIndex(SubtitleTableModel::OriginalColumn), text);
    columns->setStretchLastSection(true);
    columns->setHighlightSections(false);
    connect(columns, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        // Only a width the user drags is a choice; shown again, a column comes back at its old one.
        const bool dragged = QGuiApplication::mouseButtons() & Qt::LeftButton;
        if (column != SubtitleTableModel::OriginalColumn || m_fittingText || !dragged || size == 0 || isColumnHidden(column))
            return;
        if (const int room = textRoom(); room > 0)
            m_originalShare = std::clamp(double(size) / room, 0.0, 0.5);
    });
}

int SubtitlesTableView::textRoom() const
{
    const QHeaderView *columns = horizontalHeader();
    int room = viewport()->width();
    for (int column = 0; column < columns->count(); ++column) {
        if (column != SubtitleTableModel::TextColumn && column != SubtitleTableModel::OriginalColumn
            && !columns->isSectionHidden(column))
            room -= columns->sectionSize(column);
    }
    return room;
}

QSize SubtitlesTableView::minimumSizeHint() const
{
    QSize hint = QTableView::minimumSizeHint();
    if (!model() || model()->columnCount() != SubtitleTableModel::ColumnCount)
        return hint;
    const int texts = isColumnHidden(SubtitleTableModel::OriginalColumn) ? 1 : 2;
    const int fixed = viewport()->width() - textRoom();
    const int frame = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    hint.setWidth(std::max(hint.width(), fixed + texts * minimumTextWidth * fontMetrics().averageCharWidth() + frame));
    return hint;
}

void SubtitlesTableView::fitTextColumns()
{
    if (!model() || model()->columnCount() != SubtitleTableModel::ColumnCount)
        return;
    updateGeometry(); // the minimum width follows the shown columns
    if (isColumnHidden(SubtitleTableModel::OriginalColumn))
        return;
    QHeaderView *columns = horizontalHeader();
    const int width = std::max(columns->minimumSectionSize(), int(textRoom() * m_originalShare));
    if (columns->sectionSize(SubtitleTableModel::OriginalColumn) == width)
        return;
    m_fittingText = true;
    columns->resizeSection(SubtitleTableModel::OriginalColumn, width);
    m_fittingText = false;
}

void SubtitlesTableView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitTextColumns();
}

void SubtitlesTableView::fitNumberColumn()
{
    if (!model() || model()->columnCount() <= SubtitleTableModel::NumberColumn)
        return;
    // At least four digits, so that a short list does not make the column jump as it grows.
    const int digits = std::max(4, int(QString::number(model()->rowCount()).size()));
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.text = QString(digits, QLatin1Char('0'));
    const int needed = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
    const int padding = fontMetrics().horizontalAdvance(QLatin1Char(' ')) + 4;
    horizontalHeader()->resizeSection(SubtitleTableModel::NumberColumn, needed + padding);
}

void SubtitlesTableView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitNumberColumn();
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

QItemSelectionModel::SelectionFlags SubtitlesTableView::selectionCommand(const QModelIndex &index,
                                                                         const QEvent *event) const
{
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    const bool changes = command & (QItemSelectionModel::Select | QItemSelectionModel::Deselect | QItemSelectionModel::Toggle);
    if (changes && !(command & QItemSelectionModel::Clear) && m_beforeChangeInPlace)
        m_beforeChangeInPlace();
    return command;
}

bool SubtitlesTableView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!QTableView::edit(index, trigger, event))
        return false;
    if (QWidget *editor = indexWidget(index); editor && state() == EditingState) {
        m_editedIndex = index;
        emit editingStarted(editor);
    }
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
    // The press took the focus from the open editor, which would have closed if it had
    // not refused its value: a press that moved on would close it all the same.
    if (openEditor()) {
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

QWidget *SubtitlesTableView::openEditor() const
{
    return isEditing() && m_editedIndex.isValid() ? indexWidget(m_editedIndex) : nullptr;
}

void SubtitlesTableView::cancelEditing()
{
    if (QWidget *editor = openEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}
