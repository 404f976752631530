#include "waveform/EnvelopeAccumulator.h"

#include <QtTest>

#include <cmath>
#include <vector>

using Samples = std::vector<int16_t>;
Q_DECLARE_METATYPE(Samples)

namespace {

QList<double> envelope(const Samples &samples, int bucket)
{
    EnvelopeAccumulator accumulator(bucket, -40, 0);
    QList<double> points;
    accumulator.append(samples.data(), qsizetype(samples.size()), points);
    accumulator.finish(points);
    return points;
}

} // namespace

class TestEnvelopeAccumulator : public QObject
{
    Q_OBJECT

private slots:
    void levels_data()
    {
        QTest::addColumn<Samples>("samples");
        QTest::addColumn<int>("bucket");
        QTest::addColumn<QList<double>>("expected"); // dB, between -40 and 0
        QTest::newRow("quiet samples clip to the floor") << Samples{1, -1, 100} << 3 << QList<double>{-40};
        QTest::newRow("a point is the mean of levels, not the level of the mean") << Samples{-32768, 0} << 2
                                                                                  << QList<double>{-20};
        QTest::newRow("channels are mixed in one bucket") << Samples{0, -32768, 0, -32768} << 2 << QList<double>{-20, -20};
        QTest::newRow("bucket of one gives a point per sample") << Samples{0, 16384} << 1 << QList<double>{-40, -6.020600};
        QTest::newRow("a short last bucket is the mean of what is left") << Samples{0, 0, 0, -32768, 0} << 3
                                                                         << QList<double>{-40, -20};
        QTest::newRow("no samples, no point") << Samples{} << 4 << QList<double>{};
    }

    void levels()
    {
        QFETCH(Samples, samples);
        QFETCH(int, bucket);
        QFETCH(QList<double>, expected);
        const QList<double> points = envelope(samples, bucket);
        QCOMPARE(points.size(), expected.size());
        for (qsizetype i = 0; i < points.size(); ++i)
            QVERIFY2(std::abs(points[i] - expected[i]) < 1e-5, qPrintable(QStringLiteral("point %1: %2").arg(i).arg(points[i])));
    }

    void bucketSplitAcrossPiecesGivesSamePoints()
    {
        Samples samples(5000);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = int16_t((i * 7919) % 65536 - 32768);
        const QList<double> whole = envelope(samples, 37);

        // Pieces of awkward sizes end in the middle of buckets, and one piece is empty.
        for (const qsizetype piece : {1, 5, 36, 37, 38, 1000}) {
            EnvelopeAccumulator accumulator(37, -40, 0);
            QList<double> points;
            for (qsizetype at = 0; at < qsizetype(samples.size()); at += piece) {
                const qsizetype count = std::min(piece, qsizetype(samples.size()) - at);
                accumulator.append(samples.data() + at, count, points);
                accumulator.append(samples.data() + at, 0, points);
            }
            accumulator.finish(points);
            QCOMPARE(points, whole);
        }
    }
};

QTEST_GUILESS_MAIN(TestEnvelopeAccumulator)
#include "tst_envelopeaccumulator.moc"
