#include "model/timing/SpeechAlignment.h"
#include "model/timing/OverlapByOffset.h"

#include "SyntheticFilm.h"

#include <QTest>

using SyntheticFilm::Damage;
using SyntheticFilm::Noise;

Q_DECLARE_METATYPE(SyntheticFilm::Damage)
Q_DECLARE_METATYPE(SyntheticFilm::Noise)
Q_DECLARE_METATYPE(SpeechStretch)

// Subtitles put back where they belong in generated films, from the film's speech alone.
class tst_SpeechAlignment : public QObject
{
    Q_OBJECT

private slots:
    void alignsSubtitles_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<Noise>("noise");
        QTest::addColumn<bool>("foreign");

        const double ntsc = 24000.0 / 1001;
        const Noise detected{0.05, 0.05, 0.1};
        const Noise heavy{0.15, 0.2, 0.3};
        const Noise music{0.05, 0.05, 0.1, 6};
        // The film's time is the subtitles' × rate + offset, with an advert the subtitles lack
        // and a scene they keep that the film lacks.
        QTest::newRow("shifted later") << 1u << Damage{1, 12.5} << detected << false;
        QTest::newRow("shifted earlier by minutes") << 2u << Damage{1, -300} << detected << false;
        QTest::newRow("made for 23.976 fps, film at 25") << 3u << Damage{ntsc / 25, 4} << detected << false;
        QTest::newRow("made for 25 fps, film at 23.976") << 4u << Damage{25 / ntsc, -7} << detected << false;
        QTest::newRow("made for 24 fps, film at 25") << 5u << Damage{24.0 / 25, 0.8} << detected << false;
        QTest::newRow("made for 25 fps, film at 24") << 6u << Damage{25.0 / 24, 30} << detected << false;
        QTest::newRow("an advert moves the rest later") << 7u << Damage{1, 2, 95, 0.4} << detected << false;
        QTest::newRow("a cut scene moves the rest earlier") << 8u << Damage{1, -3, 0, 0.5, 50, 0.6} << detected
                                                            << false;
        QTest::newRow("advert, cut and frame rate") << 9u << Damage{25 / ntsc, 5, 70, 0.25, 40, 0.75} << detected
                                                    << false;
        QTest::newRow("speech found badly") << 10u << Damage{1, 6} << heavy << false;
        QTest::newRow("speech found badly, an advert") << 11u << Damage{24.0 / 25, 6, 60, 0.7} << heavy << false;
        QTest::newRow("music taken for speech, an advert") << 12u << Damage{1, -6, 80, 0.5} << music << false;
        QTest::newRow("another film's subtitles") << 13u << Damage{1, 0} << detected << true;
        QTest::newRow("another film's, speech found badly") << 14u << Damage{1, 0} << heavy << true;
    }

    void alignsSubtitles()
    {
        QFETCH(unsigned, seed);
        QFETCH(Damage, damage);
        QFETCH(Noise, noise);
        QFETCH(bool, foreign);
        SyntheticFilm::Options options;
        options.seed = seed;
        options.damage = damage;
        options.noise = noise;
        const SyntheticFilm::Film film =
            foreign ? SyntheticFilm::makeForeign(options, seed + 100) : SyntheticFilm::make(options);

        const SyncResult result = SpeechAlignment::align(film.subtitles, film.speech);

        QCOMPARE(result.belongs, !foreign);
        if (foreign) {
            QVERIFY(result.confidence < 0.5);
            return;
        }
        const SyntheticFilm::Score score = SyntheticFilm::score(film, result);
        QVERIFY2(score.within100ms >= 0.95, qPrintable(QString::number(score.within100ms)));
        QVERIFY2(std::abs(score.medianStartError) <= 0.03, qPrintable(QString::number(score.medianStartError)));
        QVERIFY2(score.breaksRight, qPrintable(result.describe()));
        for (const SyncResult::Piece &piece : result.pieces)
            QCOMPARE(piece.line.scale(), damage.rate);
        QCOMPARE(result.conversion.has_value(), damage.rate != 1);
        QVERIFY(result.confidence > 0.9);
        QVERIFY(result.speechAfter > result.speechBefore);
    }

    // Subtitles that each hold a second past their line fit equally well anywhere within that
    // second: the best offset is a flat top, which must be found, not passed over.
    void findsAFlatToppedOffset()
    {
        std::vector<SpeechStretch> speech;
        std::vector<SpeechStretch> subtitles;
        double t = 5;
        for (int i = 0; i < 30; ++i) {
            const double length = 1 + (i * 7 % 5) * 0.5;
            speech.push_back({t, t + length});
            subtitles.push_back({t - 12, t + length + 1 - 12});
            t += length + 2 + (i * 3 % 4) * 0.5;
        }
        const SyncResult result = SpeechAlignment::align(subtitles, SpeechStretches(speech));
        QVERIFY(result.belongs);
        QCOMPARE(result.pieces.size(), 1u);
        QVERIFY2(std::abs(result.map(0.0) - 12) <= 0.05, qPrintable(result.describe()));
    }

    // The overlap of one interval with speech, by offset: a peak is offered at its middle.
    void offersTheMiddleOfAFlatTop_data()
    {
        QTest::addColumn<SpeechStretch>("interval");
        QTest::addColumn<QList<SpeechStretch>>("speech");
        QTest::addColumn<QList<double>>("peaks"); // the highest first
        using S = SpeechStretch;
        QTest::newRow("as long as the speech: a sharp peak") << S{0, 1} << QList<S>{{10, 11}} << QList<double>{10};
        QTest::newRow("shorter: a flat top") << S{0, 1} << QList<S>{{10, 12}} << QList<double>{10.5};
        // Off the grid: the running sums leave the top uneven in the last digits.
        QTest::newRow("a flat top between grid points") << S{0.033, 1.077} << QList<S>{{10.0101, 12.3}}
                                                        << QList<double>{10.6};
        QTest::newRow("two flat tops, each offered") << S{0, 1} << QList<S>{{5, 7}, {20, 21.4}}
                                                                 << QList<double>{5.5, 20.2};
    }

    void offersTheMiddleOfAFlatTop()
    {
        QFETCH(SpeechStretch, interval);
        QFETCH(QList<SpeechStretch>, speech);
        QFETCH(QList<double>, peaks);
        const OverlapByOffset::Interval moved{interval.start, interval.end, 1};
        const std::vector<SpeechStretch> stretches(speech.begin(), speech.end());
        const OverlapByOffset overlap({&moved, 1}, stretches, {0, 0.1, 300});
        const std::vector<double> found = overlap.peaks(3, 1.0);
        QCOMPARE(found.size(), std::size_t(peaks.size()));
        for (std::size_t i = 0; i < found.size(); ++i)
            QVERIFY2(std::abs(found[i] - peaks[i]) < 0.051, qPrintable(QString::number(found[i])));
    }

    void describesAndMapsPieces()
    {
        SyncResult result;
        result.pieces = {{0, *LinearTimeMap::scaledAndShifted(25 / (24000.0 / 1001), 2.35)},
                         {2400, *LinearTimeMap::scaledAndShifted(25 / (24000.0 / 1001), 97.55)}};
        result.conversion = FrameRateConversion{25, 24000.0 / 1001};
        result.belongs = true;
        result.confidence = 0.97;

        QCOMPARE(result.map(100), 106.621);
        QCOMPARE(result.map(2400), 2600.05); // the break moves its own moment with the later piece
        QCOMPARE(result.map(-100), 0.0);
        const std::vector<SyncResult::Break> breaks = result.breaks();
        QCOMPARE(breaks.size(), 1u);
        QCOMPARE(breaks[0].originalTime, 2400.0);
        QCOMPARE(breaks[0].jump, 95.2);
        // A subtitle across the break moves whole, with the piece its start is in.
        const SpeechStretch across = result.map(SpeechStretch{2399, 2401});
        QCOMPARE(across.end - across.start, 2.086);
        QCOMPARE(result.describe(), QStringLiteral("Moved by +2.350 s; converted from 25 to 23.976 fps; a break at "
                                                   "00:41:45 adds 95.2 s. Sure: 97%."));

        result.belongs = false;
        result.confidence = 0.04;
        QVERIFY(result.describe().contains(QStringLiteral("nothing was moved")));
    }

    void leavesAloneWhatCannotBeAligned()
    {
        const SpeechStretches speech({{1, 2}, {3, 4}});
        QVERIFY(!SpeechAlignment::align(std::vector<SpeechStretch>{}, speech).belongs);
        const SyncResult noSpeech = SpeechAlignment::align(std::vector<SpeechStretch>{{1, 2}}, SpeechStretches());
        QVERIFY(!noSpeech.belongs);
        QCOMPARE(noSpeech.map(12.5), 12.5);
        // A time typed wrong, a month away, is not searched through.
        QVERIFY(!SpeechAlignment::align(std::vector<SpeechStretch>{{1, 2}, {3e6, 3e6 + 1}}, speech).belongs);
    }
};

QTEST_GUILESS_MAIN(tst_SpeechAlignment)
#include "tst_speechalignment.moc"
