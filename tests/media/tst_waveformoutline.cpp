#include "media/WaveformOutline.h"

#include <QtTest>

namespace {

WaveformOutline::Input input(const QList<double> &samples, double sampleWidth, double originX = 0)
{
    WaveformOutline::Input result;
    result.samples = &samples;
    result.sampleWidth = sampleWidth;
    result.originX = originX;
    result.height = 100;
    return result;
}

// Points decoded, their width and where the first lies; the strip drawn; the points
// visited (last < first: none).
struct Visit
{
    int decoded;
    double sampleWidth, originX, minX, maxX;
    int first, last, step;
};

} // namespace

Q_DECLARE_METATYPE(Visit)

// The outline the waveform is drawn with: which points a strip visits and how high.
class tst_WaveformOutline : public QObject
{
    Q_OBJECT

private slots:
    void visitedPoints_data()
    {
        QTest::addColumn<Visit>("visit");
        QTest::newRow("two points of width per point") << Visit{480, 2.0, 0, 100, 201, 50, 101, 1};
        QTest::newRow("clamped to the last decoded point") << Visit{60, 2.0, 0, 100, 201, 50, 59, 1};
        QTest::newRow("four points per point of width") << Visit{4800, 0.25, 0, 0, 1200, 0, 4799, 4};
        QTest::newRow("3.3 points per point of width: groups of 3") << Visit{4800, 0.3, 0, 0, 30, 0, 100, 3};
        QTest::newRow("a strip starting inside a group starts at the group") << Visit{4800, 0.25, 0, 0.6, 2, 0, 8, 4};
        QTest::newRow("scrolled: placed by time, not from the view's edge") << Visit{480, 2.0, -600, 0, 100, 300, 350, 1};
        QTest::newRow("the audio ends left of the strip") << Visit{480, 2.0, -2000, 0, 100, 0, -1, 1};
        QTest::newRow("the audio starts right of the strip") << Visit{480, 2.0, 500, 0, 100, 0, -1, 1};
        QTest::newRow("nothing decoded yet") << Visit{0, 2.0, 0, 0, 960, 0, -1, 1};
        QTest::newRow("no scale") << Visit{480, 0.0, 0, 0, 10, 0, -1, 1};
    }

    void visitedPoints()
    {
        QFETCH(Visit, visit);
        const QList<double> samples(visit.decoded, -20.0);
        const WaveformOutline::Span span
            = WaveformOutline::span(input(samples, visit.sampleWidth, visit.originX), visit.minX, visit.maxX);
        QCOMPARE(span.first, visit.first);
        QCOMPARE(span.last, visit.last);
        if (visit.last >= visit.first)
            QCOMPARE(span.step, visit.step);
    }

    void strideTakesLoudestOfEachGroup()
    {
        QList<double> samples(4800, -40.0);
        samples[1] = -10;   // group 0
        samples[7] = -20;   // group 1
        samples[8] = -30;   // group 2
        // From the centre line to vertices at x = 0, 1, 2, 3 (silence: on the line) and back.
        const QPolygonF expected{{0, 0}, {0, 37.5}, {1, 25}, {2, 12.5}, {3, 0}, {3, 0}};
        QCOMPARE(WaveformOutline::upperHalf(input(samples, 0.25), 0, 3), expected);
    }
};

QTEST_GUILESS_MAIN(tst_WaveformOutline)
#include "tst_waveformoutline.moc"
