#include "waveform/AudioWaveform.h"
#include "waveform/AudioWaveformView.h"
#include "waveform/WaveformOutline.h"

#include "WaveformMedia.h"

#include <QImage>
#include <QScrollArea>
#include <QSignalSpy>
#include <QtTest>

namespace {

WaveformOutline::Input input(const QList<double> &samples, int estimated, double width, double height = 100)
{
    WaveformOutline::Input result;
    result.samples = &samples;
    result.estimatedSampleCount = estimated;
    result.width = width;
    result.height = height;
    return result;
}

// Rows of one column that the green fill covers (a widget inside another may show its
// parent's grey background).
QList<int> filledRows(const QImage &image, int x)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb pixel = image.pixel(x, y);
        if (qAlpha(pixel) > 0 && qGreen(pixel) - qRed(pixel) > 20)
            rows.append(y);
    }
    return rows;
}

// What the view itself draws, without any window background.
QImage rendered(QWidget &view, const QRect &area)
{
    QImage image(area.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    view.render(&image, QPoint(), QRegion(area), QWidget::DrawChildren);
    return image;
}

} // namespace

class TestAudioWaveformView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void visitedPoints_data();
    void visitedPoints();
    void strideTakesLoudestOfEachGroup();
    void shapeEndsAtLastDecodedPoint();
    void silenceLiesOnTheCentreLine();
    void drawsMirroredLevels();
    void fillsInAsBatchesArrive();

private:
    WaveformMedia m_media;
};

void TestAudioWaveformView::initTestCase()
{
    QVERIFY(m_media.generate());
}

void TestAudioWaveformView::visitedPoints_data()
{
    QTest::addColumn<int>("decoded");
    QTest::addColumn<int>("estimated");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("minX");
    QTest::addColumn<double>("maxX");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("step");

    QTest::newRow("two points of width per point") << 480 << 480 << 960.0 << 100.0 << 201.0 << 50 << 101 << 1;
    QTest::newRow("clamped to the last decoded point") << 60 << 480 << 960.0 << 100.0 << 201.0 << 50 << 59 << 1;
    QTest::newRow("four points per point of width") << 4800 << 4800 << 1200.0 << 0.0 << 1200.0 << 0 << 4799 << 4;
    QTest::newRow("nothing decoded yet") << 0 << 480 << 960.0 << 0.0 << 960.0 << 0 << -1 << 1;
    QTest::newRow("no width") << 480 << 480 << 0.0 << 0.0 << 10.0 << 0 << -1 << 1;
}

void TestAudioWaveformView::visitedPoints()
{
    QFETCH(int, decoded);
    QFETCH(int, estimated);
    QFETCH(double, width);
    QFETCH(double, minX);
    QFETCH(double, maxX);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, step);

    const QList<double> samples(decoded, -20.0);
    const WaveformOutline::Span span = WaveformOutline::span(input(samples, estimated, width), minX, maxX);
    QCOMPARE(span.first, first);
    QCOMPARE(span.last, last);
    if (last >= first)
        QCOMPARE(span.step, step);
}

void TestAudioWaveformView::strideTakesLoudestOfEachGroup()
{
    QList<double> samples(4800, -40.0);
    samples[1] = -10;   // group 0
    samples[7] = -20;   // group 1
    samples[8] = -30;   // group 2
    const QPolygonF upper = WaveformOutline::upperHalf(input(samples, 4800, 1200), 0, 3);
    // Start on the centre line, vertices at x = 0, 1, 2, 3, end on the centre line.
    QCOMPARE(upper.size(), 6);
    QCOMPARE(upper[1], QPointF(0, 1.25 * 30));
    QCOMPARE(upper[2], QPointF(1, 1.25 * 20));
    QCOMPARE(upper[3], QPointF(2, 1.25 * 10));
    QCOMPARE(upper[4], QPointF(3, 0));
}

void TestAudioWaveformView::shapeEndsAtLastDecodedPoint()
{
    const QList<double> samples(10, -20.0);
    const QPolygonF upper = WaveformOutline::upperHalf(input(samples, 480, 960), 0, 960);
    QCOMPARE(upper.first(), QPointF(0, 0));
    QCOMPARE(upper.last(), QPointF(18, 0));
    QCOMPARE(upper[upper.size() - 2], QPointF(18, 25));
}

void TestAudioWaveformView::silenceLiesOnTheCentreLine()
{
    const QList<double> samples(480, -40.0);
    for (const QPointF &vertex : WaveformOutline::upperHalf(input(samples, 480, 960), 0, 960))
        QCOMPARE(vertex.y(), 0.0);
}

void TestAudioWaveformView::drawsMirroredLevels()
{
    // -20 dB throughout; in a view 100 high it reaches 25 above and 25 below the middle.
    const auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("dc-44100-stereo.wav")));
    QVERIFY(waveform);
    QSignalSpy finished(waveform.get(), &AudioWaveform::finished);
    waveform->load(0, 5, 48);
    QVERIFY(finished.wait(30000));

    AudioWaveformView view;
    view.resize(240, 100);
    view.setAudioWaveform(waveform);
    const QImage image = rendered(view, view.rect());

    const QList<int> rows = filledRows(image, 120);
    QVERIFY(!rows.isEmpty());
    QVERIFY2(qAbs(rows.first() - 25) <= 1 && qAbs(rows.last() - 75) <= 1,
             qPrintable(QStringLiteral("%1..%2").arg(rows.first()).arg(rows.last())));
    QCOMPARE(rows.size(), rows.last() - rows.first() + 1);
    const QColor fill = QColor::fromRgba(image.pixel(120, 50));
    QVERIFY(qAbs(fill.alpha() - 128) <= 1);
    QVERIFY(fill.green() > fill.blue() && fill.blue() > fill.red());
    // Without antialiasing the edge is one hard step.
    QCOMPARE(qAlpha(image.pixel(120, rows.first() - 1)), 0);
}

void TestAudioWaveformView::fillsInAsBatchesArrive()
{
    // Inside a scrolled, wider content, as under the timeline.
    QScrollArea area;
    area.resize(300, 120);
    auto *view = new AudioWaveformView;
    view->resize(2000, 100);
    area.setWidget(view);
    area.show();

    const auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("film.mp4")));
    QVERIFY(waveform);
    view->setAudioWaveform(waveform);
    QSignalSpy finished(waveform.get(), &AudioWaveform::finished);
    waveform->load(0, 8, 48);
    QVERIFY(finished.wait(30000));
    QVERIFY(!filledRows(rendered(*view, QRect(0, 0, 300, 100)), 150).isEmpty());
    // 8 s over 2000 points of width, of which the audio fills 6: the rest stays empty.
    QVERIFY(filledRows(rendered(*view, QRect(1700, 0, 300, 100)), 150).isEmpty());

    view->setAudioWaveform(nullptr);
    QVERIFY(filledRows(rendered(*view, QRect(0, 0, 300, 100)), 150).isEmpty());
}

QTEST_MAIN(TestAudioWaveformView)
#include "tst_audiowaveformview.moc"
