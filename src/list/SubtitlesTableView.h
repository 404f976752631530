#pragma once

#include <QPersistentModelIndex>
#include <QTableView>

#include <functional>

// The list's table. Hands the playback keys to whoever listens instead of moving
// through cells, keeps the selection on a right click (the clicked row is remembered
// while its menu is open), and reports every inline editor it opens.
class SubtitlesTableView : public QTableView
{
    Q_OBJECT

public:
    explicit SubtitlesTableView(QWidget *parent = nullptr);

    using QTableView::edit;

    // Called before a key or click adds rows to the selection or takes rows from it
    // (rather than replacing it), so that the selection model then holds all of it.
    void setBeforeSelectionChangeInPlace(std::function<void()> handler) { m_beforeChangeInPlace = std::move(handler); }
    // The row of the open context menu, or -1.
    int clickedRow() const { return m_clickedRow; }
    bool isEditing() const { return state() == EditingState; }
    // The open inline editor, or nullptr; editedIndex() is its cell, which follows the
    // row wherever it moves.
    QWidget *openEditor() const;
    QModelIndex editedIndex() const { return m_editedIndex; }
    // Closes the open editor without committing it, as Escape does.
    void cancelEditing();

    // Space, J, K, L and the left and right arrows, without modifiers.
    static bool isPlaybackKey(const QKeyEvent *event);

    // Sizes the columns of a SubtitleTableModel and puts the measures before the text.
    void setModel(QAbstractItemModel *model) override;
    // Makes the # column as wide as the largest number with a problem mark beside it.
    void fitNumberColumn();
    // The shown Original and the Text share the room the other columns leave, the
    // Original taking at most half, so the translation never leaves the view. Kept up on
    // every resize; a width the user gives the Original is kept as its share.
    void fitTextColumns();
    // Wide enough for the times and measures and some of each shown text, so that a
    // window's splitters take the room from the other panes, not from the texts.
    QSize minimumSizeHint() const override;

signals:
    // A playback key went down or up (both are reported, as the player may care).
    void playbackKeyEvent(QKeyEvent *event);
    void contextMenuRequested(const QPoint &globalPosition);
    // An inline editor opened, whichever way the user asked for it.
    void editingStarted(QWidget *editor);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void sizeColumns();
    int textRoom() const;

    std::function<void()> m_beforeChangeInPlace;
    int m_clickedRow = -1;
    QPersistentModelIndex m_editedIndex;
    // In average characters: a few words of a line.
    static constexpr int minimumTextWidth = 16;
    double m_originalShare = 0.5;
    bool m_fittingText = false;
};
