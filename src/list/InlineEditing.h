#pragma once

#include "model/Subtitle.h"

#include <QObject>
#include <QPointer>

class Document;
class SubtitleItemDelegate;
class SubtitleTableModel;
class SubtitleTextEditor;
class SubtitlesTableView;

// The list's inline editing as the commands see it: starting to edit a row's text
// (pausing the video, which a kept edit resumes) and ending the editing, with a
// commit, before a command changes the list.
class InlineEditing : public QObject
{
    Q_OBJECT

public:
    InlineEditing(Document *document, SubtitleTableModel *model, SubtitlesTableView *view,
                  SubtitleItemDelegate *delegate, QObject *parent = nullptr);
    // Gives up an editor still open: a commit as the window goes would change the
    // document after the user was asked about its changes.
    ~InlineEditing() override;

    // Commits the open editor at once and closes it, as its own undo step. False when
    // its value was refused (the editor stays open).
    bool endEditing();
    // Ends the editing and gives the subtitle's row then; -1 when the editor refused to
    // close or the subtitle is gone.
    int endEditingFinding(const SubtitlePtr &subtitle);
    // The open text editor, of any row or of that row; nullptr when there is none.
    SubtitleTextEditor *openTextEditor() const;
    SubtitleTextEditor *textEditorOfRow(int row) const;
    // Starts editing a row's text while the video plays: pauses it, and a kept edit
    // resumes it (confirmSubtitleEdit).
    void editSubtitle(int row);
    // Selects the row and starts editing its text.
    void beginEditingSubtitle(int row);
    // Resumes playback paused by editSubtitle, once.
    void confirmSubtitleEdit();

signals:
    // An editor opened or closed, or the text being edited changed.
    void stateChanged();

private:
    QPointer<Document> m_document;
    SubtitleTableModel *m_model;
    SubtitlesTableView *m_view;
    SubtitleItemDelegate *m_delegate;
    bool m_continuePlayingAfterEditing = false;
};
