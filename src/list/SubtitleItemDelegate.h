#pragma once

#include "model/Subtitle.h"

#include <QHash>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

class SubtitleTableModel;

// Draws the rows and makes their inline editors: a line edit for the times, a
// multi-line editor for the text. Remembers, per open editor, which subtitle it edits
// and what it showed at the start, so that a commit reaches that subtitle wherever its
// row has moved, and an unchanged value changes nothing.
class SubtitleItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // Rows are this many text lines high; longer texts are cut with an ellipsis and
    // shown whole in a tooltip. Two is the usual most for one subtitle.
    static constexpr int visibleTextLines = 2;

    struct EditSession
    {
        SubtitlePtr subtitle;
        int column = -1;
        QString initialValue;
        bool filled = false;
    };

    explicit SubtitleItemDelegate(SubtitleTableModel *model, QObject *parent = nullptr);

    // Rows drawn selected besides those in the view's selection model.
    void setRowSelected(std::function<bool(int row)> isSelected) { m_rowSelected = std::move(isSelected); }
    std::optional<EditSession> session(QWidget *editor) const;
    // Every editor made and not yet destroyed (closed ones may linger until deleted).
    QList<QWidget *> editors() const;
    // The value is taken: a later commit of the same editor sees it unchanged.
    void markCommitted(QWidget *editor, const QString &value);
    static QString editorText(QWidget *editor);
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

private:
    SubtitleTableModel *m_model;
    std::function<bool(int row)> m_rowSelected;
    mutable QHash<QWidget *, EditSession> m_sessions;
};
