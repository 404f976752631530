#include "RecordingDelegate.h"

#include "model/LinearTimeMap.h"
#include "model/UndoManager.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <algorithm>
#include <functional>

using Edit = std::function<void(SubtitleController &)>;
Q_DECLARE_METATYPE(Edit)

// The one writer of the list: where changed subtitles land, what the delegate hears, and
// that every edit is one undo step that brings back the very subtitles it changed.
class tst_SubtitleController : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        SubtitleController controller;
        UndoManager undo;
        RecordingDelegate delegate;
        SubtitleList before;
        explicit Fixture(const QString &description)
            : before(subtitlesFrom(description))
        {
            controller.setSubtitles(before);
            controller.setDelegate(&delegate);
            controller.setUndoManager(&undo);
        }
        // Undo brings back the subtitles as they were, redo `after`, one step each.
        void undoesAndRedoes(const QString &description, const QString &after)
        {
            undo.closeEventGroup();
            undo.undo();
            QCOMPARE(describe(controller), description);
            QCOMPARE(controller.subtitles(), before);
            QVERIFY(!undo.canUndo());
            undo.redo();
            QCOMPARE(describe(controller), after);
        }
    };

    // Each value put on its subtitle by one update at a time, in the order the subtitles
    // stand in the list beforehand: what one update of many must come to.
    static void oneAtATime(SubtitleController &c, const SubtitleList &subtitles, const QList<Subtitle::Values> &values)
    {
        QList<std::pair<int, qsizetype>> order;
        for (qsizetype k = 0; k < subtitles.size(); ++k)
            order << std::pair{c.indexOf(subtitles[k]), k};
        std::sort(order.begin(), order.end());
        for (const auto &[position, k] : order)
            c.updateSubtitles({values[k]}, IndexSet(c.indexOf(subtitles[k])));
    }

