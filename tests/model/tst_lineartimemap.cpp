#include "model/LinearTimeMap.h"

#include <QTest>

// Times moved along a line: shifts, synchronisation by two points and frame rates.
class tst_LinearTimeMap : public QObject
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
};

QTEST_GUILESS_MAIN(tst_LinearTimeMap)
#include "tst_lineartimemap.moc"
