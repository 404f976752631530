#include "document/Document.h"
#include "format/SubtitleFormatIo.h"
#include "media/MediaSession.h"
#include "player/OwnedTemporaryFolder.h"
#include "player/StyledSubtitleTrack.h"
#include "player/VideoPlayerViewController.h"

#include "FakePlayer.h"
#include "SubtitleText.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include <sys/wait.h>
#include <unistd.h>

// What the user does to the pane (and the fake player's time does), and what then shows.
struct Scenario
{
    QString subtitles; // as subtitlesFrom() reads them
    // jump T, play, pause, advance S (play on), wait (a turn of the event loop), text S
    // (of the first subtitle), add T (a new subtitle), undo, step N, range FROM TO, keys
    // KEYS (J, K, L, or _ for space), shots T,T,… (found), next and previous (shot change),
    // speed CHANGES (+ faster, - slower, = normal, or a number: set to it).
    QString steps;
    QString label = QStringLiteral("-"); // "-": hidden
    double rate = NAN;                   // NAN: not looked at
    double time = NAN;
    QString clock = QStringLiteral("?"); // the rate beside the time; "?": not looked at
};
Q_DECLARE_METATYPE(Scenario)

// The video pane's logic against a fake player.
class tst_VideoPlayerViewController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Document> m_document;
    std::unique_ptr<MediaSession> m_media;
    std::unique_ptr<VideoPlayerViewController> m_controller;
    QList<QPointer<FakePlayer>> m_players;

    FakePlayer *load(const QString &name = QStringLiteral("a.mp4"))
    {
        m_controller->loadVideo(QStringLiteral("/films/") + name);
        auto *player = qobject_cast<FakePlayer *>(m_controller->player());
        player->setDuration(60);
        return player;
    }

    void setSubtitles(const QString &subtitles) { m_document->subtitleController().setSubtitles(subtitlesFrom(subtitles)); }

    QLabel *label() const { return m_controller->subtitlesLabel(); }

