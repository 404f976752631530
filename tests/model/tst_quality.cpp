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
#include <limits>

using Problems = QualityCheck::Problems;
Q_DECLARE_METATYPE(Problems)

namespace {

constexpr double noNext = std::numeric_limits<double>::quiet_NaN();

// Passes the controller's reports on to an index, as the document does.
class IndexFeeder : public SubtitleControllerDelegate
{
public:
    explicit IndexFeeder(ProblemIndex &index) : m_index(index) {}
    void didReloadSubtitles(SubtitleController &) override { m_index.reload(); }
    void didUpdateSubtitles(SubtitleController &, const IndexSet &indexes, const QList<SubtitleIndexUpdate> &updates,
                            const IndexSet &newIndexes) override
    {
        m_index.subtitlesUpdated(indexes, updates, newIndexes);
    }
    void didInsertSubtitles(SubtitleController &, const IndexSet &indexes) override
    {
        m_index.subtitlesInserted(indexes);
    }
    void didRemoveSubtitles(SubtitleController &, const SubtitleList &subtitles, const IndexSet &indexes) override
    {
        m_index.subtitlesRemoved(subtitles, indexes);
    }

private:
    ProblemIndex &m_index;
};

// What a fresh index finds, position by position: what the kept one must agree with.
QList<int> freshProblems(const SubtitleController &controller, double frameRate)
{
    ProblemIndex fresh(controller);
    fresh.setFrameRate(frameRate);
    QList<int> result;
    for (int i = 0; i < controller.count(); ++i)
        result.append(fresh.problems(i).toInt());
    return result;
}

QList<int> keptProblems(const ProblemIndex &index, int count)
{
    QList<int> result;
    for (int i = 0; i < count; ++i)
        result.append(index.problems(i).toInt());
    return result;
}

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

