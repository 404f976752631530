#include "TimelineFixture.h"


#include <QKeyEvent>
#include <QRegularExpression>

// Blocks A [2, 4] at x 60..120 and B [6, 8] at x 180..240, 30 points per second.
class TestTimelineDrag : public QObject
{
    Q_OBJECT

private slots:
    void endEdgeSnapping_data();
    void endEdgeSnapping();
    void startSnapRefusedWhenItWouldOverlap_data();
    void startSnapRefusedWhenItWouldOverlap();
    void edgeLimits_data();
    void edgeLimits();
    void gapDragKeepsBothBlocks_data();
    void gapDragKeepsBothBlocks();
    void selectionMovesAsOneUndoStep();
    void draggingUnselectedBlockSelectsIt();
    void escapeCancelsDrag();
    void changeOfTheListCancelsDrag_data();
    void changeOfTheListCancelsDrag();
    void picturesOfDrag();

private:
    // Pointer positions from `from` to `to` in steps of at most 10 points.
    static QList<QPointF> path(double from, double to, double y = TimelineFixture::rowY);
};

QList<QPointF> TestTimelineDrag::path(double from, double to, double y)
{
    QList<QPointF> points;
    const int steps = std::max(1, int(std::ceil(std::fabs(to - from) / 10)));
    for (int i = 1; i <= steps; ++i)
        points.append(QPointF(from + (to - from) * i / steps, y));
    return points;
}

void TestTimelineDrag::endEdgeSnapping_data()
{
    QTest::addColumn<double>("cursorTime");
    QTest::addColumn<double>("toX");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<double>("end");
    QTest::addColumn<bool>("snapped");
    // The end edge is grabbed at x 117, 3 points inside it.
    QTest::newRow("snaps to the playback cursor") << 5.0 << 145.0 << false << 5.0 << true;
    QTest::newRow("cursor wins over the neighbour") << 5.88 << 172.0 << false << 5.88 << true;
    QTest::newRow("neighbour, leaving two frames") << 50.0 << 172.0 << false << 5.92 << true;
    QTest::newRow("not yet within 10 points of the neighbour") << 50.0 << 162.0 << false << 4.0 + 45 / 30.0 << false;
    QTest::newRow("ctrl switches snapping off") << 5.0 << 145.0 << true << 4.92 << false;
    QTest::newRow("free drag lands on a frame") << 50.0 << 140.0 << false << 4.76 << false;
}

void TestTimelineDrag::endEdgeSnapping()
{
    QFETCH(double, cursorTime);
    QFETCH(double, toX);
    QFETCH(bool, ctrl);
    QFETCH(double, end);
    QFETCH(bool, snapped);
    TimelineFixture f({{2, 4}, {6, 8}});
    f.document.subtitleController().setFrameRate(25);
    f.timeline->setCurrentTime(cursorTime);
    const SubtitlePtr a = f.at(0);

    f.drag(QPointF(117, TimelineFixture::rowY), path(117, toX), ctrl ? Qt::ControlModifier : Qt::NoModifier,
           false);
    QCOMPARE(f.timeline->snapGuideTime().has_value(), snapped);
    f.send(QEvent::MouseButtonRelease, QPointF(toX, TimelineFixture::rowY), Qt::NoButton);
    if (!snapped)
        end = std::round(end * 25) / 25;
    QCOMPARE(a->end, end);
    QCOMPARE(a->start, 2.0);
    QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0}));
    QCOMPARE(f.timeline->blockRect(a)->width(), (end - 2) * 30);

    f.endTurn();
    QCOMPARE(f.document.undoManager().undoActionName(), QStringLiteral("Change End Time"));
    f.document.undoManager().undo();
    QCOMPARE(a->end, 4.0);
}

void TestTimelineDrag::startSnapRefusedWhenItWouldOverlap_data()
{
    QTest::addColumn<bool>("blockAfterNeighbour");
    QTest::addColumn<double>("start");
    // Moving A so that its start is 0.4 points before B's end plus the gap (1/12 s
    // without a video): the snap would put A on top of C [9.5, 12] when C is there.
    QTest::newRow("free space: snaps") << false << 8.0 + 1 / 12.0;
    QTest::newRow("snap would overlap: follows the pointer") << true << 2.0 + 182 / 30.0;
}

