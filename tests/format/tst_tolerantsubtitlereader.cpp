#include "format/TolerantSubtitleReader.h"

#include "SubtitleText.h"

#include <QTest>

// One row per construct found in real files: what it reads as, and the repair it reports
// ("LINE:words of the description", several joined by "|"), or that it is refused.
class tst_TolerantSubtitleReader : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatPlainlyMeansOneThing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("repairs");
        // T1 and T2 stand for the timing lines "00:00:01,000 --> 00:00:02,000" and 3 to 4 s.
        const auto row = []<qsizetype size>(const char *name, const char (&text)[size], const char *expected, const char *repairs) {
            QTest::newRow(name) << QString::fromUtf8(text, size - 1).replace(QStringLiteral("T1"), QStringLiteral("00:00:01,000 --> 00:00:02,000"))
                                       .replace(QStringLiteral("T2"), QStringLiteral("00:00:03,000 --> 00:00:04,000"))
                                << QString::fromUtf8(expected) << QString::fromUtf8(repairs);
        };
        const char *two = "A@1-2|B@3-4";
        row("valid text: nothing repaired", "1\nT1\nA\n\n2\nT2\nB\n", two, "");
        row("numbering skips", "1\nT1\nA\n\n3\nT2\nB\n", two, "4:numbered 3 where 2");
        row("a dozen blank lines at the end", "1\nT1\nA\n\n\n\n\n\n\n\n\n\n\n\n\n", "A@1-2", "4:Skipped 11 blank lines at the end");
        row("one-digit fields", "1\n0:0:1,000 --> 0:0:2,000\nA\n", "A@1-2", "1:as 00:00:01,000 --> 00:00:02,000");
        row("short millisecond fields count milliseconds", "1\n00:00:01,5 --> 00:00:02,50\nA\n", "A@1.005-2.05", "1:“5” is 5 ms");
        row("no millisecond field", "1\n00:00:01 --> 00:00:02\nA\n", "A@1-2", "1:as 00:00:01,000 --> 00:00:02,000");
        row("full stop before the milliseconds", "1\n00:00:01.250 --> 00:00:02.000\nA\n", "A@1.25-2", "1:as 00:00:01,250");
        row("times without hours are minutes and seconds", "1\n00:00,000 --> 00:01,234\nA\n\n2\n75:30,000 --> 75:31,000\nB\n",
            "A@0-1.234|B@4530-4531", "1:as 00:00:00,000 --> 00:00:01,234. A time without hours|5:as 01:15:30,000");
        row("a seven-digit hour: read, and said how it will be written", "1\n1234567:00:00,000 --> 1234567:00:00,000\nA\n",
            "A@4.44444e+09-4.44444e+09", "1:as 999999:59:59,999 --> 999999:59:59,999");
        row("arrow without spaces", "1\n00:00:01,000-->00:00:02,000\nA\n", "A@1-2", "1:as 00:00:01,000 --> 00:00:02,000");
        row("arrows with one hyphen", "1\n00:00:01,000 - > 00:00:02,000\nA\n\n2\n00:00:03,000->00:00:04,000\nB\n", two,
            "1:as 00:00:01,000 --> 00:00:02,000|5:as 00:00:03,000 --> 00:00:04,000");
        row("display coordinates after the end", "1\nT1  X1:100 X2:600 Y1:50 Y2:80\nA\n", "A@1-2", "1:Left out “X1:100 X2:600 Y1:50 Y2:80”");
        // Only the spaces changed: the repair says so rather than quoting the same timing twice.
        row("a space after the end time", "1\nT1 \nA\n", "A@1-2", "1:Removed a space after the timing.");
        row("spaces around the timing", " \t1\n  T1  \nA\n", "A@1-2", "0:spaces around the number|1:Removed 2 spaces before the timing. Removed 2 spaces after");
        row("space inside a time", "1\n00:13:04, 500 --> 00:13:05,000\nA\n", "A@784.5-785", "1:as 00:13:04,500");
        row("end before start", "1\n00:00:05,000 --> 00:00:04,000\nA\n", "A@5-5", "1:end 00:00:04,000 of subtitle 1 is before");
        row("a blank text line would swallow the next", "1\nT1\n\n3\nT2\nB\n", "@1-2|B@3-4", "2:Subtitle 1 has no text|3:numbered 3");
        row("a line of spaces ends a subtitle", "1\nT1\nA\n  \n3\nT2\nB\n", two, "3:line of spaces|4:numbered 3");
        row("no blank line between subtitles", "1\nT1\nA\n2\nT2\nB\n", two, "3:No blank line before this subtitle");
        row("a subtitle without a number", "1\nT1\nA\n\nT2\nB\n", two, "4:Subtitle 2 has no number");
        row("a blank line inside a text", "1\nT1\nA\n\nstill A\n\n2\nT2\nB\n", "A\nstill A@1-2|B@3-4",
            "3:Left out 1 blank line inside the text of subtitle 1");
        row("four lines past a blank line are still one subtitle's", "1\nT1\nA\n\n\nb\nc\nd\ne\n", "A\nb\nc\nd\ne@1-2",
            "3:Left out 2 blank lines");
        row("ends after a timing line", "1\nT1\n", "@1-2", "1:The text ends after the timing of subtitle 1");
        row("an empty last subtitle", "0\nT1\nA\n\n1\nT2\n\n", "A@1-2|@3-4", "0:numbered 0 where 1");
        row("ends after a subtitle number and blank lines", "1\nT1\nA\n\n2\n\n\n", "A@1-2", "4:ends after the number 2");
        row("repaired out of time order: sorted, equal starts in file order", "1\nT2\nB\n\n2\nT1\nA\n\n3\nT1\nC\n\n\n",
            "A@1-2|C@1-2|B@3-4", "12:Skipped 1 blank line at the end");
        row("several repairs, in line order", "\n0\n0:0:1,0 --> 0:0:2,0\nA\n\n\n5\nT2\nB\n", two,
            "0:at the start|1:numbered 0|2:as 00:00:01,000|5:extra blank|6:numbered 5");
        // Refused: the message begins with the expected text.
        row("an HTML page", "<!DOCTYPE html>\n<html><body>Not found</body></html>\n", "Line 0 is not SRT: “<!DOCTYPE html>”", "refused");
        row("another format", "WEBVTT\n\n00:01.000 --> 00:02.000\nA\n", "Line 0 is not SRT: “WEBVTT”", "refused");
        row("a subtitle without a timing line", "1\nT1\nA\n\n2\nB\n", "Line 5: “B” is not the timing line of the subtitle numbered 2.",
            "refused");
        row("junk glued to a timing line", "1\n00:00:01,000 --> 00:00:02,000abc\nA\n", "Line 1: “00:00:01,000 --> 00:00:02,000abc” is not", "refused");
        row("a three-hyphen arrow", "1\n00:00:01,000 ---> 00:00:02,000\nA\n", "Line 1: “00:00:01,000 ---> 00:00:02,000” is not", "refused");
        row("an eight-digit hour", "1\n12345678:00:00,000 --> 12345678:00:01,000\nA\n", "Line 1: “12345678:00:00,000 --> 12345678:", "refused");
        row("minutes out of range", "1\n00:75:01,000 --> 00:75:02,000\nA\n", "Line 1: “00:75:01,000 --> 00:75:02,000” is not", "refused");
        row("seconds out of range without hours", "1\n00:60,000 --> 01:00,000\nA\n", "Line 1: “00:60,000 --> 01:00,000” is not", "refused");
        row("four-digit milliseconds", "1\n00:00:01,5000 --> 00:00:02,000\nA\n", "Line 1: “00:00:01,5000 --> 00:00:02,000” is not", "refused");
        // Text that would be swallowed whole into one subtitle, as the second half of a
        // file in another encoding is, is refused where it begins.
        row("five lines past a blank line", "1\nT1\nA\n\nb\nc\nd\ne\nf\n", "Line 4 is not SRT: “b” and the lines after it follow the blank line that ends subtitle 1",
            "refused");
        row("a number and nothing else: a repair that would leave nothing", "7\n",
            "Line 0 “7”: The text ends after the number 7, with no timing or text: left it out.\nNothing in the file reads as SubRip (SRT)", "refused");
        row("NUL characters", "0\nT1\nA\n\n1\nT2\nB\0\n", "Line 6 holds a NUL character (“B␀”)", "refused");
    }

    void readsWhatPlainlyMeansOneThing()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QString, repairs);
        // UTF-8 text is read a line at a time, UTF-16 text where it stands: both alike.
        const QByteArray utf8 = text.toUtf8();
        for (const auto &result : {TolerantSubtitleReader::read(text), TolerantSubtitleReader::readUtf8(utf8)}) {
            if (repairs == QLatin1String("refused")) {
                QVERIFY(!result);
                QVERIFY2(result.error().startsWith(expected), qPrintable(result.error()));
                continue;
            }
            QVERIFY2(result.hasValue(), result ? "" : qPrintable(result.error()));
            QCOMPARE(describeSubtitles(result.value().subtitles), expected);
            const QStringList wanted = repairs.isEmpty() ? QStringList() : repairs.split(u'|');
            QStringList got;
            for (const auto &repair : result.value().repairs)
                got << QStringLiteral("%1:%2").arg(repair.line).arg(repair.description);
            QCOMPARE(got.size(), wanted.size());
            for (int i = 0; i < wanted.size(); ++i) {
                const QString line = wanted[i].section(u':', 0, 0);
                const QString words = wanted[i].section(u':', 1);
                QVERIFY2(got[i].startsWith(line + u':') && got[i].contains(words), qPrintable(got[i] + " lacks " + wanted[i]));
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_TolerantSubtitleReader)
#include "tst_tolerantsubtitlereader.moc"
