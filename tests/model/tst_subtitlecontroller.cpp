#include "RecordingDelegate.h"

#include "model/UndoManager.h"

#include <QTest>

#include <cmath>

// The one writer of the list: where changed subtitles land, what the delegate hears, and
// that every edit undoes and redoes as one step.
class tst_SubtitleController : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        SubtitleController controller;
        UndoManager undo;
        RecordingDelegate delegate;
        explicit Fixture(SubtitleList list, double frameRate = 0)
        {
            controller.setSubtitles(std::move(list));
            controller.setFrameRate(frameRate);
            controller.setDelegate(&delegate);
            controller.setUndoManager(&undo);
        }
        // Undo brings `before` back and redo `after`, one step each.
        void undoesAndRedoes(const QString &before, const QString &after)
        {
            undo.closeEventGroup();
            undo.undo();
            QCOMPARE(describe(controller), before);
            QVERIFY(!undo.canUndo());
            undo.redo();
            QCOMPARE(describe(controller), after);
        }
    };

private slots:
    // A new start (NaN: a new text "X" instead) for each position.
    void updatesRepositionAndUndo_data()
    {
        QTest::addColumn<IndexSet>("indexes");
        QTest::addColumn<QList<double>>("starts");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("call");
        const double text = qQNaN();
        QTest::newRow("earlier, between two others") << IndexSet(2) << QList{1.0} << "a@0-1 c@1-11 b@5-6 d@15-16"
                                                     << "update {2} moves [2->1] new {1}";
        QTest::newRow("earlier lands before an equal start") << IndexSet(2) << QList{5.0} << "a@0-1 c@5-11 b@5-6 d@15-16"
                                                             << "update {2} moves [2->1] new {1}";
        QTest::newRow("later lands after an equal start") << IndexSet(0) << QList{5.0} << "b@5-6 a@5-1 c@10-11 d@15-16"
                                                          << "update {0} moves [0->1] new {1}";
        QTest::newRow("later, down past two others") << IndexSet(0) << QList{12.0} << "b@5-6 c@10-11 a@12-1 d@15-16"
                                                     << "update {0} moves [0->2] new {2}";
        QTest::newRow("to the very end") << IndexSet(1) << QList{20.0} << "a@0-1 c@10-11 d@15-16 b@20-6"
                                         << "update {1} moves [1->3] new {3}";
        QTest::newRow("texts alone move nothing") << IndexSet{0, 2} << QList{text, text} << "X@0-1 b@5-6 X@10-11 d@15-16"
                                                  << "update {0,2} moves [] new {0,2}";
        QTest::newRow("two moved behind the last") << IndexSet{0, 2} << QList{20.0, 30.0} << "b@5-6 d@15-16 a@20-1 c@30-11"
                                                   << "update {0,2} moves [0->3 1->3] new {2,3}";
        QTest::newRow("two tied at an earlier start each undo to their own")
            << IndexSet{1, 3} << QList{2.0, 2.0} << "a@0-1 d@2-16 b@2-6 c@10-11" << "update {1,3} moves [3->1] new {1,2}";
    }

    void updatesRepositionAndUndo()
    {
        QFETCH(IndexSet, indexes);
        QFETCH(QList<double>, starts);
        QFETCH(QString, expected);
        QFETCH(QString, call);
        Fixture f(makeSubtitles({{"a", 0, 1}, {"b", 5, 6}, {"c", 10, 11}, {"d", 15, 16}}));
        QList<Subtitle::Values> values(starts.size());
        for (qsizetype i = 0; i < starts.size(); ++i) {
            if (std::isnan(starts[i]))
                values[i].text = QStringLiteral("X");
            else
                values[i].start = starts[i];
        }
        f.controller.updateSubtitles(values, indexes);
        QCOMPARE(describe(f.controller), expected);
        QCOMPARE(f.delegate.calls, QStringList{call});
        f.undoesAndRedoes(QStringLiteral("a@0-1 b@5-6 c@10-11 d@15-16"), expected);
    }

    void unchangedStartMovesBehindEqualNeighbour()
    {
        Fixture f(makeSubtitles({{"a", 5, 6}, {"b", 5, 7}}));
        f.controller.setStart(0, 5);
        QCOMPARE(describe(f.controller), QStringLiteral("b@5-7 a@5-6"));
    }

    void insertAndRemoveUndo()
    {
        Fixture f(makeSubtitles({{"x", 1, 2}, {"y", 3, 4}}));
        f.controller.insertSubtitles(makeSubtitles({{"a", 0, 1}, {"b", 2, 3}}), IndexSet{0, 2});
        f.undoesAndRedoes(QStringLiteral("x@1-2 y@3-4"), QStringLiteral("a@0-1 x@1-2 b@2-3 y@3-4"));
        QCOMPARE(f.delegate.calls, QStringList({"insert {0,2}", "remove {0,2} (a,b)", "insert {0,2}"}));
        const SubtitlePtr b = f.controller.at(2);
        f.controller.removeSubtitles({f.controller.at(1), b}, IndexSet{1, 2});
        f.undo.closeEventGroup();
        f.undo.undo();
        QCOMPARE(f.controller.at(2), b); // the very object comes back
    }

    void setSubtitlesIsNotUndoable()
    {
        Fixture f(makeSubtitles({{"a", 0, 1}}));
        f.controller.setSubtitles(makeSubtitles({{"z", 0, 1}}));
        QCOMPARE(f.delegate.calls, QStringList{"reload"});
        QVERIFY(!f.undo.canUndo());
    }

    // Crossing the other end moves the whole subtitle; never below zero.
    void setStartAndEnd_data()
    {
        QTest::addColumn<bool>("isStart");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("start past the end") << true << 7.0 << "s@7-8";
        QTest::newRow("start inside") << true << 5.5 << "s@5.5-6";
        QTest::newRow("start onto the end") << true << 6.0 << "s@6-6";
        QTest::newRow("end before the start") << false << 4.5 << "s@3.5-4.5";
        QTest::newRow("end far before the start: not below zero") << false << 0.5 << "s@0-0.5";
        QTest::newRow("end onto the start") << false << 5.0 << "s@5-5";
    }

    void setStartAndEnd()
    {
        QFETCH(bool, isStart);
        QFETCH(double, value);
        QFETCH(QString, expected);
        Fixture f(makeSubtitles({{"s", 5, 6}}));
        isStart ? f.controller.setStart(0, value) : f.controller.setEnd(0, value);
        f.undoesAndRedoes(QStringLiteral("s@5-6"), expected);
    }

    // Anchored on a@8-10; what follows it in the list is the column "next".
    void addSubtitle_data()
    {
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<double>("time"); // NaN: after the anchor by position
        QTest::addColumn<double>("next"); // NaN: none
        QTest::addColumn<QString>("expected");
        const double none = qQNaN();
        QTest::newRow("two frames after the anchor at 25 fps") << 25.0 << none << none << "a@8-10 @10.08-12.08";
        QTest::newRow("shortened before a close next") << 25.0 << none << 11.0 << "a@8-10 @10.08-10.92 n@11-12";
        QTest::newRow("a next too close to shorten for") << 25.0 << none << 10.04 << "a@8-10 n@10.04-11.04 @10.08-12.08";
        QTest::newRow("snapped to frames") << 10.0 << none << none << "a@8-10 @10.2-12.2";
        QTest::newRow("by time: after the last start before it") << 25.0 << 9.0 << 11.0 << "a@8-10 @10.08-10.92 n@11-12";
        QTest::newRow("by time: on a start") << 25.0 << 11.0 << 11.0 << "a@8-10 n@11-12 @12.08-14.08";
        QTest::newRow("by time, before every subtitle: at zero") << 25.0 << 1.0 << none << "@0-2 a@8-10";
    }

    void addSubtitle()
    {
        QFETCH(double, frameRate);
        QFETCH(double, time);
        QFETCH(double, next);
        QFETCH(QString, expected);
        SubtitleList list = makeSubtitles({{"a", 8, 10}});
        if (!std::isnan(next))
            list.append(std::make_shared<Subtitle>(QStringLiteral("n"), next, next + 1));
        Fixture f(list, frameRate);
        const auto position = std::isnan(time) ? f.controller.addSubtitle(std::nullopt, 0) : f.controller.addSubtitle(time, std::nullopt);
        QVERIFY(position && f.controller.at(*position)->text.isEmpty());
        QCOMPARE(describe(f.controller), expected);
    }

    void duplicate_data()
    {
        QTest::addColumn<double>("next"); // NaN: none
        QTest::addColumn<QString>("expected");
        QTest::newRow("after a gap of 1/12 s") << qQNaN() << "c@10-12 c@12.0833-14.0833";
        QTest::newRow("shortened before the next") << 13.0 << "c@10-12 c@12.0833-12.9167 n@13-14";
        QTest::newRow("no room before the next: keeps its length") << 12.0 << "c@10-12 n@12-13 c@12.0833-14.0833";
    }

    void duplicate()
    {
        QFETCH(double, next);
        QFETCH(QString, expected);
        SubtitleList list = makeSubtitles({{"c", 10, 12}});
        if (!std::isnan(next))
            list.append(std::make_shared<Subtitle>(QStringLiteral("n"), next, next + 1));
        Fixture f(list);
        f.controller.duplicateSubtitle(0);
        QCOMPARE(describe(f.controller), expected);
    }

    // Time is shared by user-perceived characters, less a gap of two frames (24 fps
    // without a video); one step restores the very subtitle that was split.
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two words") << "Hello world" << 5 << "Hello@0-1 world@1.08333-2.08333";
        QTest::newRow("a combining accent is one character") << "e\u0301e\u0301 ab" << 4 << "e\u0301e\u0301@0-1 ab@1.08333-2.08333";
        QTest::newRow("blank halves share the time") << "   " << 1 << "@0-1 @1.08333-2.08333";
        QTest::newRow("an offset past the end") << "ab" << 9 << "ab@0-2 @2.08333-2.08333";
    }

    void split()
    {
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(QString, expected);
        Fixture f({std::make_shared<Subtitle>(text, 0, 2 + 1.0 / 12)});
        const SubtitlePtr original = f.controller.at(0);
        f.controller.splitSubtitle(0, offset);
        QCOMPARE(describe(f.controller), expected);
        f.undo.closeEventGroup();
        f.undo.undo();
        QCOMPARE(f.controller.subtitles(), SubtitleList{original});
    }

    void importText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("paragraphs among what is there") << "A\n\nB" << "A@1-3 x@2-2.5 B@3.08333-5.08333";
        QTest::newRow("a trailing break makes an empty subtitle") << "A\n\n" << "A@1-3 x@2-2.5 @3.08333-5.08333";
        QTest::newRow("single line breaks stay in the text") << "A\nB" << "A\nB@1-3 x@2-2.5";
    }

    void importText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        Fixture f(makeSubtitles({{"x", 2, 2.5}}));
        f.controller.importText(text);
        QCOMPARE(f.delegate.calls.size(), 1);
        f.undoesAndRedoes(QStringLiteral("x@2-2.5"), expected);
    }

    void insertionIndexesGoBeforeEqualStarts()
    {
        SubtitleController controller;
        controller.setSubtitles(makeSubtitles({{"a", 1, 2}, {"b", 3, 4}}));
        SubtitleList added = makeSubtitles({{"n2", 3, 4}, {"n1", 1, 2}, {"n3", 5, 6}});
        QCOMPARE(controller.insertionIndexes(added), (IndexSet{0, 2, 4}));
        QCOMPARE(added[0]->text, QStringLiteral("n1")); // sorted by start first
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleController)
#include "tst_subtitlecontroller.moc"
