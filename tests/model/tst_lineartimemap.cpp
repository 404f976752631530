#include "model/LinearTimeMap.h"

#include <QTest>

// Times moved along a line: shifts, synchronisation by two points and frame rates.
class tst_LinearTimeMap : public QObject
{
    Q_OBJECT

private slots:
    void mapsTimes()
    {
        const auto shift = &LinearTimeMap::shift;
        const auto line = [](double f1, double t1, double f2, double t2) { return *LinearTimeMap::throughTwoPoints(f1, t1, f2, t2); };
        const auto rates = [](double from, double to) { return *LinearTimeMap::frameRateConversion(from, to); };
        QCOMPARE(shift(1.5).apply(10), 11.5);
        QCOMPARE(shift(-1.5).apply(10), 8.5);
        QCOMPARE(shift(-5).apply(2), 0.0);          // never below zero
        QCOMPARE(shift(0.0004).apply(1), 1.0);      // whole milliseconds
        QCOMPARE(shift(0.0005).apply(1), 1.001);    // a half millisecond rounds up
        QCOMPARE(line(10, 12, 100, 105).apply(55), 58.5);
        QCOMPARE(line(0, 1, 10, 12).apply(20), 23.0); // beyond the points
        QCOMPARE(rates(25, 24000.0 / 1001).apply(10), 10.427);
        QCOMPARE(rates(24000.0 / 1001, 25).apply(10.427), 10.0);
        QCOMPARE(rates(24, 25).apply(100), 96.0);
        QCOMPARE(rates(30000.0 / 1001, 30).apply(1001), 1000.0);
    }

    void refusesLinesThatCannotBe()
    {
        QVERIFY(!LinearTimeMap::throughTwoPoints(5, 6, 5, 7));   // two points at the same time
        QVERIFY(!LinearTimeMap::throughTwoPoints(5, 10, 10, 5));  // the order turned around
        QVERIFY(!LinearTimeMap::throughTwoPoints(5, 8, 10, 8));   // everything squeezed together
        QVERIFY(!LinearTimeMap::frameRateConversion(0, 25));
        QVERIFY(!LinearTimeMap::frameRateConversion(25, -25));
        QVERIFY(!LinearTimeMap::frameRateConversion(25, qInf()));
        QVERIFY(!LinearTimeMap::scaledAndShifted(0, 1));
        QVERIFY(!LinearTimeMap::scaledAndShifted(1, qInf()));
    }
};

QTEST_GUILESS_MAIN(tst_LinearTimeMap)
#include "tst_lineartimemap.moc"
