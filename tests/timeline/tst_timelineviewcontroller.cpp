#include "TimelineFixture.h"

#include "FakePlayer.h"

#include "timeline/EdgePreview.h"
#include "timeline/TimelineRuler.h"
#include "timeline/TimelineStrip.h"
#include "media/AmplitudeCompression.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QWheelEvent>

Q_DECLARE_METATYPE(Times)

struct ZoomCase
{
    bool pinch; // otherwise Ctrl and the wheel
    double pointerX, startOffset, amount, magnification, offset;
};
Q_DECLARE_METATYPE(ZoomCase)

// The first subtitle, maybe lengthened, in view or not, and the pointer's shape over the
// block row at pointerTime.
struct ViewCase
{
    Times times;
    double lengthenTo, pointerTime; // lengthenTo: the first one's end set by an edit; 0: none
    int shape;
    bool inView;
};
Q_DECLARE_METATYPE(ViewCase)

// Subtitles from 1 s to 2 s on top of one another, maybe over others: the strip shows
// what it would with only the stack's top `kept` and those below.
struct StackCase
{
    Times below;
    int stacked;
    std::optional<int> selected; // a position in the stack
    bool zoomedOut;              // blocks narrower than a mark
    int kept;
};
Q_DECLARE_METATYPE(StackCase)

// The timeline as a screen reader hears it before a key, and what the key selects after.
struct SpokenCase
{
    std::optional<double> cursor; // none: no video, the selection is spoken of
    IndexSet selected;
    QString name, description; // the description: a part of it
    Qt::Key key;
    IndexSet selectedAfter;
};
Q_DECLARE_METATYPE(SpokenCase)

class tst_TimelineViewController : public QObject
{
    Q_OBJECT

private slots:
    void zoomLimits_data()
    {
        QTest::addColumn<Times>("times");
        QTest::addColumn<double>("requested");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("fit");
        QTest::newRow("empty timeline never below 1") << Times{} << 0.2 << 1.0 << 1.0;
        // 120 s in 600 points: 5 points a second.
        QTest::newRow("long timeline zooms out until it fits") << Times{{0, 115}} << 0.01 << 1 / 6.0 << 1 / 6.0;
    }

    void zoomLimits()
    {
        QFETCH(Times, times);
        QFETCH(double, requested);
        QFETCH(double, expected);
        QFETCH(double, fit);
        TimelineFixture f(times);
        f.timeline->zoomAbout(requested, 0);
        QCOMPARE(f.timeline->magnification(), expected);
        f.timeline->fitFilm();
        QCOMPARE(f.timeline->magnification(), fit);
    }

    // A film nobody zoomed yet opens whole when short, at a zoom to time by when long; a
    // zoom the user or a restored window chose is left alone.
    void firstVideoSetsAZoomToTimeBy_data()
    {
        QTest::addColumn<double>("filmLength");
        QTest::addColumn<QVariantMap>("restored");
        QTest::addColumn<double>("chosenZoom"); // 0: none
        QTest::addColumn<double>("secondsAcross");
        QTest::newRow("a short film opens whole") << 22.0 << QVariantMap() << 0.0 << 22.0;
        QTest::newRow("a long film opens 15 s across") << 7200.0 << QVariantMap() << 0.0 << 15.0;
        QTest::newRow("the user's zoom stays") << 7200.0 << QVariantMap() << 2.0 << 10.0;
        QTest::newRow("a restored zoom stays") << 22.0 << QVariantMap{{QStringLiteral("magnification"), 2.0}} << 0.0
                                               << 10.0;
    }

