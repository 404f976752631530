#include "RecordingDelegate.h"

#include "model/quality/ProblemIndex.h"
#include "model/quality/QualityCheck.h"
#include "model/quality/QualityFixes.h"
#include "model/quality/ShotChangeRules.h"
#include "model/SubtitleController.h"
#include "model/SubtitleControllerDelegate.h"
#include "model/UndoManager.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <bit>
#include <cmath>
#include <vector>


using Problems = QualityCheck::Problems;
Q_DECLARE_METATYPE(Problems)
Q_DECLARE_METATYPE(QualityLimits)
Q_DECLARE_METATYPE(QualityLimits::ReadingUnit)
Q_DECLARE_METATYPE(std::optional<int>)

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

// How far a subtitle is past each limit (0 within it): the gap, shortness, length,
// reading speed, longest line and number of lines.
using Excess = std::array<double, 6>;

std::vector<Excess> excesses(const Checked &c)
{
    const QualityLimits &limits = c.index.limits();
    const SubtitleList &list = c.controller.subtitles();
    std::vector<Excess> result;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Subtitle &s = *list[i];
        const double duration = s.end - s.start;
        const QualityCheck::TextMeasure text = QualityCheck::measure(s.text(), limits);
        const double gap = i + 1 < list.size() ? list[i + 1]->start - s.end : 1e9;
        result.push_back({std::max(0.0, c.index.minGap() - gap), std::max(0.0, limits.minDuration - duration),
                          std::max(0.0, duration - limits.maxDuration),
                          std::max(0.0, text.counted / duration - limits.maxReadingPerSecond()),
                          double(std::max(0, text.longestLine - limits.maxLineLength)),
                          double(std::max(0, text.lines - limits.maxLines))});
    }
    return result;
}

int problemCount(const ProblemIndex &index, qsizetype count)
{
    int problems = 0;
    for (int i = 0; i < count; ++i)
        problems += int(std::popcount(index.problems(i).toInt()));
    return problems;
}

