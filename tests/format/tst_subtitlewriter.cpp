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
        QTest::newRow("six-digit hour") << 3599999999.999 << "999999:59:59,999";
        QTest::newRow("a million hours stop at the most a file reads") << 3.6e9 << "999999:59:59,999";
        QTest::newRow("infinity too") << qInf() << "999999:59:59,999";
        QTest::newRow("negative never reaches the file") << -3.0 << "00:00:00,000";
        QTest::newRow("nor does not-a-number") << qQNaN() << "00:00:00,000";
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
        QTest::newRow("lines that read as a subtitle's start stay text")
            << "See\n2\n00:00:05,000 --> 00:00:06,000" << "See\n 2\n 00:00:05,000 --> 00:00:06,000";
    }

    void serializes()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const SubtitleParser &parser = SubtitleParser::shared();
        const QString written = parser.serialize({std::make_shared<Subtitle>(text, 0, 1)});
        QCOMPARE(written, "1\n00:00:00,000 --> 00:00:01,000\n" + expected + "\n\n");
        QCOMPARE(parser.parse(written).value().first()->text, expected);
    }

    void serializesTimesAndNumbers()
    {
        const SubtitleParser &parser = SubtitleParser::shared();
        QCOMPARE(parser.serialize({}), QString());
        const SubtitleList list{std::make_shared<Subtitle>("A", 1, 2.5), std::make_shared<Subtitle>("B", 5, 4),
                                std::make_shared<Subtitle>("C", 360000, 3599999999.999)};
        QCOMPARE(parser.serialize(list), "1\n00:00:01,000 --> 00:00:02,500\nA\n\n"
                                         "2\n00:00:05,000 --> 00:00:05,000\nB\n\n" // an end before the start
                                         "3\n100:00:00,000 --> 999999:59:59,999\nC\n\n");
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
