#pragma once

#include "format/TimeDisplay.h"
#include "model/IndexSet.h"
#include "model/Subtitle.h"
#include "model/SubtitleIndexUpdate.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <vector>

class Document;
class Spelling;

// The document's subtitles as table rows: #, Start, End, Text, and the measures the
// quality limits apply to (duration, reading speed, longest line), each marked when the
// subtitle breaks its limit; # is marked for any problem, End for an overlap or a gap
// too small. Nothing but the row's
// subtitle is kept per row, so a list of a million subtitles costs only the rows that
// are painted.
//
// The document reports a change after the list has changed, while Qt's model contract
// asks to announce a change, make it, then finish it. So the model keeps its own copy of
// the rows and replays each change on it between the announcement and the finish:
// views, proxies and persistent indexes always see rows that agree with the count.
class SubtitleTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        NumberColumn,
        StartColumn,
        EndColumn,
        TextColumn,
        DurationColumn,
        ReadingSpeedColumn,
        LongestLineColumn,
        // The paired line of the original, while one is attached; read only.
        OriginalColumn,
        ColumnCount
    };

    explicit SubtitleTableModel(Document *document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Start and End take the text form of a time, Text the new text; each change goes
    // through the document's subtitle controller as one named undo step. False for a
    // time that does not parse (nothing changes). A value equal to the one held changes
    // nothing and records no step.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // How Start and End are written and read: the document's form of a time.
    TimeDisplay timeDisplay() const;

    // The subtitle shown in that row; nullptr outside the list.
    SubtitlePtr subtitleAt(int row) const;
    // Texts with misspelt words get a mark.
    void setSpelling(Spelling *spelling);
    Spelling *spelling() const;
    static bool isMeasure(int column) { return column >= DurationColumn && column <= LongestLineColumn; }
    static bool isEditable(int column) { return column == StartColumn || column == EndColumn || column == TextColumn; }
    // True while a change of the list is replayed on the rows, one run at a time: rows
    // a view selects or drops meanwhile are numbered as neither the list before nor after.
    bool isReplayingChange() const { return m_replaying; }

signals:
    // Many rows are about to change places at once.
    void rowsAboutToBeReordered();

private:
    void reload();
    void insertRows(const IndexSet &indexes);
    void removeRows(const IndexSet &indexes);
    void updateRows(const IndexSet &indexes, const QList<SubtitleIndexUpdate> &indexUpdates);
    void reorderRows(const std::vector<int> &newPositions);
    void renumberFrom(int row);
    void problemsChanged(int first, int last);
    void timesChanged();
    void originalChanged();
    QVariant qualityData(const Subtitle &subtitle, int row, int column, int role) const;
    QVariant accessibleData(const Subtitle &subtitle, int row, int column, int role) const;

    QPointer<Document> m_document;
    QPointer<Spelling> m_spelling;
    SubtitleList m_rows;
    bool m_replaying = false;
};
