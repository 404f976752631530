#include "document/Document.h"
#include "player/VideoPlayerViewController.h"

#include "FakePlayer.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The video pane's logic against a fake player.
class tst_VideoPlayerViewController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void currentSubtitle_data();
    void currentSubtitle();
    void boundaryTimesFollowTheList();
    void crossingABoundaryUpdatesTheLabel();
    void labelFollowsListChanges();
    void scrollsToCursorOncePerStart();
    void observersRemovedBeforeReinstalling();
    void everyVideosDurationReachesTheTimeline();
    void frameRateReachesTheSubtitleController();
    void stepVideoRespectsStepChecks();
    void playbackTimeFollowsPlayback();
    void labelSitsOverThePicture();
    void restorationSeeksExactly();
    void restorationOfMissingFileLeavesPaneEmpty_data();
    void restorationOfMissingFileLeavesPaneEmpty();
    void unplayableVideoShowsMessage();
    void shuttle_data();
    void shuttle();

private:
    FakePlayer *load(const QString &name = QStringLiteral("a.mp4"));
    void setSubtitles(const QList<std::tuple<QString, double, double>> &subtitles);

    QTemporaryDir m_dir;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<VideoPlayerViewController> m_controller;
    std::shared_ptr<QStringList> m_log;
    QList<QPointer<FakePlayer>> m_players;
    double m_nextFrameRate = 25;
};

void tst_VideoPlayerViewController::init()
{
    m_document = std::make_unique<Document>();
    m_document->subtitleController().setDelegate(m_document.get());
    m_document->subtitleController().setUndoManager(&m_document->undoManager());
    m_controller = std::make_unique<VideoPlayerViewController>(m_document.get());
    m_controller->resize(640, 480);
    m_log = std::make_shared<QStringList>();
    m_players.clear();
    m_nextFrameRate = 25;
    m_controller->setPlayerFactory([this](const QString &) {
        m_log->append(QStringLiteral("player %1").arg(m_players.size() + 1));
        auto player = std::make_unique<FakePlayer>(m_log);
        player->setFrameRate(m_nextFrameRate);
        m_players.append(player.get());
        return player;
    });
}

void tst_VideoPlayerViewController::cleanup()
{
    m_controller.reset();
    m_document.reset();
}

FakePlayer *tst_VideoPlayerViewController::load(const QString &name)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.close();
    m_controller->loadVideo(path);
    auto *player = qobject_cast<FakePlayer *>(m_controller->player());
    if (player)
        player->setDuration(60);
    return player;
}

void tst_VideoPlayerViewController::setSubtitles(const QList<std::tuple<QString, double, double>> &subtitles)
{
    SubtitleList list;
    for (const auto &[text, start, end] : subtitles)
        list.append(std::make_shared<Subtitle>(text, start, end));
    m_document->subtitleController().setSubtitles(list);
}

using Subtitles = QList<std::tuple<QString, double, double>>;

void tst_VideoPlayerViewController::currentSubtitle_data()
{
    QTest::addColumn<Subtitles>("subtitles");
    QTest::addColumn<double>("time");
    QTest::addColumn<int>("index"); // -1: none
    const Subtitles ab{{"A", 1, 3}, {"B", 5, 7}};
    QTest::newRow("before the first") << ab << 0.5 << -1;
    QTest::newRow("exactly at a start") << ab << 1.0 << 0;
    QTest::newRow("exactly at an end") << ab << 3.0 << -1;
    QTest::newRow("between two") << ab << 4.0 << -1;
    QTest::newRow("inside the second") << ab << 6.0 << 1;
    QTest::newRow("only the last to start is tested") << Subtitles{{"A", 1, 10}, {"B", 2, 3}} << 5.0 << -1;
    QTest::newRow("empty list") << Subtitles{} << 2.0 << -1;
    QTest::newRow("empty text is still current") << Subtitles{{"", 1, 3}} << 2.0 << 0;
    QTest::newRow("a start after its end is never current") << Subtitles{{"X", 4, 2}} << 3.0 << -1;
}

void tst_VideoPlayerViewController::currentSubtitle()
{
    QFETCH(Subtitles, subtitles);
    QFETCH(double, time);
    QFETCH(int, index);
    setSubtitles(subtitles);
    FakePlayer *player = load();
    player->jumpTo(time);
    QCOMPARE(m_controller->currentSubtitleIndex().value_or(-1), index);
    QCOMPARE(m_controller->subtitlesLabel()->isHidden(), index < 0);
    QCOMPARE(m_controller->subtitlesLabel()->text(), index < 0 ? QString() : std::get<0>(subtitles[index]));
}

