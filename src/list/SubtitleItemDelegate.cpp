#include "list/SubtitleItemDelegate.h"

#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "list/TimeValidator.h"
#include "model/Fatal.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolTip>

namespace {

QString editorText(QWidget *editor)
{
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        return lineEdit->text();
    if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor))
        return textEditor->toPlainText();
    CUEWRIGHT_FATAL("an inline editor of an unknown kind");
    return {};
}

// Whether the user changed what the editor was filled with.
bool isChangedByUser(QWidget *editor)
{
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        return lineEdit->isModified();
    if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor))
        return textEditor->document()->isModified();
    return false;
}

// Why the editor's value cannot be committed; empty when it can.
QString problemOf(QWidget *editor)
{
    auto *lineEdit = qobject_cast<QLineEdit *>(editor);
    const auto *validator = lineEdit ? qobject_cast<const TimeValidator *>(lineEdit->validator()) : nullptr;
    if (!validator || !isChangedByUser(lineEdit))
        return {};
    return validator->problem(lineEdit->text());
}

// Whether the event ends the editing with a commit, as Qt's delegate decides.
bool endsEditing(QWidget *editor, const QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent *>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab;
    }
    if (event->type() != QEvent::FocusOut)
        return false;
    // A popup menu (the editor's own context menu) leaves the editor the focus widget.
    if (editor->isActiveWindow() && QApplication::focusWidget() == editor)
        return false;
    for (QWidget *widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (widget == editor)
            return false;
    }
    return true;
}

} // namespace

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

int SubtitleItemDelegate::rowHeight(const QFontMetrics &metrics)
{
    return visibleTextLines * metrics.lineSpacing() + 8;
}

QWidget *SubtitleItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                            const QModelIndex &index) const
{
    switch (index.column()) {
    case SubtitleTableModel::StartColumn:
    case SubtitleTableModel::EndColumn: {
        auto *lineEdit = new QLineEdit(parent);
        lineEdit->setFrame(true);
        lineEdit->setValidator(new TimeValidator(m_model->timeDisplay(), lineEdit));
        return lineEdit;
    }
    case SubtitleTableModel::TextColumn: {
        auto *textEditor = new SubtitleTextEditor(parent);
        textEditor->setSpelling(m_model->spelling());
        return textEditor;
    }
    default:
        return nullptr;
    }
}

void SubtitleItemDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    // A refill comes when another pane changes the subtitle: what the user typed stays.
    if (isChangedByUser(editor))
        return;
    const QString value = index.data(Qt::EditRole).toString();
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor)) {
        lineEdit->setText(value);
    } else if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor)) {
        textEditor->setPlainText(value);
        textEditor->document()->setModified(false);
        textEditor->moveCursor(QTextCursor::End); // ready to go on typing
        textEditor->fitHeightToLines();
    }
}

void SubtitleItemDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (!isChangedByUser(editor) || !model->setData(index, editorText(editor)))
        return;
    // Taken: a later commit of the same editor hands nothing more.
    if (auto *lineEdit = qobject_cast<QLineEdit *>(editor))
        lineEdit->setModified(false);
    else if (auto *textEditor = qobject_cast<SubtitleTextEditor *>(editor))
        textEditor->document()->setModified(false);
}

bool SubtitleItemDelegate::commitAndClose(QWidget *editor)
{
    if (const QString problem = problemOf(editor); !problem.isEmpty()) {
        refuse(editor, problem);
        return false;
    }
    emit commitData(editor);
    emit closeEditor(editor, SubmitModelCache);
    return true;
}

bool SubtitleItemDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (!editor)
        return QStyledItemDelegate::eventFilter(object, event);
    // The alert about a refused value takes the focus: that is not the user leaving.
    if (editor == m_refusing)
        return false;
    if (endsEditing(editor, event)) {
        if (const QString problem = problemOf(editor); !problem.isEmpty()) {
            // Spent here, the focus given back included: the editor stays as it was.
            refuse(editor, problem);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && qobject_cast<SubtitleTextEditor *>(editor)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (isReturn && !(key->modifiers() & Qt::ShiftModifier)) {
            emit commitData(editor);
            emit closeEditor(editor, SubmitModelCache);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void SubtitleItemDelegate::refuse(QWidget *editor, const QString &problem)
{
    const QPointer<QWidget> guard(editor);
    m_refusing = editor;
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), problem, QMessageBox::Ok,
                    editor->window());
    box.exec();
    m_refusing = nullptr;
    if (guard)
        guard->setFocus();
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
    const bool isText = index.column() == SubtitleTableModel::TextColumn || index.column() == SubtitleTableModel::OriginalColumn;
    if (event->type() != QEvent::ToolTip || !isText)
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
