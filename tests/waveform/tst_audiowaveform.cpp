#include "waveform/AudioWaveform.h"
#include "waveform/WaveformCache.h"
#include "waveform/WaveformCommand.h"

#include "WaveformMedia.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <sys/stat.h>

namespace {

double decibels(int magnitude)
{
    return double(20.0f * std::log10(float(magnitude) / 32768.0f));
}

// Loads and waits for the last batch; the points arrive through the GUI thread's loop.
bool loadAll(AudioWaveform &waveform, double start, double end, int perSecond)
{
    QSignalSpy finished(&waveform, &AudioWaveform::finished);
    waveform.load(start, end, perSecond);
    return waveform.isReading() && finished.wait(30000);
}

} // namespace

class TestAudioWaveform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodesKnownLevels_data();
    void decodesKnownLevels();
    void seekLandsOnTheRangeStart();
    void compressedFilmSkipsVideoAndPadding();
    void partsReadAtOnceJoinLikeOneReading_data();
    void partsReadAtOnceJoinLikeOneReading();
    void wholeWaveformComesFromCacheNextTime();
    void noWaveformWithoutDecodableAudio_data();
    void noWaveformWithoutDecodableAudio();
    void truncatedFileKeepsWhatItHas();
    void emptyRangeDoesNothing_data();
    void emptyRangeDoesNothing();
    void loadWhileReadingDoesNothing();
    void batchesArriveInOrderWithCallbacks();
    void destroyedWhileDecoding();
    void commandPrintsSummary();
    void commandFailsWithoutAudio();

private:
    WaveformMedia m_media;
};

void TestAudioWaveform::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(QDir(WaveformCache::userCache()->directory()).removeRecursively());
    QVERIFY(m_media.generate());
}

void TestAudioWaveform::decodesKnownLevels_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("end");
    QTest::addColumn<int>("estimated");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("level");

    // 88 200 samples a second in buckets of 1837: 240 points and a short last one.
    QTest::newRow("44.1 kHz stereo at -20 dB") << "dc-44100-stereo.wav" << 5.0 << 240 << 241 << decibels(3277);
    QTest::newRow("silence is the floor") << "silence-48000-mono.wav" << 3.0 << 144 << 144 << -40.0;
    QTest::newRow("full-scale square") << "square-22050-mono.wav" << 2.0 << 96 << 97 << 0.0;
    // 3 channels at 8 Hz: fewer samples than points, so one point per sample, 24 a second.
    QTest::newRow("tiny rate uses buckets of one") << "tiny-rate.wav" << 4.0 << 96 << 96 << decibels(3277);
    // The last 0.4 s is read too: 211 full points and a short one.
    QTest::newRow("range covered to its very end") << "dc-44100-stereo.wav" << 4.4 << 211 << 212 << decibels(3277);
}

void TestAudioWaveform::decodesKnownLevels()
{
    QFETCH(QString, file);
    QFETCH(double, end);
    QFETCH(int, estimated);
    QFETCH(int, points);
    QFETCH(double, level);

    const auto waveform = AudioWaveform::create(m_media.path(file));
    QVERIFY(waveform);
    QVERIFY(loadAll(*waveform, 0, end, 48));
    QCOMPARE(waveform->estimatedSampleCount(), estimated);
    QCOMPARE(waveform->samples().size(), points);
    for (const double point : waveform->samples())
        QVERIFY2(std::abs(point - level) < 1e-3, qPrintable(QString::number(point)));
    QCOMPARE(waveform->maxSample(), 0.0);
    QVERIFY(!waveform->isReading());
}

void TestAudioWaveform::seekLandsOnTheRangeStart()
{
    // Half scale until 2 s, then silence: from 1 s to 3 s, ten points of each.
    const auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("step-48000-stereo.wav")));
    QVERIFY(waveform);
    QVERIFY(loadAll(*waveform, 1, 3, 10));
    const QList<double> &points = waveform->samples();
    QCOMPARE(points.size(), 20);
    for (int i = 0; i < 10; ++i) {
        QVERIFY(std::abs(points[i] - decibels(16384)) < 1e-6);
        QCOMPARE(points[i + 10], -40.0);
    }
}

void TestAudioWaveform::compressedFilmSkipsVideoAndPadding()
{
    const auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("film.mp4")));
    QVERIFY(waveform);
    QCOMPARE(waveform->sampleRate(), 48000);
    QCOMPARE(waveform->channelCount(), 1);
    QVERIFY(std::abs(waveform->duration() - 6.0) < 0.05);
    // Asking past the end reads no encoder padding: at most the stream's own length.
    QVERIFY(loadAll(*waveform, 0, 7, 48));
    QCOMPARE(waveform->estimatedSampleCount(), 336);
    QVERIFY2(std::abs(waveform->samples().size() - 288) <= 1, qPrintable(QString::number(waveform->samples().size())));
    // A sine of 1/8 of full scale: its mean level lies about 6 dB under its peak of -18 dB.
    const double middle = waveform->samples().at(144);
    QVERIFY2(middle > -25.5 && middle < -23, qPrintable(QString::number(middle)));
}