void TestTimelineDrag::startSnapRefusedWhenItWouldOverlap()
{
    QFETCH(bool, blockAfterNeighbour);
    QFETCH(double, start);
    QList<std::pair<double, double>> times{{2, 4}, {6, 8}};
    if (blockAfterNeighbour)
        times.append({9.5, 12});
    TimelineFixture f(times);
    f.timeline->setCurrentTime(50);
    const SubtitlePtr a = f.at(0);
    f.drag(QPointF(90, TimelineFixture::rowY), path(90, 272));
    QCOMPARE(a->start, start);
    QCOMPARE(a->end, start + 2);
}

void TestTimelineDrag::edgeLimits_data()
{
    QTest::addColumn<double>("grabX");
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    // The half second holds before frame alignment; 3.5 and 2.5 lie halfway between frames.
    QTest::newRow("start stops half a second before the end") << 63.0 << 150.0 << 3.52 << 4.0;
    QTest::newRow("start stops at 0") << 63.0 << -150.0 << 0.0 << 4.0;
    QTest::newRow("start lands on a frame") << 63.0 << 11.0 << 2.36 << 4.0;
    QTest::newRow("end stops half a second after the start") << 117.0 << -150.0 << 2.0 << 2.52;
    QTest::newRow("block stops at 0") << 90.0 << -150.0 << 0.0 << 2.0;
}

void TestTimelineDrag::edgeLimits()
{
    QFETCH(double, grabX);
    QFETCH(double, dx);
    QFETCH(double, start);
    QFETCH(double, end);
    TimelineFixture f({{2, 4}, {6, 8}});
    f.document.subtitleController().setFrameRate(25);
    f.timeline->setCurrentTime(50);
    const SubtitlePtr a = f.at(0);
    f.drag(QPointF(grabX, TimelineFixture::rowY), path(grabX, grabX + dx));
    QCOMPARE(a->start, start);
    QCOMPARE(a->end, end);
}

void TestTimelineDrag::gapDragKeepsBothBlocks_data()
{
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("leftEnd");
    QTest::addColumn<double>("rightStart");
    QTest::newRow("a little to the right") << 15.0 << 4.5 << 6.5;
    QTest::newRow("far right: the right block keeps half a second") << 300.0 << 7.5 << 9.5;
    QTest::newRow("far left: the left block keeps half a second") << -300.0 << 2.5 << 4.5;
}

void TestTimelineDrag::gapDragKeepsBothBlocks()
{
    QFETCH(double, dx);
    QFETCH(double, leftEnd);
    QFETCH(double, rightStart);
    TimelineFixture f({{2, 4}, {6, 10}});
    const SubtitlePtr a = f.at(0);
    const SubtitlePtr b = f.at(1);
    f.hover(QPointF(150, TimelineFixture::rowY));
    QCOMPARE(f.strip()->cursor().shape(), Qt::SplitHCursor);
    f.drag(QPointF(150, TimelineFixture::rowY), path(150, 150 + dx));
    QCOMPARE(a->end, leftEnd);
    QCOMPARE(b->start, rightStart);
    QCOMPARE(a->start, 2.0);
    QCOMPARE(b->end, 10.0);
    QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1}));
    f.endTurn();
    f.document.undoManager().undo();
    QCOMPARE(a->end, 4.0);
    QCOMPARE(b->start, 6.0);
}

