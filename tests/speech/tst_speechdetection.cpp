#include "format/SubtitleWriter.h"
#include "speech/SpeechAnalyser.h"
#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"
#include "media/SpeechCommand.h"
#include "media/SpeechDetection.h"
#include "media/MediaSession.h"

#include "TestMedia.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(TestMedia::SpeechBackground)

namespace {

// Reads the whole file with speech found as the timeline would; the number of times new
// speech was handed over tells a decoding (one hand-over per part at least) from the cache.
struct Reading
{
    SpeechStretches speech;
    int handOvers = 0;
    QList<double> waveform;
};

Reading readWhole(const QString &path, const std::shared_ptr<MediaCache> &cache, int threads, double focus = 0)
{
    const auto waveform = AudioWaveform::create(path);
    if (!waveform)
        return {};
    waveform->setCache(cache);
    waveform->setThreadCount(threads);
    waveform->setFocusTime(focus);
    waveform->setSpeechDetection(true);
    QSignalSpy found(waveform.get(), &AudioWaveform::speechFound);
    QSignalSpy finished(waveform.get(), &AudioWaveform::finished);
    waveform->loadWhole(MediaSession::WaveformPointsPerSecond);
    if (!finished.wait(60000))
        return {};
    return {waveform->speech(), int(found.count()), waveform->samples()};
}

} // namespace

class tst_SpeechDetection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void findsSentencesToTheMillisecond_data();
    void findsSentencesToTheMillisecond();
    void findsNoSpeechInMusicOrNoise_data();
    void findsNoSpeechInMusicOrNoise();
    void partsReadAtOnceFindWhatOneReadingFinds_data();
    void partsReadAtOnceFindWhatOneReadingFinds();
    void takingWhatWasFoundChangesNothing();
    void cacheKeepsTheSpeechBesideTheEnvelope();
    void command_data();
    void command();

private:
    QTemporaryDir m_folder;
};

void tst_SpeechDetection::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_folder.isValid());
}

void tst_SpeechDetection::findsSentencesToTheMillisecond_data()
{
    QTest::addColumn<TestMedia::SpeechBackground>("background");
    QTest::addColumn<double>("snr");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("video");
    QTest::addColumn<double>("medianError"); // of onsets and of offsets, seconds
    QTest::addColumn<double>("mostError");   // what 90% of them stay within
    // Measured on these clips, with a little room (bench/measure_speech.cpp measures more).
    using B = TestMedia::SpeechBackground;
    QTest::newRow("clean speech, 48 kHz mono") << B::Silence << 0.0 << 48000 << 1 << false << 0.005 << 0.010;
    QTest::newRow("in white noise at 15 dB, 44.1 kHz stereo video") << B::WhiteNoise << 15.0 << 44100 << 2 << true
                                                                  << 0.010 << 0.100;
    QTest::newRow("in pink noise at 10 dB") << B::PinkNoise << 10.0 << 48000 << 2 << false << 0.015 << 0.100;
    QTest::newRow("over music at 10 dB") << B::Music << 10.0 << 44100 << 1 << false << 0.030 << 0.220;
}

void tst_SpeechDetection::findsSentencesToTheMillisecond()
{
    QFETCH(TestMedia::SpeechBackground, background);
    QFETCH(double, snr);
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(bool, video);
    QFETCH(double, medianError);
    QFETCH(double, mostError);
    TestMedia::SpeechClipOptions options;
    options.seed = 11;
    options.sentences = 5;
    options.background = background;
    options.snr = snr;
    options.sampleRate = rate;
    options.channels = channels;
    options.video = video;
    const QString path = m_folder.filePath(QStringLiteral("%1.%2").arg(QTest::currentDataTag(), video ? "mp4" : "flac"));
    const auto clip = TestMedia::makeSpeechClip(path, options);
    QVERIFY(clip);
    const auto found = SpeechDetection::detect(path);
    QVERIFY2(found, qPrintable(found ? QString() : found.error()));
    const TestMedia::SpeechScore score = TestMedia::scoreSpeech(clip->truth, found.value());
    const QByteArray described = score.describe().toUtf8();
    QVERIFY2(score.missed == 0 && score.onsetsMissed == 0 && score.offsetsMissed == 0, described);
    QVERIFY2(score.falseStretches == 0 && score.falseSeconds < 0.3, described);
    for (const QList<double> &errors : {score.onsetErrors, score.offsetErrors}) {
        QVERIFY2(TestMedia::SpeechScore::quantile(errors, 0.5) <= medianError, described);
        QVERIFY2(TestMedia::SpeechScore::quantile(errors, 0.9) <= mostError, described);
    }
}

