#include "media/AudioSonogram.h"
#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"
#include "media/SonogramColumns.h"

#include "TestMedia.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

namespace {

// Fed by a waveform's decoding, as a media session feeds it, read in `threads` parts at
// once and one more from `focus`; the waveform keeps nothing, so only the sonogram's own
// cache can spare the sound its decoding.
std::unique_ptr<AudioSonogram> finishedSonogram(const QString &path, std::shared_ptr<MediaCache> cache,
                                                int threads = 1, double focus = 0,
                                                const std::function<void(const AudioSonogram &)> &watch = {})
{
    auto sonogram = std::make_unique<AudioSonogram>(path, 0);
    sonogram->setCache(std::move(cache));
    if (watch)
        QObject::connect(sonogram.get(), &AudioSonogram::columnsAppended, [&watch, s = sonogram.get()] { watch(*s); });
    QSignalSpy finished(sonogram.get(), &AudioSonogram::finished);
    const std::shared_ptr<AudioWaveform> waveform = AudioWaveform::create(path);
    if (!waveform)
        return nullptr;
    waveform->setCache(nullptr);
    waveform->setThreadCount(threads);
    waveform->setFocusTime(focus);
    waveform->addSink(sonogram->sink());
    waveform->loadWhole(48);
    if (!finished.wait(30000))
        return nullptr;
    return sonogram;
}

uchar levelAt(const AudioSonogram &sonogram, int resolution, qsizetype column, int row)
{
    return uchar(sonogram.columns(resolution)[column * SonogramColumns::rows + row]);
}

} // namespace