void TestTimelineDrag::selectionMovesAsOneUndoStep()
{
    // D lies far out of view and moves with the others.
    TimelineFixture f({{2, 4}, {6, 8}, {10, 11}, {100, 102}});
    f.timeline->setCurrentTime(50);
    const SubtitleList subtitles = f.document.subtitleController().subtitles();
    f.document.setSelectedSubtitleIndexes(IndexSet({0, 1, 3}));
    f.timeline->scrollToOffset(0);
    f.endTurn();
    QVERIFY(!f.timeline->blockRect(subtitles[3]));

    f.drag(QPointF(90, TimelineFixture::rowY), path(90, -110)); // 200 points left; A stops at 0
    const QList<std::pair<double, double>> moved{{0, 2}, {4, 6}, {10, 11}, {98, 100}};
    const QList<std::pair<double, double>> before{{2, 4}, {6, 8}, {10, 11}, {100, 102}};
    const auto times = [&subtitles] {
        QList<std::pair<double, double>> result;
        for (const SubtitlePtr &s : subtitles)
            result.append({s->start, s->end});
        return result;
    };
    QCOMPARE(times(), moved);
    QVERIFY(!f.timeline->blockRect(subtitles[3])); // no block left behind for it
    f.endTurn();

    UndoManager &undo = f.document.undoManager();
    QCOMPARE(undo.undoActionName(), QStringLiteral("Move Subtitles"));
    undo.undo();
    QCOMPARE(times(), before);
    QVERIFY(!undo.canUndo());
    undo.redo();
    QCOMPARE(times(), moved);
    // Undo and redo select the moved subtitles again, and the document shows the last one.
    QVERIFY(f.timeline->blockRect(subtitles[3]));
}

void TestTimelineDrag::draggingUnselectedBlockSelectsIt()
{
    TimelineFixture f({{2, 4}, {6, 8}});
    f.timeline->setCurrentTime(50);
    f.document.setSelectedSubtitleIndexes(IndexSet({0}));
    f.drag(QPointF(210, TimelineFixture::rowY), path(210, 240));
    QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({1}));
    QCOMPARE(f.at(0)->start, 2.0);
    QCOMPARE(f.at(1)->start, 7.0);
}

void TestTimelineDrag::escapeCancelsDrag()
{
    TimelineFixture f({{2, 4}, {6, 8}});
    f.timeline->setCurrentTime(50);
    const SubtitlePtr a = f.at(0);
    f.drag(QPointF(90, TimelineFixture::rowY), path(90, 150), Qt::NoModifier, false);
    QVERIFY(a->start > 3.5); // moved (and snapped to B)
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(f.strip(), &escape);
    QCOMPARE(a->start, 2.0);
    QCOMPARE(a->end, 4.0);
    QCOMPARE(f.timeline->blockRect(a)->left(), 60.0);
    QVERIFY(!f.timeline->isManipulatingSelection());
    f.send(QEvent::MouseButtonRelease, QPointF(150, TimelineFixture::rowY), Qt::NoButton);
    f.endTurn();
    QCOMPARE(a->start, 2.0);
    QVERIFY(!f.document.undoManager().canUndo());
}

void TestTimelineDrag::changeOfTheListCancelsDrag_data()
{
    // What happens to the list while A is held mid-drag, as the list, the menus and the
    // panels do it; and the list that undoing everything must give back.
    QTest::addColumn<QString>("change");
    QTest::newRow("the dragged subtitle deleted") << "delete";
    QTest::newRow("undo of the dragged subtitle's creation") << "undo";
    QTest::newRow("redo") << "redo";
    QTest::newRow("paste") << "paste";
    QTest::newRow("the other subtitle's text edited") << "edit";
    QTest::newRow("the dragged subtitle's start edited") << "start";
}