    void firstVideoSetsAZoomToTimeBy()
    {
        QFETCH(double, filmLength);
        QFETCH(QVariantMap, restored);
        QFETCH(double, chosenZoom);
        QFETCH(double, secondsAcross);
        TimelineFixture f({{1, 2}});
        if (!restored.isEmpty())
            f.timeline->restoreState(restored);
        if (chosenZoom > 0)
            f.timeline->zoomAbout(chosenZoom, 0);
        f.timeline->setVideoDuration(filmLength);
        QCOMPARE(f.timeline->visibleEndTime() - f.timeline->visibleStartTime(), secondsAcross);
        f.timeline->fitFilm();
        QCOMPARE(f.timeline->visibleEndTime() - f.timeline->visibleStartTime(), filmLength);
        f.document.setSelectedSubtitleIndexes(IndexSet(0));
        f.timeline->zoomToSelection(); // 1–2 s, half a second either side
        QCOMPARE(f.timeline->visibleStartTime(), 0.5);
        QCOMPARE(f.timeline->visibleEndTime(), 2.5);
    }

    // A block's text keeps to the lane along the top: the sound under the block is never
    // covered by letters.
    void textsKeepToTheirLane()
    {
        TimelineFixture f({{1, 9}});
        f.document.subtitleController().setText(QStringLiteral("WWWWWWWW WWWWWWWW\nWWWWWWWW WWWWWWWW"), 0);
        f.document.setSelectedSubtitleIndexes({});
        const QImage image = f.strip()->grab().toImage();
        const int laneBottom = TimelineViewController::rulerHeight
                               + int(BlockPainter::textLaneHeight(f.strip()->font(), image.height()
                                                                                         - TimelineViewController::rulerHeight));
        // Letters are the only dark pixels: the box, its outline and the lane are light.
        const auto letterPixels = [&](int top, int bottom) {
            int count = 0;
            for (int y = top; y < bottom; ++y) {
                for (int x = 40; x < 260; ++x)
                    count += image.pixelColor(x, y).lightness() < 100;
            }
            return count;
        };
        QVERIFY(letterPixels(TimelineViewController::rulerHeight, laneBottom) > 0);
        QCOMPARE(letterPixels(laneBottom, image.height() - 10), 0);
    }

    // Zoomed in, the pauses between a block's known words are ticks over the sound under
    // its lane; zoomed out, where they would run together, they are not drawn.
    void wordGapsShowWhenZoomedIn()
    {
        TimelineFixture f({{2, 8}, {300, 310}}); // the second leaves room to zoom out
        f.document.setSelectedSubtitleIndexes({});
        const int laneBottom = TimelineViewController::rulerHeight
                               + int(BlockPainter::textLaneHeight(f.strip()->font(), f.strip()->height()
                                                                                         - TimelineViewController::rulerHeight));
        // A column of pixels from `top` down to the bottom, or up to the lane's bottom.
        const auto column = [&f, laneBottom](int x, int top = 0) {
            const QImage image = f.strip()->grab().toImage();
            QList<QRgb> pixels;
            for (int y = top ? top : laneBottom; y < (top ? laneBottom : image.height()); ++y)
                pixels << image.pixel(x, y);
            return pixels;
        };
        const int inLane = TimelineViewController::rulerHeight + 2;
        const QList<QRgb> pause = column(120); // 4 s, where the first word ends
        const QList<QRgb> word = column(100);
        const QList<QRgb> lane = column(120, inLane);
        f.media.addWordTimings({{QStringLiteral("Subtitle 1"), {{"subtitle", 2.5, 4.0}, {"one", 4.5, 5.3}}}});
        QVERIFY(column(120) != pause);
        QCOMPARE(column(100), word);
        QCOMPARE(column(120, inLane), lane);
        f.timeline->zoomAbout(0.1, 0); // 3 points a second, 200 s in view
        QCOMPARE(f.timeline->pointsPerSecond(), 3.0);
        QCOMPARE(column(12), column(15)); // where the first word ends, and the second, clear of the corners
    }

    void zoomKeepsPointUnderPointer_data()
    {
        QTest::addColumn<ZoomCase>("c");
        // The pinch adds its increment: content at 300 goes to 600, pointer stays at 100.
        QTest::newRow("pinch of +1") << ZoomCase{true, 100, 200, 1, 2, 500};
        QTest::newRow("pinch of +0.5 at the left edge") << ZoomCase{true, 0, 300, 0.5, 1.5, 450};
        QTest::newRow("ctrl+wheel one notch in") << ZoomCase{false, 300, 0, 120, 1.2, 60};
        QTest::newRow("ctrl+wheel one notch out") << ZoomCase{false, 300, 1200, -120, 1 / 1.2, 950};
    }