void tst_SpeechDetection::findsNoSpeechInMusicOrNoise_data()
{
    QTest::addColumn<TestMedia::SpeechBackground>("background");
    QTest::addColumn<double>("level"); // dBFS
    QTest::newRow("music") << TestMedia::SpeechBackground::Music << -20.0;
    QTest::newRow("loud music") << TestMedia::SpeechBackground::Music << -10.0;
    QTest::newRow("pink noise") << TestMedia::SpeechBackground::PinkNoise << -15.0;
    QTest::newRow("white noise") << TestMedia::SpeechBackground::WhiteNoise << -30.0;
}

void tst_SpeechDetection::findsNoSpeechInMusicOrNoise()
{
    QFETCH(TestMedia::SpeechBackground, background);
    QFETCH(double, level);
    TestMedia::SpeechClipOptions options;
    options.seed = 12;
    options.sentences = 0;
    options.seconds = 20;
    options.background = background;
    options.snr = -20 - level;
    const QString path = m_folder.filePath(QStringLiteral("%1.flac").arg(QTest::currentDataTag()));
    QVERIFY(TestMedia::makeSpeechClip(path, options));
    const auto found = SpeechDetection::detect(path);
    QVERIFY(found);
    QVERIFY2(found.value().speechWithin(0, 20) <= 0.3, qPrintable(QString::number(found.value().size())));
}

void tst_SpeechDetection::partsReadAtOnceFindWhatOneReadingFinds_data()
{
    QTest::addColumn<int>("channels");
    QTest::newRow("mono") << 1;
    QTest::newRow("stereo") << 2;
}

// Parts read at once meet inside a sentence and inside a pause: the stretches are those of
// one reading, their edges within a few milliseconds (each part's detector adapts anew),
// and the waveform is that of one reading, though a part hears some sound before it.
void tst_SpeechDetection::partsReadAtOnceFindWhatOneReadingFinds()
{
    QFETCH(int, channels);
    TestMedia::SpeechClipOptions options;
    options.seed = 13;
    options.sentences = 6;
    options.background = TestMedia::SpeechBackground::PinkNoise;
    options.snr = 15;
    options.channels = channels;
    const QString path = m_folder.filePath(QStringLiteral("parts-%1.wav").arg(channels));
    const auto clip = TestMedia::makeSpeechClip(path, options);
    QVERIFY(clip);
    const Reading whole = readWhole(path, nullptr, 1);
    const SpeechStretches &one = whole.speech;
    QVERIFY(one.size() >= clip->truth.size());
    const std::vector<SpeechStretch> &sentences = clip->truth.stretches();
    for (const double focus : {(sentences[2].start + sentences[2].end) / 2, (sentences[3].end + sentences[4].start) / 2}) {
        const Reading read = readWhole(path, nullptr, 2, focus);
        QCOMPARE(read.waveform, whole.waveform);
        const SpeechStretches &parts = read.speech;
        QCOMPARE(parts.size(), one.size());
        for (std::size_t i = 0; i < one.size(); ++i) {
            QVERIFY2(std::abs(parts.stretches()[i].start - one.stretches()[i].start) <= 0.02, qPrintable(QString::number(i)));
            QVERIFY2(std::abs(parts.stretches()[i].end - one.stretches()[i].end) <= 0.02, qPrintable(QString::number(i)));
        }
    }
}

// The waveform takes what was found whenever it sends a batch, which depends on how busy
// the machine is: the stretches must come out the same however often they are taken.
void tst_SpeechDetection::takingWhatWasFoundChangesNothing()
{
    TestMedia::SpeechClipOptions options;
    options.sentences = 24;
    options.background = TestMedia::SpeechBackground::PinkNoise;
    const QString path = m_folder.filePath(QStringLiteral("taken.wav"));
    QVERIFY(TestMedia::makeSpeechClip(path, options));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray wave = file.readAll();
    const qsizetype data = wave.indexOf("data") + 8; // the samples follow the "data" chunk's size
    QVERIFY(data > 8);
    const auto *samples = reinterpret_cast<const int16_t *>(wave.constData() + data);
    const std::int64_t count = (wave.size() - data) / 2;

    const auto find = [&](std::int64_t chunk, bool takeEachTime) {
        SpeechAnalyser analyser(options.sampleRate, 1);
        std::vector<SpeechStretch> found;
        for (std::int64_t at = 0; at < count; at += chunk) {
            analyser.append(samples + at, std::min(chunk, count - at));
            if (takeEachTime) {
                const std::vector<SpeechStretch> taken = analyser.takeFound();
                found.insert(found.end(), taken.begin(), taken.end());
            }
        }
        analyser.finish();
        const std::vector<SpeechStretch> taken = analyser.takeFound();
        found.insert(found.end(), taken.begin(), taken.end());
        QStringList described;
        for (const SpeechStretch &stretch : found)
            described << QStringLiteral("%1-%2").arg(stretch.start, 0, 'f', 4).arg(stretch.end, 0, 'f', 4);
        return described;
    };
    const QStringList once = find(count, false);
    QVERIFY(once.size() >= 24);
    QCOMPARE(find(441, true), once);
}

