#pragma once

#include "model/IndexSet.h"
#include "model/SpokenWord.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class Document;
class InlineEditing;
class Spelling;
class Subtitle;
class SubtitleItemDelegate;
class SubtitleTableModel;
class SubtitlesTableView;
class TableSelectionSync;

// The list pane: a table of the document's subtitles with inline editing of start, end
// and text, the playback keys, and the list commands (add, duplicate, delete, copy,
// paste, split) for the Edit menu and the rows' context menu.
//
// It changes the list only through the document's subtitle controller, follows the
// document's selection and pushes its own into it.
class SubtitlesTableViewController : public QWidget
{
    Q_OBJECT

public:
    explicit SubtitlesTableViewController(Document *document, QWidget *parent = nullptr);
    ~SubtitlesTableViewController() override;

    SubtitlesTableView *tableView() const { return m_tableView; }
    SubtitleTableModel *model() const { return m_model; }
    // True only while the table pushes its selection into the document.
    bool isManipulatingSelection() const;

    // The rows a command acts on: a right-clicked row outside the selection alone,
    // otherwise the selected rows.
    IndexSet targetRowIndexes() const;

    // Whether each command can run now, for enabling menu items.
    bool canAddSubtitle() const;
    bool canDuplicateSubtitle() const;
    bool canDeleteSubtitles() const;
    bool canCopy() const;
    bool canPaste() const;
    bool canSplitSubtitle() const;
    // Two or more neighbouring rows.
    bool canMergeSubtitles() const;

    // Pastes each text as SRT over the target rows, one undo step per text; stops at
    // the first text that does not parse and shows why. paste() passes the clipboard.
    void pasteTexts(const QStringList &texts);
    // Commits the open inline editor at once and closes it. False when its value was
    // refused (the editor stays open).
    bool endEditing();
    // Misspelt words are marked in the list and underlined while a text is edited.
    void setSpelling(Spelling *spelling);
    // When a subtitle's words are spoken, where known (empty otherwise): a split cuts
    // between the words around the caret.
    using WordSource = std::function<QList<SpokenWord>(const Subtitle &)>;
    void setWordSource(WordSource source) { m_wordSource = std::move(source); }

public slots:
    void addSubtitle();
    void duplicateSubtitle();
    void deleteSubtitles();
    void copy();
    void paste();
    void splitSubtitle();
    void mergeSubtitles();
    // Italic on or off: for the selected words while a text is being edited, otherwise
    // for the whole texts of the target rows, as one undo step.
    void toggleItalic();
    void selectAll();
    // Starts editing a row's text while the video plays: pauses it, and the end of the
    // editing resumes it (confirmSubtitleEdit).
    void editSubtitle(int row);
    // Selects the row and starts editing its text.
    void beginEditingSubtitle(int row);
    // Resumes playback paused by editSubtitle, once.
    void confirmSubtitleEdit();

signals:
    // Something the can...() answers depend on may have changed.
    void commandStateChanged();
    // Space, J, K, L or an arrow went down or up in the list: the player's keys.
    void playbackKeyEvent(QKeyEvent *event);

private:
    // The row split acts on, or -1.
    int splitRow() const;
    void showError(const QString &message);
    void showContextMenu(const QPoint &globalPosition);

    QPointer<Document> m_document;
    SubtitleTableModel *m_model = nullptr;
    SubtitlesTableView *m_tableView = nullptr;
    SubtitleItemDelegate *m_delegate = nullptr;
    std::unique_ptr<InlineEditing> m_editing;
    std::unique_ptr<TableSelectionSync> m_selection;
    WordSource m_wordSource;
};