void TestAudioWaveform::noWaveformWithoutDecodableAudio_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("video without audio") << m_media.path("no-audio.mp4");
    QTest::newRow("not a media file") << m_media.path("garbage.mp4");
    QTest::newRow("missing file") << m_media.path("does-not-exist.wav");
    // Names are files: FFmpeg must not take them for its URLs.
    QTest::newRow("a name that reads as a URL") << "file:" + m_media.path("dc-44100-stereo.wav");
    // Would block the reading forever.
    const QString fifo = m_media.path("fifo.wav");
    QFile::remove(fifo);
    if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
        QTest::newRow("a FIFO") << fifo;
}

void TestAudioWaveform::noWaveformWithoutDecodableAudio()
{
    QFETCH(QString, path);
    QVERIFY(!AudioWaveform::create(path));
}

void TestAudioWaveform::truncatedFileKeepsWhatItHas()
{
    for (const char *file : {"truncated.mp4", "truncated.wav"}) {
        const auto waveform = AudioWaveform::create(m_media.path(QString::fromLatin1(file)));
        if (!waveform)
            continue; // cut before the stream's description: no waveform, which is fine too
        QVERIFY(loadAll(*waveform, 0, 6, 48));
        QVERIFY2(waveform->samples().size() < waveform->estimatedSampleCount(), file);
    }
    // The WAV keeps its header, so it must give the points of the part that is there.
    const auto wav = AudioWaveform::create(m_media.path(QStringLiteral("truncated.wav")));
    QVERIFY(wav);
    QVERIFY(loadAll(*wav, 0, 5, 48));
    QVERIFY(wav->samples().size() >= 50);
}

void TestAudioWaveform::emptyRangeDoesNothing_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<int>("perSecond");
    QTest::newRow("empty range") << 2.0 << 2.0 << 48;
    QTest::newRow("reversed range") << 3.0 << 2.0 << 48;
    QTest::newRow("no points per second") << 0.0 << 5.0 << 0;
}

void TestAudioWaveform::emptyRangeDoesNothing()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(int, perSecond);
    const auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("dc-44100-stereo.wav")));
    QVERIFY(waveform);
    waveform->load(start, end, perSecond);
    QCOMPARE(waveform->estimatedSampleCount(), 0);
    QVERIFY(!waveform->isReading());
    // Still loadable afterwards.
    QVERIFY(loadAll(*waveform, 0, 1, 48));
    QCOMPARE(waveform->samples().size(), 49); // 48 full buckets and a short one
}

void TestAudioWaveform::loadWhileReadingDoesNothing()
{
    const auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("dc-44100-stereo.wav")));
    QVERIFY(waveform);
    QSignalSpy finished(waveform.get(), &AudioWaveform::finished);
    waveform->load(0, 5, 48);
    waveform->load(0, 2, 10);
    QCOMPARE(waveform->estimatedSampleCount(), 240);
    QVERIFY(finished.wait(30000));
    waveform->load(0, 3, 20);
    QVERIFY(!waveform->isReading());
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(waveform->samples().size(), 241);
}

void TestAudioWaveform::batchesArriveInOrderWithCallbacks()
{
    const auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("step-48000-stereo.wav")));
    QVERIFY(waveform);
    int callbacks = 0;
    QList<qsizetype> sizes;
    waveform->setProgressCallback([&] { ++callbacks; });
    connect(waveform.get(), &AudioWaveform::samplesAppended, this, [&] { sizes.append(waveform->samples().size()); });
    QVERIFY(loadAll(*waveform, 0, 4, 48));
    QVERIFY(!sizes.isEmpty());
    QCOMPARE(callbacks, sizes.size());
    QVERIFY(std::is_sorted(sizes.cbegin(), sizes.cend()));
    QCOMPARE(sizes.last(), 192);
    // Loud first half, silent second half: order kept across batches.
    QVERIFY(waveform->samples().at(95) > -7);
    QCOMPARE(waveform->samples().at(96), -40.0);
}

void TestAudioWaveform::destroyedWhileDecoding()
{
    for (int i = 0; i < 20; ++i) {
        auto waveform = AudioWaveform::create(m_media.path(QStringLiteral("film.mp4")));
        QVERIFY(waveform);
        waveform->setProgressCallback([] {});
        waveform->load(0, 6, 48);
        if (i % 2)
            QCoreApplication::processEvents();
        waveform.reset();
    }
    // Batches posted by the stopped workers must be dropped, not delivered to freed objects.
    QTest::qWait(100);
}

