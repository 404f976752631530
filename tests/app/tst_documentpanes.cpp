#include "app/DocumentPanes.h"
#include "document/Document.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

#include "FakePlayer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The document as the hub of its panes, as the window wires them: the panes are real,
// the player is a fake.
class tst_DocumentPanes : public QObject
{
    Q_OBJECT

private:
    struct Window
    {
        Document document;
        DocumentPanes *panes;
        SubtitlesTableViewController *table;
        TimelineViewController *timeline;
        VideoPlayerViewController *player;
        FakePlayer *fakePlayer = nullptr;
        QWidget root;

        explicit Window(int count)
        {
            SubtitleList list;
            for (int i = 0; i < count; ++i)
                list.append(std::make_shared<Subtitle>(QString::number(i + 1), i * 10.0, i * 10.0 + 5));
            document.subtitleController().setSubtitles(list);
            document.attachController();
            panes = new DocumentPanes(&document, &root);
            table = panes->table();
            timeline = panes->timeline();
            player = panes->player();
            player->setPlayerFactory([this](const QString &) {
                auto fake = std::make_unique<FakePlayer>();
                fake->setFrameRate(25);
                fake->setDuration(100);
                fakePlayer = fake.get();
                return fake;
            });
            root.resize(1000, 700);
        }
        void loadVideo() { player->loadVideo(QStringLiteral("/films/fake.mp4")); }
    };

private slots:
    void aMovedSubtitleStaysSelectedWhereItLands()
    {
        Window w(5);
        w.document.subtitleController().setStart(4, 15);
        QCOMPARE(w.document.selectedSubtitleIndexes(), IndexSet(2));
        QCOMPARE(w.table->tableView()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(w.table->tableView()->selectionModel()->selectedRows().first().row(), 2);
        QCOMPARE(w.timeline->selectedSubtitles(), w.document.subtitleController().subtitlesAt(IndexSet(2)));
    }

    void selectingInTheListSeeksAPausedVideo()
    {
        Window w(5);
        w.loadVideo();
        QVERIFY(w.fakePlayer);
        w.document.setSelectedSubtitleIndexes(IndexSet(3));
        QTRY_COMPARE(w.fakePlayer->currentTime(), 30.0);
        w.fakePlayer->play();
        w.document.setSelectedSubtitleIndexes(IndexSet(1));
        QTest::qWait(20);
        QCOMPARE(w.fakePlayer->currentTime(), 30.0); // playing: no jump
    }

    void endTimeFromThePlayerSnapsToAFrame_data()
    {
        QTest::addColumn<double>("playerTime");
        QTest::addColumn<double>("expectedEnd");
        QTest::newRow("10.013 s rounds down to 10.0 s") << 10.013 << 10.0;
        QTest::newRow("10.021 s rounds up to 10.04 s") << 10.021 << 10.04;
    }

    void endTimeFromThePlayerSnapsToAFrame()
    {
        QFETCH(double, playerTime);
        QFETCH(double, expectedEnd);
        Window w(3);
        w.loadVideo();
        QTRY_COMPARE(w.document.subtitleController().frameRate(), 25.0);
        w.document.setSelectedSubtitleIndexes(IndexSet(0));
        w.fakePlayer->jumpTo(playerTime);
        QVERIFY(w.panes->canSetSubtitleTimeFromVideoPlayer());
        w.panes->setSubtitleEndTimeFromVideoPlayer();
        QVERIFY(qFuzzyCompare(w.document.subtitleController().at(0)->end, expectedEnd));
    }

    void endTimeWhilePlayingMovesOnAndClearsAfterTheLast()
    {
        Window w(2);
        w.loadVideo();
        QTRY_VERIFY(w.fakePlayer);
        w.document.setSelectedSubtitleIndexes(IndexSet(0));
        w.fakePlayer->jumpTo(4);
        w.fakePlayer->play();
        w.panes->setSubtitleEndTimeFromVideoPlayer();
        QCOMPARE(w.document.selectedSubtitleIndexes(), IndexSet(1));
        w.fakePlayer->advance(10);
        w.panes->setSubtitleEndTimeFromVideoPlayer();
        QVERIFY(w.document.selectedSubtitleIndexes().isEmpty());
    }

    void timeCommandsNeedOneRowAndAVideo()
    {
        Window w(3);
        w.document.setSelectedSubtitleIndexes(IndexSet(0));
        QVERIFY(!w.panes->canSetSubtitleTimeFromVideoPlayer()); // no video
        w.loadVideo();
        QTRY_VERIFY(w.document.player());
        QVERIFY(w.panes->canSetSubtitleTimeFromVideoPlayer());
        w.document.setSelectedSubtitleIndexes(IndexSet{0, 1});
        QVERIFY(!w.panes->canSetSubtitleTimeFromVideoPlayer());
        w.fakePlayer->jumpTo(7); // between the first and the second subtitle
        QVERIFY(!w.panes->canEditDisplayedSubtitle());
        w.fakePlayer->jumpTo(12);
        QVERIFY(w.panes->canEditDisplayedSubtitle());
    }

};

QTEST_MAIN(tst_DocumentPanes)
#include "tst_documentpanes.moc"