    void zoomKeepsPointUnderPointer()
    {
        QFETCH(ZoomCase, c);
        TimelineFixture f({{0, 295}}); // 300 s: 9000 points at zoom 1
        f.timeline->scrollToOffset(c.startOffset);
        const QPointF position(c.pointerX, 60);
        const QPointF global = f.strip()->mapToGlobal(position);
        if (c.pinch) {
            QNativeGestureEvent event(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, position,
                                      position, global, c.amount, QPointF());
            QApplication::sendEvent(f.strip(), &event);
        } else {
            QWheelEvent event(position, global, QPoint(), QPoint(0, int(c.amount)), Qt::NoButton, Qt::ControlModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(f.strip(), &event);
        }
        QCOMPARE(f.timeline->magnification(), c.magnification);
        QCOMPARE(f.timeline->offset(), std::round(c.offset));
    }

    // Ctrl+Shift+wheel makes the waveform taller, never past its bounds however far it turns.
    void waveformZoomStopsAtItsBounds()
    {
        TimelineFixture f({{0, 295}});
        const auto turn = [&](int notches) {
            const QPointF position(300, 60);
            for (int i = 0; i < std::abs(notches); ++i) {
                QWheelEvent event(position, f.strip()->mapToGlobal(position), QPoint(), QPoint(0, notches > 0 ? 120 : -120),
                                  Qt::NoButton, Qt::ControlModifier | Qt::ShiftModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(f.strip(), &event);
            }
        };
        turn(1);
        QVERIFY(f.timeline->waveformZoom() > 1);
        turn(100);
        QCOMPARE(f.timeline->waveformZoom(), AmplitudeCompression::maximumZoom);
        turn(-200);
        QCOMPARE(f.timeline->waveformZoom(), AmplitudeCompression::minimumZoom);
    }

    void blocksInView_data()
    {
        QTest::addColumn<ViewCase>("c");
        const int arrow = Qt::ArrowCursor;
        // Scrolled to 300 points: the visible interval is 10 s ..< 30 s.
        QTest::newRow("ends exactly at the left edge") << ViewCase{{{5, 10}, {70, 80}}, 0, 20, arrow, false};
        QTest::newRow("ends a little after the left edge") << ViewCase{{{5, 10.1}, {70, 80}}, 0, 20, arrow, true};
        QTest::newRow("starts exactly at the right edge") << ViewCase{{{30, 35}, {70, 80}}, 0, 20, arrow, false};
        QTest::newRow("starts a little before the right edge") << ViewCase{{{29.9, 35}, {70, 80}}, 0, 20, arrow, true};
        QTest::newRow("zero length inside") << ViewCase{{{20, 20}, {70, 80}}, 0, 20, arrow, false};
        // Long ones starting far left, with shorter ones between their start and the view.
        QTest::newRow("a long one covers the view")
            << ViewCase{{{1, 60}, {2, 3}, {4, 5}, {40, 41}}, 0, 15, Qt::OpenHandCursor, true};
        QTest::newRow("lengthened by an edit to cover the view")
            << ViewCase{{{1, 2}, {2, 3}, {4, 5}, {40, 41}}, 60, 15, Qt::OpenHandCursor, true};
        QTest::newRow("the gap after a long one that ends in view")
            << ViewCase{{{1, 15}, {2, 3}, {4, 5}, {25, 26}}, 0, 20, Qt::SplitHCursor, true};
    }

    void blocksInView()
    {
        QFETCH(ViewCase, c);
        TimelineFixture f(c.times);
        if (c.lengthenTo > 0)
            f.document.subtitleController().setEnd(0, c.lengthenTo);
        f.timeline->scrollToOffset(300);
        QCOMPARE(f.timeline->blockRect(f.at(0)).has_value(), c.inView);
        QCOMPARE(f.timeline->visibleSubtitles().value(0) == f.at(0), c.inView);
        f.hover(QPointF(f.timeline->xForTime(c.pointerTime) - 300, TimelineFixture::rowY));
        QCOMPARE(int(f.strip()->cursor().shape()), c.shape);
        if (c.shape != Qt::ArrowCursor)
            QCOMPARE(f.timeline->subtitleViewAction()->subtitles.first(), f.at(0));
    }

    void rulerStepFollowsZoom()
    {
        TimelineFixture f({{0, 100}});
        f.document.setFrameRate(25);
        f.timeline->zoomAbout(5, 0);
        QCOMPARE(f.timeline->ruler().granularity(), (RulerGranularity{150, 1, 25}));
        f.timeline->fitFilm(); // 105 s in 600 points
        QCOMPARE(f.timeline->ruler().granularity().time, 30.0);
        // With nothing to show, the ruler still runs across the whole view.
        TimelineFixture empty({});
        QVERIFY(empty.timeline->ruler().duration() * empty.timeline->pointsPerSecond()
                >= empty.timeline->contentView()->width());
    }

    void scrollToCursorIfNeeded()
    {
        TimelineFixture f({{0, 200}});
        // Near the start: scrolled to 0. Partly visible: left where it is.
        for (const auto &[time, from, to] : {std::tuple{5.0, 2000.0, 0.0}, std::tuple{10.0, 303.0, 303.0}}) {
            f.timeline->scrollToOffset(from);
            f.timeline->setCurrentTime(time);
            f.timeline->scrollToCursorIfNeeded();
            QCOMPARE(f.timeline->offset(), to);
        }
    }

    void userScrollWhilePlayingIsKept()
    {
        TimelineFixture f({{2, 4}});
        f.timeline->zoomAbout(1, 0); // the user's zoom, which the video's first one leaves
        f.timeline->setVideoDuration(600);
        f.timeline->setPlaying(true);
        f.timeline->setCurrentTime(100);
        QCOMPARE(f.timeline->offset(), 2800.0); // followed: the cursor a third into the view

        QWheelEvent wheel(QPointF(300, 80), f.strip()->mapToGlobal(QPointF(300, 80)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.strip(), &wheel);
        const double scrolled = f.timeline->offset();
        QVERIFY(scrolled > 2800);
        for (double t = 100; t < 160; t += 0.5)
            f.timeline->setCurrentTime(t);
        QCOMPARE(f.timeline->offset(), scrolled);

        // A frame step, or playback starting again, brings the cursor back and follows it.
        f.timeline->followCursor();
        QCOMPARE(f.timeline->offset(), 30 * 159.5 - 200);
        f.timeline->setCurrentTime(200);
        QCOMPARE(f.timeline->offset(), 30 * 200.0 - 200);
    }

    void hoverZonesSetPointerShape_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("shape");
        // A block 20 points wide from x 300 (6-point edge zones), another from x 390.
        QTest::newRow("3 points inside the left edge") << 303.0 << int(Qt::SizeHorCursor);
        QTest::newRow("just inside the move zone") << 306.0 << int(Qt::OpenHandCursor);
        QTest::newRow("3 points inside the right edge") << 317.0 << int(Qt::SizeHorCursor);
        QTest::newRow("gap between two blocks") << 350.0 << int(Qt::SplitHCursor);
        QTest::newRow("after the last block") << 550.0 << int(Qt::ArrowCursor);
        QTest::newRow("narrow block has no edge zones") << 496.0 << int(Qt::OpenHandCursor);
    }

    void hoverZonesSetPointerShape()
    {
        QFETCH(double, x);
        QFETCH(int, shape);
        TimelineFixture f({{10, 10 + 20 / 30.0}, {13, 14}, {16.5, 16.5 + 7 / 30.0}});
        f.hover(QPointF(x, TimelineFixture::rowY));
        QCOMPARE(int(f.strip()->cursor().shape()), shape);
    }

    void clicksSelectThroughDocument()
    {
        TimelineFixture f({{1, 2}, {3, 4}, {5, 6}, {7, 8}});
        const auto middle = [](int k) { return QPointF(45 + 60 * k, TimelineFixture::rowY); };

        f.click(middle(0), Qt::ShiftModifier); // with nothing selected, one
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0}));
        f.click(middle(2), Qt::ShiftModifier);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1, 2}));
        f.click(middle(1), Qt::ControlModifier);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 2}));
        QVERIFY(!f.timeline->isSelected(*f.at(1))); // the blocks follow the document's selection
        f.click(middle(3), Qt::ControlModifier | Qt::ShiftModifier); // Ctrl wins over Shift
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 2, 3}));
        f.click(middle(3));
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({3}));
        f.click(QPointF(130, TimelineFixture::rowY)); // the gap between blocks 1 and 2
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet());
    }

    void rubberBandSelects()
    {
        TimelineFixture f({{1, 2}, {3, 4}, {5, 6}, {7, 8}});
        const int y = TimelineFixture::rowY;
        f.click(QPointF(225, y)); // block 3
        // From before the first block over three blocks, then back over two.
        f.drag(QPointF(10, y), {QPointF(50, y + 5), QPointF(170, y + 5)}, Qt::NoModifier, false);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1, 2}));
        QVERIFY(f.timeline->isManipulatingSelection());
        f.send(QEvent::MouseMove, QPointF(100, y + 5), Qt::LeftButton);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1}));
        f.send(QEvent::MouseButtonRelease, QPointF(100, y + 5), Qt::NoButton);
        QVERIFY(!f.timeline->isManipulatingSelection());

        // Escape breaks a band off: the selection is back to what it was, no band is left
        // drawn, and the rest of the gesture selects nothing.
        f.drag(QPointF(10, y), {QPointF(50, y + 5), QPointF(250, y + 5)}, Qt::NoModifier, false);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1, 2, 3}));
        QVERIFY(f.timeline->rubberBand());
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(f.strip(), &escape);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1}));
        QVERIFY(!f.timeline->rubberBand());
        QVERIFY(!f.timeline->isManipulatingSelection());
        f.send(QEvent::MouseMove, QPointF(200, y + 5), Qt::LeftButton);
        f.send(QEvent::MouseButtonRelease, QPointF(200, y + 5), Qt::NoButton);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1}));

        // Ctrl adds to what was selected before the band.
        f.click(QPointF(225, y));
        f.drag(QPointF(10, y), {QPointF(50, y), QPointF(100, y + 5)}, Qt::ControlModifier);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet({0, 1, 3}));
    }

    void selectedBlocksComeToFront()
    {
        TimelineFixture f({{1, 4}, {2, 5}});
        const QPointF overlap(90, TimelineFixture::rowY); // 3 s: both blocks
        f.document.setSelectedSubtitleIndexes(IndexSet({0}));
        f.hover(overlap);
        QCOMPARE(f.timeline->subtitleViewAction()->subtitles.first(), f.at(0));
        f.document.setSelectedSubtitleIndexes(IndexSet({1}));
        f.hover(QPointF(91, TimelineFixture::rowY));
        QCOMPARE(f.timeline->subtitleViewAction()->subtitles.first(), f.at(1));
    }

    void stackedBlocksShowTheirTop_data()
    {
        QTest::addColumn<StackCase>("stack");
        const int depth = TimelineStrip::stackDepth;
        QTest::newRow("a stack shows its top blocks") << StackCase{{}, 1000, std::nullopt, false, depth};
        QTest::newRow("a selected block comes up from the bottom") << StackCase{{}, 1000, 0, false, depth - 1};
        QTest::newRow("a block half under the stack shows") << StackCase{{{0.5, 1.5}}, 1000, std::nullopt, false, depth};
        QTest::newRow("zoomed out, the top mark of a column") << StackCase{{}, 1000, std::nullopt, true, 1};
    }

    // Every block of a stack is still there to pick; only the drawing leaves out what the
    // blocks over it hide, from a hundred thousand down to what a column shows.
    void stackedBlocksShowTheirTop()
    {
        QFETCH(StackCase, stack);
        Times times = stack.below;
        for (int i = 0; i < stack.stacked; ++i)
            times.append({1, 2});
        const auto strip = [&](bool onlyShown) {
            TimelineFixture f(times);
            const int first = int(stack.below.size());
            if (onlyShown) {
                IndexSet hidden = IndexSet::fromRange(first, stack.stacked - stack.kept);
                if (stack.selected)
                    hidden.remove(first + *stack.selected);
                SubtitleController &controller = f.document.subtitleController();
                controller.removeSubtitles(controller.subtitlesAt(hidden), hidden);
            }
            f.document.setSelectedSubtitleIndexes(stack.selected ? IndexSet(first + *stack.selected) : IndexSet());
            if (stack.zoomedOut) {
                f.timeline->setVideoDuration(20000);
                f.timeline->fitFilm();
            }
            return f.strip()->grab().toImage();
        };
        QCOMPARE(strip(false), strip(true));
    }

    void rulerAndCursorHeadSeek()
    {
        TimelineFixture f({{0, 100}});
        FakePlayer player;
        f.document.setPlayer(&player);
        // A press on the ruler seeks exactly there, at any zoom, and follows the pointer; the
        // drag pauses and plays a grain of sound at each place, silenced by the release.
        f.timeline->zoomAbout(2, 0);
        player.play();
        f.send(QEvent::MouseButtonPress, QPointF(300, 10), Qt::LeftButton);
        QTRY_COMPARE(player.seeks(), QList<double>{5});
        f.send(QEvent::MouseMove, QPointF(360, 10), Qt::LeftButton);
        QTRY_COMPARE(player.seeks().last(), 6.0);
        QCOMPARE(player.rate(), 0.0);
        QCOMPARE(player.grains(), (QList<QPair<double, double>>{{6, 0.07}}));
        f.send(QEvent::MouseButtonRelease, QPointF(360, 10), Qt::NoButton);
        QCOMPARE(player.grainStops(), 1);
        QCOMPARE(f.document.selectedSubtitleIndexes(), IndexSet()); // nothing else happened

        // The cursor's head keeps the point where it was grabbed, 2 points left of its line.
        f.timeline->zoomAbout(1, 0);
        f.timeline->setCurrentTime(2); // line at x 60
        f.drag(QPointF(58, 4), {QPointF(70, 4), QPointF(88, 4)});
        QTRY_COMPARE(player.seeks().last(), 3.0);
        QVERIFY(!f.timeline->isManipulatingSelection());
        f.document.setPlayer(nullptr);
    }

    // Dragging a start or an end plays from a quarter second before it to a quarter after,
    // once it comes to rest; moving a whole block plays nothing.
    void draggedEdgePlaysAroundIt_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("grainStart"); // -1: none
        QTest::newRow("start") << 302.0 << 10.75;
        QTest::newRow("end") << 448.0 << 15.75;
        QTest::newRow("whole block") << 375.0 << -1.0;
    }

    void draggedEdgePlaysAroundIt()
    {
        QFETCH(double, from);
        QFETCH(double, grainStart);
        TimelineFixture f({{10, 15}});
        FakePlayer player;
        f.document.setPlayer(&player);
        const double y = TimelineFixture::rowY;
        f.drag(QPointF(from, y), {QPointF(from + 15, y), QPointF(from + 30, y)}, Qt::NoModifier, false);
        QTest::qWait(EdgePreview::restMilliseconds * 3);
        const auto grains = grainStart < 0 ? QList<QPair<double, double>>{}
                                           : QList<QPair<double, double>>{{grainStart, 0.5}};
        QCOMPARE(player.grains(), grains); // the first move did not rest: one grain only
        f.send(QEvent::MouseButtonRelease, QPointF(from + 30, y), Qt::NoButton);
        QCOMPARE(player.grainStops(), int(grains.size()));
        f.document.setPlayer(nullptr);
    }

    // A line at each shot change in view, under the blocks; a right-click within a few
    // points of one offers to remove it, as one undo step that leaves the file saved.
    void shotChangesAreDrawnAndRemovedByRightClick()
    {
        TimelineFixture f({{2, 4}, {40, 60}}); // a block at x 60..120; the second makes room to scroll
        f.media.addFoundShotChanges({1, 3, 5, 30});
        f.document.undoManager().setClean();
        const auto lineAt = [&f](int x) {
            const QImage image = f.strip()->grab().toImage();
            const int top = TimelineViewController::rulerHeight;
            const QColor colour = TimelineStrip::shotChangeColour();
            return image.pixelColor(x, top) == colour && image.pixelColor(x, image.height() - 1) == colour
                && image.pixelColor(x - 1, top) != colour && image.pixelColor(x + 1, top) != colour;
        };
        QVERIFY(lineAt(30) && lineAt(150));
        QVERIFY(!lineAt(90)); // under the block
        f.timeline->scrollToOffset(600);
        QVERIFY(lineAt(300)); // 30 s, now in view
        f.timeline->scrollToOffset(0);

        const auto rightClick = [&f](int x) {
            const QPoint position(x, TimelineFixture::rowY);
            QContextMenuEvent event(QContextMenuEvent::Mouse, position, f.strip()->mapToGlobal(position));
            QApplication::sendEvent(f.strip(), &event);
            return qobject_cast<QMenu *>(QApplication::activePopupWidget());
        };
        QVERIFY(!rightClick(157)); // 7 points off: nothing to offer
        QMenu *menu = rightClick(153);
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        menu->actions().first()->trigger();
        menu->close();
        QCOMPARE(f.media.shotChanges().times(), (std::vector<double>{1, 3, 30}));
        QVERIFY(!lineAt(150));
        f.endTurn();
        QCOMPARE(f.document.undoManager().undoActionName(), QStringLiteral("Remove Shot Change"));
        QVERIFY(!f.document.isModified());
        f.document.undoManager().undo();
        QVERIFY(lineAt(150));
    }

    void restoresZoomAndOffset()
    {
        QVariantMap state;
        {
            TimelineFixture f({{0, 300}});
            f.timeline->zoomAbout(3, 0);
            f.timeline->scrollToOffset(1234);
            state = f.timeline->saveState();
        }
        TimelineFixture g({{0, 295}});
        g.timeline->restoreState(state);
        QCOMPARE(g.timeline->magnification(), 3.0);
        QCOMPARE(g.timeline->offset(), 1234.0);
        QVERIFY(g.timeline->blockRect(g.at(0)));
        // Without a saved zoom, the lowest: 300 s in 600 points.
        g.timeline->restoreState({});
        QCOMPARE(g.timeline->magnification(), 1 / 15.0);
        QCOMPARE(g.timeline->offset(), 0.0);
    }

    void speaksOfTheSubtitleUnderTheCursorAndStepsWithKeys_data()
    {
        QTest::addColumn<SpokenCase>("c");
        const QString second = QStringLiteral("subtitle 2, 00:00:03,000 to 00:00:04,000: Hi there.");
        QTest::newRow("no video, nothing selected") << SpokenCase{
            {}, {}, QStringLiteral("Timeline, no subtitle selected"),
            QStringLiteral("Next: subtitle 1, 00:00:01,000 to 00:00:02,000: Subtitle 1."), Qt::Key_Right, IndexSet({0})};
        QTest::newRow("no video, the selection; Left") << SpokenCase{
            {}, IndexSet({2}), QStringLiteral("Timeline, subtitle 3 of 3, 00:00:05,000 to 00:00:06,000: Subtitle 3"),
            QStringLiteral("Previous: ") + second, Qt::Key_Left, IndexSet({1})};
        QTest::newRow("under the cursor, not the selection; Right")
            << SpokenCase{3.5, IndexSet({0}),
                          QStringLiteral("Timeline, subtitle 2 of 3, 00:00:03,000 to 00:00:04,000: Hi there"),
                          QStringLiteral("Next: subtitle 3"), Qt::Key_Right, IndexSet({2})};
        QTest::newRow("a start is under the cursor")
            << SpokenCase{3.0, {}, QStringLiteral("Timeline, subtitle 2 of 3, 00:00:03,000 to 00:00:04,000: Hi there"),
                          QStringLiteral("Previous: subtitle 1"), Qt::Key_Home, IndexSet({0})};
        QTest::newRow("an end is not") << SpokenCase{4.0, {}, QStringLiteral("Timeline, between subtitles 2 and 3"),
                                                     QStringLiteral("Previous: ") + second, Qt::Key_Left, IndexSet({1})};
        QTest::newRow("before the first; Left has none")
            << SpokenCase{0.2, IndexSet({1}), QStringLiteral("Timeline, before subtitle 1"),
                          QStringLiteral("Next: subtitle 1"), Qt::Key_Left, IndexSet({1})};
        QTest::newRow("after the last; End") << SpokenCase{9, {}, QStringLiteral("Timeline, after subtitle 3"),
                                                           QStringLiteral("Previous: subtitle 3"), Qt::Key_End,
                                                           IndexSet({2})};
    }

    void speaksOfTheSubtitleUnderTheCursorAndStepsWithKeys()
    {
        QFETCH(SpokenCase, c);
        TimelineFixture f({{1, 2}, {3, 4}, {5, 6}});
        f.document.subtitleController().setText(QStringLiteral("<i>Hi</i>\nthere"), 1); // read without tags
        f.document.setSelectedSubtitleIndexes(c.selected);
        if (c.cursor)
            f.timeline->setCurrentTime(*c.cursor);
        QVERIFY(f.strip()->focusPolicy() & Qt::TabFocus);
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(f.strip());
        QCOMPARE(spoken->role(), QAccessible::Canvas);
        QCOMPARE(spoken->text(QAccessible::Name), c.name);
        QVERIFY2(spoken->text(QAccessible::Description).contains(c.description),
                 qPrintable(spoken->text(QAccessible::Description)));
        QTest::keyClick(f.strip(), c.key);
        QCOMPARE(f.document.selectedSubtitleIndexes(), c.selectedAfter);
    }

    void listChangesReachBlocks()
    {
        TimelineFixture f({{1, 2}, {3, 4}});
        SubtitleController &controller = f.document.subtitleController();
        const SubtitlePtr first = f.at(0);
        controller.setText(QStringLiteral("Changed"), 0);
        controller.setStart(0, 40); // out of view: the selection brings it in
        QCOMPARE(f.timeline->offset(), 41 * 30.0 - 600); // just far enough past the right edge
        QVERIFY(f.timeline->blockRect(first));
        QVERIFY(!f.timeline->blockRect(f.at(0)));
        QCOMPARE(f.timeline->selectedSubtitles(), SubtitleList({first}));
        f.document.showSubtitle(0); // the other, left of the view: to its start
        QCOMPARE(f.timeline->offset(), 3 * 30.0);
        controller.removeSubtitles({first}, IndexSet({controller.indexOf(first)}));
        QVERIFY(!f.timeline->selectedSubtitles().contains(first));
        QCOMPARE(f.timeline->duration(), 9.0);
        f.timeline->setVideoDuration(5.0); // a video's length wins over the subtitles'
        QCOMPARE(f.timeline->duration(), 5.0);
        f.timeline->setVideoDuration(std::nullopt);
        QCOMPARE(f.timeline->duration(), 9.0);
        controller.setSubtitles({Subtitle::create(QStringLiteral("New"), 2, 3)});
        QCOMPARE(f.timeline->visibleSubtitles().size(), 1);
        QVERIFY(f.timeline->selectedSubtitles().isEmpty());
    }
};

QTEST_MAIN(tst_TimelineViewController)
#include "tst_timelineviewcontroller.moc"
