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
        QTest::newRow("empty text") << "" << "";
        QTest::newRow("no trailing blank line") << "1\n00:00:01,000 --> 00:00:02,000\nHello" << "Hello@1-2";
        QTest::newRow("trailing line feed") << "1\n00:00:01,000 --> 00:00:02,000\nHello\n" << "Hello@1-2";
        QTest::newRow("CR LF everywhere") << "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n\r\n" << "Hello@1-2";
        QTest::newRow("bare CR") << "1\r00:00:01,000 --> 00:00:02,000\rHello\r\r" << "Hello@1-2";
        QTest::newRow("unicode separators")
            << QStringLiteral("1\u202800:00:01,000 --> 00:00:02,000\u2029Hello\u0085") << "Hello@1-2";
        QTest::newRow("two text lines")
            << "1\n00:00:01,000 --> 00:00:02,000\nLine one\nLine two\n\n" << "Line one\nLine two@1-2";
        QTest::newRow("blank first text line reads the next line as text")
            << "1\n00:00:01,000 --> 00:00:02,000\n\n2\n" << "\n2@1-2";
        QTest::newRow("blank text line before the next subtitle ends the subtitle")
            << "1\n00:00:01,000 --> 00:00:02,000\n\n2\n00:00:03,000 --> 00:00:04,000\nB" << "@1-2|B@3-4";
        QTest::newRow("line of spaces before the next subtitle ends the subtitle")
            << "1\n00:00:01,000 --> 00:00:02,000\nA\n \n2\n00:00:03,000 --> 00:00:04,000\nB" << "A@1-2|B@3-4";
        QTest::newRow("leading zeros in the index") << "01\n00:00:01,000 --> 00:00:02,000\nA" << "A@1-2";
        QTest::newRow("end equal to start") << "1\n00:00:01,000 --> 00:00:01,000\nA" << "A@1-1";
        QTest::newRow("spaces-only line is text")
            << "1\n00:00:01,000 --> 00:00:02,000\nA\n  \nB" << "A\n  \nB@1-2";
        QTest::newRow("out of order comes back sorted")
            << "1\n00:00:10,000 --> 00:00:11,000\nten\n\n2\n00:00:05,000 --> 00:00:06,000\nfive\n\n"
               "3\n00:00:20,000 --> 00:00:21,000\ntwenty\n"
            << "five@5-6|ten@10-11|twenty@20-21";
        QTest::newRow("equal starts keep file order")
            << "1\n00:00:01,000 --> 00:00:02,000\nfirst\n\n2\n00:00:01,000 --> 00:00:03,000\nsecond\n"
            << "first@1-2|second@1-3";
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
        const QString times = QStringLiteral("00:00:01,000 --> 00:00:02,000");
        QTest::newRow("first index not 1") << "2\n" + times + "\nA" << "Error at line 0.\nInvalid index.";
        QTest::newRow("index with a space") << " 1\n" + times + "\nA" << "Error at line 0.\nInvalid index.";
        QTest::newRow("blank line at the top") << "\n1\n" + times + "\nA" << "Error at line 0.\nInvalid index.";
        QTest::newRow("byte-order mark left in the text")
            << QStringLiteral("\uFEFF1\n") + times + "\nA" << "Error at line 0.\nInvalid index.";
        QTest::newRow("two blank lines after the last subtitle")
            << "1\n" + times + "\nA\n\n\n" << "Error at line 4.\nInvalid index.";
        QTest::newRow("separator without spaces")
            << "1\n00:00:01,000-->00:00:02,000\nA" << "Error at line 1.\nInvalid timestamp.";
        QTest::newRow("period instead of comma")
            << "1\n00:00:01.000 --> 00:00:02,000\nA" << "Error at line 1.\nInvalid timestamp.";
        QTest::newRow("two separators")
            << "1\n00:00:01,000 --> 00:00:02,000 --> 00:00:03,000\nA" << "Error at line 1.\nInvalid timestamp.";
        QTest::newRow("coordinates after the end time")
            << "1\n00:00:01,000 --> 00:00:02,000 X1:10\nA" << "Error at line 1.\nInvalid timestamp.";
        QTest::newRow("end one millisecond before start")
            << "1\n00:00:02,000 --> 00:00:01,999\nA" << "Error at line 1.\nInvalid timestamp.";
        QTest::newRow("second index wrong")
            << "1\n" + times + "\nA\n\n3\n" + times + "\nB" << "Error at line 4.\nInvalid index.";
        QTest::newRow("no blank line before the next subtitle")
            << "1\n" + times + "\nA\n2\n" + times + "\nB" << "Error at line 3.\nInvalid index.";
        QTest::newRow("ends after a timing line") << "1\n" + times + "\n" << "Unexpected end of file.";
        QTest::newRow("ends after an index") << "1" << "Unexpected end of file.";
        QTest::newRow("an index beyond 64 bits")
            << "99999999999999999999999\n" + times + "\nA" << "Error at line 0.\nInvalid index.";
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
