#include "format/QualityReportWriter.h"
#include "model/quality/QualityReport.h"

#include <QTest>

Q_DECLARE_METATYPE(QualityLimits::ReadingUnit)

// Report rows and the files made of them: every kind at its limit, the halves of a long
// list, and hostile text in CSV and HTML.
class tst_QualityReport : public QObject
{
    Q_OBJECT

    // "start end text; start end text", "|" for a line break.
    static SubtitleList subtitles(const QString &script)
    {
        SubtitleList list;
        for (const QString &entry : script.split(u';', Qt::SkipEmptyParts)) {
            const QStringList parts = entry.trimmed().split(u' ');
            list.append(Subtitle::create(parts.mid(2).join(u' ').replace(u'|', u'\n'), parts[0].toDouble(), parts[1].toDouble()));
        }
        return list;
    }

    static QStringList shown(const QualityReport &report, const std::vector<QualityReport::Row> &rows, const SubtitleList &list)
    {
        QStringList lines;
        for (const QualityReport::Row &row : rows) {
            lines << QStringLiteral("%1 %2 %3 %4").arg(row.number).arg(QualityReport::id(row.kind),
                                                         QualityReport::number(row.value, row),
                                                         QualityReport::number(row.limit, row));
            if (report.describe(row, list).isEmpty())
                lines << QStringLiteral("no sentence");
        }
        return lines;
    }

private slots:
    void rows_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("expected");
        const QString x20 = QString(20, u'x');
        const QString x42 = QString(42, u'x');
        QTest::newRow("at every limit: no row") << "0 0.833 " + x20.left(16) + "; 1 8 " + x42 + "|b" << QStringList();
        QTest::newRow("too short") << "0 0.832 Hi" << QStringList{"1 too-short 0.832 0.833"};
        QTest::newRow("too long") << "0 7.002 Hi" << QStringList{"1 too-long 7.002 7"};
        QTest::newRow("too fast") << "0 1 " + x20 + "x" << QStringList{"1 too-fast 21 20"};
        QTest::newRow("reading speed counts what is seen") << "0 1 <i>" + x20 + "é</i>" << QStringList{"1 too-fast 21 20"};
        QTest::newRow("line too long") << "0 3 " + x42 + "x" << QStringList{"1 line-too-long 43 42"};
        QTest::newRow("too many lines") << "0 3 a|b|c" << QStringList{"1 too-many-lines 3 2"};
        QTest::newRow("overlap") << "0 2 a; 1.5 3 b" << QStringList{"1 overlap 0.5 0"};
        QTest::newRow("gap under two frames") << "0 2 a; 2.05 4 b" << QStringList{"1 gap-too-small 0.05 0.083"};
        QTest::newRow("gap of two frames") << "0 2 a; 2.0834 4 b" << QStringList();
        QTest::newRow("several kinds, in listing order, numbered from 1")
            << "0 1 a; 2 2.5 " + x42 + "x" << QStringList{"2 too-short 0.5 0.833", "2 too-fast 86 20", "2 line-too-long 43 42"};
        QTest::newRow("start three frames after the cut") << "10.125 12 a" << QStringList{"1 start-near-shot-change 3 12"};
        QTest::newRow("end a frame before the cut") << "8 9.95 a" << QStringList{"1 end-near-shot-change -1 12"};
        QTest::newRow("end two frames before the cut") << "8 9.917 a" << QStringList();
    }

    void rows()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, expected);
        const SubtitleList list = subtitles(script);
        const QualityReport report(QualityLimits{}, 24, ShotChanges({10.0}));
        QCOMPARE(shown(report, report.check(list), list), expected);
    }

    // The value a row reports is counted as the check counts, in the limits' unit.
    void readingSpeedCountsByTheLimitsRule_data()
    {
        QTest::addColumn<QualityLimits::ReadingUnit>("unit");
        QTest::addColumn<double>("limit");
        QTest::addColumn<QString>("expected"); // the row, its unit and the CSV's cells
        QTest::newRow("characters without spaces") << QualityLimits::ReadingUnit::CharactersPerSecond << 5.0
                                                   << "1 too-fast 6 5 cps,6,5,cps,";
        QTest::newRow("words a minute") << QualityLimits::ReadingUnit::WordsPerMinute << 180.0
                                        << "1 too-fast 360 180 wpm,360,180,wpm,";
    }

    void readingSpeedCountsByTheLimitsRule()
    {
        QFETCH(QualityLimits::ReadingUnit, unit);
        QFETCH(double, limit);
        QFETCH(QString, expected);
        QualityLimits limits;
        limits.readingCharacters = QualityLimits::Characters::WithoutSpaces;
        limits.readingUnit = unit;
        limits.maxReadingSpeed = limit;
        const SubtitleList list = subtitles("0 1 a b c d e f");
        const QualityReport report(limits, 24);
        const std::vector<QualityReport::Row> rows = report.check(list);
        QCOMPARE(rows.size(), size_t(1));
        const QString csv = QString::fromUtf8(QualityReportWriter::csv({report, rows, list, {}, {}}));
        QCOMPARE(shown(report, rows, list).join(u' ') + u' ' + QualityReport::unit(rows[0]) + u','
                     + csv.section(QLatin1String("\r\n"), 1, 1).section(u',', 6, 8) + u',',
                 expected);
    }

    void csvField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "<script>alert(1)</script>" << "<script>alert(1)</script>";
        QTest::newRow("comma") << "a, b" << "\"a, b\"";
        QTest::newRow("quotes doubled") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
        QTest::newRow("line break") << "one\ntwo" << "\"one\ntwo\"";
        QTest::newRow("carriage return") << "one\rtwo" << "\"one\rtwo\"";
    }

    void csvField()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(QualityReportWriter::csvField(text), field);
    }

    void filesHoldEveryRowAndEscapeHostileText()
    {
        const QString hostile = QStringLiteral("<script>alert(\"x\")</script>, 'q' & <img src=x>");
        const SubtitleList list = subtitles("0 0.5 " + hostile + "; 1 2 fine");
        const QualityReport report(QualityLimits{}, 0);
        const std::vector<QualityReport::Row> rows = report.check(list);
        const QualityReportWriter::Source source{report, rows, list, hostile + ".srt", hostile};
        const QString csv = QString::fromUtf8(QualityReportWriter::csv(source));
        QVERIFY2(csv.startsWith(QLatin1String("number,start,end,kind,value,limit,unit,description\r\n1,\"00:00:00,000\",\"00:00:00,500\",too-short,0.5,0.833,s,")), qPrintable(csv));
        QCOMPARE(csv.count(QLatin1String("\r\n")), int(rows.size()) + 1);
        const QString html = QString::fromUtf8(QualityReportWriter::html(source));
        for (const char *banned : {"<script", "<img", "href=", "@import", "url("})
            QVERIFY2(!html.contains(QLatin1String(banned), Qt::CaseInsensitive), banned);
        QVERIFY(html.contains(QLatin1String("&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;")));
        // The text's cell on its own, its tags left out: the title holds the same text.
        QVERIFY2(html.contains(QLatin1String("<td class=\"text\">alert(&quot;x&quot;), 'q' &amp; </td>")), qPrintable(html));
        QCOMPARE(html.count(QLatin1String("<tr><td class=\"number\">")), int(rows.size()));

        const std::vector<QualityReport::Row> none;
        const QualityReportWriter::Source clean{report, none, list, QStringLiteral("clean.srt"), {}};
        QVERIFY(QString::fromUtf8(QualityReportWriter::html(clean)).contains(QLatin1String("No problems found")));
        QCOMPARE(QualityReportWriter::csv(clean), QByteArray("number,start,end,kind,value,limit,unit,description\r\n"));
    }
};

QTEST_GUILESS_MAIN(tst_QualityReport)
#include "tst_qualityreport.moc"