void TestTimelineDrag::changeOfTheListCancelsDrag()
{
    QFETCH(QString, change);
    // A release build warns where a debug build would stop.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^Unexpected")));
    TimelineFixture f({{6, 8}});
    f.timeline->setCurrentTime(50);
    SubtitleController &controller = f.document.subtitleController();
    UndoManager &undo = f.document.undoManager();
    const auto describe = [&controller] {
        QStringList parts;
        for (const SubtitlePtr &s : controller.subtitles())
            parts << QStringLiteral("%1@%2-%3").arg(s->text).arg(s->start).arg(s->end);
        return parts.join(u' ');
    };
    const QString original = describe();
    // A [2, 4] is made by an undoable insertion, as Add Subtitle does.
    controller.insertInTimeOrder({std::make_shared<Subtitle>(QStringLiteral("A"), 2, 4)});
    f.endTurn();
    if (change == QLatin1String("redo")) {
        controller.setText(QStringLiteral("B"), 1);
        f.endTurn();
        undo.undo();
    }
    const SubtitlePtr a = f.at(0);
    const QString beforeDrag = describe();

    f.drag(QPointF(90, TimelineFixture::rowY), path(90, 120), Qt::NoModifier, false);
    QVERIFY(a->start > 2.5);
    if (change == QLatin1String("delete"))
        controller.removeSubtitles({a}, IndexSet(0));
    else if (change == QLatin1String("undo"))
        undo.undo();
    else if (change == QLatin1String("redo"))
        undo.redo();
    else if (change == QLatin1String("paste"))
        controller.insertInTimeOrder({std::make_shared<Subtitle>(QStringLiteral("P"), 3, 5)});
    else if (change == QLatin1String("edit"))
        controller.setText(QStringLiteral("B"), 1);
    else
        controller.setStart(controller.indexOf(a), 1);
    // The pointer goes on moving and is let go: the drag is over and changes nothing.
    f.send(QEvent::MouseMove, QPointF(140, TimelineFixture::rowY), Qt::LeftButton);
    f.send(QEvent::MouseButtonRelease, QPointF(140, TimelineFixture::rowY), Qt::NoButton);
    f.endTurn();
    QVERIFY(!f.timeline->isManipulatingSelection());
    const SubtitleList &list = controller.subtitles();
    QVERIFY(std::is_sorted(list.cbegin(), list.cend(), [](const SubtitlePtr &x, const SubtitlePtr &y) { return *x < *y; }));
    // A kept or got back its own times: the drag's times never reach the history.
    if (change != QLatin1String("start"))
        QCOMPARE(std::make_pair(a->start, a->end), std::make_pair(2.0, 4.0));

    // One history, with the change as its last step.
    if (undo.canUndo())
        undo.undo();
    QCOMPARE(describe(), change == QLatin1String("undo") ? original : beforeDrag);
    while (undo.canUndo())
        undo.undo();
    QCOMPARE(describe(), original);
}

// Pictures for a person to look at: set CUEWRIGHT_SCREENSHOT_DIR to keep them.
void TestTimelineDrag::picturesOfDrag()
{
    TimelineFixture f({{1, 3.5}, {4, 6.2}, {7, 7.6}, {9, 12}, {13, 13.3}});
    f.at(1)->text = QStringLiteral("A longer subtitle that wraps onto a second line and then is cut off at the end");
    f.document.subtitleController().setText(f.at(1)->text, 1);
    f.document.setSelectedSubtitleIndexes(IndexSet({3}));
    f.timeline->setFrameRate(25);
    f.timeline->setCurrentTime(8.3);
    f.timeline->resize(900, 150);
    QApplication::processEvents();
    const QString dir = qEnvironmentVariable("CUEWRIGHT_SCREENSHOT_DIR");
    const auto shoot = [&](const QString &name) {
        const QImage image = f.timeline->grab().toImage();
        QCOMPARE(image.width(), 900);
        if (!dir.isEmpty())
            QVERIFY(image.save(dir + QLatin1Char('/') + name));
    };
    shoot(QStringLiteral("timeline-zoom1.png"));
    f.drag(QPointF(300, TimelineFixture::rowY), path(300, 340), Qt::NoModifier, false); // B's middle
    shoot(QStringLiteral("timeline-zoom1-dragging.png"));
    f.send(QEvent::MouseButtonRelease, QPointF(340, TimelineFixture::rowY), Qt::NoButton);
    f.timeline->zoomAbout(5, 0);
    f.timeline->scrollToOffset(1000);
    QApplication::processEvents();
    shoot(QStringLiteral("timeline-zoom5.png"));
}

QTEST_MAIN(TestTimelineDrag)
#include "tst_timelinedrag.moc"
