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

#include <cmath>

using Problems = QualityCheck::Problems;
Q_DECLARE_METATYPE(Problems)

namespace {

const double noNext = qQNaN();

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
    void didInsertSubtitles(SubtitleController &, const IndexSet &indexes) override { index.subtitlesInserted(indexes); }
    void didRemoveSubtitles(SubtitleController &, const SubtitleList &subtitles, const IndexSet &indexes) override
    {
        index.subtitlesRemoved(subtitles, indexes);
    }
    // The kept problems, and what a fresh index finds: they must agree.
    QList<int> kept() const { return problemsOf(index); }
    QList<int> fresh() const { return problemsOf(ProblemIndex(controller)); }
    QList<int> problemsOf(const ProblemIndex &problems) const
    {
        QList<int> result;
        for (int i = 0; i < controller.count(); ++i)
            result.append(problems.problems(i).toInt());
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
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<double>("nextStart");
        QTest::addColumn<int>("characters");
        QTest::addColumn<Problems>("expected");
        using Q = QualityCheck;
        QTest::newRow("a line break and spaces are not read") << "  Hello \r\n there  " << 1.0 << 3.0 << 5.0 << 10 << Problems();
        QTest::newRow("tags are not read, a lone < is")
            << "<i>a < b</i> {\\an8}<font color=\"#ff0000\">c</font>" << 1.0 << 3.0 << noNext << 7 << Problems();
        QTest::newRow("an accent and an emoji family are a character each")
            << "e\u0301\U0001F468\u200D\U0001F469\u200D\U0001F467" << 1.0 << 3.0 << noNext << 2 << Problems();
        QTest::newRow("43 accented characters: a line too long")
            << QStringLiteral("e\u0301").repeated(43) << 0.0 << 3.0 << noNext << 43 << Problems(Q::LineTooLong);
        QTest::newRow("42 characters and a tag fit a line")
            << QStringLiteral("<b>%1</b>").arg(QString(42, u'x')) << 0.0 << 3.0 << noNext << 42 << Problems();
        QTest::newRow("empty text is never too fast") << "" << 1.0 << 1.0 << noNext << 0 << Problems(Q::TooShort);
        QTest::newRow("no time with text") << "Hi" << 1.0 << 1.0 << noNext << 2 << Problems(Q::TooShort | Q::TooFast);
        QTest::newRow("exactly the shortest duration") << "Hi" << 1.0 << 1.833 << noNext << 2 << Problems();
        QTest::newRow("20 characters in a second") << QString(20, u'a') << 0.0 << 1.0 << noNext << 20 << Problems();
        QTest::newRow("21 characters in a second") << QString(21, u'a') << 0.0 << 1.0 << noNext << 21 << Problems(Q::TooFast);
        QTest::newRow("exactly 7 s") << "Hi" << 0.0 << 7.0 << noNext << 2 << Problems();
        QTest::newRow("longer than 7 s") << "Hi" << 0.0 << 7.01 << noNext << 2 << Problems(Q::TooLong);
        QTest::newRow("two lines and an empty one") << "a\n\nb" << 0.0 << 3.0 << noNext << 2 << Problems();
        QTest::newRow("three lines") << "a\nb\nc" << 0.0 << 3.0 << noNext << 3 << Problems(Q::TooManyLines);
        QTest::newRow("touching the next") << "Hi" << 0.0 << 2.0 << 2.0 << 2 << Problems(Q::GapTooSmall);
        QTest::newRow("a gap short by a rounded millisecond") << "Hi" << 0.0 << 2.0 << 2.083 << 2 << Problems();
        QTest::newRow("into the next") << "Hi" << 0.0 << 2.002 << 2.0 << 2 << Problems(Q::Overlap);
    }

    void checks()
    {
        QFETCH(QString, text);
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(double, nextStart);
        QFETCH(int, characters);
        QFETCH(Problems, expected);
        const Subtitle next(QStringLiteral("next"), nextStart, nextStart + 2);
        const QualityLimits limits;
        QCOMPARE(QualityCheck::measure(text).characters, characters);
        QCOMPARE(QualityCheck::check({text, start, end}, std::isnan(nextStart) ? nullptr : &next, limits, limits.minGap(0)),
                 expected);
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
        Checked c({std::make_shared<Subtitle>("a", 0, 2), std::make_shared<Subtitle>("b", 3, 5),
                   std::make_shared<Subtitle>("c", 6, 8), std::make_shared<Subtitle>("d", 9, 11)});
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
        c.controller.insertSubtitles({std::make_shared<Subtitle>("e", 20, 20)}, IndexSet(4));
        c.controller.setDelegate(&c);
        c.controller.setText(QStringLiteral("c!"), 2);
        QCOMPARE(c.kept(), c.fresh());

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
            QCOMPARE(c.kept(), c.fresh());
        }
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
