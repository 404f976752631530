#include "media/AmplitudeCompression.h"

#include <QtTest>

// The vertical zoom's curve: quiet parts grow as zoomed, loud ones stay shaped below the edge.
class tst_AmplitudeCompression : public QObject
{
    Q_OBJECT

private slots:
    void louderIsHigherAndNeverClipped_data()
    {
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("zoom");
        QTest::newRow("unzoomed loudest point") << 1.0 << 1.0;
        QTest::newRow("just past the knee") << 0.76 << 1.0;
        QTest::newRow("twice past the edge") << 1.0 << 2.0;
        QTest::newRow("quiet part at the largest zoom") << 0.05 << 32.0;
        QTest::newRow("loudest point at the largest zoom") << 1.0 << 32.0;
        QTest::newRow("zoom past its limit is held there") << 1.0 << 1e9;
        QTest::newRow("a level far past the loudest") << 1e15 << 32.0;
    }

    void louderIsHigherAndNeverClipped()
    {
        QFETCH(double, level);
        QFETCH(double, zoom);
        const double height = AmplitudeCompression::height(level, zoom);
        QVERIFY2(height > 0 && height < 1, qPrintable(QString::number(height)));
        // A tenth louder is visibly higher: no flat band where loud parts merge.
        if (level < 1e12)
            QVERIFY(AmplitudeCompression::height(level * 1.1, zoom) - height > 1e-4);
    }

    void quietPartsGrowByTheZoom_data()
    {
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("height");
        QTest::newRow("unzoomed") << 0.5 << 1.0 << 0.5;
        QTest::newRow("zoomed to the knee") << 0.025 << 30.0 << 0.75;
        QTest::newRow("zoom below 1 is 1") << 0.5 << 0.1 << 0.5;
        QTest::newRow("silence stays on the centre line") << 0.0 << 32.0 << 0.0;
        QTest::newRow("no number is silence") << qQNaN() << 4.0 << 0.0;
    }

    void quietPartsGrowByTheZoom()
    {
        QFETCH(double, level);
        QFETCH(double, zoom);
        QFETCH(double, height);
        QCOMPARE(AmplitudeCompression::height(level, zoom), height);
    }
};

QTEST_GUILESS_MAIN(tst_AmplitudeCompression)
#include "tst_amplitudecompression.moc"