void TestAudioWaveform::partsReadAtOnceJoinLikeOneReading_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("threads");
    // 88 200 samples a second in buckets of 1837: the parts meet inside a second and
    // inside a sample frame of the second channel, unless placed with care.
    QTest::newRow("PCM, two parts") << "swell-44100-stereo.wav" << 0.0 << 2;
    QTest::newRow("PCM, three parts from 1 s") << "swell-44100-stereo.wav" << 1.0 << 3;
    // AAC frames overlap: a part's decoder must have settled by its first point.
    QTest::newRow("AAC, two parts") << "swell.m4a" << 0.0 << 2;
    QTest::newRow("AAC, three parts from 1 s") << "swell.m4a" << 1.0 << 3;
    // Its index promises 6 s; the data ends in the first part, which must end like one reading.
    QTest::newRow("film cut short") << "truncated.mp4" << 0.0 << 2;
}

void TestAudioWaveform::partsReadAtOnceJoinLikeOneReading()
{
    QFETCH(QString, file);
    QFETCH(double, start);
    QFETCH(int, threads);
    const auto single = AudioWaveform::create(m_media.path(file));
    const auto parallel = AudioWaveform::create(m_media.path(file));
    QVERIFY(single && parallel);
    single->setThreadCount(1);
    parallel->setThreadCount(threads);
    QList<qsizetype> sizes;
    QList<AudioWaveform::PartAhead> ahead;
    connect(parallel.get(), &AudioWaveform::samplesAppended, this, [&] {
        sizes.append(parallel->samples().size());
        ahead.append(parallel->partsAhead());
    });
    QVERIFY(loadAll(*single, start, 7, 48));
    QVERIFY(loadAll(*parallel, start, 7, 48));
    QVERIFY(single->samples().size() > 20);
    QCOMPARE(parallel->samples(), single->samples());
    QCOMPARE(parallel->maxSample(), single->maxSample());
    QVERIFY(std::is_sorted(sizes.cbegin(), sizes.cend()));
    // Points shown ahead of their turn were shown at their own time.
    for (const AudioWaveform::PartAhead &part : ahead) {
        const double index = (part.firstSampleTime - single->firstSampleTime()) * single->samplesPerSecond();
        QVERIFY2(std::abs(index - std::round(index)) < 1e-6, qPrintable(QString::number(index)));
        QCOMPARE(part.samples, single->samples().mid(qsizetype(std::round(index)), part.samples.size()));
    }
    QVERIFY(parallel->partsAhead().isEmpty());
}

void TestAudioWaveform::wholeWaveformComesFromCacheNextTime()
{
    const QString film = m_media.path(QStringLiteral("swell.m4a"));
    const auto first = AudioWaveform::create(film);
    QVERIFY(first);
    QSignalSpy firstFinished(first.get(), &AudioWaveform::finished);
    first->loadWhole(48);
    QVERIFY(firstFinished.wait(30000));
    QVERIFY(first->samples().size() > 300);

    const auto again = AudioWaveform::create(film);
    QVERIFY(again);
    QSignalSpy appended(again.get(), &AudioWaveform::samplesAppended);
    QSignalSpy finished(again.get(), &AudioWaveform::finished);
    again->loadWhole(48);
    // All there on return, with no decoding.
    QVERIFY(!again->isReading());
    QVERIFY(again->hasStarted());
    QCOMPARE(again->samples(), first->samples());
    QCOMPARE(again->samplesPerSecond(), first->samplesPerSecond());
    QCOMPARE(again->estimatedSampleCount(), first->estimatedSampleCount());
    QCOMPARE(again->maxSample(), first->maxSample());
    QVERIFY(finished.wait(1000));
    QCOMPARE(appended.count(), 1);
    QCOMPARE(finished.count(), 1);

    // Without a cache, the film is decoded again.
    const auto uncached = AudioWaveform::create(film);
    uncached->setCache(nullptr);
    uncached->loadWhole(48);
    QVERIFY(uncached->isReading());
}

void TestAudioWaveform::commandPrintsSummary()
{
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    QCOMPARE(WaveformCommand::run(m_media.path(QStringLiteral("silence-48000-mono.wav")), out, err), 0);
    const QRegularExpression line(QStringLiteral("^points=144 max=0.000 sum=-5760.000 seconds=\\d+\\.\\d{3}\n$"));
    QVERIFY2(line.match(output).hasMatch(), qPrintable(output));
    QVERIFY(errors.isEmpty());
}

void TestAudioWaveform::commandFailsWithoutAudio()
{
    QString output;
    QString errors;
    QTextStream out(&output);
    QTextStream err(&errors);
    QCOMPARE(WaveformCommand::run(m_media.path(QStringLiteral("no-audio.mp4")), out, err), 1);
    QVERIFY(output.isEmpty());
    QVERIFY(errors.contains(QStringLiteral("no decodable audio")));
}

QTEST_GUILESS_MAIN(TestAudioWaveform)
#include "tst_audiowaveform.moc"
