#include "timeline/RulerGranularity.h"
#include "timeline/RulerLabelFormat.h"
#include "timeline/TimelineRuler.h"

#include <QTest>

class tst_TimelineRuler : public QObject
{
    Q_OBJECT

private slots:
    void granularity_data()
    {
        // At 25 fps; a zoom's steps are also checked where the timeline sets them.
        QTest::addColumn<double>("pointsPerSecond");
        QTest::addColumn<RulerGranularity>("expected");
        QTest::newRow("exactly 20 pt/s: 100 is not enough") << 20.0 << RulerGranularity{200, 10, 10};
        QTest::newRow("an hour is 72 points: two hours") << 0.02 << RulerGranularity{144, 7200, 2};
        QTest::newRow("694 hours in 1200 points: five days")
            << 1200.0 / (694 * 3600) << RulerGranularity{1200.0 / (694 * 3600) * 5 * 86400, 5 * 86400, 5};
    }

    void granularity()
    {
        QFETCH(double, pointsPerSecond);
        QFETCH(RulerGranularity, expected);
        QCOMPARE(RulerGranularity::forScale(pointsPerSecond, 25), expected);
    }

    void labelsHaveOneLayout_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("label");
        QTest::newRow("hours") << 3905.0 << "01:05:05";
        QTest::newRow("just under a day") << 86399.0 << "23:59:59";
        QTest::newRow("days only where there are some") << 282600.0 << "3d 06:30:00";
        QTest::newRow("the tick left of zero") << -5.0 << "-00:00:05";
    }

    void labelsHaveOneLayout()
    {
        QFETCH(double, seconds);
        QFETCH(QString, label);
        QCOMPARE(RulerLabelFormat::format(seconds), label);
    }

    void ticksOfDirtyStrip()
    {
        // 3000 points for 100 seconds: major ticks every 150 points, minor every 30.
        TimelineRuler ruler;
        ruler.setFrameRate(25);
        ruler.setScale(100, 3000);
        QCOMPARE(ruler.majorTickPositions(0, 300), QList<double>({-150, 0, 150}));
        QCOMPARE(ruler.minorTickPositions(0, 300), QList<double>({30, 60, 90, 120, 180, 210, 240, 270}));
        // 150 points per second at 25 fps: a minor tick every 6 points, none on the seconds.
        ruler.setScale(10, 1500);
        const QList<double> minor = ruler.minorTickPositions(0, 150);
        QCOMPARE(minor.size(), 24);
        QCOMPARE(minor.first(), 6.0);
        QCOMPARE(minor.last(), 144.0);
        ruler.setFrameRate(0); // no video rate: a second still has one interval
        QCOMPARE(ruler.granularity().smallTicks, 1.0);
        ruler.setScale(0, 600);
        QVERIFY(ruler.majorTickPositions(0, 600).isEmpty());
    }

    void labelsNeverMeetAtAnyScale()
    {
        // From a 1000× zoom down to a century in one pane, major ticks stay apart and each
        // step is at least as coarse as the one for a closer zoom.
        double previous = 0;
        for (double pps = 30000; pps > 1e-7; pps /= 1.37) {
            const RulerGranularity g = RulerGranularity::forScale(pps, 25);
            QVERIFY2(g.isDrawable() && g.space > 100, qPrintable(QString::number(pps)));
            QVERIFY(g.time >= previous);
            previous = g.time;
        }
    }
};

QTEST_MAIN(tst_TimelineRuler)
#include "tst_timelineruler.moc"
