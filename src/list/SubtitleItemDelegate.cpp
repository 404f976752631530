#include "list/SubtitleItemDelegate.h"

#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "model/Fatal.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

SubtitleItemDelegate::SubtitleItemDelegate(SubtitleTableModel *model, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
{
}

void SubtitleItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_rowSelected && m_rowSelected(index.row()))
        option->state |= QStyle::State_Selected;
}

std::optional<SubtitleItemDelegate::EditSession> SubtitleItemDelegate::session(QWidget *editor) const
{
    const auto it = m_sessions.constFind(editor);
    if (it == m_sessions.cend())
        return std::nullopt;
    return *it;
}

QList<QWidget *> SubtitleItemDelegate::editors() const
{
    return m_sessions.keys();
}

void SubtitleItemDelegate::markCommitted(QWidget *editor, const QString &value)
{
    auto it = m_sessions.find(editor);
    if (it != m_sessions.end())
        it->initialValue = value;
}

QString SubtitleItemDelegate::editorText(QWidget *editor)
{
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        return lineEdit->text();
    if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor))
        return textEditor->toPlainText();
    CUEWRIGHT_FATAL("an inline editor of an unknown kind");
    return {};
}

int SubtitleItemDelegate::rowHeight(const QFontMetrics &metrics)
{
    return visibleTextLines * metrics.lineSpacing() + 8;
}

QWidget *SubtitleItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                            const QModelIndex &index) const
{
    QWidget *editor = nullptr;
    switch (index.column()) {
    case SubtitleTableModel::StartColumn:
    case SubtitleTableModel::EndColumn: {
        auto *lineEdit = new QLineEdit(parent);
        lineEdit->setFrame(true);
        editor = lineEdit;
        break;
    }
    case SubtitleTableModel::TextColumn: {
        auto *textEditor = new SubtitleTextEditor(parent);
        textEditor->setSpelling(m_model->spelling());
        // createEditor is const only by Qt's signature; the signals are the delegate's own.
        auto *self = const_cast<SubtitleItemDelegate *>(this);
        connect(textEditor, &SubtitleTextEditor::commitRequested, self, [self, textEditor] {
            emit self->commitData(textEditor);
            emit self->closeEditor(textEditor, QAbstractItemDelegate::NoHint);
        });
        editor = textEditor;
        break;
    }
    default:
        return nullptr;
    }
    m_sessions.insert(editor, EditSession{m_model->subtitleAt(index.row()), index.column(), {}, false});
    connect(editor, &QObject::destroyed, this, [this, editor] { m_sessions.remove(editor); });
    return editor;
}

void SubtitleItemDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto it = m_sessions.find(editor);
    if (it == m_sessions.end())
        CUEWRIGHT_FATAL("an inline editor that the delegate did not make");
    // Filled once: a later refill would throw away what the user typed.
    if (it->filled)
        return;
    const QString value = index.data(Qt::EditRole).toString();
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        lineEdit->setText(value);
    else if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor)) {
        textEditor->setPlainText(value);
        textEditor->moveCursor(QTextCursor::End); // ready to go on typing
        textEditor->fitHeightToLines();
    }
    // What the editor shows, which is what an unchanged commit hands back.
    it->initialValue = editorText(editor);
    it->filled = true;
}

void SubtitleItemDelegate::setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const
{
    // The list controller applies committed values through the subtitle controller.
}

void SubtitleItemDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                                const QModelIndex &) const
{
    QRect rect = option.rect;
    if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor)) {
        // A text with more lines than a row shows grows the editor over the rows below.
        textEditor->setMinimumHeight(rect.height());
        rect.setHeight(std::max(rect.height(), textEditor->heightForLines()));
    }
    editor->setGeometry(rect);
}

QString SubtitleItemDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    QString text = value.toString();
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > visibleTextLines)
        text = lines.mid(0, visibleTextLines).join(QLatin1Char('\n')) + QStringLiteral(" …");
    return QStyledItemDelegate::displayText(text, locale);
}

bool SubtitleItemDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                     const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || index.column() != SubtitleTableModel::TextColumn)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    // The whole text, only when the row cannot show it.
    const QString text = index.data(Qt::DisplayRole).toString();
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool cut = lines.size() > visibleTextLines;
    for (const QString &line : lines)
        cut = cut || option.fontMetrics.horizontalAdvance(line) > option.rect.width() - 8;
    if (cut)
        QToolTip::showText(event->globalPos(), text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")),
                           view);
    else
        QToolTip::hideText();
    return true;
}
