#pragma once

#include "model/quality/QualityCheck.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <utility>
#include <vector>

class Document;

// Every problem of a document as a row: the subtitle's number, the kind of problem and a
// short description. The rows are gathered again once per turn of the event loop after
// changes, and only while someone looks (setLive): a hidden panel costs nothing.
class ProblemListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NumberColumn, KindColumn, DescriptionColumn, ColumnCount };

    explicit ProblemListModel(Document *document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The subtitle position and kind of a row; position -1 outside the rows.
    std::pair<int, QualityCheck::Problem> problemAt(int row) const;
    // The first row of the subtitle at `position`, or -1.
    int firstRowOf(int position) const;

    void setLive(bool live);
    // Gathers the rows now, if anything changed since the last time.
    void refresh();

signals:
    // The rows were gathered again.
    void refreshed();

private:
    void scheduleRefresh();

    QPointer<Document> m_document;
    std::vector<std::pair<int, QualityCheck::Problem>> m_rows; // ascending by position
    bool m_live = false;
    bool m_stale = true;
    bool m_refreshScheduled = false;
};