void tst_SpeechDetection::cacheKeepsTheSpeechBesideTheEnvelope()
{
    TestMedia::SpeechClipOptions options;
    options.seed = 14;
    options.sentences = 4;
    const QString path = m_folder.filePath(QStringLiteral("cached.wav"));
    QVERIFY(TestMedia::makeSpeechClip(path, options));
    QTemporaryDir cacheFolder;
    const auto cache = std::make_shared<MediaCache>(cacheFolder.path());

    // An envelope kept without its speech is read again, and then kept with it.
    {
        const auto waveform = AudioWaveform::create(path);
        waveform->setCache(cache);
        QSignalSpy finished(waveform.get(), &AudioWaveform::finished);
        waveform->loadWhole(MediaSession::WaveformPointsPerSecond);
        QVERIFY(finished.wait(60000));
        QVERIFY(waveform->speech().isEmpty());
    }
    const Reading decoded = readWhole(path, cache, 2);
    QCOMPARE(decoded.speech.size(), std::size_t(4));
    QVERIFY(decoded.handOvers >= 2);
    // Stored on a worker after the reading, which the waveform joined when it went.
    const Reading cached = readWhole(path, cache, 2);
    QCOMPARE(cached.handOvers, 1);
    QCOMPARE(cached.speech, decoded.speech);
}

// The command prints each stretch the detector finds; what has no sound it refuses by name.
void tst_SpeechDetection::command_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("a video with speech") << QStringLiteral("command.mp4");
    QTest::newRow("a missing file") << QStringLiteral("missing.mp4");
    QTest::newRow("a folder") << QStringLiteral("folder.mp4");
    QTest::newRow("a text file") << QStringLiteral("notes.mp4");
    QTest::newRow("pictures without sound") << QStringLiteral("silent-film.mp4");
}

void tst_SpeechDetection::command()
{
    QFETCH(QString, name);
    const QString path = m_folder.filePath(name);
    TestMedia::SpeechClipOptions speech;
    speech.seed = 15;
    speech.sentences = 3;
    speech.video = true;
    if (name == QStringLiteral("command.mp4")) {
        QVERIFY(TestMedia::makeSpeechClip(path, speech));
    } else if (name == QStringLiteral("folder.mp4")) {
        QVERIFY(QDir(m_folder.path()).mkpath(name));
    } else if (name == QStringLiteral("notes.mp4")) {
        QFile notes(path);
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a film\n") > 0);
    } else if (name == QStringLiteral("silent-film.mp4")) {
        QVERIFY(TestMedia::makeShotVideo(path, {1, 2}));
    }
    QString printed;
    QString errors;
    QTextStream out(&printed);
    QTextStream err(&errors);
    const int status = SpeechCommand::run(path, 1, out, err);
    if (name == QStringLiteral("command.mp4")) {
        const auto found = SpeechDetection::detect(path);
        QVERIFY(found);
        QStringList expected;
        for (const SpeechStretch &stretch : found.value().stretches())
            expected << SubtitleWriter::formatTime(stretch.start) + QStringLiteral(" --> ")
                            + SubtitleWriter::formatTime(stretch.end);
        QCOMPARE(expected.size(), speech.sentences);
        QCOMPARE(printed.split(u'\n', Qt::SkipEmptyParts), expected);
        QVERIFY(status == 0 && errors.isEmpty());
        return;
    }
    QCOMPARE(status, 1);
    QVERIFY(printed.isEmpty());
    QVERIFY2(errors.contains(name), qPrintable(errors));
}

QTEST_GUILESS_MAIN(tst_SpeechDetection)
#include "tst_speechdetection.moc"