// Subtitles as films have them: mostly one to four seconds at a comfortable speed, some
// too fast, gaps from nothing to a few seconds with many just under the minimum, a few
// overlaps, long lines and three-line texts now and then.
SubtitleList filmLike(quint32 seed, int count)
{
    QRandomGenerator random(seed);
    const auto uniform = [&random](double low, double high) { return low + random.generateDouble() * (high - low); };
    SubtitleList list;
    double time = 2;
    for (int i = 0; i < count; ++i) {
        const double duration = random.bounded(40) == 0 ? uniform(7, 9) : 0.5 + 3.5 * std::pow(random.generateDouble(), 1.5);
        const int roll = int(random.bounded(100));
        const int characters = std::max(2, int(std::lround(duration * (roll < 15 ? uniform(20, 30) : uniform(6, 20)))));
        QString text;
        while (text.size() < characters)
            text += QString(2 + random.bounded(8), QChar(u'a' + random.bounded(26))) + u' ';
        text = text.left(characters).trimmed();
        // Lines of about 38 characters (60 now and then), two at most but now and then three.
        const int lineLength = random.bounded(12) == 0 ? 60 : 38;
        for (int line = 1; line < (random.bounded(20) == 0 ? 3 : 2); ++line) {
            if (const qsizetype space = text.lastIndexOf(u' ', line * lineLength); space > 0)
                text[space] = u'\n';
        }
        if (roll % 9 == 0)
            text = QStringLiteral("<i>") + text + QStringLiteral("</i>");
        list.append(Subtitle::create(text, time, time + duration));
        const int gapRoll = int(random.bounded(100));
        const double gap = gapRoll < 25 ? uniform(0, 0.12) : gapRoll < 35 ? 0 : gapRoll < 40 ? -uniform(0, 0.6)
                         : gapRoll < 85 ? uniform(0.12, 1.5) : uniform(1.5, 5);
        time += std::max(0.01, duration + gap);
    }
    return list;
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
        QTest::addColumn<QString>("subtitles"); // the one checked, and the next
        QTest::addColumn<int>("characters");
        QTest::addColumn<Problems>("expected");
        const auto row = [](const char *name, const QString &subtitles, int characters, Problems expected) {
            QTest::newRow(name) << subtitles << characters << expected;
        };
        using Q = QualityCheck;
        row("a line break and spaces are not read", "  Hello \r\n there  @1-3|n@5-7", 10, {});
        row("tags are not read, a lone < is", "<i>a < b</i> {\\an8}<font color=\"#ff0000\">c</font>@1-3", 7, {});
        row("only tags in braces: nothing to read", "{\\an8}{\\i1}@1-1", 0, Q::TooShort);
        row("an accent and an emoji family are a character each", "e\u0301\U0001F468\u200D\U0001F469\u200D\U0001F467@1-3", 2, {});
        // Marks that set the direction of Arabic or Hebrew text show nothing.
        row("direction marks, isolates and a zero-width space are not read",
            QStringLiteral("\u200F\u202Bשלום\u202C \u2067עולם\u2069\u200E\u200B@1-3"), 9, {});
        row("43 accented characters: a line too long", QStringLiteral("e\u0301").repeated(43) + "@0-3", 43, Q::LineTooLong);
        row("42 characters and a tag fit a line", "<b>" + QString(42, u'x') + "</b>@0-3", 42, {});
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
        QCOMPARE(QualityCheck::measure(list[0]->text()).counted, characters);
        QCOMPARE(QualityCheck::check(*list[0], list.size() > 1 ? list[1].get() : nullptr, limits, limits.minGap(0)), expected);
    }

    // What a reading speed in words a minute counts.
    void wordsAsAReaderCountsThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("words");
        QTest::newRow("nothing") << "" << 0;
        QTest::newRow("only tags and spaces") << "{\\an8}<i> </i>\n " << 0;
        QTest::newRow("tags are no words and split none")
            << "{\\an8}<i>Get</i> <font color=\"#ff0000\">o</font>ut!" << 2;
        QTest::newRow("speakers' dashes are no words, apart or against the word") << "- Where?\n-Here. – Now!" << 3;
        QTest::newRow("a hyphenated word is one") << "A well-known mother-in-law" << 3;
        QTest::newRow("a number is one") << "At 10:30, 3.5 km and 1,000 people" << 7;
        QTest::newRow("an apostrophe splits nothing") << "Don't, it's O’Brien's" << 3;
        QTest::newRow("a dash or an ellipsis between words splits them") << "Wait—what…no" << 3;
        QTest::newRow("punctuation alone is no word") << "... -- — ?!" << 0;
        QTest::newRow("lines apart, accents and all") << "Café\ndéjà vu" << 3;
    }

    void wordsAsAReaderCountsThem()
    {
        QFETCH(QString, text);
        QFETCH(int, words);
        QCOMPARE(QualityCheck::wordCount(text), words);
    }

    // Short words read fast by the word and slowly by the character, long words the other
    // way; Fix All lengthens what reads too fast until it reads at the limit, in its unit.
    void readingSpeedInEitherUnit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QualityLimits::ReadingUnit>("unit");
        QTest::addColumn<double>("limit");
        QTest::addColumn<QString>("said"); // empty: not too fast
        QTest::addColumn<double>("fixedDuration");
        const QString shortWords = QStringLiteral("Yes, I do. No, we go. So do I."); // 30 characters, 9 words
        const QString longWords = QStringLiteral("Extraordinary circumstances\nnecessitated reconsideration"); // 55, 4
        using Unit = QualityLimits::ReadingUnit;
        QTest::newRow("short words: 15 characters a second within 17") << shortWords << Unit::CharactersPerSecond << 17.0
                                                                        << "" << 0.0;
        QTest::newRow("short words: 270 words a minute over 160") << shortWords << Unit::WordsPerMinute << 160.0
                                                                  << "270 words per minute; at most 160" << 9 / (160.0 / 60);
        QTest::newRow("long words: 27.5 characters a second over 17") << longWords << Unit::CharactersPerSecond << 17.0
                                                                      << "27.5 characters per second; at most 17" << 55 / 17.0;
        QTest::newRow("long words: 120 words a minute within 160") << longWords << Unit::WordsPerMinute << 160.0 << "" << 0.0;
    }

    void readingSpeedInEitherUnit()
    {
        QFETCH(QString, text);
        QFETCH(QualityLimits::ReadingUnit, unit);
        QFETCH(double, limit);
        QFETCH(QString, said);
        QFETCH(double, fixedDuration);
        QualityLimits limits;
        limits.readingUnit = unit;
        limits.maxReadingSpeed = limit;
        Checked c({Subtitle::create(text, 1, 3)});
        c.index.setLimits(limits);
        QCOMPARE(bool(c.index.problems(0) & QualityCheck::TooFast), !said.isEmpty());
        if (said.isEmpty())
            return;
        QCOMPARE(c.index.describe(0, QualityCheck::TooFast), said);
        QCOMPARE(QualityFixes::fixAll(c.controller, c.index).fixedCount(), 1);
        QCOMPARE(c.index.problems(0), Problems());
        QCOMPARE(c.controller.subtitles()[0]->end, 1 + fixedDuration);
    }

    // Fix All on the first subtitle ("" after: left alone); the next is never changed.
    void fixes_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const auto row = [](const char *name, const QString &before, const QString &after) { QTest::newRow(name) << before << after; };
        const QString a20(20, u'a'), a30(30, u'a'), a200(200, u'a'), words = QStringLiteral("word ").repeated(20).trimmed();
        // Thirty characters on three lines; on one, two spaces join them.
        const QString b3 = QStringLiteral("aaaaaaaaaa\nbbbbbbbbbb\ncccccccccc"), b1 = QStringLiteral("aaaaaaaaaa bbbbbbbbbb cccccccccc");
        row("overlap: the next starts a gap later, this one ends where it started", "Hi@0-3|n@2-5", "Hi@0-2|n@2.08333-5");
        row("overlap without room: left alone", "Hi@0-3|n@0.05-3", "");
        row("small gap, the next has no time to spare: this one ends earlier", "Hi@0-2|" + a20 + "@2.05-3.05",
            "Hi@0-1.96667|" + a20 + "@2.05-3.05");
        row("too fast, small gap: the next starts later", a30 + "@0-1.2|n@1.25-4", a30 + "@0-1.2|n@1.28333-4");
        row("too fast, small gap, the next has no time to spare: left alone", a30 + "@0-1.2|" + a20 + "@1.25-2.25", "");
        row("small gap, the next starts with the one after it: left alone", "Hi@0-0.85|n@0.9-3|x@0.9-4", "");
        row("too short: the shortest duration", "Hi@0-0.5", "Hi@0-0.833");
        row("too fast: until it reads at the limit", a30 + "@0-1|n@5-8", a30 + "@0-1.5|n@5-8");
        row("too fast: as far as the next allows", a30 + "@0-1|n@1.3-4", a30 + "@0-1.21667|n@1.3-4");
        row("too fast: no longer than 7 s", a200 + "@0-1", a200 + "@0-7");
        row("too short, the next a gap away: left alone", "Hi@0-0.5|n@0.583333-3", "");
        row("too long: ended at 7 s", "Hi@0-9", "Hi@0-7");
        row("too long, but too fast in 7 s: left alone", QString(150, u'a') + "@0-9", "");
        row("too long and into the next: ended at 7 s, still too close", QString(139, u'a') + "@0-7.05|" + a20 + "@7-8",
            QString(139, u'a') + "@0-7|" + a20 + "@7-8");
        row("long line: broken where the lines balance", "The quick brown fox jumps over the lazy dog and runs away@0-5",
            "The quick brown fox jumps over\nthe lazy dog and runs away@0-5");
        row("too many lines: joined, and longer for the spaces that adds", b3 + "@0-1.5", b1 + "@0-1.6");
        row("too many lines, joined would read too fast: left alone", b3 + "@0-1.5|n@1.6-3", "");
        row("long line: two lines of exactly the longest", QString(42, u'x') + ' ' + QString(42, u'y') + "@0-5",
            QString(42, u'x') + '\n' + QString(42, u'y') + "@0-5");
        row("too long for two lines: left alone", words + "@0-5", "");
        row("long line, two breaks as even: the longer line below", a20 + " b " + a20 + "@0-5", a20 + "\nb " + a20 + "@0-5");
    }

    void fixes()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        Checked c(subtitlesFrom(before));
        QVERIFY(c.index.problems(0));
        const int problems = problemCount(c.index, c.controller.count());
        const QualityFixes::Outcome outcome = QualityFixes::fixAll(c.controller, c.index);
        c.undo.closeEventGroup();
        QCOMPARE(outcome.fixedCount() + outcome.leftCount(), problems); // each one either fixed or left
        QCOMPARE(describe(c.controller), after.isEmpty() ? before : after);
        QCOMPARE(outcome.changedSubtitles > 0, !after.isEmpty());
        QCOMPARE(c.undo.canUndo(), !after.isEmpty());
        QCOMPARE(QualityFixes::fixAll(c.controller, c.index).changedSubtitles, 0); // nothing left to change
        if (!after.isEmpty()) {
            c.undo.undo();
            QCOMPARE(describe(c.controller), before);
        }
    }

    // The delivery rules at their frame boundaries, at the common rates: where an edge the
    // given number of frames from a cut goes, in frames from the cut (none: it stays).
    void shotChangeRules_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<bool>("start");
        QTest::addColumn<int>("frames");
        QTest::addColumn<std::optional<int>>("goesTo");
        const std::optional<int> stays;
        const QList<std::tuple<bool, int, std::optional<int>>> table{
            {true, 0, stays},   {true, 1, 0},        {true, 11, 0},       {true, 12, stays}, {true, 13, stays},
            {true, -1, 0},      {true, -8, 0},       {true, -9, -12},     {true, -11, -12},  {true, -12, stays},
            {true, -13, stays}, {false, -2, stays},  {false, -1, -2},     {false, 0, -2},    {false, 11, -2},
            {false, 12, stays}, {false, 13, stays},  {false, -3, -2},     {false, -11, -2},  {false, -12, stays},
        };
        for (double rate : {24000.0 / 1001, 25.0, 30000.0 / 1001}) {
            for (const auto &[start, frames, goesTo] : table) {
                QTest::addRow("%.3f fps: %s %d frames from the cut", rate, start ? "start" : "end", frames)
                    << rate << start << frames << goesTo;
            }
        }
    }

    void shotChangeRules()
    {
        QFETCH(double, rate);
        QFETCH(bool, start);
        QFETCH(int, frames);
        QFETCH(std::optional<int>, goesTo);
        constexpr int cut = 43'157; // half an hour in: the times are not round
        const ShotChanges shotChanges({cut / rate, (cut + 400) / rate});
        const ShotChangeRules rules(shotChanges, rate, QualityLimits());
        const double edge = (cut + frames) / rate;
        const auto move = start ? rules.start(edge) : rules.end(edge);
        QCOMPARE(move.has_value(), goesTo.has_value());
        if (move)
            QCOMPARE(std::lround(move->to * rate), cut + *goesTo);
    }

    // Fix All moves edges to shot changes only within the other limits, and says why not.
    void shotChangeFixesKeepTheLimits_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("left");
        // 25 fps, a cut at 10 s; a minimum gap of 2 frames (0.08 s).
        QTest::newRow("a start 5 frames after the cut goes onto it") << "Hi@10.2-12" << "Hi@10-12" << 0;
        QTest::newRow("a start and the end before it meet at the cut, the gap kept")
            << "a@8-9.96|Hi@10.2-12" << "a@8-9.92|Hi@10-12" << 0;
        QTest::newRow("the end before cannot move without reading too fast: nor can the start after it")
            << QString(39, u'a') + "@8-9.96|Hi@10.2-12" << "" << 2;
        QTest::newRow("an end 3 frames before the cut ends 2 frames before it, the gap kept")
            << "Hi@8-9.88|n@10-12" << "Hi@8-9.92|n@10-12" << 0;
        // Fixes of other problems keep edges on frames and in their shots.
        const QString a30(30, u'a'), a31(31, u'a'), a40(40, u'a');
        QTest::newRow("too fast: lengthened to the next frame after where it reads at the limit")
            << a31 + "@1-2" << a31 + "@1-2.56" << 0;
        QTest::newRow("too fast: lengthened no further than 2 frames before the cut")
            << a40 + "@9-9.8" << a40 + "@9-9.92" << 1;
        QTest::newRow("too fast: reading at the limit a few frames before the cut, ends 2 frames before it")
            << a30 + "@8.2-9.2" << a30 + "@8.2-9.92" << 0;
        QTest::newRow("small gap, the next starts on the cut: this one ends earlier")
            << "Hi@8-9.96|n@10-12" << "Hi@8-9.92|n@10-12" << 0;
    }

    void shotChangeFixesKeepTheLimits()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, left);
        Checked c(subtitlesFrom(before));
        c.index.setFrameRate(25);
        c.index.setShotChanges(ShotChanges({10.0}));
        QVERIFY(problemCount(c.index, c.controller.count()) > 0);
        const QualityFixes::Outcome outcome = QualityFixes::fixAll(c.controller, c.index);
        c.undo.closeEventGroup();
        QCOMPARE(outcome.leftCount(), left);
        QCOMPARE(describe(c.controller), after.isEmpty() ? before : after);
        QCOMPARE(QualityFixes::fixAll(c.controller, c.index).changedSubtitles, 0);
        if (!after.isEmpty()) {
            c.undo.undo();
            QCOMPARE(describe(c.controller), before);
        }
    }

    // The minimum gap is two frames of the video (1/12 s without one): a new frame rate
    // checks every subtitle again, and a fix opens the gap that rate asks for.
    void gapFollowsTheFrameRate()
    {
        Checked c(subtitlesFrom(QStringLiteral("Hi@0-2|n@2.07-4")));
        c.index.setFrameRate(30);
        QCOMPARE(c.index.problems(0), Problems());
        c.index.setFrameRate(25);
        QCOMPARE(c.index.problems(0), Problems(QualityCheck::GapTooSmall));
        QualityFixes::fixAll(c.controller, c.index);
        QCOMPARE(describe(c.controller), QStringLiteral("Hi@0-2|n@2.08-4"));

        // So is the distance from a shot change: 0.4 s is 10 frames at 24, 12 at 30, even
        // with no minimum gap for the new rate to change.
        Checked near(subtitlesFrom(QStringLiteral("Hi@10.4-12")));
        QualityLimits noGap;
        noGap.minGapFrames = 0;
        near.index.setLimits(noGap);
        near.index.setShotChanges(ShotChanges({10.0}));
        QCOMPARE(near.index.problems(0), Problems(QualityCheck::StartNearShotChange));
        near.index.setFrameRate(30);
        QCOMPARE(near.index.problems(0), Problems());
    }

    // Fix All on film-like lists (with a generator's seed and frame rate): no limit of any
    // subtitle gets worse, the outcome counts what went and what stayed, a second Fix All
    // changes nothing, and one undo brings everything back.
    void fixAllNeverMakesALimitWorse_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<QualityLimits>("limits");
        QTest::newRow("seed 1, no video") << 1u << 0.0 << QualityLimits();
        QTest::newRow("seed 2, 23.976 fps") << 2u << 24000.0 / 1001 << QualityLimits();
        QTest::newRow("seed 3, 25 fps") << 3u << 25.0 << QualityLimits();
        // Texts joined onto one line that read within a hair of the limit.
        QualityLimits oneLine;
        oneLine.maxReadingSpeed = 27;
        oneLine.minDuration = 0.0141912;
        oneLine.maxDuration = 9.64715;
        oneLine.maxLineLength = 49;
        oneLine.maxLines = 1;
        oneLine.minGapFrames = 3;
        QTest::newRow("seed 17, one line, 30 fps") << 17u << 30.0 << oneLine;
        QualityLimits words;
        words.readingUnit = QualityLimits::ReadingUnit::WordsPerMinute;
        words.maxReadingSpeed = 160;
        QTest::newRow("seed 5, 160 words a minute, 25 fps") << 5u << 25.0 << words;
    }

    void fixAllNeverMakesALimitWorse()
    {
        QFETCH(quint32, seed);
        QFETCH(double, frameRate);
        QFETCH(QualityLimits, limits);
        Checked c(filmLike(seed, 1600));
        c.index.setFrameRate(frameRate);
        c.index.setLimits(limits);
        const QString original = describe(c.controller);
        const SubtitleList subtitles = c.controller.subtitles();
        const std::vector<Excess> before = excesses(c);
        const int problemsBefore = problemCount(c.index, subtitles.size());

        const QualityFixes::Outcome outcome = QualityFixes::fixAll(c.controller, c.index);
        c.undo.closeEventGroup();
        QCOMPARE(c.controller.subtitles(), subtitles); // none moved
        const std::vector<Excess> after = excesses(c);
        for (qsizetype i = 0; i < subtitles.size(); ++i) {
            for (size_t kind = 0; kind < before[i].size(); ++kind) {
                if (after[i][kind] > before[i][kind] + 1e-6)
                    QFAIL(qPrintable(QStringLiteral("subtitle %1 got worse (measure %2): %3 -> %4")
                                         .arg(i + 1).arg(kind).arg(before[i][kind]).arg(after[i][kind])));
            }
        }
        const int problemsAfter = problemCount(c.index, subtitles.size());
        QVERIFY(outcome.fixedCount() > 100);
        QVERIFY(outcome.leftCount() > 10);
        QCOMPARE(outcome.fixedCount(), problemsBefore - problemsAfter);
        QCOMPARE(outcome.leftCount(), problemsAfter);

        const QString fixed = describe(c.controller);
        const QualityFixes::Outcome again = QualityFixes::fixAll(c.controller, c.index);
        c.undo.closeEventGroup();
        QCOMPARE(again.changedSubtitles, 0);
        QCOMPARE(again.fixedCount(), 0);
        QVERIFY(again.left == outcome.left);
        QCOMPARE(describe(c.controller), fixed);
        c.undo.undo();
        QCOMPARE(describe(c.controller), original);
    }

    // The kept problems agree with a fresh check after every edit, undo and deletion.
    void indexFollowsEveryChange()
    {
        Checked c(subtitlesFrom(QStringLiteral("a@0-2|b@3-5|c@6-8|d@9-11")));
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
            switch (const quint32 kind = random.bounded(6)) {
            case 0:
            case 1:
                if (count)
                    (c.controller.*(kind ? &SubtitleController::setEnd : &SubtitleController::setStart))(p, t);
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
            {"maxLineLength", 0}, {"maxLines", 1e12}, {"minGapFrames", -3},
            {"shotChangeZoneFrames", 6}, {"endBeforeShotChangeFrames", 40}};
        for (const auto &[key, value] : values)
            settings.setValue(QStringLiteral("quality/") + QLatin1String(key), value);
        const QualityLimits limits = QualityLimits::load(settings);
        QCOMPARE(std::tuple(limits.maxReadingSpeed, limits.minDuration, limits.maxLineLength, limits.maxLines, limits.minGapFrames),
                 std::tuple(QualityLimits().maxReadingSpeed, QualityLimits().minDuration, 1, 100, 0));
        QVERIFY(limits.maxDuration >= limits.minDuration);
        QCOMPARE(limits.endBeforeShotChangeFrames, 5); // an end gap inside the zone
    }
};

QTEST_GUILESS_MAIN(tst_Quality)
#include "tst_quality.moc"
