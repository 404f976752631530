#include "RecordingDelegate.h"

#include "model/text/SubtitleSearch.h"

#include <QTest>

namespace {
// The text that makes (a+)+$ try every way of splitting the a's before it fails.
const QString catastrophic = QString(40, u'a') + u'b';
} // namespace

class tst_SubtitleSearch : public QObject
{
    Q_OBJECT

private slots:
    // Options: c for case, w for whole words, r for a regular expression.
    void replaceAll_data()
    {
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("count");
        const auto row = [](const char *name, const char *find, const char *replacement, const char *options, const char *text,
                            const char *expected, int count) {
            QTest::newRow(name) << QString::fromUtf8(find) << QString::fromUtf8(replacement) << QString::fromUtf8(options)
                                << QString::fromUtf8(text) << QString::fromUtf8(expected) << count;
        };
        row("plain text ignores case by default", "cat", "dog", "", "Cat and cat", "dog and dog", 2);
        row("plain text with case", "cat", "dog", "c", "Cat and cat", "Cat and dog", 1);
        row("plain text is not a pattern", "a.c", "x", "", "abc a.c", "abc x", 1);
        row("whole words leave parts of words", "cat", "dog", "w", "cat catalogue concat", "dog catalogue concat", 1);
        row("whole words across non-ASCII letters", "über", "unter", "w", "über Überall", "unter Überall", 1);
        row("whole words hold for every alternative", "cat|dog", "pet", "wr", "catalogue hotdog cat dog.",
            "catalogue hotdog pet pet.", 2);
        row("plain alternatives are text", "cat|dog", "x", "w", "cat|dog cat", "x cat", 1);
        row("expression with captured groups", "(\\w+) (\\w+)", "\\2 \\1", "r", "hello world", "world hello", 1);
        row("a group numbered past 9", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)", "\\12", "r", "abcdefghijkl", "l", 1);
        row("a group that took no part is empty", "(x)?b", "[\\1]", "r", "ab", "a[]", 1);
        row("empty matches insert at every line start", "^", "- ", "r", "one", "- one", 1);
        row("an expression that can match nothing", "x*", "-", "r", "ab", "-a-b-", 3);
        row("a letter beyond UTF-16's first plane is one step", "x*", "-", "r", "😀", "-😀-", 2);
        row("a line break in the replacement", ", ", "\\n", "r", "a, b", "a\nb", 1);
        row("a backslash in a plain replacement stays", "a", "\\1", "", "a", "\\1", 1);
        row("a replacement equal to the match changes nothing", "cat", "cat", "", "cat", "cat", 1);
    }

    void replaceAll()
    {
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(QString, options);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(int, count);
        const SubtitleSearch search(find, {options.contains(u'c'), options.contains(u'w'), options.contains(u'r')});
        QVERIFY(search.isValid());
        const SubtitleList subtitles{Subtitle::create(text, 0, 1)};
        SubtitleSearch::Replacement result;
        SubtitleSearch::Progress progress;
        search.replaceAll(subtitles, replacement, result, progress);
        QVERIFY(progress.done && !progress.tooComplex);
        QCOMPARE(result.count, count);
        // Only a text that changes becomes part of the edit.
        QCOMPARE(result.indexes.isEmpty(), expected == text);
        QCOMPARE(result.values.isEmpty() ? text : *result.values.first().text, expected);
    }

    void findGoesRoundBothWays_data()
    {
        QTest::addColumn<int>("subtitle");
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<int>("expectedSubtitle");
        QTest::addColumn<int>("expectedOffset");
        // "ab ab" / "x" / "ab"
        QTest::newRow("next in the same text") << 0 << 1 << false << 0 << 3;
        QTest::newRow("next skips texts without a match") << 0 << 4 << false << 2 << 0;
        QTest::newRow("next goes round the end") << 2 << 1 << false << 0 << 0;
        QTest::newRow("previous in the same text") << 0 << 3 << true << 0 << 0;
        QTest::newRow("previous goes round the start") << 0 << 0 << true << 2 << 0;
        QTest::newRow("previous takes the last match of a text") << 1 << 0 << true << 0 << 3;
        QTest::newRow("the only match is found again from behind") << 2 << 0 << false << 2 << 0;
    }

    void findGoesRoundBothWays()
    {
        QFETCH(int, subtitle);
        QFETCH(int, offset);
        QFETCH(bool, backwards);
        QFETCH(int, expectedSubtitle);
        QFETCH(int, expectedOffset);
        const SubtitleList subtitles = subtitlesFrom(QStringLiteral("ab ab@0-1|x@2-3|ab@4-5"));
        const SubtitleSearch search(QStringLiteral("ab"), {});
        // All at once, and one subtitle per slice as a window searches: the same match.
        for (const int budget : {SubtitleSearch::unlimited, 1}) {
            SubtitleSearch::Progress progress;
            std::optional<SubtitleSearch::Match> match;
            while (!progress.done)
                match = search.find(subtitles, subtitle, offset, backwards, progress, budget);
            QVERIFY(match);
            QCOMPARE(match->subtitle, expectedSubtitle);
            QCOMPARE(match->offset, expectedOffset);
        }
    }

    void findEdges()
    {
        // Empty matches are skipped.
        const SubtitleList subtitles = subtitlesFrom(QStringLiteral("abc@0-1|xyz@2-3"));
        SubtitleSearch::Progress progress;
        QVERIFY(!SubtitleSearch(QStringLiteral("q*"), {false, false, true}).find(subtitles, 0, 0, false, progress));
        QVERIFY(progress.done && !progress.tooComplex);
        progress = {};
        QCOMPARE(SubtitleSearch(QStringLiteral("y*"), {false, false, true}).find(subtitles, 0, 0, false, progress),
                 std::optional(SubtitleSearch::Match{1, 1, 1}));
        QVERIFY(!SubtitleSearch(QString(), {}).isValid());
        // Whole words must not make a broken expression read as a valid one.
        QVERIFY(!SubtitleSearch(QStringLiteral("a)(b"), {false, true, true}).isValid());
    }

    // Where the engine gives up, the search says so: never "not found", never a Replace
    // All that leaves out the texts it could not read.
    void engineGivingUpIsNotNoMatch_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<bool>("replace");
        QTest::newRow("find next") << "(a+)+$" << false << false;
        QTest::newRow("find next where another alternative matches") << "(a+)+$|b" << false << false;
        QTest::newRow("find previous") << "(a+)+$|b" << true << false;
        QTest::newRow("replace all, after a text it could replace") << "(a+)+$|b" << false << true;
    }

    void engineGivingUpIsNotNoMatch()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, backwards);
        QFETCH(bool, replace);
        const SubtitleList subtitles{Subtitle::create(QStringLiteral("b"), 0, 1), Subtitle::create(catastrophic, 2, 3),
                                     Subtitle::create(catastrophic, 4, 5)};
        const SubtitleSearch search(pattern, {true, false, true});
        QVERIFY(search.isValid());
        SubtitleSearch::Progress progress;
        if (replace) {
            SubtitleSearch::Replacement result;
            search.replaceAll(subtitles, QStringLiteral("x"), result, progress);
            QVERIFY(result.indexes.isEmpty() && result.values.isEmpty());
            QCOMPARE(result.count, 0);
        } else {
            QVERIFY(!search.find(subtitles, 1, 0, backwards, progress));
        }
        QVERIFY(progress.done);
        QVERIFY(progress.tooComplex);
        // It ends at the first text it gives up on instead of trying every one.
        QCOMPARE(progress.step, replace ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleSearch)
#include "tst_subtitlesearch.moc"