void tst_VideoPlayerViewController::boundaryTimesFollowTheList()
{
    FakePlayer *player = load();
    player->jumpTo(1);
    QCOMPARE(player->observerCount(), 2); // no boundary observer for an empty list

    setSubtitles({{"A", 1, 3}, {"B", 5, 7}});
    player->jumpTo(2);
    QCOMPARE(player->boundaryTimes(), (QList<double>{1, 3, 5, 7}));

    setSubtitles({{"A", 1, 3}, {"C", 3, 4}, {"B", 5, 7}});
    // Rebuilt only at the next start, stop or jump.
    QCOMPARE(player->boundaryTimes(), (QList<double>{1, 3, 5, 7}));
    player->play();
    QCOMPARE(player->boundaryTimes(), (QList<double>{1, 3, 3, 4, 5, 7}));
}

void tst_VideoPlayerViewController::crossingABoundaryUpdatesTheLabel()
{
    setSubtitles({{"A", 1, 3}});
    FakePlayer *player = load();
    player->jumpTo(0.5);
    player->play();
    QVERIFY(m_controller->subtitlesLabel()->isHidden());
    player->advance(0.6);
    // The boundary observer hops to the event loop before touching the label.
    QVERIFY(m_controller->subtitlesLabel()->isHidden());
    QTRY_COMPARE(m_controller->subtitlesLabel()->text(), QStringLiteral("A"));
    QVERIFY(!m_controller->subtitlesLabel()->isHidden());
    player->advance(2.0);
    QTRY_VERIFY(m_controller->subtitlesLabel()->isHidden());
}

void tst_VideoPlayerViewController::labelFollowsListChanges()
{
    setSubtitles({{"A", 1, 3}});
    FakePlayer *player = load();
    player->jumpTo(2);
    QCOMPARE(m_controller->subtitlesLabel()->text(), QStringLiteral("A"));
    m_document->subtitleController().setText(QStringLiteral("Changed"), 0);
    QCOMPARE(m_controller->subtitlesLabel()->text(), QStringLiteral("Changed"));
    // A new subtitle is selected, which brings the paused video to its start.
    m_document->subtitleController().addSubtitle(0.5, std::nullopt);
    QCOMPARE(m_controller->currentSubtitleIndex(), std::optional<int>(0));
    QCOMPARE(m_controller->subtitlesLabel()->text(), QString());
    // Undone, the video stays at 0 s, before A: nothing is shown.
    m_document->undoManager().undo();
    QCOMPARE(m_controller->currentSubtitleIndex(), std::nullopt);
    QVERIFY(m_controller->subtitlesLabel()->isHidden());
}

void tst_VideoPlayerViewController::scrollsToCursorOncePerStart()
{
    FakePlayer *player = load();
    QSignalSpy scroll(m_controller.get(), &VideoPlayerViewController::scrollToCursorRequested);
    QSignalSpy playing(m_controller.get(), &VideoPlayerViewController::playingChanged);
    player->play();
    QCOMPARE(scroll.count(), 1);
    player->jumpTo(5);
    player->setRate(2);
    QCOMPARE(scroll.count(), 1);
    player->pause();
    QCOMPARE(scroll.count(), 1);
    player->play();
    QCOMPARE(scroll.count(), 2);
    QCOMPARE(playing.count(), 3);
    QCOMPARE(playing.last().first().toBool(), true);
    // A new video starts paused.
    load(QStringLiteral("b.mp4"));
    QCOMPARE(playing.count(), 4);
    QCOMPARE(playing.last().first().toBool(), false);
}

void tst_VideoPlayerViewController::observersRemovedBeforeReinstalling()
{
    setSubtitles({{"A", 1, 3}});
    FakePlayer *first = load(QStringLiteral("a.mp4"));
    first->jumpTo(2);
    FakePlayer *second = load(QStringLiteral("b.mp4"));
    QVERIFY(second != first);
    QCOMPARE(m_document->player(), second);

    // Every observer the first player got was removed before the second player came.
    const int secondStarts = int(m_log->indexOf(QStringLiteral("player 2")));
    QVERIFY(secondStarts > 0);
    QSet<QString> active;
    for (const QString &entry : m_log->mid(0, secondStarts)) {
        if (entry.startsWith(QLatin1String("add")))
            active.insert(entry.section(QStringLiteral("-> "), 1));
        else if (entry.startsWith(QLatin1String("remove ")))
            active.remove(entry.section(QLatin1Char(' '), 1));
    }
    QVERIFY2(active.isEmpty(), qPrintable(m_log->join(QLatin1String(", "))));
    QCOMPARE(second->observerCount(), 2);
    QTRY_VERIFY(m_players.first().isNull()); // the first player goes away
}