class tst_AudioSonogram : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    // A tone from 1 s to 2 s, decoded by FFmpeg, at every resolution: loudest in its own
    // band, and beginning where its columns say. Read in parts out of order (three at once
    // and one from a focus, over noise that shows any seam), it has the same columns.
    void toneShowsInItsBandAndAtItsTime_data()
    {
        QTest::addColumn<double>("frequency");
        QTest::addColumn<QString>("format"); // sample rate and channels
        QTest::newRow("low voice, 44.1 kHz") << 150.0 << QStringLiteral("sample_rate=44100");
        QTest::newRow("1 kHz, 48 kHz stereo") << 1000.0 << QStringLiteral("sample_rate=48000:channel_layout=stereo");
        QTest::newRow("near the top, at the sonogram's own rate") << 6000.0 << QStringLiteral("sample_rate=16000");
    }

    void toneShowsInItsBandAndAtItsTime()
    {
        QFETCH(double, frequency);
        QFETCH(QString, format);
        const QString path = m_dir.filePath(QStringLiteral("tone.flac"));
        const QString tone = QStringLiteral("0.5*sin(2*PI*%1*t)*between(t\\,1\\,2)+0.01*random(0)*gte(t\\,2.5)")
                                 .arg(frequency);
        const QString channels = format.contains(QStringLiteral("stereo")) ? tone + u'|' + tone : tone;
        constexpr double duration = 6;
        QVERIFY(TestMedia::makeAudio(
            path, QStringLiteral("aevalsrc=exprs='%1':%2:duration=%3").arg(channels, format).arg(duration)));
        const auto sonogram = finishedSonogram(path, nullptr);
        QVERIFY(sonogram && sonogram->isComplete());
        // What is shown ahead of the joined columns lies where it belongs.
        qsizetype misplaced = 0;
        const auto inParts = finishedSonogram(path, nullptr, 3, 3.1, [&](const AudioSonogram &partial) {
            for (int resolution = 0; resolution < AudioSonogram::resolutionCount; ++resolution) {
                for (const AudioSonogram::PartAhead &part : partial.partsAhead(resolution)) {
                    const QByteArray &whole = sonogram->columns(resolution);
                    if (whole.mid(part.firstColumn * SonogramColumns::rows, part.columns.size()) != part.columns)
                        ++misplaced;
                }
            }
        });
        QVERIFY(inParts && inParts->isComplete());
        QCOMPARE(misplaced, 0);
        for (int resolution = 0; resolution < AudioSonogram::resolutionCount; ++resolution)
            QVERIFY2(inParts->columns(resolution) == sonogram->columns(resolution), qPrintable(QString::number(resolution)));

        int expectedRow = 0;
        for (int row = 1; row < SonogramColumns::rows; ++row) {
            if (std::abs(std::log(SonogramColumns::rowFrequency(row) / frequency))
                < std::abs(std::log(SonogramColumns::rowFrequency(expectedRow) / frequency)))
                expectedRow = row;
        }
        for (int resolution = 0; resolution < AudioSonogram::resolutionCount; ++resolution) {
            const AudioSonogram::Resolution &r = AudioSonogram::resolutions()[resolution];
            const auto columnAt = [&](double seconds) {
                return qsizetype(std::lround((seconds - r.firstColumnMiddle()) * r.columnsPerSecond()));
            };
            // Columns go on while their middle lies inside the sound.
            QCOMPARE(sonogram->columnCount(resolution), columnAt(duration));
            const qsizetype middle = columnAt(1.5);
            int loudestRow = 0;
            for (int row = 0; row < SonogramColumns::rows; ++row) {
                if (levelAt(*sonogram, resolution, middle, row) > levelAt(*sonogram, resolution, middle, loudestRow))
                    loudestRow = row;
            }
            QVERIFY2(std::abs(loudestRow - expectedRow) <= 1,
                     qPrintable(QStringLiteral("row %1, not %2").arg(loudestRow).arg(expectedRow)));
            // The first column within 20 dB of the tone lies over its start.
            const double threshold = SonogramColumns::decibelsOf(levelAt(*sonogram, resolution, middle, loudestRow)) - 20;
            qsizetype onset = 0;
            while (SonogramColumns::decibelsOf(levelAt(*sonogram, resolution, onset, loudestRow)) < threshold)
                ++onset;
            const double onsetTime = r.firstColumnMiddle() + onset / r.columnsPerSecond();
            QVERIFY2(std::abs(onsetTime - 1.0) <= r.windowSize / 2.0 / SonogramColumns::sampleRate,
                     qPrintable(QString::number(onsetTime)));
        }
    }

    // The finest resolution whose columns are no wider than a point: a column per point
    // exactly still takes it, a hair fewer points a second falls to the next.
    void resolutionFollowsTheZoom_data()
    {
        QTest::addColumn<double>("pointsPerSecond");
        QTest::addColumn<int>("resolution");
        const auto rate = [](int i) { return AudioSonogram::resolutions()[i].columnsPerSecond(); };
        QTest::newRow("far in") << 10 * rate(0) << 0;
        QTest::newRow("exactly the finest") << rate(0) << 0;
        QTest::newRow("just below the finest") << rate(0) - 0.01 << 1;
        QTest::newRow("exactly the middle") << rate(1) << 1;
        QTest::newRow("just below the middle") << rate(1) - 0.01 << 2;
        QTest::newRow("far out") << 0.001 << 2;
    }
    void resolutionFollowsTheZoom()
    {
        QFETCH(double, pointsPerSecond);
        QFETCH(int, resolution);
        QCOMPARE(AudioSonogram::resolutionFor(pointsPerSecond), resolution);
    }

    void cacheRoundTrip()
    {
        const QString path = m_dir.filePath(QStringLiteral("beeps.flac"));
        QVERIFY(TestMedia::makeAudio(path, TestMedia::beeps({0.5, 2}, 0.4, 3)));
        const auto cache = std::make_shared<MediaCache>(m_dir.filePath(QStringLiteral("cache")));
        // Destroyed before the second: its store is complete once it is gone.
        std::array<QByteArray, AudioSonogram::resolutionCount> computed;
        if (const auto first = finishedSonogram(path, cache)) {
            for (int i = 0; i < AudioSonogram::resolutionCount; ++i)
                computed[size_t(i)] = first->columns(i);
        }
        QVERIFY(!computed.front().isEmpty());
        const auto second = finishedSonogram(path, cache);
        QVERIFY(second);
        for (int i = 0; i < AudioSonogram::resolutionCount; ++i)
            QCOMPARE(second->columns(i), computed[size_t(i)]);

        // What the cache holds is what is shown: not computed again.
        std::array<QByteArray, AudioSonogram::resolutionCount> planted = computed;
        planted.back().fill(char(7));
        QVERIFY(cache->storeBytes(path, AudioSonogram::cacheSeries, AudioSonogram::serialise(planted)));
        const auto third = finishedSonogram(path, cache);
        QVERIFY(third);
        QCOMPARE(third->columns(AudioSonogram::resolutionCount - 1), planted.back());
        QCOMPARE(third->loudest(), 7);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_AudioSonogram)
#include "tst_audiosonogram.moc"
