#include "RecordingDelegate.h"

#include "model/LinearTimeMap.h"
#include "model/UndoManager.h"

#include <QTest>

// Moving many subtitles at once: shifts, synchronisation by two points, frame rates, and
// merging.
class tst_Retiming : public QObject
{
    Q_OBJECT

private slots:
    void mapsTimes_data()
    {
        QTest::addColumn<double>("mapped");
        QTest::addColumn<double>("expected");
        const auto shift = [](double offset) { return LinearTimeMap::shift(offset); };
        const auto rates = [](double from, double to) { return *LinearTimeMap::frameRateConversion(from, to); };
        const auto line = [](double f1, double t1, double f2, double t2) {
            return *LinearTimeMap::throughTwoPoints(f1, t1, f2, t2);
        };
        const struct
        {
            const char *name;
            LinearTimeMap map;
            double time;
            double expected;
        } rows[] = {
            {"shift later by 1.5 s", shift(1.5), 10.0, 11.5},
            {"shift earlier by 1.5 s", shift(-1.5), 10.0, 8.5},
            {"shift below zero stops at zero", shift(-5.0), 2.0, 0.0},
            {"shift rounds to whole milliseconds", shift(0.0004), 1.0, 1.0},
            {"shift rounds a half millisecond up", shift(0.0005), 1.0, 1.001},
            {"two points: the first point lands on its correction", line(10, 12, 100, 105), 10.0, 12.0},
            {"two points: the second point lands on its correction", line(10, 12, 100, 105), 100.0, 105.0},
            {"two points: a time between them on the line", line(10, 12, 100, 105), 55.0, 58.5},
            {"two points: a time beyond them on the line", line(0, 1, 10, 12), 20.0, 23.0},
            {"25 to 23.976 fps stretches", rates(25, 24000.0 / 1001), 10.0, 10.427},
            {"23.976 to 25 fps shrinks", rates(24000.0 / 1001, 25), 10.427, 10.0},
            {"24 to 25 fps", rates(24, 25), 100.0, 96.0},
            {"29.97 to 30 fps", rates(30000.0 / 1001, 30), 1001.0, 1000.0},
            {"same rate changes nothing", rates(25, 25), 3723.456, 3723.456},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.map.apply(row.time) << row.expected;
    }

    void mapsTimes()
    {
        QFETCH(double, mapped);
        QFETCH(double, expected);
        QCOMPARE(mapped, expected);
    }

    void refusesLinesThatCannotBe()
    {
        QVERIFY(!LinearTimeMap::throughTwoPoints(5, 6, 5, 7));   // two points at the same time
        QVERIFY(!LinearTimeMap::throughTwoPoints(5, 10, 10, 5));  // the order turned around
        QVERIFY(!LinearTimeMap::throughTwoPoints(5, 8, 10, 8));   // everything squeezed together
        QVERIFY(!LinearTimeMap::frameRateConversion(0, 25));
        QVERIFY(!LinearTimeMap::frameRateConversion(25, -25));
        QVERIFY(!LinearTimeMap::frameRateConversion(25, qInf()));
    }

    // 25 → 23.976 → 25 comes back to the millisecond on every time of an hour.
    void frameRateRoundTripComesBack()
    {
        const auto there = *LinearTimeMap::frameRateConversion(25, 24000.0 / 1001);
        const auto back = *LinearTimeMap::frameRateConversion(24000.0 / 1001, 25);
        for (int ms = 0; ms < 3600 * 1000; ms += 37) {
            const double t = ms / 1000.0;
            QCOMPARE(back.apply(there.apply(t)), t);
        }
    }

    void retimeIsOneUpdateAndOneStep_data()
    {
        QTest::addColumn<IndexSet>("indexes");
        QTest::addColumn<double>("offset");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three of four later") << IndexSet{1, 2, 3} << 2.5 << "a@1-2 b@5.5-6.5 c@7.5-8.5 d@9.5-10.5";
        QTest::newRow("one past the others keeps time order") << IndexSet(0) << 10.0 << "b@3-4 c@5-6 d@7-8 a@11-12";
        QTest::newRow("earlier than zero stops at zero") << IndexSet{1, 3} << -3.5 << "b@0-0.5 a@1-2 d@3.5-4.5 c@5-6";
    }

    void retimeIsOneUpdateAndOneStep()
    {
        QFETCH(IndexSet, indexes);
        QFETCH(double, offset);
        QFETCH(QString, expected);
        SubtitleController controller;
        UndoManager undo;
        RecordingDelegate delegate;
        controller.setUndoManager(&undo);
        controller.setSubtitles(makeSubtitles({{"a", 1, 2}, {"b", 3, 4}, {"c", 5, 6}, {"d", 7, 8}}));
        controller.setDelegate(&delegate);
        controller.retimeSubtitles(indexes, LinearTimeMap::shift(offset));
        QCOMPARE(describe(controller), expected);
        QCOMPARE(delegate.calls.size(), 1);
        undo.undo();
        QCOMPARE(describe(controller), QStringLiteral("a@1-2 b@3-4 c@5-6 d@7-8"));
        QVERIFY(!undo.canUndo());
    }

    void endAndStartNext_data()
    {
        QTest::addColumn<bool>("hasNext");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("next");
        QTest::newRow("the next one starts two frames later") << true << "a@1-3 b@3.08-5" << 1;
        QTest::newRow("without a next one, a new one follows") << false << "a@1-3 @3.08-5.08" << 1;
    }

    void endAndStartNext()
    {
        QFETCH(bool, hasNext);
        QFETCH(QString, expected);
        QFETCH(int, next);
        SubtitleController controller;
        UndoManager undo;
        controller.setUndoManager(&undo);
        controller.setFrameRate(25);
        controller.setSubtitles(hasNext ? makeSubtitles({{"a", 1, 2}, {"b", 4, 5}}) : makeSubtitles({{"a", 1, 2}}));
        const QString before = describe(controller);
        undo.runAsOneStep(QStringLiteral("step"), [&] { QCOMPARE(controller.endAndStartNext(0, 3.0), next); });
        QCOMPARE(describe(controller), expected);
        undo.undo();
        QCOMPARE(describe(controller), before);
    }

    void mergeJoinsTextsAndUndoesAtOnce()
    {
        SubtitleController controller;
        UndoManager undo;
        controller.setUndoManager(&undo);
        controller.setSubtitles(makeSubtitles({{"a", 1, 2}, {"b", 3, 5}, {"", 4, 4.5}, {"d", 7, 8}}));
        controller.mergeSubtitles({0, 1, 2});
        QCOMPARE(describe(controller), QStringLiteral("a\nb@1-5 d@7-8"));
        undo.undo();
        QCOMPARE(describe(controller), QStringLiteral("a@1-2 b@3-5 @4-4.5 d@7-8"));
    }
};

QTEST_GUILESS_MAIN(tst_Retiming)
#include "tst_retiming.moc"
