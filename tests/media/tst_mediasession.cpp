#include "document/AudioViewSettings.h"
#include "document/Document.h"
#include "media/AudioSonogram.h"
#include "media/AudioTrack.h"
#include "media/AudioWaveform.h"
#include "decoding/MediaCache.h"
#include "media/MediaSession.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

#include "FakePlayer.h"
#include "TestMedia.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

// When a pane is made, against the session's work on the film.
enum class When { BeforeTheVideo, WhileItIsWorkedOut, AfterItIsWorkedOut };

using Times = std::vector<double>;
using Change = std::function<void(MediaSession &, UndoManager &)>;

} // namespace

Q_DECLARE_METATYPE(When)
Q_DECLARE_METATYPE(Times)
Q_DECLARE_METATYPE(Change)

class tst_MediaSession : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_film; // cuts in silent pictures, over spoken sentences
    QString m_tracks; // a beep after the sentences' time on track 1, the sentences on track 2
    double m_beep = 0;
    std::optional<TestMedia::ShotVideo> m_shots;
    std::optional<TestMedia::SpeechClip> m_speech;

    MediaSession::Caches cachesIn(const QString &name) const
    {
        const QString root = m_dir.filePath(name);
        return {std::make_shared<MediaCache>(root + QStringLiteral("/waveforms")),
                std::make_shared<MediaCache>(root + QStringLiteral("/sonograms")),
                std::make_shared<MediaCache>(root + QStringLiteral("/shotchanges"))};
    }

    // Serves a real document, as an open document's session does.
    static void serve(MediaSession &media, Document &document)
    {
        media.serve(&document.undoManager(), &document.problemIndex());
    }

    static bool worksOut(MediaSession &media, const QString &path)
    {
        media.start(path);
        return QTest::qWaitFor([&] { return media.isSoundFinished() && media.isShotScanFinished(); }, 60000);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        const QString pictures = m_dir.filePath(QStringLiteral("shots.mp4"));
        TestMedia::ShotVideoOptions shots;
        shots.shots = 4;
        m_shots = TestMedia::makeShotVideo(pictures, shots);
        QVERIFY(m_shots);
        const QString sound = m_dir.filePath(QStringLiteral("speech.wav"));
        TestMedia::SpeechClipOptions speech;
        speech.sentences = 2;
        m_speech = TestMedia::makeSpeechClip(sound, speech);
        QVERIFY(m_speech);
        m_film = m_dir.filePath(QStringLiteral("film.mp4"));
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                                                QStringLiteral("-y"), QStringLiteral("-i"), pictures, QStringLiteral("-i"), sound,
                                                QStringLiteral("-map"), QStringLiteral("0:v"), QStringLiteral("-map"),
                                                QStringLiteral("1:a"), QStringLiteral("-c:v"), QStringLiteral("copy"),
                                                QStringLiteral("-c:a"), QStringLiteral("aac"), m_film});
        QVERIFY(ffmpeg.waitForFinished(120000));
        QCOMPARE(ffmpeg.exitCode(), 0);
        m_tracks = m_dir.filePath(QStringLiteral("tracks.mkv"));
        m_beep = m_speech->seconds + 0.5;
        TestMedia::VideoOptions tracks;
        tracks.seconds = m_beep + 1.5;
        tracks.size = QSize(64, 48);
        tracks.audioSource = TestMedia::beeps({m_beep}, 1, tracks.seconds);
        tracks.moreAudioSources = {sound};
        tracks.audioLanguages = {QStringLiteral("eng"), QStringLiteral("deu")};
        tracks.audioTitles = {QStringLiteral("Beeps"), QStringLiteral("Speech")};
        QVERIFY(TestMedia::makeVideo(m_tracks, tracks));
    }

    // The film's sound is decoded once for the waveform, its speech and its sonogram (shown
    // from the start), and its pictures scanned for cuts; each pane has all of it whenever it
    // comes, and the quality checks have the cuts. Another video, or none, takes everything
    // away from all of them.
    void factsReachThePanesInAnyOrder_data()
    {
        QTest::addColumn<When>("timelineAt");
        QTest::addColumn<When>("playerAt");
        QTest::newRow("both panes before the video") << When::BeforeTheVideo << When::BeforeTheVideo;
        QTest::newRow("the player first, the timeline once all is found")
            << When::BeforeTheVideo << When::AfterItIsWorkedOut;
        QTest::newRow("the timeline while it is worked out, the player after")
            << When::WhileItIsWorkedOut << When::AfterItIsWorkedOut;
        QTest::newRow("both once all is found") << When::AfterItIsWorkedOut << When::AfterItIsWorkedOut;
    }

    void factsReachThePanesInAnyOrder()
    {
        QFETCH(When, timelineAt);
        QFETCH(When, playerAt);
        Document document;
        document.attachController();
        AudioViewSettings::shared()->setView(AudioViewSettings::View::Both);
        MediaSession media;
        media.setCaches(cachesIn(QString::fromUtf8(QTest::currentDataTag())));
        media.setSonogramShown(true);
        serve(media, document);
        std::unique_ptr<TimelineViewController> timeline;
        std::unique_ptr<VideoPlayerViewController> player;
        const auto attachPanes = [&](When when) {
            if (timelineAt == when)
                timeline = std::make_unique<TimelineViewController>(&document, &media);
            if (playerAt == when) {
                player = std::make_unique<VideoPlayerViewController>(&document, &media);
                player->setPlayerFactory([](const QString &) {
                    auto fake = std::make_unique<FakePlayer>();
                    fake->setDuration(60);
                    return fake;
                });
                player->loadVideo(m_film);
            }
        };

        attachPanes(When::BeforeTheVideo);
        media.start(m_film);
        attachPanes(When::WhileItIsWorkedOut);
        QTRY_VERIFY_WITH_TIMEOUT(media.isSoundFinished() && media.isShotScanFinished(), 60000);
        attachPanes(When::AfterItIsWorkedOut);

        QCOMPARE(media.soundDecodings(), 1);
        QVERIFY(media.waveform() && !media.waveform()->samples().isEmpty());
        QVERIFY(media.sonogram() && media.sonogram()->isComplete() && media.sonogram()->columnCount(0) > 0);
        QCOMPARE(timeline->audioWaveform(), media.waveform());
        QCOMPARE(timeline->audioSonogram(), media.sonogram());
        const TestMedia::SpeechScore speech = TestMedia::scoreSpeech(m_speech->truth, media.speech());
        QVERIFY2(speech.missed == 0, qPrintable(speech.describe()));
        const QList<double> cuts(media.shotChanges().times().cbegin(), media.shotChanges().times().cend());
        const TestMedia::ShotScore shots = TestMedia::scoreShots(*m_shots, cuts);
        QVERIFY2(shots.missed.isEmpty() && shots.wrong.isEmpty(), qPrintable(shots.describe()));
        QCOMPARE(document.problemIndex().shotChanges(), media.shotChanges());
        player->goToNextShotChange();
        auto *fake = qobject_cast<FakePlayer *>(player->player());
        QVERIFY(fake && !fake->seeks().isEmpty());
        QCOMPARE(fake->seeks().last(), media.shotChanges().times().front());

        QSignalSpy waveformGone(&media, &MediaSession::waveformChanged);
        media.stop();
        QCOMPARE(waveformGone.size(), 1);
        QVERIFY(!timeline->audioWaveform() && !timeline->audioSonogram());
        QVERIFY(media.shotChanges().isEmpty() && media.speech().isEmpty());
        QVERIFY(document.problemIndex().shotChanges().isEmpty());
    }

    // The sonogram is worked out only when shown: shown once the waveform is done, it has a
    // decoding of its own, and hidden it is gone. What was found in a film is kept: opened
    // again with the sonogram shown from the start, nothing of its sound is decoded and
    // everything comes back as it was.
    void aFilmSeenBeforeIsNotDecodedAgain()
    {
        const MediaSession::Caches caches = cachesIn(QStringLiteral("kept"));
        SpeechStretches speech;
        ShotChanges shotChanges;
        QByteArray columns;
        {
            MediaSession first;
            first.setCaches(caches);
            QVERIFY(worksOut(first, m_film));
            QCOMPARE(first.soundDecodings(), 1);
            QVERIFY(!first.sonogram());
            QSignalSpy sonogramChanged(&first, &MediaSession::sonogramChanged);
            first.setSonogramShown(true);
            QCOMPARE(sonogramChanged.size(), 1);
            const std::shared_ptr<AudioSonogram> shown = first.sonogram();
            QVERIFY(shown);
            QTRY_VERIFY_WITH_TIMEOUT(!shown->isReading(), 60000);
            QVERIFY(shown->isComplete() && shown->columnCount(0) > 0);
            QCOMPARE(first.soundDecodings(), 2);
            speech = first.speech();
            shotChanges = first.shotChanges();
            columns = shown->columns(0);
            first.setSonogramShown(false);
            QVERIFY(!first.sonogram());
            QCOMPARE(sonogramChanged.size(), 2);
        } // its stores are complete once it is gone
        MediaSession again;
        again.setCaches(caches);
        again.setSonogramShown(true);
        QVERIFY(worksOut(again, m_film));
        QTRY_VERIFY_WITH_TIMEOUT(again.sonogram() && !again.sonogram()->isReading(), 60000);
        QCOMPARE(again.soundDecodings(), 0);
        QCOMPARE(again.speech(), speech);
        QCOMPARE(again.shotChanges(), shotChanges);
        QCOMPARE(again.sonogram()->columns(0), columns);
    }

    // The audio track is one choice for everything made from the sound: the waveform, the
    // speech in it and the sonogram all come from the track chosen, each track's kept in the
    // cache apart, so that one is never shown for the other and neither is read twice. A
    // track the film lacks is refused, or, asked for when the film is attached (a window
    // restored after the film changed), replaced by the first, with a word either way.
    void everythingHeardComesFromTheChosenTrack()
    {
        const MediaSession::Caches caches = cachesIn(QStringLiteral("tracks"));
        // Sound above the silence somewhere in [from, to).
        const auto loudIn = [](const MediaSession &media, double from, double to) {
            const std::shared_ptr<AudioWaveform> waveform = media.waveform();
            const QList<double> &points = waveform->samples();
            const auto pointAt = [&](double t) {
                return std::clamp(qsizetype((t - waveform->firstSampleTime()) * waveform->samplesPerSecond()), qsizetype(0),
                                  points.size());
            };
            return std::any_of(points.begin() + pointAt(from), points.begin() + pointAt(to),
                               [&](double level) { return level > waveform->decibelFloor() + 3; });
        };
        const std::vector<SpeechStretch> &sentences = m_speech->truth.stretches();
        MediaSession media;
        media.setCaches(caches);
        media.setSonogramShown(true);
        QSignalSpy unavailable(&media, &MediaSession::audioTrackUnavailable);
        QVERIFY(worksOut(media, m_tracks));
        QCOMPARE(media.audioTrack(), 1);
        QStringList labels;
        for (const AudioTrack &track : media.audioTracks())
            labels << track.label();
        QCOMPARE(labels, QStringList({"1: English — Beeps", "2: German — Speech"}));
        QVERIFY(loudIn(media, m_beep, m_beep + 1));
        for (const SpeechStretch &sentence : sentences)
            QVERIFY(!loudIn(media, sentence.start, sentence.end));
        QCOMPARE(TestMedia::scoreSpeech(m_speech->truth, media.speech()).missed, int(sentences.size()));
        const QList<double> beeps = media.waveform()->samples();

        QSignalSpy trackChanged(&media, &MediaSession::audioTrackChanged);
        media.setAudioTrack(2);
        QCOMPARE(trackChanged.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(media.isSoundFinished() && media.sonogram() && !media.sonogram()->isReading(), 60000);
        QCOMPARE(media.soundDecodings(), 2); // the first track's cache entry was not taken for it
        QCOMPARE(media.waveform()->audioTrack(), 2);
        QCOMPARE(media.sonogram()->audioTrack(), 2);
        QVERIFY(!loudIn(media, m_beep, m_beep + 1));
        for (const SpeechStretch &sentence : sentences)
            QVERIFY2(loudIn(media, sentence.start, sentence.end), qPrintable(QString::number(sentence.start)));
        const TestMedia::SpeechScore speech = TestMedia::scoreSpeech(m_speech->truth, media.speech());
        QVERIFY2(speech.missed == 0, qPrintable(speech.describe()));
        const SpeechStretches spoken = media.speech();

        media.setAudioTrack(1); // from the cache
        QTRY_VERIFY_WITH_TIMEOUT(media.isSoundFinished(), 60000);
        QCOMPARE(media.soundDecodings(), 2);
        QCOMPARE(media.waveform()->samples(), beeps);
        media.setAudioTrack(3);
        QCOMPARE(media.audioTrack(), 1);
        QCOMPARE(unavailable.size(), 1);
        QCOMPARE(unavailable.last().first().toString(), QStringLiteral("tracks.mkv has no audio track 3: it has 2 audio track(s)."));

        MediaSession again;
        again.setCaches(caches);
        again.start(m_tracks, 0, 2);
        QTRY_VERIFY_WITH_TIMEOUT(again.isSoundFinished(), 60000);
        QCOMPARE(again.soundDecodings(), 0);
        QCOMPARE(again.speech(), spoken);
        QSignalSpy replaced(&again, &MediaSession::audioTrackUnavailable);
        again.start(m_tracks, 0, 3);
        QTRY_VERIFY_WITH_TIMEOUT(again.isSoundFinished(), 60000);
        QCOMPARE(again.audioTrack(), 1);
        QCOMPARE(again.waveform()->samples(), beeps);
        QCOMPARE(replaced.size(), 1);
        QVERIFY(replaced.first().first().toString().endsWith(QLatin1String("it has 2 audio track(s). The first track is used instead.")));
    }

    // A saved document whose video has shot changes found at 1, 2 and 3 s: what the user's
    // edits leave, the last undo step, and what undoing every step gives back. The
    // document stays saved throughout.
    void shotChangeEditsLeaveTheDocumentSaved_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<Times>("times");
        QTest::addColumn<QString>("step");
        QTest::addColumn<Times>("undone");
        // Each in an event of its own, as from a menu.
        const auto add = [](double t) {
            return [=](MediaSession &m, UndoManager &u) { QVERIFY(m.addShotChange(t)); u.closeEventGroup(); };
        };
        const auto remove = [](double t) {
            return [=](MediaSession &m, UndoManager &u) { QVERIFY(m.removeShotChange(t)); u.closeEventGroup(); };
        };
        const auto found = [](Times t) { return [=](MediaSession &m, UndoManager &) { m.addFoundShotChanges(t); }; };
        const auto both = [](Change a, Change b) {
            return Change([=](MediaSession &m, UndoManager &u) { a(m, u); b(m, u); });
        };
        const Times original{1, 2, 3};
        QTest::newRow("adding one") << Change(add(5)) << Times{1, 2, 3, 5} << "Add Shot Change" << original;
        QTest::newRow("removing one within the tolerance")
            << Change(remove(2.0015)) << Times{1, 3} << "Remove Shot Change" << original;
        QTest::newRow("nothing added where one is, nothing removed where none is")
            << Change([](MediaSession &m, UndoManager &) { QVERIFY(!m.addShotChange(2.0015) && !m.removeShotChange(2.5)); })
            << original << "" << original;
        QTest::newRow("a removed one is not found again")
            << both(remove(2), found({2.001, 4})) << Times{1, 3, 4} << "Remove Shot Change" << Times{1, 2, 3, 4};
        QTest::newRow("one removed and added back is found again")
            << both(both(remove(2), add(2)), found({2})) << original << "Add Shot Change" << original;
        QTest::newRow("another video's steps undo nothing")
            << both(both(add(5), [](MediaSession &m, UndoManager &) { m.stop(); }), found({2, 6})) << Times{2, 6}
            << "Add Shot Change" << Times{2, 6};
    }

    void shotChangeEditsLeaveTheDocumentSaved()
    {
        QFETCH(Change, change);
        QFETCH(Times, times);
        QFETCH(QString, step);
        QFETCH(Times, undone);
        Document document;
        document.subtitleController().setSubtitles({Subtitle::create(QStringLiteral("1"), 0, 5)});
        document.attachController();
        MediaSession media;
        media.setCaches({});
        serve(media, document);
        UndoManager &undo = document.undoManager();
        document.subtitleController().setText(QStringLiteral("edited"), 0);
        undo.setClean();
        media.addFoundShotChanges({3, 1, 2});
        QSignalSpy changes(&media, &MediaSession::shotChangesChanged);
        change(media, undo);
        QCOMPARE(media.shotChanges().times(), times);
        QCOMPARE(document.problemIndex().shotChanges(), media.shotChanges());
        QCOMPARE(changes.isEmpty(), step.isEmpty());
        QCOMPARE(undo.undoActionName(), step.isEmpty() ? QString() : step);
        QVERIFY(!document.isModified());
        int steps = 0;
        for (; undo.undoActionName().endsWith(QLatin1String("Shot Change")); ++steps)
            undo.undo();
        QCOMPARE(media.shotChanges().times(), undone);
        QVERIFY(!document.isModified());
        while (steps-- > 0)
            undo.redo();
        QCOMPARE(media.shotChanges().times(), times);
        QVERIFY(!document.isModified());
    }
};

QTEST_MAIN(tst_MediaSession)
#include "tst_mediasession.moc"
