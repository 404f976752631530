#include "format/SubtitleWriter.h"
#include "shots/ShotChangeDetector.h"
#include "shots/ShotChangeScanner.h"
#include "decoding/MediaCache.h"
#include "media/ShotChangesCommand.h"

#include "EncodingSamples.h"
#include "TestMedia.h"

#include <QtTest>

#include <limits>

namespace {

constexpr double everything = std::numeric_limits<double>::infinity();

QList<double> scanWhole(const QString &path)
{
    auto scanner = ShotChangeScanner::open(path);
    if (!scanner)
        return {};
    return scanner.value()->scan(0, everything);
}

// What the background detector hands over, batch by batch; nothing when it did not finish.
QList<QList<double>> detectInBatches(const QString &path, const std::shared_ptr<MediaCache> &cache, double focus)
{
    ShotChangeDetector detector(cache);
    QSignalSpy finished(&detector, &ShotChangeDetector::finished);
    QList<QList<double>> batches;
    QObject::connect(&detector, &ShotChangeDetector::found, [&](const QList<double> &times) { batches << times; });
    detector.start(path, focus);
    if (!finished.wait(60000) || !finished.first().first().toBool())
        return {};
    return batches;
}

} // namespace

class tst_ShotChangeScanner : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    QString m_video;
    TestMedia::ShotVideo m_truth;

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        m_video = m_folder.filePath(QStringLiteral("shots.mp4"));
        const auto made = TestMedia::makeShotVideo(m_video);
        QVERIFY(made);
        m_truth = *made;
        QVERIFY(m_truth.cuts.size() >= 20);
        QVERIFY(m_truth.flashes.size() >= 2);
        QVERIFY(!m_truth.motions.isEmpty());
    }

    void findsTheCuts_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("divisor");
        QTest::newRow("25 fps") << 1u << 25 << 1;
        QTest::newRow("23.976 fps") << 2u << 24000 << 1001;
        QTest::newRow("29.97 fps") << 3u << 30000 << 1001;
    }

    void findsTheCuts()
    {
        QFETCH(unsigned, seed);
        QFETCH(int, rate);
        QFETCH(int, divisor);
        QString path = m_video;
        TestMedia::ShotVideo truth = m_truth;
        if (seed != 1) {
            path = m_folder.filePath(QStringLiteral("shots-%1.mp4").arg(seed));
            TestMedia::ShotVideoOptions options;
            options.seed = seed;
            options.rate = rate;
            options.rateDivisor = divisor;
            const auto made = TestMedia::makeShotVideo(path, options);
            QVERIFY(made);
            truth = *made;
        }
        auto scanner = ShotChangeScanner::open(path);
        QVERIFY2(scanner, qPrintable(scanner ? QString() : scanner.error()));
        QCOMPARE(scanner.value()->frameRate(), double(rate) / divisor);
        const QList<double> found = scanner.value()->scan(0, everything);
        const TestMedia::ShotScore score = TestMedia::scoreShots(truth, found);
        QVERIFY2(score.f1() >= 0.95, qPrintable(score.describe()));
        QVERIFY2(score.inTraps.isEmpty(), qPrintable(score.describe()));
    }

    void partsFindWhatTheWholeFinds_data()
    {
        QTest::addColumn<int>("part");
        QTest::addColumn<double>("offset"); // from the chosen time, in frames
        QTest::newRow("a part ending on a cut") << 0 << 0.0;
        QTest::newRow("a part ending a frame before a cut") << 0 << -1.0;
        QTest::newRow("a part ending a frame after a cut") << 0 << 1.0;
        QTest::newRow("a part ending in a flash") << 1 << 1.0;
        QTest::newRow("a part ending mid-shot") << 0 << -12.0;
    }

    void partsFindWhatTheWholeFinds()
    {
        QFETCH(int, part);
        QFETCH(double, offset);
        const double seam = (part == 0 ? m_truth.cuts[m_truth.cuts.size() / 2] : m_truth.flashes.first())
                            + offset * m_truth.frameDuration;
        auto scanner = ShotChangeScanner::open(m_video);
        QVERIFY(scanner);
        QList<double> parts = scanner.value()->scan(0, seam);
        parts += scanner.value()->scan(seam, everything);
        QCOMPARE(parts, scanWhole(m_video));
    }

    // The background scan: the part at the cursor first, then the rest, together what one
    // scan finds; kept in the cache, the list comes back whole at once. Going mid-scan stops it.
    void backgroundFindsNearestFirstAndKeepsIt()
    {
        const QList<double> whole = scanWhole(m_video);
        QVERIFY(whole.last() > ShotChangeDetector::PartLength);
        QTemporaryDir cacheFolder;
        const auto cache = std::make_shared<MediaCache>(cacheFolder.path());
        const QList<QList<double>> batches = detectInBatches(m_video, cache, whole.last());
        QVERIFY(batches.size() > 1);
        QVERIFY(batches.first().first() >= ShotChangeDetector::PartLength);
        QList<double> together;
        for (const QList<double> &batch : batches)
            together += batch;
        std::sort(together.begin(), together.end());
        QCOMPARE(together, whole);

        QCOMPARE(detectInBatches(m_video, cache, whole.last()), QList<QList<double>>{whole});

        QTemporaryDir emptyCache;
        auto stopped = std::make_unique<ShotChangeDetector>(std::make_shared<MediaCache>(emptyCache.path()));
        QSignalSpy found(stopped.get(), &ShotChangeDetector::found);
        stopped->start(m_video, 0);
        QTest::qWait(50);
        stopped.reset();
        QCoreApplication::processEvents();
        QVERIFY(QDir(emptyCache.path()).isEmpty());
    }

    // As the window finds them: a cut in the very last frames, of the last part, is one.
    void marksACutInTheLastFrames_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("lastFrames");
        QTest::newRow("3 frames from the end") << 2.0 << 3;
        QTest::newRow("5 frames from the end") << 2.0 << 5;
        QTest::newRow("4 frames from the end of a second part") << ShotChangeDetector::PartLength + 1 << 4;
    }

    void marksACutInTheLastFrames()
    {
        QFETCH(double, seconds);
        QFETCH(int, lastFrames);
        const QString path = m_folder.filePath(QStringLiteral("last-%1-%2.mp4").arg(seconds).arg(lastFrames));
        TestMedia::VideoOptions options;
        options.seconds = seconds;
        options.size = {160, 90};
        options.plainLastFrames = lastFrames;
        QVERIFY(TestMedia::makeVideo(path, options));
        QList<double> found;
        for (const QList<double> &batch : detectInBatches(path, nullptr, 0))
            found += batch;
        TestMedia::ShotVideo truth;
        truth.frameDuration = 1 / 25.0;
        truth.cuts = {seconds - lastFrames * truth.frameDuration};
        const TestMedia::ShotScore score = TestMedia::scoreShots(truth, found);
        QVERIFY2(score.f1() == 1, qPrintable(score.describe()));
    }

    // The command prints each cut a whole scan finds; what is no video it refuses by name.
    void command_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("a video") << QStringLiteral("shots.mp4");
        QTest::newRow("a missing file") << QStringLiteral("missing.mp4");
        QTest::newRow("a text file") << QStringLiteral("notes.mp4");
        QTest::newRow("sound alone") << QStringLiteral("sound.flac");
        QTest::newRow("a video whose pictures are destroyed") << QStringLiteral("destroyed.mp4");
    }

    void command()
    {
        QFETCH(QString, name);
        const QString path = m_folder.filePath(name);
        QByteArray bytes = EncodingSamples::readAll(m_video);
        if (name == QLatin1String("sound.flac"))
            QVERIFY(TestMedia::makeAudio(path, TestMedia::beeps({0.5}, 0.2, 1)));
        else if (name == QLatin1String("notes.mp4"))
            QVERIFY(EncodingSamples::writeAll(path, "not a video\n"));
        // The pictures come first, the index of the file ("moov") last: zeros over all the
        // pictures leave a file that opens but shows nothing.
        else if (name == QLatin1String("destroyed.mp4")) {
            const qsizetype index = bytes.lastIndexOf("moov") - 4;
            QVERIFY(index > 100);
            QVERIFY(EncodingSamples::writeAll(path, bytes.replace(100, index - 100, QByteArray(index - 100, '\0'))));
        }
        QString printed, errors;
        QTextStream out(&printed), err(&errors);
        const int status = ShotChangesCommand::run(path, out, err);
        if (path == m_video) {
            QStringList expected;
            for (double time : scanWhole(m_video))
                expected << SubtitleWriter::formatTime(time);
            QCOMPARE(printed.split(u'\n', Qt::SkipEmptyParts), expected);
            QVERIFY(status == 0 && errors.isEmpty());
            return;
        }
        QCOMPARE(status, 1);
        QVERIFY(printed.isEmpty());
        QVERIFY2(errors.contains(name), qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(tst_ShotChangeScanner)
#include "tst_shotchangescanner.moc"
