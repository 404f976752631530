#include "app/commandline/CommandLineTool.h"
#include "format/SubtitleParser.h"
#include "format/SubtitleWriter.h"
#include "model/ShotChanges.h"
#include "model/timing/SpeechSpotting.h"
#include "media/SpeechDetection.h"

#include "EncodingSamples.h"
#include "TestMedia.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <random>

using namespace EncodingSamples;

// --sync and --snap-to-speech on a generated film: sentences spoken at known times over
// noise, subtitles made from that truth, damaged, then put right from the film's sound.
class tst_SpeechTiming : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    TestMedia::SpeechClip m_clip;
    QString m_film;
    static constexpr double filmRate = 25;
    // The lead-out the user chose in the preferences: ends go that long after the voice.
    static constexpr int leadOutFrames = 5;
    static constexpr double leadOut = leadOutFrames / filmRate;

    // How many of the sentences have an end within 100 ms of their voice's end plus the
    // lead-out.
    int endsAfterTheVoice(const SubtitleList &list) const
    {
        int near = 0;
        for (const SpeechStretch &sentence : m_clip.truth.stretches())
            near += std::any_of(list.begin(), list.end(), [&](const SubtitlePtr &s) {
                return std::abs(s->end - sentence.end - leadOut) <= 0.1;
            });
        return near;
    }

    // Subtitles as a careful subtitler times the sentences: on the onset, a little past
    // the offset.
    SubtitleList truth() const
    {
        SubtitleList list;
        for (const SpeechStretch &sentence : m_clip.truth.stretches())
            list << Subtitle::create(QStringLiteral("Line %1").arg(list.size() + 1), sentence.start, sentence.end + 0.3);
        return list;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().setValue(QStringLiteral("speech/leadOutFrames"), leadOutFrames);
        m_film = m_dir.filePath(QStringLiteral("film.mp4"));
        TestMedia::SpeechClipOptions options;
        options.sentences = 24; // the fewest a sync can tell from chance, with some margin
        options.background = TestMedia::SpeechBackground::PinkNoise;
        options.video = true;
        const auto clip = TestMedia::makeSpeechClip(m_film, options);
        QVERIFY(clip);
        m_clip = *clip;
    }

    // The goals: after a sync 95% of starts within 100 ms of where they belong; after a
    // snap 90% within 80 ms, and 90% of ends within 100 ms of the voice's end plus the
    // lead-out.
    void putsRight_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<double>("shift");
        QTest::addColumn<double>("rate");   // old times are true times × rate + shift
        QTest::addColumn<double>("breakAt"); // from here on, also `jump` later (an advert break)
        QTest::addColumn<double>("jump");
        QTest::addColumn<double>("jitter"); // each edge moved by up to this much
        const double film = 24000.0 / 1001;
        QTest::newRow("sync: seconds late") << "--sync" << 4.3 << 1.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("sync: timed for 25 fps on a 23.976 film") << "--sync" << 1.2 << film / 25 << 0.0 << 0.0 << 0.0;
        QTest::newRow("sync: for 23.976 on a 25 fps film") << "--sync" << 0.0 << 25 / film << 0.0 << 0.0 << 0.0;
        QTest::newRow("sync: an advert break the film lacks") << "--sync" << 0.5 << 1.0 << m_clip.seconds / 2 << 30.0 << 0.0;
        QTest::newRow("snap: every edge off by up to 0.35 s") << "--snap-to-speech" << 0.0 << 1.0 << 0.0 << 0.0 << 0.35;
    }

    void putsRight()
    {
        QFETCH(QString, mode);
        QFETCH(double, shift);
        QFETCH(double, rate);
        QFETCH(double, breakAt);
        QFETCH(double, jump);
        QFETCH(double, jitter);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> off(-jitter, jitter);
        const auto damage = [&](double time) { return time * rate + shift + (breakAt > 0 && time >= breakAt ? jump : 0) + off(random); };
        SubtitleList damaged;
        for (const SubtitlePtr &subtitle : truth()) {
            const double start = std::max(0.0, damage(subtitle->start));
            damaged << Subtitle::create(subtitle->text(), start, std::max(start + 0.5, damage(subtitle->end)));
        }
        const QString in = m_dir.filePath(QStringLiteral("in.srt"));
        const QString out = m_dir.filePath(QStringLiteral("out.srt"));
        QVERIFY(writeAll(in, SubtitleWriter::serialize(damaged).toUtf8()));
        QString printed, errors;
        QTextStream outStream(&printed), errStream(&errors);
        QCOMPARE(CommandLineTool::run({"cuewright", mode, in, m_film, out}, outStream, errStream), 0);
        const auto result = SubtitleParser::shared().parseUtf8(readAll(out));
        QVERIFY(result);
        const SubtitleList expected = truth();
        QCOMPARE(result.value().size(), expected.size());
        const bool snap = mode == QStringLiteral("--snap-to-speech");
        int near = 0;
        for (qsizetype i = 0; i < expected.size(); ++i)
            near += std::abs(result.value()[i]->start - expected[i]->start) <= (snap ? 0.08 : 0.1) ? 1 : 0;
        QVERIFY2(near >= (snap ? 0.9 : 0.95) * expected.size(),
                 qPrintable(QStringLiteral("%1 of %2 near; %3").arg(near).arg(expected.size()).arg(printed + errors)));
        if (snap) {
            const int ends = endsAfterTheVoice(result.value());
            QVERIFY2(ends >= 0.9 * expected.size(), qPrintable(QStringLiteral("%1 ends of %2").arg(ends).arg(expected.size())));
        }
    }

    // Subtitles from Speech: each sentence one subtitle, ending the lead-out after its voice.
    void spottedSubtitlesEndAfterTheVoice()
    {
        const auto speech = SpeechDetection::detect(m_film);
        QVERIFY(speech);
        const SubtitleList spotted = SpeechSpotting::spot(
            {speech.value(), ShotChanges(), QualityLimits(), filmRate, SpeechSnapSettings::load(QSettings())});
        QCOMPARE(spotted.size(), qsizetype(m_clip.truth.size()));
        const int ends = endsAfterTheVoice(spotted);
        QVERIFY2(ends >= 0.9 * spotted.size(), qPrintable(QStringLiteral("%1 ends of %2").arg(ends).arg(spotted.size())));
    }

    // Another film's subtitles: nothing is written, and the user is told why.
    void syncRefusesAnotherFilmsSubtitles()
    {
        TestMedia::SpeechClipOptions options;
        options.seed = 2;
        options.sentences = 24;
        const auto another = TestMedia::makeSpeechClip(m_dir.filePath(QStringLiteral("another.wav")), options);
        QVERIFY(another);
        SubtitleList other;
        for (const SpeechStretch &sentence : another->truth.stretches())
            other << Subtitle::create(QStringLiteral("Other"), sentence.start, sentence.end + 0.3);
        const QString in = m_dir.filePath(QStringLiteral("other.srt"));
        const QString out = m_dir.filePath(QStringLiteral("none.srt"));
        QVERIFY(writeAll(in, SubtitleWriter::serialize(other).toUtf8()));
        QString printed, errors;
        QTextStream outStream(&printed), errStream(&errors);
        QCOMPARE(CommandLineTool::run({"cuewright", "--sync", in, m_film, out}, outStream, errStream), 1);
        QVERIFY2(errors.contains(QStringLiteral("do not match")), qPrintable(errors));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_GUILESS_MAIN(tst_SpeechTiming)
#include "tst_speechtiming.moc"