private slots:
    // Each edit: the list after it, what the delegate heard, and one undo step back.
    void edits_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("calls");
        const auto row = [](const char *name, const char *before, Edit edit, const char *after, const char *calls) {
            QTest::newRow(name) << QString::fromUtf8(before) << edit << QString::fromUtf8(after) << QString::fromUtf8(calls);
        };
        using C = SubtitleController;
        // New starts for some subtitles (NaN: a new text "X" instead), as a drag of blocks does.
        const auto update = [](IndexSet indexes, QList<double> starts) {
            return [=](C &c) {
                QList<Subtitle::Values> values(starts.size());
                for (qsizetype i = 0; i < starts.size(); ++i)
                    std::isnan(starts[i]) ? void(values[i].text = QStringLiteral("X")) : void(values[i].start = starts[i]);
                c.updateSubtitles(values, indexes);
            };
        };
        const char *abcd = "a@0-1|b@5-6|c@10-11|d@15-16";
        const double text = qQNaN();
        row("earlier, past one", abcd, update(IndexSet(2), {1}), "a@0-1|c@1-11|b@5-6|d@15-16", "update {2} [2->1] {1}");
        row("earlier, before an equal start", abcd, update(IndexSet(2), {5}), "a@0-1|c@5-11|b@5-6|d@15-16", "update {2} [2->1] {1}");
        row("later, after an equal start", abcd, update(IndexSet(0), {5}), "b@5-6|a@5-1|c@10-11|d@15-16", "update {0} [0->1] {1}");
        row("to the very end", abcd, update(IndexSet(1), {20}), "a@0-1|c@10-11|d@15-16|b@20-6", "update {1} [1->3] {3}");
        row("texts alone move nothing", abcd, update({0, 2}, {text, text}), "X@0-1|b@5-6|X@10-11|d@15-16", "update {0,2} [] {0,2}");
        row("two behind the last", abcd, update({0, 2}, {20, 30}), "b@5-6|d@15-16|a@20-1|c@30-11", "update {0,2} [0->3 1->3] {2,3}");
        row("two tied at an earlier start: each undoes to its own", abcd, update({1, 3}, {2, 2}), "a@0-1|d@2-16|b@2-6|c@10-11",
            "update {1,3} [3->1] {1,2}");
        // Crossing the other end moves the whole subtitle; never below zero.
        const char *moved = "update {0} [] {0}";
        row("start past the end", "s@5-6", [](C &c) { c.setStart(0, 7); }, "s@7-8", moved);
        row("start onto the end", "s@5-6", [](C &c) { c.setStart(0, 6); }, "s@6-6", moved);
        row("end before the start", "s@5-6", [](C &c) { c.setEnd(0, 4.5); }, "s@3.5-4.5", moved);
        row("end far before the start: not below zero", "s@5-6", [](C &c) { c.setEnd(0, 0.5); }, "s@0-0.5", moved);
        row("end onto the start", "s@5-6", [](C &c) { c.setEnd(0, 5); }, "s@5-5", moved);
        row("insert at given positions", "x@1-2|y@3-4", [](C &c) { c.insertSubtitles(subtitlesFrom("a@0-1|b@2-3"), IndexSet{0, 2}); },
            "a@0-1|x@1-2|b@2-3|y@3-4", "insert {0,2}");
        // Undone, the removed ones go back between and after the others.
        row("remove scattered, one named twice", "a@0-1|b@1-2|c@2-3|d@3-4|e@4-5|f@5-6",
            [](C &c) { c.removeSubtitles(c.subtitlesAt(IndexSet{0, 2, 4, 4, 5}), IndexSet{0, 2, 4, 4, 5}); }, "b@1-2|d@3-4",
            "remove {0,2,4,5}");
        // Added two frames after an anchor (1/12 s without a video), shortened before a
        // close next subtitle, snapped to frames.
        const auto add = [](double rate, std::optional<double> time) {
            return [=](C &c) { c.setFrameRate(rate); c.addSubtitle(time, time ? std::nullopt : std::optional(0)); };
        };
        row("add after the anchor", "a@8-10", add(25, {}), "a@8-10|@10.08-12.08", "insert {1}");
        row("add before a close next", "a@8-10|n@11-12", add(25, {}), "a@8-10|@10.08-10.92|n@11-12", "insert {1}");
        row("add before a next too close to shorten for", "a@8-10|n@10.04-11", add(25, {}), "a@8-10|n@10.04-11|@10.08-12.08",
            "insert {2}");
        row("add without a video", "a@8-10", add(0, {}), "a@8-10|@10.0833-12.0833", "insert {1}");
        row("add at a time: after the last start before it", "a@8-10|n@11-12", add(25, 10.9), "a@8-10|@10.08-10.92|n@11-12",
            "insert {1}");
        row("add at a start: after that one", "a@8-10|n@11-12", add(25, 11), "a@8-10|n@11-12|@12.08-14.08", "insert {2}");
        row("add before every subtitle: at zero", "a@8-10", add(25, 1), "@0-2|a@8-10", "insert {0}");
        const auto duplicate = [](C &c) { c.duplicateSubtitle(0); };
        row("duplicate after a gap", "c@10-12", duplicate, "c@10-12|c@12.0833-14.0833", "insert {1}");
        row("duplicate before the next", "c@10-12|n@13-14", duplicate, "c@10-12|c@12.0833-12.9167|n@13-14", "insert {1}");
        row("duplicate without room: keeps its length", "c@10-12|n@12-13", duplicate, "c@10-12|n@12-13|c@12.0833-14.0833", "insert {2}");
        // Split shares the time by user-perceived characters, less two frames.
        const auto split = [](int offset) { return [=](C &c) { c.setFrameRate(24); c.splitSubtitle(0, offset); }; };
        const char *replaced = "remove {0}; insert {0,1}";
        row("split two words", "Hello world@0-2.08333", split(5), "Hello@0-1|world@1.08333-2.08333", replaced);
        row("split counts an accent as one", "e\u0301e\u0301 ab@0-2.08333", split(4), "e\u0301e\u0301@0-1|ab@1.08333-2.08333", replaced);
        row("split blank halves share the time", "   @0-2.08333", split(1), "@0-1|@1.08333-2.08333", replaced);
        row("split past the end", "ab@0-2.08333", split(9), "ab@0-2|@2.08333-2.08333", replaced);
        // With the words known, at the spoken edges of those around the caret, on frames.
        const auto splitAtWords = [](int offset, QList<SpokenWord> words) {
            return [=](C &c) { c.setFrameRate(24); c.splitSubtitle(0, offset, words); };
        };
        const QList<SpokenWord> spaced{{"hello", 0.2, 0.6}, {"there", 0.8, 1.2}, {"world", 1.5, 2.5}};
        const QList<SpokenWord> close{{"hello", 0.2, 1.0}, {"there", 1.02, 1.5}, {"world", 1.5, 2.5}};
        const char *three = "Hello there world@0-3";
        row("split between words", three, splitAtWords(11, spaced), "Hello there@0-1.20833|world@1.5-3", replaced);
        row("split in a word: after it", three, splitAtWords(8, spaced), "Hello th@0-1.20833|ere world@1.5-3", replaced);
        row("split between close words: the gap around their middle", three, splitAtWords(6, close),
            "Hello@0-0.958333|there world@1.04167-3", replaced);
        row("split before the first spoken word: by characters", "<i>Hello there world</i>@0-3", splitAtWords(3, spaced),
            "<i>@0-0.375|Hello there world</i>@0.458333-3", replaced);
        row("split with words of another text: by characters", "Hello world@0-2.08333", splitAtWords(5, spaced),
            "Hello@0-1|world@1.08333-2.08333", replaced);
        const auto import = [](const char *text) { return [=](C &c) { c.importText(QString::fromUtf8(text)); }; };
        row("import paragraphs among others", "x@2-2.5", import("A\n\nB"), "A@1-3|x@2-2.5|B@3.08333-5.08333", "insert {0,2}");
        row("import a trailing break as an empty subtitle", "x@2-2.5", import("A\n\n"), "A@1-3|x@2-2.5|@3.08333-5.08333", "insert {0,2}");
        row("import keeps single line breaks", "x@2-2.5", import("A\nB"), "A\nB@1-3|x@2-2.5", "insert {0}");
        row("import before an equal start", "x@1-2", import("A"), "A@1-3|x@1-2", "insert {0}");
        const auto shift = [](IndexSet indexes, double offset) {
            return [=](C &c) { c.retimeSubtitles(indexes, LinearTimeMap::shift(offset)); };
        };
        row("shift three of four", "a@1-2|b@3-4|c@5-6|d@7-8", shift({1, 2, 3}, -0.5), "a@1-2|b@2.5-3.5|c@4.5-5.5|d@6.5-7.5",
            "update {1,2,3} [] {1,2,3}");
        row("shift past the others", "a@1-2|b@3-4|c@5-6", shift(IndexSet(0), 10), "b@3-4|c@5-6|a@11-12", "update {0} [0->2] {2}");
        row("shift earlier than zero", "a@1-2|b@3-4|c@5-6", shift(IndexSet(1), -3.5), "b@0-0.5|a@1-2|c@5-6", "update {1} [1->0] {0}");
        // Timing while the video plays: the next subtitle, or a new one, starts two frames later.
        const auto endAt3 = [](C &c) {
            c.setFrameRate(25);
            QCOMPARE(c.endAndStartNext(0, 3, c.count() > 1 ? std::optional(1) : std::nullopt), 1);
        };
        row("end and start the next", "a@1-2|b@4-5", endAt3, "a@1-3|b@3.08-5", "update {0} [] {0}; update {1} [] {1}");
        row("end and start a new one", "a@1-2", endAt3, "a@1-3|@3.08-5.08", "update {0} [] {0}; insert {1}");
        row("merge, leaving out empty texts", "a@1-2|b@3-5|@4-4.5|d@7-8", [](C &c) { c.mergeSubtitles({0, 1, 2}); }, "a\nb@1-5|d@7-8",
            "remove {0,1,2}; insert {0}");
    }

    void edits()
    {
        QFETCH(QString, before);
        QFETCH(Edit, edit);
        QFETCH(QString, after);
        QFETCH(QString, calls);
        Fixture f(before);
        edit(f.controller);
        QCOMPARE(describe(f.controller), after);
        QCOMPARE(f.delegate.calls.join(QStringLiteral("; ")), calls);
        f.undoesAndRedoes(before, after);
    }

    // Many new starts are put in place together: the list, where the changed subtitles
    // land, undo and redo must be what updating one subtitle at a time gives.
    void manyNewStartsLandAsOneAtATime_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QList<int>>("changed");
        QTest::addColumn<QList<double>>("starts"); // NaN: a new text only
        QStringList spaced;
        QStringList crowded; // three subtitles to a start
        for (int i = 0; i < 300; ++i) {
            spaced << QStringLiteral("s%1@%2-%3").arg(i).arg(i * 3).arg(i * 3 + 2);
            crowded << QStringLiteral("c%1@%2-%3").arg(i).arg(i / 3).arg(i / 3 + 1);
        }
        QList<int> block;
        QList<double> toZero;
        for (int i = 100; i < 200; ++i) {
            block << i;
            toZero << std::max(0.0, i * 3 - 400.0); // the first ones all start at 0
        }
        QTest::newRow("a block earlier, many onto 0 s") << spaced.join(u'|') << block << toZero;
        QRandomGenerator random(25);
        QList<int> some;
        QList<double> mixed;
        for (int i = 0; i < 300; ++i) {
            if (random.bounded(3) == 0)
                continue;
            some << i;
            const int kind = random.bounded(4); // earlier, later, the same, a text
            const double start = i / 3;
            mixed << (kind == 3 ? qQNaN() : kind == 2 ? start : std::max(0.0, start + (kind == 0 ? -1 : 1) * random.bounded(5)));
        }
        QTest::newRow("shared starts, each way") << crowded.join(u'|') << some << mixed;
    }

    void manyNewStartsLandAsOneAtATime()
    {
        QFETCH(QString, before);
        QFETCH(QList<int>, changed);
        QFETCH(QList<double>, starts);
        Fixture f(before);
        SubtitleController oneByOne;
        oneByOne.setSubtitles(subtitlesFrom(before));
        QList<Subtitle::Values> values;
        SubtitleList moved; // in oneByOne
        for (qsizetype k = 0; k < changed.size(); ++k) {
            const SubtitlePtr subtitle = oneByOne.at(changed[k]);
            const bool text = std::isnan(starts[k]);
            values << (text ? Subtitle::Values{{}, {}, subtitle->text() + u'*'} : Subtitle::Values{starts[k], {}, {}});
            moved << subtitle;
        }
        f.controller.updateSubtitles(values, IndexSet::fromIndexes(changed));
        oneAtATime(oneByOne, moved, values);
        QCOMPARE(describe(f.controller), describe(oneByOne));
        IndexSet landed;
        for (const SubtitlePtr &subtitle : std::as_const(moved))
            landed.insert(oneByOne.indexOf(subtitle));
        QCOMPARE(f.delegate.calls.size(), 1);
        QVERIFY2(f.delegate.calls[0].endsWith(" " + RecordingDelegate::text(landed)), qPrintable(f.delegate.calls[0]));

        // Undo puts each subtitle back in the very place it left, among equal starts too,
        // and redo where the update put it: later steps name subtitles by those places.
        const SubtitleList updated = f.controller.subtitles();
        f.undo.closeEventGroup();
        f.undo.undo();
        QCOMPARE(f.controller.subtitles(), f.before);
        f.undo.redo();
        QCOMPARE(f.controller.subtitles(), updated);
    }

    // The subtitle shown at a time: from its start up to, not at, its end.
    void indexShownAt_data()
    {
        QTest::addColumn<double>("time");
        QTest::addColumn<int>("shown"); // -1 for none
        QTest::newRow("before the first") << 0.5 << -1;
        QTest::newRow("at a start") << 1.0 << 0;
        QTest::newRow("at an end where the next starts") << 2.0 << 1;
        QTest::newRow("at an end before a gap") << 3.0 << -1;
        QTest::newRow("in the gap") << 4.0 << -1;
    }

    void indexShownAt()
    {
        QFETCH(double, time);
        const SubtitleList list{Subtitle::create(QStringLiteral("a"), 1, 2), Subtitle::create(QStringLiteral("b"), 2, 3),
                                Subtitle::create(QStringLiteral("c"), 5, 6)};
        QTEST(SubtitleController::indexShownAt(list, time).value_or(-1), "shown");
    }

    void setSubtitlesIsNotUndoable()
    {
        Fixture f(QStringLiteral("a@0-1"));
        f.controller.setSubtitles(subtitlesFrom(QStringLiteral("z@0-1")));
        QCOMPARE(f.delegate.calls, QStringList{"reload"});
        QVERIFY(!f.undo.canUndo());
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleController)
#include "tst_subtitlecontroller.moc"
