#include "RecordingDelegate.h"

#include "model/ProblemIndex.h"
#include "model/QualityCheck.h"
#include "model/QualityFixes.h"
#include "model/SubtitleController.h"
#include "model/SubtitleControllerDelegate.h"
#include "model/UndoManager.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>


using Problems = QualityCheck::Problems;
Q_DECLARE_METATYPE(Problems)

namespace {

// A controller whose every report reaches a problem index, as in the document.
struct Checked : SubtitleControllerDelegate
{
    SubtitleController controller;
    UndoManager undo;
    ProblemIndex index{controller};

    explicit Checked(const SubtitleList &list)
    {
        controller.setUndoManager(&undo);
        controller.setDelegate(this);
        controller.setSubtitles(list);
    }
    void didReloadSubtitles(SubtitleController &) override { index.reload(); }
    void didUpdateSubtitles(SubtitleController &, const IndexSet &indexes, const QList<SubtitleIndexUpdate> &updates,
                            const IndexSet &newIndexes) override
    {
        index.subtitlesUpdated(indexes, updates, newIndexes);
    }
    void didReorderSubtitles(SubtitleController &, const IndexSet &indexes, const std::vector<int> &newPositions,
                             const IndexSet &newIndexes) override
    {
        index.subtitlesReordered(indexes, newPositions, newIndexes);
    }
    void didInsertSubtitles(SubtitleController &, const IndexSet &indexes) override { index.subtitlesInserted(indexes); }
    void didRemoveSubtitles(SubtitleController &, const SubtitleList &subtitles, const IndexSet &indexes) override
    {
        index.subtitlesRemoved(subtitles, indexes);
    }
    // The kept problems (or, with `fresh`, what a new index finds: the two must agree).
    QList<int> kept(bool fresh = false) const
    {
        const ProblemIndex other(controller);
        QList<int> result;
        for (int i = 0; i < controller.count(); ++i)
            result.append((fresh ? other : index).problems(i).toInt());
        return result;
    }
};

} // namespace

class tst_Quality : public QObject
{
    Q_OBJECT

private slots:
    // Default limits: 20 characters a second, 0.833 s to 7 s, 42 characters a line,
    // 2 lines, a gap of 2 frames (1/12 s without a video).
    void checks_data()
    {
        QTest::addColumn<QString>("subtitles"); // the one checked, and the next
        QTest::addColumn<int>("characters");
        QTest::addColumn<Problems>("expected");
        const auto row = [](const char *name, const QString &subtitles, int characters, Problems expected) {
            QTest::newRow(name) << subtitles << characters << expected;
        };
        using Q = QualityCheck;
        row("a line break and spaces are not read", "  Hello \r\n there  @1-3|n@5-7", 10, {});
        row("tags are not read, a lone < is", "<i>a < b</i> {\\an8}<font color=\"#ff0000\">c</font>@1-3", 7, {});
        row("an accent and an emoji family are a character each", "e\u0301\U0001F468\u200D\U0001F469\u200D\U0001F467@1-3", 2, {});
        row("43 accented characters: a line too long", QStringLiteral("e\u0301").repeated(43) + "@0-3", 43, Q::LineTooLong);
        row("42 characters and a tag fit a line", "<b>" + QString(42, u'x') + "</b>@0-3", 42, {});
        row("empty text is never too fast", "@1-1", 0, Q::TooShort);
        row("no time with text", "Hi@1-1", 2, Q::TooShort | Q::TooFast);
        row("exactly the shortest duration", "Hi@1-1.833", 2, {});
        row("20 characters in a second", QString(20, u'a') + "@0-1", 20, {});
        row("21 characters in a second", QString(21, u'a') + "@0-1", 21, Q::TooFast);
        row("exactly 7 s", "Hi@0-7", 2, {});
        row("longer than 7 s", "Hi@0-7.01", 2, Q::TooLong);
        row("two lines and an empty one", "a\n\nb@0-3", 2, {});
        row("three lines", "a\nb\nc@0-3", 3, Q::TooManyLines);
        row("touching the next", "Hi@0-2|n@2-4", 2, Q::GapTooSmall);
        row("a gap short by a rounded millisecond", "Hi@0-2|n@2.083-4", 2, {});
        row("into the next", "Hi@0-2.002|n@2-4", 2, Q::Overlap);
    }

