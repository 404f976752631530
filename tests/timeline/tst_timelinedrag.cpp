#include "SubtitleText.h"
#include "TimelineFixture.h"

#include "document/TextEncoding.h"
#include "timeline/NeighbourSnapProvider.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QTemporaryDir>

// A drag of A [2, 4] (x 60..120) grabbed at grabX (63: its start edge, 90: its middle,
// 117: its end edge) and let go at toX, beside B [6, 8] (x 180..240) and maybe C [9.5, 12],
// maybe with a shot change, a stretch of speech and a word known to be spoken.
struct SnapCase
{
    double grabX, toX, cursorTime;
    bool blockAfterNeighbour, ctrl;
    double start, end;
    bool snapped;
    double shotChange = -1; // none when negative
    SpeechStretch speech{};   // none when empty
    SpokenWord word{};        // none when empty
};
Q_DECLARE_METATYPE(SnapCase)

// Pointer positions from `from` to `to` along the block row in steps of at most 10 points.
static QList<QPointF> path(double from, double to)
{
    QList<QPointF> points;
    const int steps = std::max(1, int(std::ceil(std::fabs(to - from) / 10)));
    for (int i = 1; i <= steps; ++i)
        points.append(QPointF(from + (to - from) * i / steps, TimelineFixture::rowY));
    return points;
}

// Blocks A [2, 4] at x 60..120 and B [6, 8] at x 180..240, 30 points per second.
class tst_TimelineDrag : public QObject
{
    Q_OBJECT

private slots:
    // A block whose start snaps the gap after one neighbour and whose end then touches the next
    // still snaps: blocks that only touch do not overlap.
    void aBlockThatJustFitsSnapsBetweenItsNeighbours()
    {
        const NeighbourSnapProvider provider({Subtitle::create(QString(), 0, 1), Subtitle::create(QString(), 3, 4)}, 0.5);
        QList<double> times;
        provider.offer({SnapProvider::Edge::Start, 1, 2, 1.5}, times); // its end then touches the next
        QCOMPARE(times, QList<double>{1.5});
    }

    void snapping_data()
    {
        QTest::addColumn<SnapCase>("c");
        // Snapping reaches 10 points; without a video two frames are 1/12 s.
        QTest::newRow("end to the cursor, 10 points away") << SnapCase{117, 137, 5, false, false, 2, 5, true};
        QTest::newRow("end 10.5 points from the cursor stays") << SnapCase{117, 136.5, 5, false, false, 2, 4.65, false};
        QTest::newRow("end before the neighbour, 9.5 points away")
            << SnapCase{117, 165, 50, false, false, 2, 6 - 1 / 12.0, true};
        QTest::newRow("end near the cursor snaps at the first step") << SnapCase{117, 123, 4.2, false, false, 2, 4.2, true};
        // The end lands 3 points right of the pointer: at 175 here.
        QTest::newRow("the cursor wins over a nearer neighbour")
            << SnapCase{117, 172, 5.7, false, false, 2, 5.7, true};
        QTest::newRow("ctrl switches snapping off") << SnapCase{117, 145, 5, false, true, 2, 4 + 28 / 30.0, false, 5};
        // An end snaps two frames (of the profile's 24 fps without a video) before a cut.
        QTest::newRow("end to two frames before a shot change") << SnapCase{117, 137, 50, false, false, 2, 5 - 1 / 12.0, true, 5};
        QTest::newRow("start to a shot change") << SnapCase{63, 41, 50, false, false, 1, 4, true, 1};
        QTest::newRow("the cursor wins over a nearer shot change")
            << SnapCase{117, 172, 5.7, false, false, 2, 5.7, true, 5.8};
        QTest::newRow("a shot change wins over a nearer neighbour")
            << SnapCase{117, 172, 50, false, false, 2, 135 / 24.0, true, 5.7}; // frame 137 less 2
        // A start snaps to where speech begins and an end to where it stops, not to the
        // nearer other edge; shot changes come first, neighbours after.
        QTest::newRow("start to a speech onset")
            << SnapCase{63, 41, 50, false, false, 1, 4, true, -1, {1.0, 1.3}};
        QTest::newRow("end to a speech offset") << SnapCase{117, 137, 50, false, false, 2, 5, true, -1, {4.7, 5.0}};
        QTest::newRow("a shot change wins over nearer speech")
            << SnapCase{117, 137, 50, false, false, 2, 5 - 1 / 12.0, true, 5, {4.5, 4.7}};
        QTest::newRow("a word's end wins over a nearer speech offset")
            << SnapCase{117, 137, 50, false, false, 2, 4.8, true, -1, {4.0, 4.7}, {"word", 4.2, 4.8}};
        QTest::newRow("speech wins over a nearer neighbour")
            << SnapCase{117, 172, 50, false, false, 2, 5.6, true, -1, {5.0, 5.6}};
        QTest::newRow("start to the cursor, 10 points away") << SnapCase{63, 43, 1, false, false, 1, 4, true};
        QTest::newRow("moved block's start after the neighbour")
            << SnapCase{90, 272, 50, false, false, 8 + 1 / 12.0, 10 + 1 / 12.0, true};
        QTest::newRow("no snap that would overlap the next block")
            << SnapCase{90, 272, 50, true, false, 2 + 182 / 30.0, 4 + 182 / 30.0, false};
        QTest::newRow("no snap that would start before 0") << SnapCase{90, 5, 1, false, false, 0, 2, false};
        QTest::newRow("moved block's end before the neighbour")
            << SnapCase{90, 150, 50, false, false, 4 - 1 / 12.0, 6 - 1 / 12.0, true};
    }

