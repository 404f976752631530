#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

class SubtitleTableModel;

// Draws the rows and makes their inline editors: a line edit for the times, a
// multi-line editor for the text. A commit hands the editor's value to the model's
// setData, and only when the user changed it, so that an untouched editor leaves the
// subtitle as another pane may have changed it meanwhile.
//
// A time that does not read as one is refused before any commit: the user is told why
// and the editor stays open with what was typed, until Escape gives it up. Return
// commits the text editor too (Shift+Return breaks the line).
class SubtitleItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Rows are this many text lines high; longer texts are cut with an ellipsis and
    // shown whole in a tooltip. Two is the usual most for one subtitle.
    static constexpr int visibleTextLines = 2;

    explicit SubtitleItemDelegate(SubtitleTableModel *model, QObject *parent = nullptr);

    // Rows drawn selected besides those in the view's selection model.
    void setRowSelected(std::function<bool(int row)> isSelected) { m_rowSelected = std::move(isSelected); }
    // Commits the editor's value and closes it, as Return does. False when the value
    // is refused: the editor stays open and the user has been told why.
    bool commitAndClose(QWidget *editor);
    // The row height that fits visibleTextLines lines of the given font.
    static int rowHeight(const QFontMetrics &metrics);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    // Tells the user why the editor's value cannot be taken, and gives the editor the
    // focus back.
    void refuse(QWidget *editor, const QString &problem);

    SubtitleTableModel *m_model;
    std::function<bool(int row)> m_rowSelected;
    // The editor whose refusal is being shown: the alert takes the focus from it, which
    // is not the user leaving it.
    QPointer<QWidget> m_refusing;
};
