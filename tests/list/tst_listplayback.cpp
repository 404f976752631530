// The list with a (fake) video loaded: playback keys reach the player, editing from the
// player pauses and resumes it, and adding takes the playback position.
#include "app/DocumentPanes.h"
#include "document/Document.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"
#include "player/VideoPlayerViewController.h"

#include "FakePlayer.h"

#include <QtTest>

#include <memory>

class TestListPlayback : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void playbackKeysReachThePlayer();
    void editingFromThePlayerPausesAndResumes_data();
    void editingFromThePlayerPausesAndResumes();
    void addTakesThePlaybackPosition();

private:
    SubtitlesTableView *view() const { return m_list->tableView(); }

    std::unique_ptr<Document> m_document;
    // The panes as a window wires them.
    std::unique_ptr<QWidget> m_root;
    VideoPlayerViewController *m_video = nullptr;
    SubtitlesTableViewController *m_list = nullptr;
    QPointer<FakePlayer> m_player;
};

void TestListPlayback::init()
{
    m_document = std::make_unique<Document>();
    SubtitleController &controller = m_document->subtitleController();
    m_document->attachController();
    SubtitleList subtitles;
    for (int i = 0; i < 5; ++i)
        subtitles.append(std::make_shared<Subtitle>(QStringLiteral("Line %1").arg(i + 1), 2.0 * i, 2.0 * i + 1.5));
    controller.setSubtitles(subtitles);

    m_root = std::make_unique<QWidget>();
    auto *panes = new DocumentPanes(m_document.get(), m_root.get());
    m_video = panes->player();
    m_list = panes->table();
    m_video->setPlayerFactory([this](const QString &) {
        auto player = std::make_unique<FakePlayer>();
        player->setDuration(60);
        player->setFrameRate(25);
        m_player = player.get();
        return player;
    });
    m_video->loadVideo(QStringLiteral("movie.mp4"));
    QVERIFY(m_player);

    m_root->resize(900, 600);
    m_root->show();
    m_root->activateWindow();
    view()->setFocus();
}

void TestListPlayback::cleanup()
{
    m_root.reset();
    m_document.reset();
}

void TestListPlayback::playbackKeysReachThePlayer()
{
    m_player->jumpTo(10);
    QTest::keyClick(view(), Qt::Key_Space);
    QCOMPARE(m_player->rate(), 1.0);
    QTest::keyClick(view(), Qt::Key_Space);
    QCOMPARE(m_player->rate(), 0.0);

    QTest::keyClick(view(), Qt::Key_L);
    QCOMPARE(m_player->rate(), 1.0);
    QTest::keyClick(view(), Qt::Key_L);
    QCOMPARE(m_player->rate(), 2.0);
    QTest::keyClick(view(), Qt::Key_K);
    QCOMPARE(m_player->rate(), 0.0);
    QTest::keyClick(view(), Qt::Key_J);
    QVERIFY(m_player->rate() < 0);
    QTest::keyClick(view(), Qt::Key_K);

    // The arrows step frames and leave the selection where it is; Down still moves it.
    m_document->setSelectedSubtitleIndexes(IndexSet(1));
    QTest::keyClick(view(), Qt::Key_Right);
    QTest::keyClick(view(), Qt::Key_Left);
    QCOMPARE(m_player->log().filter(QStringLiteral("step")), QStringList({"step 1", "step -1"}));
    QTest::keyClick(view(), Qt::Key_Down);
    QCOMPARE(m_document->selectedSubtitleIndexes(), IndexSet(2));
}

void TestListPlayback::editingFromThePlayerPausesAndResumes_data()
{
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("endKey");
    QTest::newRow("while playing, Return: resumes after") << true << int(Qt::Key_Return);
    QTest::newRow("while playing, Escape: stays paused") << true << int(Qt::Key_Escape);
    QTest::newRow("while paused: stays paused") << false << int(Qt::Key_Return);
}

void TestListPlayback::editingFromThePlayerPausesAndResumes()
{
    QFETCH(bool, playing);
    QFETCH(int, endKey);
    const bool confirmed = endKey == Qt::Key_Return;
    if (playing)
        m_player->play();
    m_list->editSubtitle(3);
    QCOMPARE(m_player->rate(), 0.0);
    QCOMPARE(m_document->selectedSubtitleIndexes(), IndexSet(3));
    QWidget *editor = view()->indexWidget(m_list->model()->index(3, SubtitleTableModel::TextColumn));
    QVERIFY(qobject_cast<SubtitleTextEditor *>(editor));
    QTest::keyClicks(editor, QStringLiteral(" again"));
    QTest::keyClick(editor, Qt::Key(endKey));
    QCOMPARE(m_player->rate(), playing && confirmed ? 1.0 : 0.0);
    QTRY_COMPARE(m_document->subtitleController().at(3)->text,
                 confirmed ? QStringLiteral("Line 4 again") : QStringLiteral("Line 4"));

    // Only once: a later edit does not start playback.
    m_player->pause();
    m_list->beginEditingSubtitle(1);
    QTest::keyClick(view()->indexWidget(m_list->model()->index(1, SubtitleTableModel::TextColumn)), Qt::Key_Return);
    m_list->confirmSubtitleEdit();
    QCOMPARE(m_player->rate(), 0.0);
}

void TestListPlayback::addTakesThePlaybackPosition()
{
    // Inside the third subtitle (4 s to 5.5 s): the new one follows it, two frames on.
    m_document->setSelectedSubtitleIndexes(IndexSet(0)); // seeks the paused video to 0
    m_player->jumpTo(4.7);
    m_list->addSubtitle();
    const SubtitlePtr added = m_document->subtitleController().at(3);
    QCOMPARE(added->text, QString());
    QCOMPARE(added->start, 5.6);
    QCOMPARE(added->end, 5.92);
    QCOMPARE(m_document->selectedSubtitleIndexes(), IndexSet(3));
    QVERIFY(view()->indexWidget(m_list->model()->index(3, SubtitleTableModel::TextColumn)));
}

QTEST_MAIN(TestListPlayback)
#include "tst_listplayback.moc"