        QTest::newRow("plain subtitle within every limit") << "Hello there." << 1.0 << 3.0 << 5.0 << 12 << Problems();
        QTest::newRow("line breaks and surrounding spaces are not read")
            << "  Hello \r\n there  " << 1.0 << 3.0 << noNext << 10 << Problems();
        QTest::newRow("tags are not read, a lone < is")
            << "<i>a < b</i> {\\an8}<font color=\"#ff0000\">c</font>" << 1.0 << 3.0 << noNext << 7 << Problems();
        QTest::newRow("combining accent and emoji family are one character each")
            << QString::fromUtf8("e\u0301\U0001F468\u200D\U0001F469\u200D\U0001F467") << 1.0 << 3.0 << noNext << 2
            << Problems();
        QTest::newRow("43 accented graphemes make a line too long")
            << QString::fromUtf8("e\u0301").repeated(43) << 0.0 << 3.0 << noNext << 43
            << Problems(QualityCheck::LineTooLong);
        QTest::newRow("42 characters plus a tag fit a line")
            << QStringLiteral("<b>%1</b>").arg(QString(42, u'x')) << 0.0 << 3.0 << noNext << 42 << Problems();
        QTest::newRow("empty text is never too fast") << "" << 1.0 << 1.0 << noNext << 0
                                                      << Problems(QualityCheck::TooShort);
        QTest::newRow("equal times with text: too short and too fast")
            << "Hi" << 1.0 << 1.0 << noNext << 2 << Problems(QualityCheck::TooShort | QualityCheck::TooFast);
        QTest::newRow("21 characters in one second is too fast")
            << QString(21, u'a') << 0.0 << 1.0 << noNext << 21 << Problems(QualityCheck::TooFast);
        QTest::newRow("longer than 7 s") << "Hi" << 0.0 << 7.5 << noNext << 2 << Problems(QualityCheck::TooLong);
        QTest::newRow("three lines, an empty one not counted")
            << "a\nb\n\nc" << 0.0 << 3.0 << noNext << 3 << Problems(QualityCheck::TooManyLines);
        QTest::newRow("touching the next subtitle leaves no gap")
            << "Hi" << 0.0 << 2.0 << 2.0 << 2 << Problems(QualityCheck::GapTooSmall);
        QTest::newRow("exactly the minimum gap is enough") << "Hi" << 0.0 << 2.0 << 2.0 + 1.0 / 12 << 2 << Problems();
        QTest::newRow("a millisecond of rounding is not a gap too small")
            << "Hi" << 0.0 << 2.0 << 2.083 << 2 << Problems();
        QTest::newRow("running into the next subtitle is an overlap")
            << "Hi" << 0.0 << 2.5 << 2.0 << 2 << Problems(QualityCheck::Overlap);
        QTest::newRow("equal starts overlap") << "Hi" << 2.0 << 4.0 << 2.0 << 2 << Problems(QualityCheck::Overlap);
    }

    void checks()
    {
        QFETCH(QString, text);
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(double, nextStart);
        QFETCH(int, characters);
        QFETCH(Problems, expected);
        const Subtitle subtitle(text, start, end);
        const Subtitle next(QStringLiteral("next"), nextStart, nextStart + 2);
        const QualityLimits limits;
        QCOMPARE(QualityCheck::measure(text).characters, characters);
        QCOMPARE(QualityCheck::check(subtitle, std::isnan(nextStart) ? nullptr : &next, limits, limits.minGap(0)),
                 expected);
    }

    void fixes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<double>("nextStart");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<double>("expectedEnd");

        QTest::newRow("overlap: ends the minimum gap before the next")
            << "Hi" << 0.0 << 3.0 << 2.0 << "Hi" << 2.0 - 1.0 / 12;
        QTest::newRow("overlap with no room before the next: left alone")
            << "Hi" << 2.0 << 4.0 << 2.05 << "Hi" << 4.0;
        QTest::newRow("too short: lengthened to the minimum duration")
            << "Hi" << 0.0 << 0.5 << noNext << "Hi" << 0.833;
        QTest::newRow("too fast: lengthened until it reads at the limit")
            << QString(30, u'a') << 0.0 << 1.0 << 5.0 << QString(30, u'a') << 1.5;
        QTest::newRow("too fast: only as far as the next subtitle allows")
            << QString(30, u'a') << 0.0 << 1.0 << 1.3 << QString(30, u'a') << 1.3 - 1.0 / 12;
        QTest::newRow("too fast: no further than the maximum duration")
            << QString(200, u'a') << 0.0 << 1.0 << noNext << QString(200, u'a') << 7.0;
        QTest::newRow("too short with the next subtitle already a gap away: left alone")
            << "Hi" << 0.0 << 0.5 << 0.5 + 1.0 / 12 << "Hi" << 0.5;
        QTest::newRow("too long: ended at the maximum duration") << "Hi" << 0.0 << 9.0 << noNext << "Hi" << 7.0;
        QTest::newRow("long line: broken where the lines balance")
            << "The quick brown fox jumps over the lazy dog and runs away" << 0.0 << 5.0 << noNext
            << "The quick brown fox jumps over\nthe lazy dog and runs away" << 5.0;
        QTest::newRow("too many lines: joined onto two lines")
            << "One\ntwo\nthree" << 0.0 << 3.0 << noNext << "One two three" << 3.0;
        QTest::newRow("text too long for two lines: left alone")
            << QStringLiteral("word ").repeated(20).trimmed() << 0.0 << 5.0 << noNext
            << QStringLiteral("word ").repeated(20).trimmed() << 5.0;
    }

    void fixes()
    {
        QFETCH(QString, text);
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(double, nextStart);
        QFETCH(QString, expectedText);
        QFETCH(double, expectedEnd);
        SubtitleList list{std::make_shared<Subtitle>(text, start, end)};
        if (!std::isnan(nextStart))
            list.append(std::make_shared<Subtitle>(QStringLiteral("next"), nextStart, nextStart + 3));
        SubtitleController controller;
        UndoManager undo;
        controller.setUndoManager(&undo);
        ProblemIndex index(controller);
        IndexFeeder feeder(index);
        controller.setDelegate(&feeder);
        controller.setSubtitles(list);
        QVERIFY(index.problems(0));

        const bool changed = QualityFixes::fixAll(controller, index) > 0;
        undo.closeEventGroup();
        QCOMPARE(controller.at(0)->text, expectedText);
        QCOMPARE(controller.at(0)->end, expectedEnd);
        QCOMPARE(controller.at(0)->start, start);
        QCOMPARE(undo.canUndo(), changed);
        if (changed) {
            QVERIFY(!undo.undoActionName().isEmpty());
            undo.undo();
            QCOMPARE(controller.at(0)->text, text);
            QCOMPARE(controller.at(0)->end, end);
        }
    }

    void indexFollowsEditsUndoAndDeletion()
    {
        SubtitleController controller;
        UndoManager undo;
        controller.setUndoManager(&undo);
        ProblemIndex index(controller);
        IndexFeeder feeder(index);
        controller.setDelegate(&feeder);
        controller.setSubtitles({std::make_shared<Subtitle>("a", 0, 2), std::make_shared<Subtitle>("b", 3, 5),
                                 std::make_shared<Subtitle>("c", 6, 8), std::make_shared<Subtitle>("d", 9, 11)});
        QCOMPARE(index.subtitlesWithProblems(), 0);

        QList<std::pair<int, int>> reported;
        connect(&index, &ProblemIndex::problemsChanged, this,
                [&reported](int first, int last) { reported.append({first, last}); });
        controller.setEnd(0, 4); // now runs into b
        QCOMPARE(index.problems(0), Problems(QualityCheck::Overlap));
        QCOMPARE(reported, (QList<std::pair<int, int>>{{0, 0}}));
        undo.closeEventGroup();
        undo.undo();
        QCOMPARE(index.problems(0), Problems());
        controller.setStart(3, 7); // d moves before c and overlaps it
        QCOMPARE(keptProblems(index, 4), (QList<int>{0, 0, QualityCheck::Overlap, 0}));
        controller.removeSubtitles({controller.at(3)}, IndexSet(3));
        QCOMPARE(index.subtitlesWithProblems(), 0);

        // Changes nobody passed on (a file read before its window existed): the next
        // report finds the index out of step and it checks everything again.
        controller.setDelegate(nullptr);
        controller.setEnd(0, 3.5);
        controller.insertSubtitles({std::make_shared<Subtitle>("e", 20, 20)}, IndexSet(3));
        controller.setDelegate(&feeder);
        controller.setText(QStringLiteral("c!"), 2);
        QCOMPARE(keptProblems(index, controller.count()), freshProblems(controller, 0));

        // A run of random edits, undos and deletions, always in step with a fresh check.
        QRandomGenerator random(17);
        for (int step = 0; step < 400; ++step) {
            const int count = controller.count();
            const int p = count ? int(random.bounded(count)) : 0;
            const double t = random.bounded(40) / 4.0;
            switch (random.bounded(6)) {
            case 0:
                if (count)
                    controller.setStart(p, t);
                break;
            case 1:
                if (count)
                    controller.setEnd(p, t);
                break;
            case 2:
                controller.addSubtitle(t, std::nullopt);
                break;
            case 3:
                if (count > 1) {
                    const IndexSet two{std::min(p, count - 2), count - 1};
                    controller.removeSubtitles(controller.subtitlesAt(two), two);
                }
                break;
            case 4:
                if (count > 1)
                    controller.updateSubtitles({{t, t + 1, {}}, {t / 2, {}, QStringLiteral("x")}},
                                               IndexSet{0, count - 1});
                break;
            case 5:
                undo.closeEventGroup();
                if (undo.canUndo())
                    undo.undo();
                break;
            }
            undo.closeEventGroup();
            QCOMPARE(keptProblems(index, controller.count()), freshProblems(controller, 0));
        }
    }

    void hostileSettingsAreClamped()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("quality/maxCharactersPerSecond"), QStringLiteral("fast"));
        settings.setValue(QStringLiteral("quality/minDuration"), QStringLiteral("nan"));
        settings.setValue(QStringLiteral("quality/maxDuration"), -5);
        settings.setValue(QStringLiteral("quality/maxLineLength"), 0);
        settings.setValue(QStringLiteral("quality/maxLines"), 1e12);
        settings.setValue(QStringLiteral("quality/minGapFrames"), -3);
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
