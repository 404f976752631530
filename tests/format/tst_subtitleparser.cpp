#include "format/SubtitleParser.h"

#include "SubtitleDescription.h"

#include <QTest>

class tst_SubtitleParser : public QObject
{
    Q_OBJECT

private slots:
    void parsesValidText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // T stands for the timing line "00:00:01,000 --> 00:00:02,000".
        const auto row = [](const char *name, const char16_t *text, const char *expected) {
            QTest::newRow(name) << QStringView(text).toString().replace(u'T', QStringLiteral("00:00:01,000 --> 00:00:02,000")) << QString::fromUtf8(expected);
        };
        row("empty text", u"", "");
        row("no trailing blank line", u"1\nT\nHello", "Hello@1-2");
        row("trailing line feed", u"1\nT\nHello\n", "Hello@1-2");
        row("CR LF everywhere", u"1\r\nT\r\nHello\r\n\r\n", "Hello@1-2");
        row("bare CR", u"1\rT\rHello\r\r", "Hello@1-2");
        row("unicode separators", u"1\u2028T\u2029Hello\u0085", "Hello@1-2");
        row("two text lines", u"1\nT\nLine one\nLine two\n\n", "Line one\nLine two@1-2");
        row("a blank first text line reads the next line as text", u"1\nT\n\n2\n", "\n2@1-2");
        row("a blank text line before the next subtitle ends the subtitle", u"1\nT\n\n2\n00:00:03,000 --> 00:00:04,000\nB",
            "@1-2|B@3-4");
        row("a line of spaces before the next subtitle ends it", u"1\nT\nA\n \n2\n00:00:03,000 --> 00:00:04,000\nB", "A@1-2|B@3-4");
        row("leading zeros in the index", u"01\nT\nA", "A@1-2");
        row("end equal to start", u"1\n00:00:01,000 --> 00:00:01,000\nA", "A@1-1");
        row("a line of spaces among lines is text", u"1\nT\nA\n  \nB", "A\n  \nB@1-2");
        row("out of order comes back sorted",
            u"1\n00:00:10,000 --> 00:00:11,000\nten\n\n2\n00:00:05,000 --> 00:00:06,000\nfive\n\n3\n00:00:20,000 --> 00:00:21,000\nx\n",
            "five@5-6|ten@10-11|x@20-21");
        row("equal starts keep file order", u"1\nT\nfirst\n\n2\n00:00:01,000 --> 00:00:03,000\nsecond\n", "first@1-2|second@1-3");
    }

    void parsesValidText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const auto result = SubtitleParser::shared().parse(text);
        QVERIFY2(result.hasValue(), result ? "" : qPrintable(result.error().message()));
        QCOMPARE(describeSubtitles(result.value()), expected);
    }

    void reportsErrorsWithLineNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const char16_t *text, const char *message) {
            QTest::newRow(name) << QStringView(text).toString().replace(u'T', QStringLiteral("00:00:01,000 --> 00:00:02,000")) << QString::fromUtf8(message);
        };
        row("first index not 1", u"2\nT\nA", "Error at line 0.\nInvalid index.");
        row("index with a space", u" 1\nT\nA", "Error at line 0.\nInvalid index.");
        row("blank line at the top", u"\n1\nT\nA", "Error at line 0.\nInvalid index.");
        row("byte-order mark left in the text", u"\uFEFF1\nT\nA", "Error at line 0.\nInvalid index.");
        row("an index beyond 64 bits", u"99999999999999999999999\nT\nA", "Error at line 0.\nInvalid index.");
        row("two blank lines after the last subtitle", u"1\nT\nA\n\n\n", "Error at line 4.\nInvalid index.");
        row("separator without spaces", u"1\n00:00:01,000-->00:00:02,000\nA", "Error at line 1.\nInvalid timestamp.");
        row("period instead of comma", u"1\n00:00:01.000 --> 00:00:02,000\nA", "Error at line 1.\nInvalid timestamp.");
        row("two separators", u"1\nT --> 00:00:03,000\nA", "Error at line 1.\nInvalid timestamp.");
        row("coordinates after the end time", u"1\nT X1:10\nA", "Error at line 1.\nInvalid timestamp.");
        row("end one millisecond before start", u"1\n00:00:02,000 --> 00:00:01,999\nA", "Error at line 1.\nInvalid timestamp.");
        row("second index wrong", u"1\nT\nA\n\n3\nT\nB", "Error at line 4.\nInvalid index.");
        row("no blank line before the next subtitle", u"1\nT\nA\n2\nT\nB", "Error at line 3.\nInvalid index.");
        row("ends after a timing line", u"1\nT\n", "Unexpected end of file.");
        row("ends after an index", u"1", "Unexpected end of file.");
    }

    void reportsErrorsWithLineNumbers()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        const auto result = SubtitleParser::shared().parse(text);
        QVERIFY(!result.hasValue());
        QCOMPARE(result.error().message(), message);
    }

    void parsesTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("seconds");
        QTest::newRow("zero") << "00:00:00,000" << true << 0.0;
        QTest::newRow("one hour") << "01:00:00,000" << true << 3600.0;
        QTest::newRow("fraction") << "00:00:01,250" << true << 1.25;
        QTest::newRow("last of the day") << "23:59:59,999" << true << 86399.999;
        QTest::newRow("past a day, as written for long videos") << "25:00:00,000" << true << 90000.0;
        QTest::newRow("three-digit hour") << "100:00:00,000" << true << 360000.0;
        QTest::newRow("six-digit hour, the most we write") << "999999:59:59,999" << true << 3599999999.999;
        QTest::newRow("seven-digit hour") << "1234567:00:00,000" << false << 0.0;
        QTest::newRow("period") << "00:00:01.250" << false << 0.0;
        QTest::newRow("minutes out of range") << "00:60:00,000" << false << 0.0;
        QTest::newRow("seconds out of range") << "00:00:60,000" << false << 0.0;
        QTest::newRow("short milliseconds") << "00:00:01,25" << false << 0.0;
        QTest::newRow("one-digit hour") << "0:00:01,000" << false << 0.0;
        QTest::newRow("letters") << "00:0a:01,000" << false << 0.0;
        QTest::newRow("sign") << "-0:00:01,000" << false << 0.0;
        QTest::newRow("trailing space") << "00:00:01,000 " << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("non-ASCII digits") << QStringLiteral("00:00:0\u0661,000") << false << 0.0;
    }

    void parsesTimes()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, seconds);
        const auto result = SubtitleParser::shared().parseTime(text);
        QCOMPARE(result.hasValue(), valid);
        if (valid)
            QCOMPARE(result.value(), seconds);
        else
            QCOMPARE(result.error().message(), QStringLiteral("Invalid timestamp."));
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleParser)
#include "tst_subtitleparser.moc"