    void snapping()
    {
        QFETCH(SnapCase, c);
        Times times{{2, 4}, {6, 8}};
        if (c.blockAfterNeighbour)
            times.append({9.5, 12});
        TimelineFixture f(times);
        f.timeline->setCurrentTime(c.cursorTime);
        if (c.shotChange >= 0)
            f.media.addFoundShotChanges({c.shotChange});
        f.media.setSpeech(SpeechStretches({c.speech}));
        if (c.word.end > 0)
            f.media.addWordTimings({{QStringLiteral("A word"), {c.word}}});
        const SubtitlePtr a = f.at(0);
        // B selected: pressing on A must make A alone the selection, so B stays put.
        f.document.setSelectedSubtitleIndexes(IndexSet({1}));
        const int y = TimelineFixture::rowY;
        // A first step just past the drag threshold, as a hand makes; the next must not
        // count it again.
        f.drag(QPointF(c.grabX, y), {QPointF(c.grabX + 4, y), QPointF(c.toX, y)},
               c.ctrl ? Qt::ControlModifier : Qt::NoModifier, false);
        QCOMPARE(f.timeline->snapGuideTime().has_value(), c.snapped);
        f.send(QEvent::MouseButtonRelease, QPointF(c.toX, y), Qt::NoButton);
        QCOMPARE(a->start, c.start);
        QCOMPARE(a->end, c.end);
        QCOMPARE(f.timeline->selectedSubtitles(), SubtitleList({a}));
    }

    void snapGuideIsDrawnAtTheSnappedEdge()
    {
        // "End before the neighbour" twenty seconds on, scrolled so that the view shows the
        // same points: the guide must be drawn where the edge is on screen.
        TimelineFixture f({{22, 24}, {26, 28}, {60, 62}}); // the last one makes room to scroll
        f.timeline->setCurrentTime(70);
        f.timeline->scrollToOffset(600);
        const int y = TimelineFixture::rowY;
        f.drag(QPointF(117, y), {QPointF(121, y), QPointF(165, y)}, Qt::NoModifier, false);
        QCOMPARE(f.timeline->snapGuideTime(), std::optional(26 - 1 / 12.0));
        const QImage image = f.strip()->grab().toImage();
        const auto isGuide = [&](int x, int y) {
            const QColor c = image.pixelColor(x, y);
            return std::abs(c.red() - 255) < 12 && std::abs(c.green() - 153) < 12 && std::abs(c.blue() - 77) < 12;
        };
        // Two columns at x 177.5, from the ruler's foot to the bottom, beside the dragged
        // block's rounded corners (the only other orange there).
        const int top = TimelineViewController::rulerHeight;
        const int bottom = image.height() - 1;
        for (int x : {177, 178})
            QVERIFY2(isGuide(x, top) && isGuide(x, bottom), qPrintable(QString::number(x)));
        QVERIFY(!isGuide(175, top) && !isGuide(180, top) && !isGuide(177, top - 2));
        f.send(QEvent::MouseButtonRelease, QPointF(165, y), Qt::NoButton);
    }