private slots:
    void init()
    {
        m_document = std::make_unique<Document>();
        m_document->attachController();
        m_media = std::make_unique<MediaSession>();
        m_controller = std::make_unique<VideoPlayerViewController>(m_document.get(), m_media.get());
        m_controller->resize(640, 480);
        m_document->setVideoFrameRate(25); // as the film's media session tells it
        m_players.clear();
        m_controller->setPlayerFactory([this](const QString &) {
            auto player = std::make_unique<FakePlayer>();
            player->setFrameRate(25); // what it steps by
            m_players.append(player.get());
            return player;
        });
    }

    void cleanup()
    {
        m_controller.reset();
        m_media.reset();
        m_document.reset();
    }

    void scenarios_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const QString a = QStringLiteral("A@1-3"), ab = QStringLiteral("A@1-3|B@5-7");
        QTest::newRow("before the first") << Scenario{ab, "jump 0.5"};
        QTest::newRow("exactly at a start") << Scenario{ab, "jump 1", "A"};
        QTest::newRow("exactly at an end") << Scenario{ab, "jump 3"};
        QTest::newRow("inside the second") << Scenario{ab, "jump 6", "B"};
        QTest::newRow("only the last to start is tested") << Scenario{"A@1-10|B@2-3", "jump 5"};
        QTest::newRow("empty list") << Scenario{"", "jump 2"};
        QTest::newRow("empty text is still shown") << Scenario{"@1-3", "jump 2", ""};
        QTest::newRow("a start after its end is never shown") << Scenario{"X@4-2", "jump 3"};
        QTest::newRow("formatting kept, line breaks as such, stray tags escaped")
            << Scenario{"<i>one\ntwo</i> <x>@1-3", "jump 2", "<i>one<br>two</i> &lt;x&gt;"};
        QTest::newRow("playing into a subtitle") << Scenario{a, "jump 0.5 play advance 0.6 wait", "A"};
        QTest::newRow("playing out of it") << Scenario{a, "jump 0.5 play advance 0.6 wait advance 2 wait"};
        QTest::newRow("its text changes") << Scenario{a, "jump 2 text Changed", "Changed"};
        QTest::newRow("a new subtitle seeks the paused video") << Scenario{a, "jump 2 add 0.5 wait", "", 0, 0};
        QTest::newRow("undone, the video stays") << Scenario{a, "jump 2 add 0.5 wait undo", "-", 0, 0};
        QTest::newRow("no seek while playing") << Scenario{a, "jump 2 play add 0.5 wait", "A", 1, 2};
        QTest::newRow("no step back from the first frame") << Scenario{a, "step -1", "-", 0, 0};
        QTest::newRow("the arrows step a frame either way") << Scenario{a, "jump 1 keys >><", "A", 0, 1.04};
        QTest::newRow("no step past the last frame") << Scenario{a, "jump 60 step 1", "-", 0, 60};
        QTest::newRow("a range plays from its start") << Scenario{a, "range 2 3 wait", "A", 1, 2};
        QTest::newRow("a range pauses at its end") << Scenario{a, "range 2 3 wait advance 1.5 wait", "-", 0};
        QTest::newRow("its stop goes with that pause")
            << Scenario{a, "range 2 3 wait advance 1.5 wait jump 2.5 play advance 1 wait", "-", 1};
        QTest::newRow("a pause by hand ends the range") << Scenario{a, "range 2 3 wait pause play advance 1.5 wait", "-", 1};
        // Each L doubles up to 4x, each J the same backwards, the other key turns at 1x.
        QTest::newRow("L three times") << Scenario{a, "jump 30 keys LLL", "-", 4};
        QTest::newRow("no faster than 4x") << Scenario{a, "jump 30 keys LLLLL", "-", 4};
        QTest::newRow("no faster than 4x backwards") << Scenario{a, "jump 30 keys JJJJ", "-", -4};
        QTest::newRow("J after L turns at 1x") << Scenario{a, "jump 30 keys LLJ", "-", -1};
        QTest::newRow("L after J turns at 1x") << Scenario{a, "jump 30 keys JJL", "-", 1};
        QTest::newRow("space stops the shuttle") << Scenario{a, "jump 30 keys JJ_", "-", 0};
        QTest::newRow("next shot change") << Scenario{a, "shots 2,5,9 jump 0.5 next", "A", 0, 2};
        QTest::newRow("next from one goes past it") << Scenario{a, "shots 2,5,9 jump 5.001 next", "-", 0, 9};
        QTest::newRow("previous from one goes past it") << Scenario{a, "shots 2,5,9 jump 4.999 previous", "A", 0, 2};
        QTest::newRow("none after the last") << Scenario{a, "shots 2,5,9 jump 9.5 next", "-", 0, 9.5};
        // A player tells the time it left until a seek lands (the jump back plays that).
        QTest::newRow("pressed again before the seek lands")
            << Scenario{a, "shots 2,5,9 jump 1 next jump 1 next", "-", 0, 5};
        // The shuttle's rates are multiples of the chosen speed, and the clock says what plays.
        QTest::newRow("paused, the clock tells the speed") << Scenario{a, "speed --", "-", 0, NAN, "0.75×"};
        QTest::newRow("no slower than 0.5x") << Scenario{a, "speed -------- play", "-", 0.5, NAN, "0.5× ▶"};
        QTest::newRow("no faster than 2x") << Scenario{a, "speed ++++++++ play", "-", 2, NAN, "2× ▶"};
        QTest::newRow("a speed set past the ends is taken to them") << Scenario{a, "speed 3 play", "-", 2, NAN, "2× ▶"};
        QTest::newRow("at normal speed it says nothing") << Scenario{a, "speed --= play", "-", 1, NAN, ""};
        QTest::newRow("playing goes at the speed") << Scenario{a, "speed -- play", "-", 0.75, NAN, "0.75× ▶"};
        QTest::newRow("L twice doubles the speed") << Scenario{a, "jump 30 speed - keys LL", "-", 1.8, NAN, "1.8× ▶"};
        QTest::newRow("J backwards at the speed") << Scenario{a, "jump 30 speed -- keys J", "-", -0.75, NAN, "◀ 0.75×"};
        QTest::newRow("faster while shuttling keeps the multiple") << Scenario{a, "jump 30 keys LL speed +", "-", 2.2, NAN, "2.2× ▶"};
        QTest::newRow("a range plays at the speed") << Scenario{a, "speed ++ range 2 3 wait", "A", 1.25};
        QTest::newRow("pressed again after it landed") << Scenario{a, "shots 2,5,9 jump 1 next wait jump 1 next", "A", 0, 2};
    }

    void scenarios()
    {
        QFETCH(Scenario, scenario);
        setSubtitles(scenario.subtitles);
        FakePlayer *player = load();
        const QStringList steps = scenario.steps.split(u' ');
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const QString &step = steps[i];
            const auto number = [&] { return steps.at(++i).toDouble(); };
            if (step == QLatin1String("jump"))
                player->jumpTo(number());
            else if (step == QLatin1String("play"))
                player->play();
            else if (step == QLatin1String("pause"))
                player->pause();
            else if (step == QLatin1String("advance"))
                player->advance(number());
            else if (step == QLatin1String("wait"))
                QTest::qWait(10);
            else if (step == QLatin1String("text"))
                m_document->subtitleController().setText(steps.at(++i), 0);
            else if (step == QLatin1String("add"))
                m_document->subtitleController().addSubtitle(number(), std::nullopt);
            else if (step == QLatin1String("undo"))
                m_document->undoManager().undo();
            else if (step == QLatin1String("step"))
                m_controller->stepVideo(int(number()));
            else if (step == QLatin1String("range")) {
                const double from = number();
                m_controller->playRange(from, number());
            }
            else if (step == QLatin1String("shots")) {
                std::vector<double> times;
                for (const QString &time : steps.at(++i).split(u','))
                    times.push_back(time.toDouble());
                m_media->addFoundShotChanges(times);
            } else if (step == QLatin1String("next"))
                m_controller->goToNextShotChange();
            else if (step == QLatin1String("previous"))
                m_controller->goToPreviousShotChange();
            else if (step == QLatin1String("speed")) {
                bool isNumber = false;
                if (const double speed = steps.at(i + 1).toDouble(&isNumber); isNumber) {
                    m_controller->setSpeed(speed);
                    ++i;
                } else {
                    for (QChar change : steps.at(++i))
                        change == u'+' ? m_controller->playFaster()
                                       : change == u'-' ? m_controller->playSlower() : m_controller->playAtNormalSpeed();
                }
            }
            else if (step == QLatin1String("keys"))
                for (QChar key : steps.at(++i))
                    QTest::keyClick(m_controller.get(), key == u'_'   ? Qt::Key_Space
                                                        : key == u'<' ? Qt::Key_Left
                                                        : key == u'>' ? Qt::Key_Right
                                                                      : Qt::Key(key.unicode()));
        }
        QCOMPARE(label()->isHidden(), scenario.label == QLatin1String("-"));
        if (!label()->isHidden())
            QCOMPARE(label()->text(), scenario.label);
        QCOMPARE(m_controller->currentSubtitleIndex().has_value(), !label()->isHidden());
        if (!std::isnan(scenario.rate))
            QCOMPARE(player->rate(), scenario.rate);
        if (!std::isnan(scenario.time))
            QCOMPARE(player->currentTime(), scenario.time);
        if (scenario.clock != QLatin1String("?"))
            QCOMPARE(m_controller->rateText(), scenario.clock);
    }

    // A script with styles is drawn by the player from the script itself, not by the label.
    void styledScriptsAreShownByThePlayer_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("byPlayer");
        QTest::newRow("SSA") << int(SubtitleFormat::Ssa) << true;
        QTest::newRow("WebVTT") << int(SubtitleFormat::WebVtt) << false;
    }

    void styledScriptsAreShownByThePlayer()
    {
        QFETCH(int, format);
        QFETCH(bool, byPlayer);
        m_document->setRecovered(subtitlesFrom(QStringLiteral("A@1-3")), std::nullopt, SubtitleFormat::Id(format), nullptr);
        load()->jumpTo(2);
        QTRY_COMPARE(label()->isHidden(), byPlayer);
    }

    // A burst of edits, some arriving while the copy before them is being written: what
    // the player finally reads is the script of the document as it ends up, each event
    // with the fields of its own, and no older copy lands after it.
    void styledCopyFollowsABurstOfEdits()
    {
        const QString script = QStringLiteral(
            "[Script Info]\nScriptType: v4.00+\n\n[Events]\n"
            "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
            "Dialogue: 1,0:00:01.00,0:00:03.00,Sign,,0,0,0,,{\\an8}Exit\n"
            "Dialogue: 0,0:00:05.00,0:00:07.00,Default,Ann,0,0,0,,Hello\n"
            "Dialogue: 0,0:00:08.00,0:00:09.00,Default,Bob,0,0,0,,Bye\n");
        auto reading = SubtitleFormatIo::read(SubtitleFormat::Ass, script);
        QVERIFY(reading.hasValue());
        m_document->setRecovered(reading.value().subtitles, std::nullopt, SubtitleFormat::Ass, reading.value().keep);
        FakePlayer *player = load();
        SubtitleController &controller = m_document->subtitleController();
        for (int i = 0; i < 20; ++i) {
            controller.setText(QStringLiteral("Way out %1").arg(i), 0);
            QTest::qWait(i % 5 == 0 ? 170 : 5); // now and then past the delay: a write under way
        }
        const auto shown = [player] {
            QFile file(player->subtitleFile());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const auto documentScript = [&] {
            return SubtitleFormatIo::write(SubtitleFormat::Ass, controller.subtitles(), m_document->formatKeep()).toUtf8();
        };
        QVERIFY(documentScript().contains("Dialogue: 1,0:00:01.00,0:00:03.00,Sign,,0,0,0,,Way out 19\n"));
        QTRY_COMPARE(shown(), documentScript());
        controller.addSubtitle(10, std::nullopt);
        controller.removeSubtitles({controller.at(2)}, IndexSet(2));
        controller.setText(QStringLiteral("Bye now"), 2);
        QTRY_COMPARE(shown(), documentScript());
        QTest::qWait(400);
        QCOMPARE(shown(), documentScript());
    }

    // The private copy the player reads, left by a process that was killed, is cleared at
    // the next start; a running instance's stays.
    void onlyAKilledProcesssCopyIsCleared()
    {
        QTemporaryDir temporary;
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        m_document->setRecovered(subtitlesFrom(QStringLiteral("A@1-3")), std::nullopt, SubtitleFormat::Ass, nullptr);
        load()->jumpTo(2);
        QTRY_VERIFY(label()->isHidden());
        const pid_t child = ::fork();
        if (child == 0) {
            new OwnedTemporaryFolder(QStringLiteral("shown")); // never removed: the process dies
            ::_exit(0);
        }
        QCOMPARE(::waitpid(child, nullptr, 0), child);
        const auto copies = [&temporary] { return QDir(temporary.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(); };
        QCOMPARE(copies(), 2);
        StyledSubtitleTrack::removeAbandonedCopies();
        QCOMPARE(copies(), 1);
        m_controller.reset();
        QCOMPARE(copies(), 0);
        qunsetenv("TMPDIR");
    }

    void scrollsToCursorOncePerStart()
    {
        FakePlayer *player = load();
        QSignalSpy scroll(m_controller.get(), &VideoPlayerViewController::scrollToCursorRequested);
        QSignalSpy playing(m_controller.get(), &VideoPlayerViewController::playingChanged);
        player->play();
        player->jumpTo(5);
        player->setRate(2);
        QCOMPARE(scroll.count(), 1);
        player->pause();
        player->play();
        QCOMPARE(scroll.count(), 2);
        QCOMPARE(playing.count(), 3);
        load(QStringLiteral("b.mp4")); // a new video starts paused
        QCOMPARE(playing.count(), 4);
        QCOMPARE(playing.last().first().toBool(), false);
        m_controller->stepVideo(1); // a step follows the cursor too
        QCOMPARE(scroll.count(), 3);
    }

    void eachVideoReplacesTheLastAndTellsItsDuration()
    {
        setSubtitles(QStringLiteral("A@1-3"));
        QSignalSpy duration(m_controller.get(), &VideoPlayerViewController::videoDurationChanged);
        FakePlayer *first = load();
        first->setDuration(11); // only the first report of a video counts
        first->jumpTo(2);       // a subtitle's boundaries are watched from here on
        FakePlayer *soundOnly = load(QStringLiteral("b.mp4"));
        // The former player keeps no observer, and goes away.
        QCOMPARE(m_document->player(), soundOnly);
        QCOMPARE(first->observerCount(), 0);
        QCOMPARE(soundOnly->observerCount(), 2);
        QList<std::optional<double>> told;
        for (const QList<QVariant> &arguments : duration)
            told << arguments.first().value<std::optional<double>>();
        QCOMPARE(told, (QList<std::optional<double>>{std::nullopt, 60, std::nullopt, 60}));
        QTRY_VERIFY(m_players.first().isNull());
        // A video that cannot be played leaves none: what followed the last one is let go.
        QSignalSpy video(m_controller.get(), &VideoPlayerViewController::videoChanged);
        soundOnly->fail(QStringLiteral("broken"));
        QCOMPARE(video.count(), 1);
        QCOMPARE(video.first().first().toString(), QString());
    }

    // A picture 400 × 225 at y 50: text a fortieth of its width high, 20 from its sides
    // and a tenth of its width from its bottom, or from its top for {\an8}.
    void theLabelSitsOverThePicture()
    {
        setSubtitles(QStringLiteral("{\\an8}up@1-3|down@3-5"));
        FakePlayer *player = load();
        m_controller->show();
        player->setVideoRect(QRectF(0, 50, 400, 225));
        player->jumpTo(2);
        QCOMPARE(label()->font().pixelSize(), 10);
        QCOMPARE(label()->geometry().left(), 20);
        QCOMPARE(label()->width(), 360);
        QCOMPARE(label()->y(), 90);
        player->jumpTo(4);
        QCOMPARE(label()->y() + label()->height(), 235);
    }
};

QTEST_MAIN(tst_VideoPlayerViewController)
#include "tst_videoplayerviewcontroller.moc"