void tst_VideoPlayerViewController::everyVideosDurationReachesTheTimeline()
{
    QSignalSpy duration(m_controller.get(), &VideoPlayerViewController::videoDurationChanged);
    const auto value = [&](int i) { return duration.at(i).first().value<std::optional<double>>(); };

    m_controller->loadVideo(m_dir.filePath(QStringLiteral("a.mp4")));
    auto *first = qobject_cast<FakePlayer *>(m_controller->player());
    first->setDuration(10);
    first->setDuration(11); // only the first report of a video counts
    m_controller->loadVideo(m_dir.filePath(QStringLiteral("b.mp4")));
    qobject_cast<FakePlayer *>(m_controller->player())->setDuration(20);

    QCOMPARE(duration.count(), 4);
    QCOMPARE(value(0), std::nullopt);
    QCOMPARE(value(1), std::optional<double>(10));
    QCOMPARE(value(2), std::nullopt);
    QCOMPARE(value(3), std::optional<double>(20));
}

void tst_VideoPlayerViewController::frameRateReachesTheSubtitleController()
{
    QSignalSpy frameRate(m_controller.get(), &VideoPlayerViewController::frameRateChanged);
    load();
    QCOMPARE(m_document->subtitleController().frameRate(), 25.0);
    QCOMPARE(frameRate.count(), 1);

    // No video track: the rates stay as they were.
    m_nextFrameRate = 0;
    FakePlayer *soundOnly = load(QStringLiteral("b.mp4"));
    QCOMPARE(m_document->subtitleController().frameRate(), 25.0);
    QCOMPARE(frameRate.count(), 1);
    soundOnly->setFrameRate(30000.0 / 1001);
    QCOMPARE(m_document->subtitleController().frameRate(), 30000.0 / 1001);
    QCOMPARE(frameRate.count(), 2);
}

void tst_VideoPlayerViewController::stepVideoRespectsStepChecks()
{
    FakePlayer *player = load();
    QSignalSpy scroll(m_controller.get(), &VideoPlayerViewController::scrollToCursorRequested);
    m_controller->stepVideo(-1); // at the first frame
    QVERIFY(!player->log().contains(QStringLiteral("step -1")));
    QCOMPARE(scroll.count(), 0);

    player->jumpTo(1.0);
    m_controller->stepVideo(1);
    QVERIFY(player->log().contains(QStringLiteral("step 1")));
    QCOMPARE(player->currentTime(), 1.04);
    QCOMPARE(scroll.count(), 1);

    player->jumpTo(60);
    m_controller->stepVideo(1); // at the last frame
    QCOMPARE(player->log().count(QStringLiteral("step 1")), 1);
}

void tst_VideoPlayerViewController::playbackTimeFollowsPlayback()
{
    FakePlayer *player = load();
    QSignalSpy time(m_controller.get(), &VideoPlayerViewController::playbackTimeChanged);
    player->play();
    const qsizetype atStart = time.count();
    QVERIFY(atStart >= 1);
    for (int i = 0; i < 10; ++i)
        player->advance(0.01);
    QCOMPARE(time.count(), atStart + 10);
    QCOMPARE(time.last().first().toDouble(), player->currentTime());
    QVERIFY(m_controller->timeText().startsWith(QStringLiteral("00:00:00,100")));
}

void tst_VideoPlayerViewController::labelSitsOverThePicture()
{
    setSubtitles({{"A", 1, 3}});
    FakePlayer *player = load();
    m_controller->show();
    player->setVideoRect(QRectF(0, 50, 400, 225));
    player->jumpTo(2);
    const QLabel *label = m_controller->subtitlesLabel();
    QCOMPARE(label->width(), 360);
    QCOMPARE(label->x(), 20);
    QCOMPARE(label->y() + label->height(), 275 - 40);
    QCOMPARE(label->font().pixelSize(), 10);
}

