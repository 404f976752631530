#include "app/Document.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

#include "FakePlayer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The document as the hub of its window: the panes are real, the player is a fake.
class tst_Document : public QObject
{
    Q_OBJECT

private:
    struct Window
    {
        Document document;
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
            document.subtitleController().setDelegate(&document);
            document.subtitleController().setUndoManager(&document.undoManager());
            table = new SubtitlesTableViewController(&document, &root);
            timeline = new TimelineViewController(&document, &root);
            player = new VideoPlayerViewController(&document, &root);
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
    void deletingTheLastSubtitlesSelectsTheNewLast()
    {
        Window w(5);
        const SubtitleList removed = w.document.subtitleController().subtitlesAt(IndexSet{3, 4});
        w.document.subtitleController().removeSubtitles(removed, IndexSet{3, 4});
        QCOMPARE(w.document.selectedSubtitleIndexes(), IndexSet(2));
        w.document.subtitleController().removeSubtitles(w.document.subtitleController().subtitles(), IndexSet::fromRange(0, 3));
        QVERIFY(w.document.selectedSubtitleIndexes().isEmpty());
    }

    void insertingSelectsTheInsertedAndUndoSelectsWhatMovedUp()
    {
        Window w(3);
        w.document.subtitleController().importText(QStringLiteral("A\n\nB"));
        QCOMPARE(w.document.selectedSubtitleIndexes(), (IndexSet{1, 2}));
        w.document.undoManager().undo();
        QCOMPARE(w.document.selectedSubtitleIndexes(), IndexSet(1));
        QCOMPARE(w.document.subtitleController().count(), 3);
    }

    void aMovedSubtitleStaysSelectedWhereItLands()
    {
        Window w(5);
        w.document.subtitleController().setStart(4, 15);
        QCOMPARE(w.document.selectedSubtitleIndexes(), IndexSet(2));
        QCOMPARE(w.table->tableView()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(w.table->tableView()->selectionModel()->selectedRows().first().row(), 2);
        QCOMPARE(w.timeline->selectedSubtitles(), w.document.subtitleController().subtitlesAt(IndexSet(2)));
    }

    void showsTheNewlySelectedSubtitle_data()
    {
        QTest::addColumn<IndexSet>("before");
        QTest::addColumn<IndexSet>("after");
        QTest::addColumn<int>("shown"); // -1: nothing shown
        QTest::newRow("the newly added row") << IndexSet(2) << IndexSet{2, 3} << 3;
        QTest::newRow("the last when nothing is new") << IndexSet{1, 2, 3} << IndexSet{1, 2} << 2;
        QTest::newRow("nothing when everything is selected") << IndexSet(0) << IndexSet::fromRange(0, 5) << -1;
        QTest::newRow("nothing when nothing is selected") << IndexSet(0) << IndexSet() << -1;
    }

    void showsTheNewlySelectedSubtitle()
    {
        QFETCH(IndexSet, before);
        QFETCH(IndexSet, after);
        QFETCH(int, shown);
        Window w(5);
        w.document.setSelectedSubtitleIndexes(before);
        QSignalSpy spy(&w.document, &Document::showSubtitleRequested);
        w.document.setSelectedSubtitleIndexes(after);
        QCOMPARE(spy.size(), shown < 0 ? 0 : 1);
        if (shown >= 0)
            QCOMPARE(spy.first().first().toInt(), shown);
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
        QVERIFY(w.document.canSetSubtitleTimeFromVideoPlayer());
        w.document.setSubtitleEndTimeFromVideoPlayer();
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
        w.document.setSubtitleEndTimeFromVideoPlayer();
        QCOMPARE(w.document.selectedSubtitleIndexes(), IndexSet(1));
        w.fakePlayer->advance(10);
        w.document.setSubtitleEndTimeFromVideoPlayer();
        QVERIFY(w.document.selectedSubtitleIndexes().isEmpty());
    }

    void timeCommandsNeedOneRowAndAVideo()
    {
        Window w(3);
        w.document.setSelectedSubtitleIndexes(IndexSet(0));
        QVERIFY(!w.document.canSetSubtitleTimeFromVideoPlayer()); // no video
        w.loadVideo();
        QTRY_VERIFY(w.document.player());
        QVERIFY(w.document.canSetSubtitleTimeFromVideoPlayer());
        w.document.setSelectedSubtitleIndexes(IndexSet{0, 1});
        QVERIFY(!w.document.canSetSubtitleTimeFromVideoPlayer());
        w.fakePlayer->jumpTo(7); // between the first and the second subtitle
        QVERIFY(!w.document.canEditDisplayedSubtitle());
        w.fakePlayer->jumpTo(12);
        QVERIFY(w.document.canEditDisplayedSubtitle());
    }

    void restoresASelectedIndexOnlyWhenItExists()
    {
        Window w(5);
        w.document.restoreState({{"selectedIndex", 7}});
        QVERIFY(w.document.selectedSubtitleIndexes().isEmpty());
        w.document.restoreState({{"selectedIndex", 4}});
        QCOMPARE(w.document.selectedSubtitleIndexes(), IndexSet(4));
        QCOMPARE(w.document.restorableState().value("selectedIndex").toInt(), 4);
    }

    void aFailedReadKeepsTheList()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("bad.srt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("2\n00:00:01,000 --> 00:00:02,000\nA\n");
        file.close();
        Window w(3);
        const auto error = w.document.read(file.fileName());
        QVERIFY(error);
        QCOMPARE(*error, QStringLiteral("Error at line 0.\nInvalid index."));
        QCOMPARE(w.document.subtitleController().count(), 3);
    }
};

QTEST_MAIN(tst_Document)
#include "tst_document.moc"
