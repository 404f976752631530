// The list's quality columns: what they show, and that their marks follow an edit of the
// neighbour too (a later start clears the earlier subtitle's overlap).
#include "document/Document.h"
#include "list/SubtitleTableModel.h"

#include <QSignalSpy>
#include <QtTest>

class tst_QualityColumns : public QObject
{
    Q_OBJECT

private slots:
    void marksFollowTheNeighboursEdit();
};

void tst_QualityColumns::marksFollowTheNeighboursEdit()
{
    Document document;
    document.attachController();
    SubtitleController &controller = document.subtitleController();
    controller.setSubtitles({std::make_shared<Subtitle>(QStringLiteral("<i>Others end before</i>\nthe voice does."), 11, 11.8),
                             std::make_shared<Subtitle>(QStringLiteral("Drag"), 11.5, 14)});
    SubtitleTableModel model(&document);
    const auto cell = [&model](int row, int column, int role = Qt::DisplayRole) {
        return model.index(row, column).data(role);
    };
    QCOMPARE(cell(0, SubtitleTableModel::DurationColumn).toString(), QStringLiteral("0.800"));
    QCOMPARE(cell(0, SubtitleTableModel::ReadingSpeedColumn).toString(), QStringLiteral("40.0"));
    QCOMPARE(cell(0, SubtitleTableModel::LongestLineColumn).toString(), QStringLiteral("17 ×2"));
    for (int column : {SubtitleTableModel::EndColumn, SubtitleTableModel::DurationColumn,
                       SubtitleTableModel::ReadingSpeedColumn})
        QVERIFY(cell(0, column, Qt::BackgroundRole).isValid());
    QVERIFY(!cell(0, SubtitleTableModel::LongestLineColumn, Qt::BackgroundRole).isValid());
    QVERIFY(!cell(0, SubtitleTableModel::NumberColumn, Qt::DecorationRole).isNull());
    QVERIFY(!cell(1, SubtitleTableModel::NumberColumn, Qt::DecorationRole).isValid());

    // Only the second subtitle changes; the first one's End loses its mark, and its row
    // is reported so that views paint it again.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    controller.setStart(1, 13);
    QVERIFY(!cell(0, SubtitleTableModel::EndColumn, Qt::BackgroundRole).isValid());
    QTRY_VERIFY(std::any_of(changed.cbegin(), changed.cend(), [](const QList<QVariant> &arguments) {
        return arguments.at(0).toModelIndex().row() == 0
            && arguments.at(1).toModelIndex().column() >= SubtitleTableModel::EndColumn;
    }));
}

QTEST_MAIN(tst_QualityColumns)
#include "tst_qualitycolumns.moc"
