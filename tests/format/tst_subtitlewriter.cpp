#include "format/SubtitleParser.h"

#include <QRandomGenerator>
#include <QTest>

class tst_SubtitleWriter : public QObject
{
    Q_OBJECT

private slots:
    void formatsTimes_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "00:00:00,000";
        QTest::newRow("fraction") << 2.5 << "00:00:02,500";
        QTest::newRow("truncated, not rounded up to the hour") << 3599.9999 << "00:59:59,999";
        QTest::newRow("just below a millisecond boundary as read") << 1.001 << "00:00:01,001";
        QTest::newRow("last of the day") << 86399.999 << "23:59:59,999";
        QTest::newRow("past a day") << 90061.5 << "25:01:01,500";
        QTest::newRow("past 99 hours") << 360000.0 << "100:00:00,000";
        QTest::newRow("negative never reaches the file") << -3.0 << "00:00:00,000";
    }

    void formatsTimes()
    {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(SubtitleParser::shared().formatTime(seconds), text);
    }

    void everyMillisecondWritesBackAsRead()
    {
        const SubtitleParser &parser = SubtitleParser::shared();
        for (int ms = 0; ms < 200000; ms += 7) {
            const QString text = parser.formatTime(ms / 1000.0 + 3600 * (ms % 5));
            const auto read = parser.parseTime(text);
            QVERIFY(read.hasValue());
            QCOMPARE(parser.formatTime(read.value()), text);
        }
    }

    void serializes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one subtitle") << "Hello" << 1.0 << 2.5 << "1\n00:00:01,000 --> 00:00:02,500\nHello\n\n";
        QTest::newRow("two lines") << "Line one\nLine two" << 1.0 << 2.0
                                   << "1\n00:00:01,000 --> 00:00:02,000\nLine one\nLine two\n\n";
        QTest::newRow("empty text") << "" << 0.0 << 1.0 << "1\n00:00:00,000 --> 00:00:01,000\n\n\n";
        QTest::newRow("an empty line inside is left out") << "A\n\nB" << 0.0 << 1.0
                                                          << "1\n00:00:00,000 --> 00:00:01,000\nA\nB\n\n";
        QTest::newRow("a leading line break is left out") << "\nA" << 0.0 << 1.0
                                                          << "1\n00:00:00,000 --> 00:00:01,000\nA\n\n";
        QTest::newRow("a line of spaces among lines is left out") << "A\n  \nB" << 0.0 << 1.0
                                                                 << "1\n00:00:00,000 --> 00:00:01,000\nA\nB\n\n";
        QTest::newRow("a line that reads as a timing line stays text")
            << "See\n2\n00:00:05,000 --> 00:00:06,000" << 0.0 << 1.0
            << "1\n00:00:00,000 --> 00:00:01,000\nSee\n 2\n 00:00:05,000 --> 00:00:06,000\n\n";
        QTest::newRow("a trailing line break is left out") << "A\n" << 0.0 << 1.0
                                                           << "1\n00:00:00,000 --> 00:00:01,000\nA\n\n";
        QTest::newRow("carriage returns become line feeds") << "A\r\nB\rC" << 0.0 << 1.0
                                                            << "1\n00:00:00,000 --> 00:00:01,000\nA\nB\nC\n\n";
        QTest::newRow("an end before the start is written as the start")
            << "A" << 5.0 << 4.0 << "1\n00:00:05,000 --> 00:00:05,000\nA\n\n";
        QTest::newRow("letters of two, three and four bytes in UTF-8")
            << QStringLiteral("\u00e9t\u00e9 \u4e2d\u6587\nabcd \U0001F600!") << 0.0 << 1.0
            << QStringLiteral("1\n00:00:00,000 --> 00:00:01,000\n\u00e9t\u00e9 \u4e2d\u6587\nabcd \U0001F600!\n\n");
    }

    void serializes()
    {
        QFETCH(QString, text);
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(QString, expected);
        const SubtitleList list{std::make_shared<Subtitle>(text, start, end)};
        const QString written = SubtitleParser::shared().serialize(list);
        QCOMPARE(written, expected);
        QVERIFY(SubtitleParser::shared().parse(written).hasValue());
        // UTF-8 files are written straight to bytes, in their line endings.
        QCOMPARE(SubtitleParser::shared().serializeUtf8(list, false, false), expected.toUtf8());
        QCOMPARE(SubtitleParser::shared().serializeUtf8(list, true, true),
                 "\xEF\xBB\xBF" + QString(expected).replace(u'\n', QStringLiteral("\r\n")).toUtf8());
    }

    void utf8WritingRefusesWhatUtf8CannotCarry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("lone high surrogate") << QString(QChar(0xD83D));
        QTest::newRow("lone low surrogate") << QStringLiteral("a") + QChar(0xDE00);
        QTest::newRow("high surrogate before a letter") << QString(QChar(0xD83D)) + QStringLiteral("a");
    }

    void utf8WritingRefusesWhatUtf8CannotCarry()
    {
        QFETCH(QString, text);
        // Far into a long list, which is written in two halves at once.
        SubtitleList list;
        for (int i = 0; i < 200000; ++i)
            list.append(std::make_shared<Subtitle>(i == 150000 ? text : QStringLiteral("A"), i, i + 1));
        QVERIFY(!SubtitleParser::shared().serializeUtf8(list, false, false));
        list[150000]->text = QStringLiteral("\u00e9");
        QCOMPARE(SubtitleParser::shared().serializeUtf8(list, true, false),
                 SubtitleParser::shared().serialize(list).replace(u'\n', QStringLiteral("\r\n")).toUtf8());
    }

    void emptyListWritesNothing()
    {
        QCOMPARE(SubtitleParser::shared().serialize({}), QString());
    }

    void randomSubtitlesSurviveTheRoundTrip()
    {
        const SubtitleParser &parser = SubtitleParser::shared();
        const QString alphabet = QStringLiteral("ab Z\n\n\r\t\u00e9\u4e2d-->0123:,");
        for (quint32 seed = 1; seed <= 200; ++seed) {
            QRandomGenerator random(seed);
            SubtitleList list;
            const int count = random.bounded(0, 20);
            for (int i = 0; i < count; ++i) {
                QString text;
                const int length = random.bounded(0, 12);
                for (int c = 0; c < length; ++c)
                    text.append(alphabet[random.bounded(int(alphabet.size()))]);
                const double start = random.bounded(400000000) / 1000.0;
                const double end = start + random.bounded(100000) / 1000.0;
                list.append(std::make_shared<Subtitle>(text, start, end));
            }
            sortSubtitles(list);
            const QString written = parser.serialize(list);
            const auto read = parser.parse(written);
            QVERIFY2(read.hasValue(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(read ? QString() : read.error().message())));
            QCOMPARE(read.value().size(), list.size());
            for (int i = 0; i < list.size(); ++i) {
                QCOMPARE(parser.formatTime(read.value()[i]->start), parser.formatTime(list[i]->start));
                QCOMPARE(parser.formatTime(read.value()[i]->end), parser.formatTime(list[i]->end));
                QCOMPARE(read.value()[i]->text, SubtitleParser::textAsWritten(list[i]->text));
            }
            QCOMPARE(parser.serialize(read.value()), written);
        }
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleWriter)
#include "tst_subtitlewriter.moc"