void tst_VideoPlayerViewController::restorationSeeksExactly()
{
    QCOMPARE(m_controller->saveState(), QVariantMap());
    setSubtitles({{"A", 1, 3}, {"X", 42, 43}});
    load();
    m_controller->seekTo(42.5);
    const QVariantMap state = m_controller->saveState();
    QCOMPARE(state.value(QStringLiteral("videoBookmarkData")).toString(), m_dir.filePath(QStringLiteral("a.mp4")));
    QCOMPARE(state.value(QStringLiteral("currentTime")).toDouble(), 42.5);

    // A fresh window.
    cleanup();
    init();
    setSubtitles({{"A", 1, 3}, {"X", 42, 43}});
    m_controller->restoreState(state);
    QTRY_VERIFY(m_controller->player());
    QCOMPARE(m_controller->videoPath(), m_dir.filePath(QStringLiteral("a.mp4")));
    QVERIFY(m_log->contains(QStringLiteral("seek 42.5")));
    QTRY_COMPARE(m_controller->subtitlesLabel()->text(), QStringLiteral("X"));
    QCOMPARE(m_controller->currentSubtitleIndex(), std::optional<int>(1));
}

void tst_VideoPlayerViewController::restorationOfMissingFileLeavesPaneEmpty_data()
{
    QTest::addColumn<QVariantMap>("state");
    QTest::newRow("nothing saved") << QVariantMap();
    QTest::newRow("file gone") << QVariantMap{{"videoBookmarkData", m_dir.filePath("gone.mp4")}, {"currentTime", 3.0}};
    QTest::newRow("not a path") << QVariantMap{{"videoBookmarkData", QByteArray("\x01\x02")}};
    QTest::newRow("a folder") << QVariantMap{{"videoBookmarkData", m_dir.path()}};
}

void tst_VideoPlayerViewController::restorationOfMissingFileLeavesPaneEmpty()
{
    QFETCH(QVariantMap, state);
    const QString empty = m_controller->placeholderText();
    QSignalSpy failed(m_controller.get(), &VideoPlayerViewController::failed);
    m_controller->restoreState(state);
    QTest::qWait(50); // the file is looked at off the GUI thread
    QVERIFY(!m_controller->player());
    QCOMPARE(m_controller->placeholderText(), empty);
    QVERIFY(empty.contains(QStringLiteral("Open Video")));
    QCOMPARE(failed.count(), 0);
}

void tst_VideoPlayerViewController::unplayableVideoShowsMessage()
{
    setSubtitles({{"A", 1, 3}});
    FakePlayer *player = load(QStringLiteral("broken.mp4"));
    QSignalSpy failed(m_controller.get(), &VideoPlayerViewController::failed);
    player->fail(QStringLiteral("unrecognized file format"));
    QCOMPARE(failed.count(), 1);
    QVERIFY(m_controller->placeholderText().contains(QStringLiteral("broken.mp4")));
    QVERIFY(m_controller->placeholderText().contains(QStringLiteral("unrecognized file format")));
    QVERIFY(!m_controller->player());
    QVERIFY(!m_document->player());
    QCOMPARE(m_controller->saveState(), QVariantMap());
    // The window goes on working.
    m_controller->updateSubtitlesLabel();
    m_controller->stepVideo(1);
    m_controller->playPause();
    QVERIFY(load(QStringLiteral("good.mp4")));
    QVERIFY(m_controller->placeholderText().isEmpty());
}

void tst_VideoPlayerViewController::shuttle_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<double>("rate");
    QTest::newRow("L plays") << "L" << 1.0;
    QTest::newRow("L twice doubles") << "LL" << 2.0;
    QTest::newRow("L three times") << "LLL" << 4.0;
    QTest::newRow("no faster than 4x") << "LLLLL" << 4.0;
    QTest::newRow("J plays backwards") << "J" << -1.0;
    QTest::newRow("J twice") << "JJ" << -2.0;
    QTest::newRow("J after L turns at 1x") << "LLJ" << -1.0;
    QTest::newRow("L after J turns at 1x") << "JJL" << 1.0;
    QTest::newRow("K stops") << "LLK" << 0.0;
    QTest::newRow("space plays") << " " << 1.0;
    QTest::newRow("space again pauses") << "  " << 0.0;
    QTest::newRow("space stops the shuttle") << "JJ " << 0.0;
}

void tst_VideoPlayerViewController::shuttle()
{
    QFETCH(QString, keys);
    QFETCH(double, rate);
    FakePlayer *player = load();
    player->jumpTo(30);
    for (QChar key : keys)
        QTest::keyClick(m_controller.get(), key == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key(key.unicode()));
    QCOMPARE(player->rate(), rate);
}

QTEST_MAIN(tst_VideoPlayerViewController)
#include "tst_videoplayerviewcontroller.moc"
