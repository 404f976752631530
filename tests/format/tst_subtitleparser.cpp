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
        // A UTF-8 file is read from its bytes, with the same outcome.
        const auto fromBytes = SubtitleParser::shared().parseUtf8(text.toUtf8());
        QVERIFY(fromBytes.hasValue());
        QCOMPARE(describeSubtitles(fromBytes.value()), expected);
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
    }

    void reportsErrorsWithLineNumbers()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        const auto result = SubtitleParser::shared().parse(text);
        QVERIFY(!result.hasValue());
        QCOMPARE(result.error().message(), message);
        const auto fromBytes = SubtitleParser::shared().parseUtf8(text.toUtf8());
        QVERIFY(!fromBytes.hasValue());
        QCOMPARE(fromBytes.error().message(), message);
    }

    // Large texts are read in two halves at once; a fault near where they meet must read
    // as it does in one go, with its true line number. Every cue takes four lines and the
    // same number of bytes, so that the halves meet at one of the middle cues.
    void largeTextsReadAsInOneGo_data()
    {
        QTest::addColumn<QString>("defect");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("message");
        QTest::newRow("clean") << "" << 0 << QString();
        for (const int at : {50000, 50001, 50002}) {
            QTest::addRow("a number skipped at cue %d", at) << "skip" << at << QStringLiteral("Error at line %1.\nInvalid index.").arg(4 * at);
            QTest::addRow("no blank line before cue %d", at) << "run-on" << at << QStringLiteral("Error at line %1.\nInvalid index.").arg(4 * at - 1);
            QTest::addRow("a text of spaces before cue %d", at) << "blank" << at << QString();
        }
        QTest::newRow("bad timing in the second half") << "timing" << 75000 << "Error at line 300001.\nInvalid timestamp.";
    }

    void largeTextsReadAsInOneGo()
    {
        QFETCH(QString, defect);
        QFETCH(int, at);
        QFETCH(QString, message);
        constexpr int count = 100000; // over 4 MB
        QString text;
        for (int i = 0; i < count; ++i) {
            const int number = defect == "skip" && i >= at ? i + 2 : i + 1;
            const QString time = SubtitleParser::shared().formatTime(i * 3);
            const QString timing = defect == "timing" && i == at ? time + " -> " + time : time + " --> " + time;
            const QString body = defect == "blank" && i == at - 1 ? QStringLiteral(" ").repeated(28) : QStringLiteral("Line %1 of a longer text").arg(i, 6, 10, QChar(u'0'));
            const QString end = defect == "run-on" && i == at - 1 ? QString() : QStringLiteral("\n");
            text += QStringLiteral("%1\n").arg(number, 6, 10, QChar(u'0')) + timing + '\n' + body + '\n' + end;
        }
        for (const auto &result : {SubtitleParser::shared().parse(text), SubtitleParser::shared().parseUtf8(text.toUtf8())}) {
            QCOMPARE(result.hasValue() ? QString() : result.error().message(), message);
            if (result) {
                QCOMPARE(result.value().size(), count);
                QCOMPARE(result.value()[count - 1]->text, QStringLiteral("Line 099999 of a longer text"));
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleParser)
#include "tst_subtitleparser.moc"
