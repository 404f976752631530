#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"
#include "model/SubtitleIndexUpdate.h"

#include <QAbstractTableModel>
#include <QPointer>

class Document;

// The document's subtitles as table rows: #, Start, End, Text. Nothing is cached per row,
// so a list of a million subtitles costs only the rows that are painted.
//
// The document reports a change after the list has changed; the model keeps its own row
// count so that the views see the old count until each change is announced.
class SubtitleTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NumberColumn, StartColumn, EndColumn, TextColumn, ColumnCount };

    explicit SubtitleTableModel(Document *document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The subtitle shown in that row; nullptr outside the list.
    SubtitlePtr subtitleAt(int row) const;
    static bool isEditable(int column) { return column == StartColumn || column == EndColumn || column == TextColumn; }

private:
    void reload();
    void insertRows(const IndexSet &indexes);
    void removeRows(const IndexSet &indexes);
    void updateRows(const IndexSet &indexes, const QList<SubtitleIndexUpdate> &indexUpdates);
    void renumberFrom(int row);

    QPointer<Document> m_document;
    int m_rowCount = 0;
};
