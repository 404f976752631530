#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"

#include "TestMedia.h"

#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <sys/stat.h>

namespace {

constexpr double tenthOfFullScale = -19.99947; // dB
constexpr double halfScale = -6.02060;

// Loads and waits for the last batch; the points arrive through the GUI thread's loop.
bool loadAll(AudioWaveform &waveform, double start, double end, int perSecond)
{
    QSignalSpy finished(&waveform, &AudioWaveform::finished);
    waveform.load(start, end, perSecond);
    return waveform.isReading() && finished.wait(30000);
}

} // namespace

class tst_AudioWaveform : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_media; // audio made for the test by the script in the test data

    std::shared_ptr<AudioWaveform> open(const char *name) const
    {
        return AudioWaveform::create(m_media.filePath(QString::fromLatin1(name)));
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(QDir(MediaCache::userCache(QStringLiteral("waveforms"))->directory()).removeRecursively());
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        script.start(QStringLiteral("sh"), {qEnvironmentVariable("CUEWRIGHT_TEST_DATA") + "/waveform/generate.sh", m_media.path()});
        QVERIFY(script.waitForFinished(120000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0);

        // Three pieces of 2 s of pictures and 1.6 s of sound, a beep at 0.5 s in each: the
        // joined film's sound has gaps. Joining keeps each piece's encoder priming (1024
        // samples) as sound, so its beeps play at 0.521, 2.521 and 4.521 s.
        TestMedia::VideoOptions piece;
        piece.seconds = 2;
        piece.size = {64, 36};
        piece.audioSource = TestMedia::beeps({0.5}, 0.3, 1.6);
        const QString piecePath = m_media.filePath(QStringLiteral("piece.mp4"));
        QVERIFY(TestMedia::makeVideo(piecePath, piece));
        QVERIFY(TestMedia::joinFilms({piecePath, piecePath, piecePath}, m_media.filePath(QStringLiteral("joined.mp4"))));
    }

    void decodesKnownLevels_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<int>("estimated");
        QTest::addColumn<int>("points");
        QTest::addColumn<QList<double>>("levels"); // the first points, then the level of every later one
        const QList<double> tenth{tenthOfFullScale};
        // 88 200 samples a second in buckets of 1837: 240 points and a short last one.
        QTest::newRow("44.1 kHz stereo at -20 dB") << "dc-44100-stereo.wav" << 0.0 << 5.0 << 240 << 241 << tenth;
        QTest::newRow("silence is the floor") << "silence-48000-mono.wav" << 0.0 << 3.0 << 144 << 144 << QList<double>{-40};
        QTest::newRow("full-scale square") << "square-22050-mono.wav" << 0.0 << 2.0 << 96 << 97 << QList<double>{0};
        // 3 channels at 8 Hz: fewer samples than points, so one point per sample, 24 a second.
        QTest::newRow("tiny rate uses buckets of one") << "tiny-rate.wav" << 0.0 << 4.0 << 96 << 96 << tenth;
        // The last 0.4 s is read too: 211 full points and a short one.
        QTest::newRow("range covered to its very end") << "dc-44100-stereo.wav" << 0.0 << 4.4 << 211 << 212 << tenth;
        // Half scale until 2 s, then silence: from 1 s to 3 s, 48 points of each.
        QList<double> step(48, halfScale);
        step << -40;
        QTest::newRow("a later start lands on its time") << "step-48000-stereo.wav" << 1.0 << 3.0 << 96 << 96 << step;
    }

    void decodesKnownLevels()
    {
        QFETCH(QString, file);
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(int, estimated);
        QFETCH(int, points);
        QFETCH(QList<double>, levels);
        const auto waveform = AudioWaveform::create(m_media.filePath(file));
        QVERIFY(waveform);
        QVERIFY(loadAll(*waveform, start, end, 48));
        QCOMPARE(waveform->estimatedSampleCount(), estimated);
        const QList<double> &samples = waveform->samples();
        QCOMPARE(samples.size(), points);
        for (qsizetype i = 0; i < samples.size(); ++i) {
            const double level = levels.at(std::min(i, levels.size() - 1));
            QVERIFY2(std::abs(samples[i] - level) < 1e-3, qPrintable(QStringLiteral("%1: %2").arg(i).arg(samples[i])));
        }
        QCOMPARE(waveform->maxSample(), 0.0);
    }

    void partsReadAtOnceJoinLikeOneReading_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("threads");
        QTest::addColumn<double>("focus"); // the playback cursor: a part starts there
        // 88 200 samples a second in buckets of 1837: the parts meet inside a second and
        // inside a sample frame of the second channel, unless placed with care.
        QTest::newRow("PCM, two parts") << "swell-44100-stereo.wav" << 0.0 << 2 << 0.0;
        QTest::newRow("PCM, three parts from 1 s") << "swell-44100-stereo.wav" << 1.0 << 3 << 0.0;
        // AAC frames overlap: a part's decoder must have settled by its first point.
        QTest::newRow("AAC, three parts from 1 s") << "swell.m4a" << 1.0 << 3 << 0.0;
        // A part from the cursor, more than a second from the others.
        QTest::newRow("AAC, two parts and one from the cursor") << "swell.m4a" << 0.0 << 2 << 4.71;
        QTest::newRow("PCM from 1 s, two parts and one from the cursor") << "swell-44100-stereo.wav" << 1.0 << 2 << 2.33;
        // Its index promises 6 s; the data ends in the first part, which must end like one reading.
        QTest::newRow("film cut short") << "truncated.mp4" << 0.0 << 2 << 0.0;
        // Its sound stops short of each piece's end: a part spans a gap.
        QTest::newRow("AAC pieces joined with gaps in the sound") << "joined.mp4" << 0.0 << 3 << 0.0;
    }

    void partsReadAtOnceJoinLikeOneReading()
    {
        QFETCH(QString, file);
        QFETCH(double, start);
        QFETCH(int, threads);
        QFETCH(double, focus);
        const auto single = AudioWaveform::create(m_media.filePath(file));
        const auto parallel = AudioWaveform::create(m_media.filePath(file));
        QVERIFY(single && parallel);
        single->setThreadCount(1);
        parallel->setThreadCount(threads);
        parallel->setFocusTime(focus);
        QList<qsizetype> sizes;
        QList<AudioWaveform::PartAhead> ahead;
        int callbacks = 0;
        parallel->setProgressCallback([&] { ++callbacks; });
        connect(parallel.get(), &AudioWaveform::samplesAppended, this, [&] {
            sizes.append(parallel->samples().size());
            ahead.append(parallel->partsAhead());
        });
        QVERIFY(loadAll(*single, start, 7, 48));
        QVERIFY(loadAll(*parallel, start, 7, 48));
        QVERIFY(single->samples().size() > 20);
        QCOMPARE(parallel->samples(), single->samples());
        QCOMPARE(parallel->maxSample(), single->maxSample());
        QCOMPARE(callbacks, sizes.size());
        QVERIFY(std::is_sorted(sizes.cbegin(), sizes.cend()));
        // Points shown ahead of their turn were shown at their own time.
        for (const AudioWaveform::PartAhead &part : ahead) {
            const double index = (part.firstSampleTime - single->firstSampleTime()) * single->samplesPerSecond();
            QVERIFY2(std::abs(index - std::round(index)) < 1e-6, qPrintable(QString::number(index)));
            QCOMPARE(part.samples, single->samples().mid(qsizetype(std::round(index)), part.samples.size()));
        }
        QVERIFY(parallel->partsAhead().isEmpty());
    }

    // Sound goes where its timestamps put it, as a player plays it: a gap in the sound of
    // a film joined from pieces is silence, and what follows stays at its time.
    void soundOfJoinedPiecesKeepsItsTimes_data()
    {
        QTest::addColumn<int>("threads");
        QTest::newRow("one reading") << 1;
        QTest::newRow("three parts") << 3;
    }

    void soundOfJoinedPiecesKeepsItsTimes()
    {
        QFETCH(int, threads);
        const auto waveform = open("joined.mp4");
        QVERIFY(waveform);
        waveform->setThreadCount(threads);
        QVERIFY(loadAll(*waveform, 0, waveform->duration(), 48));
        QVERIFY(waveform->isComplete());
        const QList<double> &samples = waveform->samples();
        QCOMPARE(samples.size(), std::lround(waveform->duration() * 48));
        for (const int beep : {26, 122, 218}) { // just after each beep begins
            QVERIFY2(samples.value(beep) > -20, qPrintable(QStringLiteral("%1: %2").arg(beep).arg(samples.value(beep))));
            QVERIFY2(samples.value(beep - 3) < -30,
                     qPrintable(QStringLiteral("%1: %2").arg(beep - 3).arg(samples.value(beep - 3))));
        }
    }

    void wholeWaveformComesFromCacheNextTime()
    {
        auto first = open("swell.m4a");
        QSignalSpy firstFinished(first.get(), &AudioWaveform::finished);
        first->loadWhole(48);
        QVERIFY(firstFinished.wait(30000));
        const QList<double> decoded = first->samples();
        QVERIFY(decoded.size() > 300);
        first.reset(); // waits for the store

        // What the cache holds, not a decoding: an envelope stored for the same file.
        const QString path = m_media.filePath(QStringLiteral("swell.m4a"));
        const auto cache = MediaCache::userCache(QStringLiteral("waveforms"));
        const std::optional<MediaCache::Series> stored = cache->find(path, 48);
        QVERIFY(stored);
        QCOMPARE(stored->samples, decoded);
        QList<double> kept = decoded;
        kept[0] = -33;
        QVERIFY(cache->store(path, 48, {kept, stored->samplesPerSecond, stored->estimatedSampleCount}));

        const auto again = open("swell.m4a");
        QSignalSpy appended(again.get(), &AudioWaveform::samplesAppended);
        QSignalSpy finished(again.get(), &AudioWaveform::finished);
        again->loadWhole(48);
        QVERIFY(again->hasStarted());
        QVERIFY(finished.wait(5000));
        QCOMPARE(appended.count(), 1);
        QVERIFY(!again->isReading());
        QCOMPARE(again->samples(), kept);
    }

    void noWaveformWithoutDecodableAudio_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("video without audio") << m_media.filePath("no-audio.mp4");
        QTest::newRow("not a media file") << m_media.filePath("garbage.mp4");
        QTest::newRow("missing file") << m_media.filePath("does-not-exist.wav");
        // Names are files: FFmpeg must not take them for its URLs.
        QTest::newRow("a name that reads as a URL") << "file:" + m_media.filePath("dc-44100-stereo.wav");
        // Would block the reading forever.
        const QString fifo = m_media.filePath("fifo.wav");
        QFile::remove(fifo);
        if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
            QTest::newRow("a FIFO") << fifo;
    }

    void noWaveformWithoutDecodableAudio()
    {
        QFETCH(QString, path);
        QVERIFY(!AudioWaveform::create(path));
        // Opened on a worker for the GUI thread: it says so, and then reads nothing.
        const auto opening = AudioWaveform::open(path);
        QSignalSpy opened(opening.get(), &AudioWaveform::opened);
        QVERIFY(opened.wait(10000));
        QVERIFY(!opening->hasAudio());
        opening->loadWhole(48);
        QVERIFY(!opening->hasStarted() && !opening->isReading());
    }

    // Dropped at any stage, a waveform stops and joins its workers; none of them is left
    // to call it or to destroy it (the sanitized build reports any use after it is gone).
    void droppedWhileWorking_data()
    {
        QTest::addColumn<int>("stage");
        QTest::newRow("while opening") << 0;
        QTest::newRow("while looking in the cache") << 1;
        QTest::newRow("while reading") << 2;
    }
    void droppedWhileWorking()
    {
        QFETCH(int, stage);
        std::shared_ptr<AudioWaveform> waveform = AudioWaveform::open(m_media.filePath(QStringLiteral("swell.m4a")));
        QSignalSpy opened(waveform.get(), &AudioWaveform::opened);
        if (stage > 0) {
            QVERIFY(opened.wait(10000));
            QVERIFY(waveform->hasAudio());
            if (stage == 2)
                waveform->setCache(nullptr); // straight to reading
            waveform->loadWhole(48);
            QVERIFY(waveform->isReading());
        }
        waveform.reset();
        QTest::qWait(50); // anything still posted would arrive now
    }

    void aTruncatedFileKeepsWhatItHas()
    {
        // The WAV keeps its header, so it must give the points of the part that is there.
        const auto wav = open("truncated.wav");
        QVERIFY(wav);
        QVERIFY(loadAll(*wav, 0, 5, 48));
        QVERIFY(wav->samples().size() >= 50 && wav->samples().size() < wav->estimatedSampleCount());

        // Nor is a broken reading kept as the film's waveform: the next opening reads again.
        auto whole = open("truncated.wav");
        QSignalSpy finished(whole.get(), &AudioWaveform::finished);
        whole->loadWhole(48);
        QVERIFY(finished.wait(30000));
        QVERIFY(whole->samples().size() >= 50);
        whole.reset();
        QVERIFY(!MediaCache::userCache(QStringLiteral("waveforms"))->find(m_media.filePath(QStringLiteral("truncated.wav")), 48));
    }

    void onlyTheFirstLoadWithSomethingToReadReads()
    {
        const auto waveform = open("dc-44100-stereo.wav");
        QSignalSpy finished(waveform.get(), &AudioWaveform::finished);
        waveform->load(2, 2, 48); // an empty range
        waveform->load(3, 2, 48); // reversed
        waveform->load(0, 5, 0);  // no points
        QVERIFY(!waveform->isReading());
        waveform->load(0, 5, 48);
        waveform->load(0, 2, 10); // while reading: the timeline asking again
        QCOMPARE(waveform->estimatedSampleCount(), 240);
        QVERIFY(finished.wait(30000));
        waveform->load(0, 3, 20);
        QVERIFY(!waveform->isReading());
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(waveform->samples().size(), 241);
    }
};

QTEST_GUILESS_MAIN(tst_AudioWaveform)
#include "tst_audiowaveform.moc"
