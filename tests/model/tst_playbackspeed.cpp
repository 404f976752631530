#include "model/PlaybackSpeed.h"

#include <QTest>

#include <cmath>

class tst_PlaybackSpeed : public QObject
{
    Q_OBJECT

private slots:
    void steps_data()
    {
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("faster");
        QTest::addColumn<double>("slower");
        QTest::newRow("normal") << 1.0 << 1.1 << 0.9;
        QTest::newRow("slowest stays") << 0.5 << 0.6 << 0.5;
        QTest::newRow("fastest stays") << 2.0 << 2.0 << 1.5;
        QTest::newRow("between two steps") << 0.8 << 0.9 << 0.75;
        QTest::newRow("a hair off a step is that step") << 0.7499999 << 0.9 << 0.6;
        QTest::newRow("beyond the fastest") << 5.0 << 2.0 << 1.5;
        QTest::newRow("below the slowest") << 0.1 << 0.6 << 0.5;
        QTest::newRow("no speed at all is normal") << 0.0 << 1.1 << 0.9;
        QTest::newRow("not a number is normal") << double(NAN) << 1.1 << 0.9;
    }

    void steps()
    {
        QFETCH(double, speed);
        QFETCH(double, faster);
        QFETCH(double, slower);
        QCOMPARE(PlaybackSpeed::faster(speed), faster);
        QCOMPARE(PlaybackSpeed::slower(speed), slower);
    }
};

QTEST_GUILESS_MAIN(tst_PlaybackSpeed)
#include "tst_playbackspeed.moc"
