#pragma once

#include "model/IndexSet.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>

class Document;
class SubtitleItemDelegate;
class SubtitleTableModel;
class SubtitlesTableView;

// Keeps the table's selection and the document's alike: what the user selects in the
// table goes to the document, and what the document selects otherwise is shown. A
// selection in too many separate places for Qt's selection model is drawn from the
// document alone, until a gesture changes part of it.
class TableSelectionSync : public QObject
{
    Q_OBJECT

public:
    TableSelectionSync(Document *document, SubtitleTableModel *model, SubtitlesTableView *view,
                       SubtitleItemDelegate *delegate, QObject *parent = nullptr);
    ~TableSelectionSync() override;

    // True only while the table pushes its selection into the document.
    bool isManipulatingSelection() const { return m_isManipulatingSelection; }

signals:
    // The selection changed, whichever side changed it.
    void selectionChanged();

private:
    void pushSelection();
    void applySelection(const IndexSet &selection);
    // Hands the selection to the table's selection model, unless it lies in more than
    // rangeLimit separate runs of rows: then it is drawn from the document alone. The
    // current row stays where it is.
    void mirrorSelection(const IndexSet &selection, int rangeLimit);
    void showRow(int row);

    QPointer<Document> m_document;
    SubtitleTableModel *m_model;
    SubtitlesTableView *m_view;
    SubtitleItemDelegate *m_delegate;
    bool m_isManipulatingSelection = false;
    bool m_isApplyingDocumentSelection = false;
    // The selection is in the document only; the table's selection model is empty.
    bool m_selectionOnlyInDocument = false;
    QPersistentModelIndex m_currentWhileReordering; // follows its subtitle through a reordering
};
