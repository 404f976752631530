#include "format/SubtitleParser.h"

#include "SubtitleText.h"

#include <QTest>

// Reading and writing SRT text, and the one text form of a time.
class tst_SubtitleParser : public QObject
{
    Q_OBJECT

private slots:
    // What a text reads as ("text@start-end|…"), or the error it is refused with.
    void parses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // T stands for the timing line "00:00:01,000 --> 00:00:02,000".
        const auto row = [](const char *name, const char16_t *text, const char *expected) {
            QTest::newRow(name) << QStringView(text).toString().replace(u'T', QStringLiteral("00:00:01,000 --> 00:00:02,000")) << QString::fromUtf8(expected);
        };
        row("empty text", u"", "");
        row("no trailing blank line", u"1\nT\nHello", "Hello@1-2");
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
        row("first index not 1", u"2\nT\nA", "Error at line 0.\nInvalid index.");
        row("blank line at the top", u"\n1\nT\nA", "Error at line 0.\nInvalid index.");
        row("byte-order mark left in the text", u"\uFEFF1\nT\nA", "Error at line 0.\nInvalid index.");
        row("an index beyond 64 bits", u"99999999999999999999999\nT\nA", "Error at line 0.\nInvalid index.");
        row("two blank lines after the last subtitle", u"1\nT\nA\n\n\n", "Error at line 4.\nInvalid index.");
        row("separator without spaces", u"1\n00:00:01,000-->00:00:02,000\nA", "Error at line 1.\nInvalid timestamp.");
        row("two separators", u"1\nT --> 00:00:03,000\nA", "Error at line 1.\nInvalid timestamp.");
        row("coordinates after the end time", u"1\nT X1:10\nA", "Error at line 1.\nInvalid timestamp.");
        row("end one millisecond before start", u"1\n00:00:02,000 --> 00:00:01,999\nA", "Error at line 1.\nInvalid timestamp.");
        row("second index wrong", u"1\nT\nA\n\n3\nT\nB", "Error at line 4.\nInvalid index.");
        row("no blank line before the next subtitle", u"1\nT\nA\n2\nT\nB", "Error at line 3.\nInvalid index.");
        row("ends after a timing line", u"1\nT\n", "Unexpected end of file.");
        row("ends after an index", u"1", "Unexpected end of file.");
    }

    void parses()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const auto result = SubtitleParser::shared().parse(text);
        QCOMPARE(result ? describeSubtitles(result.value()) : result.error().message(), expected);
        // A UTF-8 file is read from its bytes, with the same outcome.
        const auto fromBytes = SubtitleParser::shared().parseUtf8(text.toUtf8());
        QCOMPARE(fromBytes ? describeSubtitles(fromBytes.value()) : fromBytes.error().message(), expected);
    }

    // UTF-8 bytes are read as fast as ASCII, several at a time, up to a byte that may begin
    // a line's end: every character, line end or not, must split and write back as its
    // UTF-16 text does, wherever it falls in those words.
    void utf8ReadsAndWritesAsUtf16_data()
    {
        QTest::addColumn<QString>("piece");
        QTest::newRow("next line U+0085 (C2 85)") << QStringLiteral("\u0085");
        QTest::newRow("line separator U+2028 (E2 80 A8)") << QStringLiteral("\u2028");
        QTest::newRow("paragraph separator U+2029 after an accent") << QStringLiteral("\u00e9\u2029");
        QTest::newRow("degree sign, C2 but no line end") << QStringLiteral("\u00b0");
        QTest::newRow("ellipsis and quotes, E2 but no line end") << QStringLiteral("\u2026\u201c\u2027\u202a");
        QTest::newRow("CR LF") << QStringLiteral("\r\n");
        QTest::newRow("bare CR") << QStringLiteral("\r");
        QTest::newRow("four-byte and CJK characters") << QStringLiteral("\U0001F600\u4e2d");
    }

    void utf8ReadsAndWritesAsUtf16()
    {
        QFETCH(QString, piece);
        const SubtitleParser &parser = SubtitleParser::shared();
        // the text lines begin at a multiple of eight bytes
        const QString timing = QStringLiteral("00:00:01,000 --> 00:00:02,000\n");
        for (int offset = 0; offset < 17; ++offset) {
            const QString line = QString(offset, u'x') + piece + u'y' + piece + QStringLiteral("z, a longer ending");
            const QString text = "1\n" + timing + line + "\n\n2\n" + timing + line + '\n' + piece;
            const auto fromUtf16 = parser.parse(text);
            const auto fromUtf8 = parser.parseUtf8(text.toUtf8());
            QVERIFY(fromUtf16 && fromUtf8);
            QCOMPARE(describeSubtitles(fromUtf8.value()), describeSubtitles(fromUtf16.value()));
            QCOMPARE(parser.serializeUtf8(fromUtf8.value(), false, false), parser.serialize(fromUtf16.value()).toUtf8());
        }
    }

    // Times read and written: "both" ways, only "read" (NaN: refused) or only "written".
    void times_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("way");
        const auto row = [](const char *way, const char *name, const char16_t *text, double seconds) {
            QTest::newRow(name) << QStringView(text).toString() << seconds << QString::fromLatin1(way);
        };
        const double refused = qQNaN();
        row("both", "zero", u"00:00:00,000", 0);
        row("both", "a fraction", u"00:00:01,250", 1.25);
        row("both", "the last of a day", u"23:59:59,999", 86399.999);
        row("both", "past a day", u"25:01:01,500", 90061.5);
        row("both", "six-digit hour, the most a file holds", u"999999:59:59,999", 3599999999.999);
        row("read", "seven-digit hour", u"1234567:00:00,000", refused);
        row("read", "one-digit hour", u"0:00:01,000", refused);
        row("read", "period", u"00:00:01.250", refused);
        row("read", "minutes out of range", u"00:60:00,000", refused);
        row("read", "seconds out of range", u"00:00:60,000", refused);
        row("read", "short milliseconds", u"00:00:01,25", refused);
        row("read", "letters", u"00:0a:01,000", refused);
        row("read", "trailing space", u"00:00:01,000 ", refused);
        row("read", "empty", u"", refused);
        row("read", "non-ASCII digits", u"00:00:0\u0661,000", refused);
        row("written", "truncated, not rounded up to the hour", u"00:59:59,999", 3599.9999);
        row("written", "just below a millisecond as read", u"00:00:01,001", 1.001);
        row("written", "a million hours: the most a file holds", u"999999:59:59,999", 3.6e9);
        row("written", "infinity too", u"999999:59:59,999", qInf());
        row("written", "negative as zero", u"00:00:00,000", -3);
        row("written", "not-a-number as zero", u"00:00:00,000", refused);
    }

    void times()
    {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QFETCH(QString, way);
        const SubtitleParser &parser = SubtitleParser::shared();
        if (way != QLatin1String("written")) {
            const auto read = parser.parseTime(text);
            QCOMPARE(read.hasValue(), !qIsNaN(seconds));
            QCOMPARE(read ? read.value() : qQNaN(), seconds);
            if (!read)
                QCOMPARE(read.error().message(), QStringLiteral("Invalid timestamp."));
        }
        if (way != QLatin1String("read"))
            QCOMPARE(parser.formatTime(seconds), text);
    }

    // The text as written between "1\n00:00:00,000 --> 00:00:01,000\n" and "\n\n".
    void serializes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two lines") << "Line one\nLine two" << "Line one\nLine two";
        QTest::newRow("empty text") << "" << "";
        QTest::newRow("an empty line inside is left out") << "A\n\nB" << "A\nB";
        QTest::newRow("a leading line break is left out") << "\nA" << "A";
        QTest::newRow("a line of spaces among lines is left out") << "A\n  \nB" << "A\nB";
        QTest::newRow("a trailing line break is left out") << "A\n" << "A";
        QTest::newRow("carriage returns become line feeds") << "A\r\nB\rC" << "A\nB\nC";
        QTest::newRow("line and paragraph separators become line feeds") << QStringLiteral("A\u2028B\u2029C\u0085D") << "A\nB\nC\nD";
        QTest::newRow("line ends far into long lines") << QStringLiteral("A first line\r\nand a second one\u0085and a third")
                                                       << "A first line\nand a second one\nand a third";
        QTest::newRow("non-ASCII lines") << QStringLiteral("\u00c9t\u00e9\u2026\n\u4e2d\u6587 \U0001F600")
                                         << QStringLiteral("\u00c9t\u00e9\u2026\n\u4e2d\u6587 \U0001F600");
        QTest::newRow("lines that read as a subtitle's start stay text")
            << "See\n2\n00:00:05,000 --> 00:00:06,000" << "See\n 2\n 00:00:05,000 --> 00:00:06,000";
        const QString timing = QStringLiteral("00:00:05,000 --> 00:00:06,000");
        QTest::newRow("many timing lines, each a space longer") << QStringList(40, timing).join(u'\n')
                                                                << QStringList(40, u' ' + timing).join(u'\n');
    }

    void serializes()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const SubtitleParser &parser = SubtitleParser::shared();
        const QString written = parser.serialize({Subtitle::create(text, 0, 1)});
        QCOMPARE(written, "1\n00:00:00,000 --> 00:00:01,000\n" + expected + "\n\n");
        // UTF-8 is written from the bytes a subtitle keeps, whether read from a file or set
        const SubtitleList read = parser.parseUtf8(written.toUtf8()).value();
        for (const SubtitleList &list : {SubtitleList{Subtitle::create(text, 0, 1)}, read})
            QCOMPARE(parser.serializeUtf8(list, true, false), QString(written).replace(u'\n', QStringLiteral("\r\n")).toUtf8());
        QCOMPARE(parser.parse(written).value().first()->text(), expected);
    }

    // An end before the start is written as the start: a file must not be refused on reading.
    void writesAnEndBeforeTheStartAsTheStart()
    {
        QCOMPARE(SubtitleParser::shared().serialize({Subtitle::create("A", 1, 2.5), Subtitle::create("B", 5, 4)}),
                 "1\n00:00:01,000 --> 00:00:02,500\nA\n\n2\n00:00:05,000 --> 00:00:05,000\nB\n\n");
    }

    // UTF-8 files are written straight to bytes, in their line endings; texts UTF-8
    // cannot carry are refused, far into a long list written in two halves at once.
    void utf8WritingRefusesWhatUtf8CannotCarry()
    {
        SubtitleList list;
        for (int i = 0; i < 200000; ++i)
            list.append(Subtitle::create(QStringLiteral("A"), i, i + 1));
        const QChar high(0xD83D), low(0xDE00);
        for (const QString &text : {QString(high), QStringLiteral("a") + low, high + QStringLiteral("a")}) {
            list[150000]->setText(text);
            QCOMPARE(list[150000]->text(), text); // kept as it was set, though UTF-8 cannot carry it
            QVERIFY(!SubtitleParser::shared().serializeUtf8(list, false, false));
        }
        list[150000]->setText(QStringLiteral("\u00e9t\u00e9 \u4e2d\u6587\nabcd \U0001F600!"));
        const QString written = SubtitleParser::shared().serialize(list);
        QCOMPARE(SubtitleParser::shared().serializeUtf8(list, false, false), written.toUtf8());
        QCOMPARE(SubtitleParser::shared().serializeUtf8(list, true, true),
                 "\xEF\xBB\xBF" + QString(written).replace(u'\n', QStringLiteral("\r\n")).toUtf8());
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleParser)
#include "tst_subtitleparser.moc"