    void edgeLimits_data()
    {
        QTest::addColumn<double>("grabX"); // 63: A's start edge, 117: its end edge, 90: its middle
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        // The half second holds before frame alignment; 3.5 and 2.5 lie halfway between frames.
        QTest::newRow("start stops half a second before the end") << 63.0 << 150.0 << 3.52 << 4.0;
        QTest::newRow("start stops at 0") << 63.0 << -150.0 << 0.0 << 4.0;
        QTest::newRow("start lands on a frame") << 63.0 << 11.0 << 2.36 << 4.0;
        QTest::newRow("end stops half a second after the start") << 117.0 << -150.0 << 2.0 << 2.52;
        QTest::newRow("end lands on a frame") << 117.0 << 23.0 << 2.0 << 4.76;
        QTest::newRow("block stops at 0") << 90.0 << -150.0 << 0.0 << 2.0;
    }

    void edgeLimits()
    {
        QFETCH(double, grabX);
        QFETCH(double, dx);
        QFETCH(double, start);
        QFETCH(double, end);
        TimelineFixture f({{2, 4}, {6, 8}});
        f.document.setFrameRate(25);
        f.timeline->setCurrentTime(50);
        f.drag(QPointF(grabX, TimelineFixture::rowY), path(grabX, grabX + dx));
        QCOMPARE(f.times().first(), std::make_pair(start, end));
        f.endTurn();
        QCOMPARE(f.document.undoManager().undoActionName(),
                 QString(grabX == 63 ? "Change Start Time" : grabX == 117 ? "Change End Time" : "Move Subtitle"));
    }

    void gapDragKeepsBothBlocks_data()
    {
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("leftEnd");
        QTest::addColumn<double>("rightStart");
        QTest::newRow("a little to the right") << 15.0 << 4.5 << 6.5;
        QTest::newRow("far right: the right block keeps half a second") << 300.0 << 7.5 << 9.5;
        QTest::newRow("far left: the left block keeps half a second") << -300.0 << 2.5 << 4.5;
    }

