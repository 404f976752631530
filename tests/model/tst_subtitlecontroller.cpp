#include "RecordingDelegate.h"

#include "model/UndoManager.h"

#include <QTest>

class tst_SubtitleController : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        SubtitleController controller;
        UndoManager undo;
        RecordingDelegate delegate;
        Fixture(SubtitleList list)
        {
            controller.setSubtitles(std::move(list));
            controller.setDelegate(&delegate);
            controller.setUndoManager(&undo);
        }
    };

    static Subtitle::Values start(double value)
    {
        Subtitle::Values values;
        values.start = value;
        return values;
    }

private slots:
    void movingAStartEarlierRepositionsAndUndoes()
    {
        Fixture f(makeSubtitles({{"a", 0, 1}, {"b", 5, 6}, {"c", 10, 11}, {"d", 15, 16}}));
        f.controller.updateSubtitles({start(1)}, IndexSet(2));
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 c@1-11 b@5-6 d@15-16"));
        f.undo.undo();
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 b@5-6 c@10-11 d@15-16"));
        f.undo.redo();
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 c@1-11 b@5-6 d@15-16"));
        QCOMPARE(f.delegate.calls, QStringList({QStringLiteral("update {2} moves [2->1] new {1}"),
                                                QStringLiteral("update {1} moves [1->2] new {2}"),
                                                QStringLiteral("update {2} moves [2->1] new {1}")}));
    }

    void equalStartsLandBeforeOrAfter_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<double>("newStart");
        QTest::addColumn<QString>("expected");
        QTest::newRow("moving earlier lands before an equal start")
            << 2 << 5.0 << QStringLiteral("a@0-1 c@5-11 b@5-6");
        QTest::newRow("moving later lands after an equal start")
            << 0 << 5.0 << QStringLiteral("b@5-6 a@5-1 c@10-11");
        QTest::newRow("an unchanged start moves behind its equal neighbours")
            << 1 << 5.0 << QStringLiteral("a@0-1 b@5-6 c@10-11");
    }

    void equalStartsLandBeforeOrAfter()
    {
        QFETCH(int, position);
        QFETCH(double, newStart);
        QFETCH(QString, expected);
        Fixture f(makeSubtitles({{"a", 0, 1}, {"b", 5, 6}, {"c", 10, 11}}));
        f.controller.updateSubtitles({start(newStart)}, IndexSet(position));
        QCOMPARE(describe(f.controller), expected);
    }

    void unchangedStartMovesBehindEqualNeighbour()
    {
        Fixture f(makeSubtitles({{"a", 5, 6}, {"b", 5, 7}}));
        f.controller.updateSubtitles({start(5)}, IndexSet(0));
        QCOMPARE(describe(f.controller), QStringLiteral("b@5-7 a@5-6"));
        QCOMPARE(f.delegate.calls.last(), QStringLiteral("update {0} moves [0->1] new {1}"));
    }

    void textOnlyUpdateKeepsPositions()
    {
        Fixture f(makeSubtitles({{"a", 0, 1}, {"b", 5, 6}, {"c", 10, 11}}));
        Subtitle::Values first, second;
        first.text = QStringLiteral("A");
        second.text = QStringLiteral("C");
        f.controller.updateSubtitles({first, second}, IndexSet{0, 2});
        QCOMPARE(f.delegate.calls.last(), QStringLiteral("update {0,2} moves [] new {0,2}"));
        f.undo.undo();
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 b@5-6 c@10-11"));
    }

    void severalMovesUndoAsOneStep_data()
    {
        QTest::addColumn<int>("firstIndex");
        QTest::addColumn<int>("secondIndex");
        QTest::addColumn<double>("firstStart");
        QTest::addColumn<double>("secondStart");
        QTest::addColumn<QString>("moved");
        // Two subtitles in one update, as a timeline drag of two blocks does.
        QTest::newRow("a and c behind the last") << 0 << 2 << 20.0 << 30.0 << QStringLiteral("b@5-6 d@15-16 a@20-1 c@30-11");
        QTest::newRow("b and d tied at an earlier start: each undoes to its own values")
            << 1 << 3 << 2.0 << 2.0 << QStringLiteral("a@0-1 d@2-16 b@2-6 c@10-11");
    }

    void severalMovesUndoAsOneStep()
    {
        QFETCH(int, firstIndex);
        QFETCH(int, secondIndex);
        QFETCH(double, firstStart);
        QFETCH(double, secondStart);
        QFETCH(QString, moved);
        Fixture f(makeSubtitles({{"a", 0, 1}, {"b", 5, 6}, {"c", 10, 11}, {"d", 15, 16}}));
        f.controller.updateSubtitles({start(firstStart), start(secondStart)}, IndexSet{firstIndex, secondIndex});
        QCOMPARE(describe(f.controller), moved);
        f.undo.undo();
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 b@5-6 c@10-11 d@15-16"));
        f.undo.redo();
        QCOMPARE(describe(f.controller), moved);
    }

    void insertAtFinalPositionsAndUndo()
    {
        Fixture f(makeSubtitles({{"x", 1, 2}, {"y", 3, 4}}));
        f.controller.insertSubtitles(makeSubtitles({{"a", 0, 1}, {"b", 2, 3}}), IndexSet{0, 2});
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 x@1-2 b@2-3 y@3-4"));
        f.undo.undo();
        QCOMPARE(describe(f.controller), QStringLiteral("x@1-2 y@3-4"));
        f.undo.redo();
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 x@1-2 b@2-3 y@3-4"));
        QCOMPARE(f.delegate.calls, QStringList({QStringLiteral("insert {0,2}"), QStringLiteral("remove {0,2} (a,b)"),
                                                QStringLiteral("insert {0,2}")}));
    }

    void removeAndUndo()
    {
        Fixture f(makeSubtitles({{"a", 0, 1}, {"b", 1, 2}, {"c", 2, 3}, {"d", 3, 4}}));
        const SubtitleList removed{f.controller.at(1), f.controller.at(3)};
        f.controller.removeSubtitles(removed, IndexSet{1, 3});
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 c@2-3"));
        f.undo.undo();
        QCOMPARE(describe(f.controller), QStringLiteral("a@0-1 b@1-2 c@2-3 d@3-4"));
        QCOMPARE(f.controller.at(1), removed[0]); // the very same objects come back
    }

    void withoutUndoManagerChangesAndReports()
    {
        SubtitleController controller;
        RecordingDelegate delegate;
        controller.setDelegate(&delegate);
        controller.insertSubtitles(makeSubtitles({{"a", 0, 1}}), IndexSet(0));
        controller.updateSubtitles({start(3)}, IndexSet(0));
        controller.removeSubtitles(controller.subtitles(), IndexSet(0));
        QCOMPARE(controller.count(), 0);
        QCOMPARE(delegate.calls.size(), 3);
    }

    void setSubtitlesIsNotUndoableAndKeepsEarlierSteps()
    {
        Fixture f(makeSubtitles({{"a", 0, 1}}));
        f.controller.setText(QStringLiteral("b"), 0);
        QCoreApplication::processEvents();
        f.controller.setSubtitles(makeSubtitles({{"z", 0, 1}}));
        QCOMPARE(f.delegate.calls.last(), QStringLiteral("reload"));
        QVERIFY(f.undo.canUndo());
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleController)
#include "tst_subtitlecontroller.moc"