    void checks()
    {
        QFETCH(QString, subtitles);
        QFETCH(int, characters);
        QFETCH(Problems, expected);
        const SubtitleList list = subtitlesFrom(subtitles);
        const QualityLimits limits;
        QCOMPARE(QualityCheck::measure(list[0]->text()).characters, characters);
        QCOMPARE(QualityCheck::check(*list[0], list.size() > 1 ? list[1].get() : nullptr, limits, limits.minGap(0)), expected);
    }

    // Fix All on the first subtitle ("" after: left alone); the next is never changed.
    void fixes_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const auto row = [](const char *name, const QString &before, const QString &after) { QTest::newRow(name) << before << after; };
        const QString a30(30, u'a'), a200(200, u'a'), words = QStringLiteral("word ").repeated(20).trimmed();
        row("overlap: ends a gap before the next", "Hi@0-3|n@2-5", "Hi@0-1.91667|n@2-5");
        row("overlap without room: left alone", "Hi@0-3|n@0.05-3", "");
        row("too short: the shortest duration", "Hi@0-0.5", "Hi@0-0.833");
        row("too fast: until it reads at the limit", a30 + "@0-1|n@5-8", a30 + "@0-1.5|n@5-8");
        row("too fast: as far as the next allows", a30 + "@0-1|n@1.3-4", a30 + "@0-1.21667|n@1.3-4");
        row("too fast: no longer than 7 s", a200 + "@0-1", a200 + "@0-7");
        row("too short, the next a gap away: left alone", "Hi@0-0.5|n@0.583333-3", "");
        row("too long: ended at 7 s", "Hi@0-9", "Hi@0-7");
        row("too long, but too fast in 7 s: left alone", QString(150, u'a') + "@0-9", "");
        row("long line: broken where the lines balance", "The quick brown fox jumps over the lazy dog and runs away@0-5",
            "The quick brown fox jumps over\nthe lazy dog and runs away@0-5");
        row("too many lines: joined onto two", "One\ntwo\nthree@0-3", "One two three@0-3");
        row("long line: two lines of exactly the longest", QString(42, u'x') + ' ' + QString(42, u'y') + "@0-5",
            QString(42, u'x') + '\n' + QString(42, u'y') + "@0-5");
        row("too long for two lines: left alone", words + "@0-5", "");
    }

    void fixes()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        Checked c(subtitlesFrom(before));
        QVERIFY(c.index.problems(0));
        QCOMPARE(QualityFixes::fixAll(c.controller, c.index), after.isEmpty() ? 0 : 1);
        c.undo.closeEventGroup();
        QCOMPARE(describe(c.controller), after.isEmpty() ? before : after);
        QCOMPARE(c.undo.canUndo(), !after.isEmpty());
        if (!after.isEmpty()) {
            QVERIFY(!c.undo.undoActionName().isEmpty());
            c.undo.undo();
            QCOMPARE(describe(c.controller), before);
        }
    }

    // The kept problems agree with a fresh check after every edit, undo and deletion.
    void indexFollowsEveryChange()
    {
        Checked c({Subtitle::create("a", 0, 2), Subtitle::create("b", 3, 5),
                   Subtitle::create("c", 6, 8), Subtitle::create("d", 9, 11)});
        QList<std::pair<int, int>> reported;
        connect(&c.index, &ProblemIndex::problemsChanged, this, [&](int first, int last) { reported.append({first, last}); });
        c.controller.setEnd(0, 4); // now runs into b
        QCOMPARE(c.kept(), (QList<int>{QualityCheck::Overlap, 0, 0, 0}));
        QCOMPARE(reported, (QList<std::pair<int, int>>{{0, 0}}));
        c.controller.setEnd(3, 20); // on screen too long
        QCOMPARE(c.index.nextProblem(0), std::optional(3));
        QCOMPARE(c.index.nextProblem(3), std::optional(0)); // round the end
        QCOMPARE(c.index.previousProblem(0), std::optional(3)); // round the start
        QCOMPARE(c.index.previousProblem(-1), std::optional(3)); // from nothing selected: the last

        // Changes nobody passed on: the next report finds the index out of step.
        c.controller.setDelegate(nullptr);
        c.controller.insertSubtitles({Subtitle::create("e", 20, 20)}, IndexSet(4));
        c.controller.setDelegate(&c);
        c.controller.setText(QStringLiteral("c!"), 2);
        QCOMPARE(c.kept(), c.kept(true));

        QRandomGenerator random(17);
        for (int step = 0; step < 400; ++step) {
            const int count = c.controller.count();
            const int p = count ? int(random.bounded(count)) : 0;
            const double t = random.bounded(40) / 4.0;
            switch (random.bounded(6)) {
            case 0:
                if (count)
                    c.controller.setStart(p, t);
                break;
            case 1:
                if (count)
                    c.controller.setEnd(p, t);
                break;
            case 2:
                c.controller.addSubtitle(t, std::nullopt);
                break;
            case 3:
                if (count > 1) {
                    const IndexSet two{std::min(p, count - 2), count - 1};
                    c.controller.removeSubtitles(c.controller.subtitlesAt(two), two);
                }
                break;
            case 4:
                if (count > 1)
                    c.controller.updateSubtitles({{t, t + 1, {}}, {t / 2, {}, QStringLiteral("x")}}, IndexSet{0, count - 1});
                break;
            case 5:
                c.undo.closeEventGroup();
                if (c.undo.canUndo())
                    c.undo.undo();
                break;
            }
            c.undo.closeEventGroup();
            QCOMPARE(c.kept(), c.kept(true));
        }

        // New starts for so many subtitles that the list is reordered as a whole, and back.
        SubtitleList more;
        for (int i = 0; i < 300; ++i)
            more.append(Subtitle::create(QStringLiteral("m"), i / 4.0, i / 4.0 + random.bounded(3)));
        c.controller.insertInTimeOrder(more);
        QList<Subtitle::Values> starts;
        IndexSet some;
        for (int i = 0; i < c.controller.count(); i += 2) {
            starts.append({random.bounded(100) / 2.0, {}, {}});
            some.insert(i);
        }
        c.controller.updateSubtitles(starts, some);
        QCOMPARE(c.kept(), c.kept(true));
        c.undo.closeEventGroup();
        c.undo.undo();
        QCOMPARE(c.kept(), c.kept(true));
    }

    void hostileSettingsAreClamped()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        const std::pair<const char *, QVariant> values[] = {
            {"maxCharactersPerSecond", "fast"}, {"minDuration", "nan"}, {"maxDuration", -5},
            {"maxLineLength", 0}, {"maxLines", 1e12}, {"minGapFrames", -3}};
        for (const auto &[key, value] : values)
            settings.setValue(QStringLiteral("quality/") + QLatin1String(key), value);
        const QualityLimits limits = QualityLimits::load(settings);
        const QualityLimits defaults;
        QCOMPARE(limits.maxCharactersPerSecond, defaults.maxCharactersPerSecond);
        QCOMPARE(limits.minDuration, defaults.minDuration);
        QVERIFY(limits.maxDuration >= limits.minDuration);
        QCOMPARE(limits.maxLineLength, 1);
        QCOMPARE(limits.maxLines, 100);
        QCOMPARE(limits.minGapFrames, 0);
    }
};

QTEST_GUILESS_MAIN(tst_Quality)
#include "tst_quality.moc"
