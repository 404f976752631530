#include "waveform/AudioWaveform.h"
#include "waveform/WaveformPainter.h"
#include "waveform/WaveformOutline.h"

#include "RenderedWidget.h"
#include "WaveformMedia.h"

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QSignalSpy>
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

// What the painter draws into an empty band of that size, at that scale.
QImage painted(const AudioWaveform &waveform, QSize size, WaveformPainter::Scale scale)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    WaveformPainter::paint(painter, QRectF(QPointF(), size), waveform, scale, QPalette());
    return image;
}

} // namespace

class TestWaveformPainter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_media.generate());
    }

    void visitedPoints_data()
    {
        QTest::addColumn<int>("decoded");
        QTest::addColumn<double>("sampleWidth");
        QTest::addColumn<double>("originX");
        QTest::addColumn<double>("minX");
        QTest::addColumn<double>("maxX");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("step");

        QTest::newRow("two points of width per point") << 480 << 2.0 << 0.0 << 100.0 << 201.0 << 50 << 101 << 1;
        QTest::newRow("clamped to the last decoded point") << 60 << 2.0 << 0.0 << 100.0 << 201.0 << 50 << 59 << 1;
        QTest::newRow("four points per point of width") << 4800 << 0.25 << 0.0 << 0.0 << 1200.0 << 0 << 4799 << 4;
        QTest::newRow("a strip starting inside a group starts at the group") << 4800 << 0.25 << 0.0 << 0.6 << 2.0 << 0 << 8 << 4;
        QTest::newRow("scrolled: placed by time, not from the view's edge") << 480 << 2.0 << -600.0 << 0.0 << 100.0 << 300 << 350 << 1;
        QTest::newRow("the audio ends left of the strip") << 480 << 2.0 << -2000.0 << 0.0 << 100.0 << 0 << -1 << 1;
        QTest::newRow("the audio starts right of the strip") << 480 << 2.0 << 500.0 << 0.0 << 100.0 << 0 << -1 << 1;
        QTest::newRow("nothing decoded yet") << 0 << 2.0 << 0.0 << 0.0 << 960.0 << 0 << -1 << 1;
        QTest::newRow("no scale") << 480 << 0.0 << 0.0 << 0.0 << 10.0 << 0 << -1 << 1;
    }

    void visitedPoints()
    {
        QFETCH(int, decoded);
        QFETCH(double, sampleWidth);
        QFETCH(double, originX);
        QFETCH(double, minX);
        QFETCH(double, maxX);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, step);

        const QList<double> samples(decoded, -20.0);
        const WaveformOutline::Span span = WaveformOutline::span(input(samples, sampleWidth, originX), minX, maxX);
        QCOMPARE(span.first, first);
        QCOMPARE(span.last, last);
        if (last >= first)
            QCOMPARE(span.step, step);
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

    void shapeEndsAtLastDecodedPoint()
    {
        const QList<double> samples(10, -20.0);
        const QPolygonF upper = WaveformOutline::upperHalf(input(samples, 2.0), 0, 960);
        QCOMPARE(upper.first(), QPointF(0, 0));
        QCOMPARE(upper.last(), QPointF(18, 0));
        QCOMPARE(upper[upper.size() - 2], QPointF(18, 25));
    }

    void drawsMirroredLevels()
    {
        // -20 dB throughout; in a view 100 high it reaches 25 above and 25 below the middle.
        const auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("dc-44100-stereo.wav")));
        QVERIFY(waveform);
        QSignalSpy finished(waveform.get(), &AudioWaveform::finished);
        waveform->load(0, 5, 48);
        QVERIFY(finished.wait(30000));

        const QImage image = painted(*waveform, QSize(240, 100), {});

        const QList<int> rows = RenderedWidget::filledRows(image, 120);
        QVERIFY(!rows.isEmpty());
        QVERIFY2(qAbs(rows.first() - 25) <= 1 && qAbs(rows.last() - 75) <= 1,
                 qPrintable(QStringLiteral("%1..%2").arg(rows.first()).arg(rows.last())));
        QCOMPARE(rows.size(), rows.last() - rows.first() + 1);
    }

private:
    WaveformMedia m_media;
};

QTEST_MAIN(TestWaveformPainter)
#include "tst_waveformpainter.moc"