    void gapDragKeepsBothBlocks()
    {
        QFETCH(double, dx);
        QFETCH(double, leftEnd);
        QFETCH(double, rightStart);
        TimelineFixture f({{2, 4}, {6, 10}});
        f.drag(QPointF(150, TimelineFixture::rowY), path(150, 150 + dx));
        QCOMPARE(f.times(), (Times{{2, leftEnd}, {rightStart, 10}}));
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1}));
        f.endTurn();
        f.document.undoManager().undo();
        QCOMPARE(f.times(), (Times{{2, 4}, {6, 10}}));
    }

    void selectionMovesAsOneUndoStep()
    {
        // D lies far out of view and moves with the others.
        const Times before{{2, 4}, {6, 8}, {10, 11}, {100, 102}};
        const Times moved{{0, 2}, {4, 6}, {10, 11}, {98, 100}};
        TimelineFixture f(before);
        f.timeline->setCurrentTime(50);
        const SubtitlePtr d = f.at(3);
        f.document.setSelectedSubtitleIndexes(IndexSet({0, 1, 3}));
        f.timeline->scrollToOffset(0);
        f.endTurn();
        QVERIFY(!f.timeline->blockRect(d));

        f.drag(QPointF(90, TimelineFixture::rowY), path(90, -110)); // 200 points left; A stops at 0
        QCOMPARE(f.times(), moved);
        QVERIFY(!f.timeline->blockRect(d)); // no block left behind for it
        f.endTurn();

        UndoManager &undo = f.document.undoManager();
        QCOMPARE(undo.undoActionName(), QStringLiteral("Move Subtitles"));
        undo.undo();
        QCOMPARE(f.times(), before);
        QVERIFY(!undo.canUndo());
        undo.redo();
        QCOMPARE(f.times(), moved);
        // Undo and redo select the moved subtitles again, and the document shows the last one.
        QVERIFY(f.timeline->blockRect(d));
    }

    void changeOfTheListCancelsDrag_data()
    {
        // What happens to the list while A is held mid-drag, as the list, the menus, the
        // panels and a reload of the file do it; and the list that undoing everything must
        // give back.
        QTest::addColumn<QString>("change");
        QTest::newRow("Escape, no change at all") << "escape";
        QTest::newRow("the dragged subtitle deleted") << "delete";
        QTest::newRow("undo of the dragged subtitle's creation") << "undo";
        QTest::newRow("paste") << "paste";
        QTest::newRow("the other subtitle's text edited") << "edit";
        QTest::newRow("the dragged subtitle's start edited") << "start";
        QTest::newRow("the file read again") << "reload";
    }

    void changeOfTheListCancelsDrag()
    {
        QFETCH(QString, change);
        // A release build warns where a debug build would stop.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^Unexpected")));
        TimelineFixture f({{6, 8}});
        f.timeline->setCurrentTime(50);
        SubtitleController &controller = f.document.subtitleController();
        UndoManager &undo = f.document.undoManager();
        const auto describe = [&controller] { return describeSubtitles(controller.subtitles()); };
        const QString original = describe();
        // A [2, 4] is made by an undoable insertion, as Add Subtitle does.
        controller.insertInTimeOrder({Subtitle::create(QStringLiteral("A"), 2, 4)});
        f.endTurn();
        const SubtitlePtr a = f.at(0);
        const QString beforeDrag = describe();
        const QList<QualityCheck::Problems> problems{f.document.problemIndex().problems(0),
                                                    f.document.problemIndex().problems(1)};
        QTemporaryDir folder;
        const QString saved = folder.filePath(QStringLiteral("saved.srt"));
        QVERIFY(f.document.write(saved));

        // A is held over the other block, where letting go would make them overlap.
        f.drag(QPointF(90, TimelineFixture::rowY), path(90, 190), Qt::NoModifier, false);
        // The blocks show the drag...
        QCOMPARE(f.timeline->blockRect(a)->left(), 160.0);
        const QImage image = f.strip()->grab().toImage();
        const QColor background = f.strip()->palette().color(QPalette::AlternateBase); // the text lane, bare
        const int top = TimelineViewController::rulerHeight + 8;
        QCOMPARE(image.pixelColor(90, top), background);
        QVERIFY(image.pixelColor(170, top) != background);
        // ...while everything that reads the document (a save writes these very subtitles)
        // sees the times last committed.
        QCOMPARE(describe(), beforeDrag);
        QCOMPARE(f.document.problemIndex().problems(0), problems[0]);
        QCOMPARE(f.document.problemIndex().problems(1), problems[1]);

        if (change == QLatin1String("escape")) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(f.strip(), &escape);
        } else if (change == QLatin1String("delete"))
            controller.removeSubtitles({a}, IndexSet(0));
        else if (change == QLatin1String("undo"))
            undo.undo();
        else if (change == QLatin1String("paste"))
            controller.insertInTimeOrder({Subtitle::create(QStringLiteral("P"), 3, 5)});
        else if (change == QLatin1String("edit"))
            controller.setText(QStringLiteral("B"), 1);
        else if (change == QLatin1String("start"))
            controller.setStart(controller.indexOf(a), 1);
        else
            QVERIFY(f.document.read(saved, TextEncoding::Automatic, SubtitleFile::Reading::Strict, nullptr,
                                     Document::ReadMode::Undoable));
        QVERIFY(!f.timeline->subtitleDrag());
        // The pointer goes on moving and is let go: the drag is over and changes nothing.
        f.send(QEvent::MouseMove, QPointF(140, TimelineFixture::rowY), Qt::LeftButton);
        f.send(QEvent::MouseButtonRelease, QPointF(140, TimelineFixture::rowY), Qt::NoButton);
        f.endTurn();
        QVERIFY(!f.timeline->isManipulatingSelection());
        const SubtitleList &list = controller.subtitles();
        QVERIFY(std::is_sorted(list.cbegin(), list.cend(), [](const SubtitlePtr &x, const SubtitlePtr &y) { return *x < *y; }));
        // The drag's times never reach the list nor the history.
        if (change != QLatin1String("start"))
            QCOMPARE(std::make_pair(a->start, a->end), std::make_pair(2.0, 4.0));

        // One history, with the change as its last step.
        if (change != QLatin1String("escape") && undo.canUndo())
            undo.undo();
        QCOMPARE(describe(), change == QLatin1String("undo") ? original : beforeDrag);
        while (undo.canUndo())
            undo.undo();
        QCOMPARE(describe(), original);
    }
};

QTEST_MAIN(tst_TimelineDrag)
#include "tst_timelinedrag.moc"
