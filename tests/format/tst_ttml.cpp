#include "format/SubtitleFormatIo.h"
#include "format/TtmlReader.h"

#include <QTest>

// TTML through the format dispatch: times, styles and placement as subtitles, broken
// documents named by line, and what a write keeps of a file read before.
class tst_Ttml : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void writing_data();
    void writing();
    void bigFileKeptAsViews_data();
    void bigFileKeptAsViews();
};

namespace {

const QString head = QStringLiteral(
    "<head><styling>"
    "<style xml:id=\"it\" tts:fontStyle=\"italic\"/>"
    "<style xml:id=\"yellow\" style=\"it\" tts:color=\"yellow\"/>"
    "<style xml:id=\"yellowIt\" style=\"yellow\"/>"
    "<style xml:id=\"white\" tts:color=\"#FFFFFF\" tts:textDecoration=\"underline\"/>"
    "</styling><layout>"
    "<region xml:id=\"low\" tts:origin=\"10% 80%\" tts:extent=\"80% 10%\" tts:displayAlign=\"after\"/>"
    "<region xml:id=\"high\" tts:origin=\"10% 5%\" tts:extent=\"80% 20%\"/>"
    "<region xml:id=\"full\" tts:displayAlign=\"before\"/>"
    "<region xml:id=\"mid\" tts:origin=\"0px 300px\" tts:extent=\"1280px 100px\"/>"
    "</layout></head>");

QString document(const QString &body, const QString &rootAttributes = {})
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<tt xmlns=\"http://www.w3.org/ns/ttml\" xmlns:tts=\"http://www.w3.org/ns/ttml#styling\" "
                          "xmlns:ttp=\"http://www.w3.org/ns/ttml#parameter\"%1>\n%2\n<body>\n<div>\n%3\n</div>\n</body>\n</tt>\n")
        .arg(rootAttributes, head, body);
}

QString described(const SubtitleList &subtitles)
{
    QStringList lines;
    for (const SubtitlePtr &subtitle : subtitles)
        lines.append(QStringLiteral("%1-%2 %3").arg(qRound64(subtitle->start * 1000)).arg(qRound64(subtitle->end * 1000)).arg(subtitle->text()));
    return lines.join(u'|');
}

} // namespace

void tst_Ttml::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("repairing");
    QTest::addColumn<QString>("expected"); // the subtitles, or what the message holds

    const auto row = [](const char *name, const QString &text, const char *expected, bool repairing = false) {
        QTest::newRow(name) << text << repairing << QString::fromUtf8(expected);
    };
    row("clock times with fractions, frames and sub-frames",
        document("<p begin=\"00:00:01.5\" end=\"00:00:02:12\">a</p>\n<p begin=\"00:00:03:12.1\" end=\"00:00:04.25\">b</p>",
                 " ttp:frameRate=\"24\" ttp:subFrameRate=\"2\""),
        "1500-2500 a|3521-4250 b");
    row("offsets in every unit, frames at 30000/1001",
        document("<p begin=\"30f\" end=\"1.5s\">a</p><p begin=\"0.001h\" end=\"0.1m\">b</p><p begin=\"7000ms\" end=\"80000t\">c</p>",
                 " ttp:frameRate=\"30\" ttp:frameRateMultiplier=\"1000 1001\" ttp:tickRate=\"10000\""),
        "1001-1500 a|3600-6000 b|7000-8000 c");
    row("ticks count sub-frames when only frame rates are given",
        document("<p begin=\"50t\" end=\"100t\">a</p>", " ttp:frameRate=\"25\" ttp:subFrameRate=\"2\""), "1000-2000 a");
    row("begin times of enclosing divisions add up, dur and inherited ends",
        QString(document("<div begin=\"10s\"><p begin=\"1s\" dur=\"2s\">a</p><div begin=\"5s\" end=\"8s\"><p begin=\"1s\">b</p></div></div>"))
            .replace(QStringLiteral("<body>"), QStringLiteral("<body begin=\"100s\">")),
        "111000-113000 a|116000-118000 b");
    row("referenced, chained and inline styles become tags; white is no colour",
        document("<p begin=\"1s\" end=\"2s\" style=\"yellowIt\">x <span tts:fontWeight=\"bold\">y</span></p>"
                 "<p begin=\"3s\" end=\"4s\"><span style=\"white\">u</span> <span tts:color=\"rgb(255,0,0)\">r</span></p>"),
        "1000-2000 <font color=\"#ffff00\"><i>x <b>y</b></i></font>|3000-4000 <u>u</u> <font color=\"#ff0000\">r</font>");
    row("regions at the top give {\\an8}, one lower nothing",
        document("<p begin=\"1s\" end=\"2s\" region=\"high\">h</p><p begin=\"3s\" end=\"4s\" region=\"full\">f</p>"
                 "<p begin=\"5s\" end=\"6s\" region=\"low\">l</p><p begin=\"7s\" end=\"8s\" region=\"mid\">m</p>",
                 " tts:extent=\"1280px 720px\""),
        "1000-2000 {\\an8}h|3000-4000 {\\an8}f|5000-6000 l|7000-8000 m");
    row("white space collapses and line breaks are lines",
        document("<p begin=\"1s\" end=\"2s\">\n   one  <br/>\n  two\t<span>three</span>  </p>"), "1000-2000 one\ntwo three");
    row("text that looks like markup stays text", document("<p begin=\"1s\" end=\"2s\">a &lt; b &amp; c</p>"), "1000-2000 a < b & c");
    row("paragraphs out of order are sorted", document("<p begin=\"5s\" end=\"6s\">b</p><p begin=\"1s\" end=\"2s\">a</p>"),
        "1000-2000 a|5000-6000 b");

    row("a tag left open names its line", document("<p begin=\"1s\" end=\"2s\">a\n<span>b</p>"), "Line 7 is not well-formed XML");
    row("a time that is not one", document("\n<p begin=\"1s\" end=\"2 seconds\">a</p>"), "Line 7: “2 seconds” is not a time");
    row("a time past a million hours", document("<p begin=\"1s\" end=\"99999999999h\">a</p>"), "Line 6 has a time past");
    row("HTML is not TTML", QStringLiteral("<html>\n<body><tt/></body></html>"), "Line 1: the document is <html>");
    row("a paragraph shown for ever", document("<p begin=\"1s\">a</p>"), "Line 6: the paragraph has no end time");
    // Times as converters and stores write them: refused strictly, read by a repair.
    const QString looseTimes = QString(document("<p begin=\"00:00:01,500\" end=\"00:00:02,000\">a</p>"))
                                   .replace(QStringLiteral("<body>"), QStringLiteral("<body dur=\"3:58.640\">"));
    row("a comma before the fraction is not TTML", looseTimes, "“3:58.640” is not a time");
    row("repairing reads a comma before the fraction, and minutes and seconds alone", looseTimes, "1500-2000 a", true);
    // An entity whose text is elsewhere is never fetched: refused, or left out and listed.
    const QString external = QString(document("<p begin=\"1s\" end=\"2s\">a &ext;b</p>"))
                                 .replace(QStringLiteral("?>\n"), QStringLiteral("?>\n<!DOCTYPE tt [<!ENTITY ext SYSTEM \"https://example.com/e\">]>\n"));
    row("an external entity is refused", external, "Line 7 refers to the entity “ext”");
    row("repairing leaves out an external entity", external, "1000-2000 a b", true);
    // Namespace slips of real files: refused as XML says, mended by a repair.
    const QString undeclared = QString(document("<p begin=\"1s\" end=\"2s\" ttm:role=\"caption\">a</p>"))
                                   .replace(QStringLiteral("<head>"), QStringLiteral("<head><metadata><ttm:title>T</ttm:title></metadata>"));
    row("a ttm: prefix without its declaration is not XML", undeclared, "Namespace prefix 'ttm' not declared");
    row("repairing declares the ttm: prefix", undeclared, "1000-2000 a", true);
    const QString xmlPrefix = document("<p begin=\"1s\" end=\"2s\" id:id=\"c1\">a</p>", " xmlns:id=\"http://www.w3.org/XML/1998/namespace\"");
    row("another prefix for the XML namespace is not XML", xmlPrefix, "Illegal namespace declaration");
    row("repairing reads another prefix for the XML namespace as its own", xmlPrefix, "1000-2000 a", true);
    row("repairing leaves out a paragraph shown for ever",
        document("<p begin=\"1s\">a</p><p begin=\"2s\" end=\"1s\">b</p>"), "2000-2000 b", true);
}

void tst_Ttml::reading()
{
    QFETCH(QString, text);
    QFETCH(bool, repairing);
    QFETCH(QString, expected);
    const auto read = SubtitleFormatIo::read(SubtitleFormat::Ttml, text, {.repairing = repairing});
    if (!read) {
        QVERIFY2(read.error().contains(expected), qPrintable(read.error()));
        return;
    }
    QCOMPARE(described(read.value().subtitles), expected);
    // Every repairing case here mends something, which the user hears of.
    QCOMPARE(read.value().repairs.isEmpty(), !repairing);
}

void tst_Ttml::writing_data()
{
    QTest::addColumn<QString>("file"); // read first and kept; none: written from scratch
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("written"); // what the written text must hold

    const QString styled = document("  <p xml:id=\"c1\" begin=\"25f\" end=\"50f\" style=\"it\" region=\"low\">a <span tts:fontWeight=\"bold\" ttx=\"1\">b</span></p>\n"
                                    "  <p xml:id=\"c2\" begin=\"00:00:05.000\" end=\"00:00:06.000\" region=\"low\">c</p>",
                                    " ttp:frameRate=\"25\"");
    QTest::newRow("unedited: the file as it was") << styled << "none" << QStringList{styled};
    QTest::newRow("a time edit keeps the content as written, counted from the division")
        << QString(styled).replace(QStringLiteral("<div>"), QStringLiteral("<div begin=\"1s\">")) << "time"
        << QStringList{"<p xml:id=\"c1\" begin=\"00:00:00.500\" end=\"00:00:02.000\" style=\"it\" region=\"low\">a <span tts:fontWeight=\"bold\" ttx=\"1\">b</span></p>"};
    QTest::newRow("a text edit keeps the attributes, writes against the paragraph's style and keeps its spaces")
        << styled << "text"
        << QStringList{"<p xml:space=\"preserve\" xml:id=\"c1\" begin=\"25f\" end=\"50f\" style=\"it\" region=\"low\"><span tts:fontStyle=\"normal\">plain  text</span>"
                       "<br/><span tts:fontWeight=\"bold\">bold</span></p>"};
    QTest::newRow("moving to the top takes the top region") << styled << "top" << QStringList{"<p xml:id=\"c1\" begin=\"25f\" end=\"50f\" style=\"it\" region=\"high\">a <span"};
    QTest::newRow("a new subtitle goes beside its neighbour with defaults")
        << styled << "add" << QStringList{"c</p>\n  <p begin=\"00:00:07.000\" end=\"00:00:08.000\" region=\"low\">new</p>"};
    QTest::newRow("a file without paragraphs gets a division")
        << document({}) << "add" << QStringList{"<div>\n<p begin=\"00:00:07.000\" end=\"00:00:08.000\" region=\"low\">new</p>\n</div></body>"};
    QTest::newRow("from scratch: IMSC 1.1 text with regions")
        << QString() << "none"
        << QStringList{"xml:lang=\"und\"", "ttp:timeBase=\"media\"", "imsc1.1/text", "<region xml:id=\"top\"",
                       "<p begin=\"00:00:01.000\" end=\"00:00:02.500\" region=\"top\"><span tts:fontStyle=\"italic\">Up</span><br/>"};
}

void tst_Ttml::writing()
{
    QFETCH(QString, file);
    QFETCH(QString, edit);
    QFETCH(QStringList, written);

    // Without a file, texts with every tag the program keeps, through SRT first.
    const QString tagged = QStringLiteral("{\\an8}<i>Up</i>\n<b>bold <u>under</u></b> <font color=\"#00ff00\">green</font> 1 < 2");
    SubtitleList subtitles;
    std::shared_ptr<const FormatKeep> keep;
    if (file.isEmpty()) {
        const QString srt = QStringLiteral("1\n00:00:01,000 --> 00:00:02,500\n%1\n\n2\n00:00:03,000 --> 00:00:04,000\n"
                                           "<font color=\"#ff0000\"><i>red</i></font> plain\n\n").arg(tagged);
        subtitles = SubtitleFormatIo::read(SubtitleFormat::Srt, srt).value().subtitles;
    } else {
        const auto read = SubtitleFormatIo::read(SubtitleFormat::Ttml, file);
        QVERIFY2(read, read ? "" : qPrintable(read.error()));
        subtitles = read.value().subtitles;
        keep = read.value().keep;
    }
    if (edit == u"time") {
        subtitles[0]->start = 1.5;
        subtitles[0]->end = 3;
    } else if (edit == u"text") {
        subtitles[0]->setText(QStringLiteral("plain  text\n<i><b>bold</b></i>"));
    } else if (edit == u"top") {
        subtitles[0]->setText(QStringLiteral("{\\an8}") + subtitles[0]->text());
    } else if (edit == u"add") {
        subtitles.append(Subtitle::create(QStringLiteral("new"), 7, 8));
    }

    const QString text = SubtitleFormatIo::write(SubtitleFormat::Ttml, subtitles, keep.get());
    for (const QString &part : written)
        QVERIFY2(text.contains(part), qPrintable(text));
    const auto again = SubtitleFormatIo::read(SubtitleFormat::Ttml, text);
    QVERIFY2(again, again ? "" : qPrintable(again.error()));
    QCOMPARE(described(again.value().subtitles), described(subtitles));
    const auto headOf = [](const FormatKeep &kept) { return kept.header.section(QStringLiteral("</head>"), 0, 0); };
    if (keep)
        QCOMPARE(headOf(*again.value().keep), headOf(*keep));
}

void tst_Ttml::bigFileKeptAsViews_data()
{
    QTest::addColumn<QString>("paragraph");
    QTest::addColumn<qsizetype>("split"); // where in it the parser's first piece of text ends
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *paragraph, const char *before, qsizetype more, const char *expected) {
        const QString text = QString::fromUtf8(paragraph);
        QTest::newRow(name) << text << text.indexOf(QString::fromUtf8(before)) + more << QString::fromUtf8(expected);
    };
    row("a character beyond 16 bits split in its halves", "<p begin=\"1s\" end=\"2s\">a\U0001F600b</p>", "\U0001F600", 1,
        "1000-2000 a\U0001F600b");
    row("an entity split", "<p begin=\"1s\" end=\"2s\">a &amp; b</p>", "&am", 3, "1000-2000 a & b");
    row("a start tag split after a '>' in a quoted value", "<p begin=\"1s\" end=\"2s\" ttx=\"x>y\">a<br/>b</p>", ">y", 1,
        "1000-2000 a\nb");
}

// A paragraph read across the pieces the parser is given, kept as a view of the file's
// text rather than a copy (a million copies cost many times the file), and written back.
void tst_Ttml::bigFileKeptAsViews()
{
    QFETCH(QString, paragraph);
    QFETCH(qsizetype, split);
    QFETCH(QString, expected);
    QString text = document(QStringLiteral("\x01"));
    const qsizetype at = text.indexOf(u'\x01');
    text.replace(at, 1, QString(TtmlReader::pieceSize - at - split, u' ') + paragraph);

    const auto read = SubtitleFormatIo::read(SubtitleFormat::Ttml, text);
    QVERIFY2(read, read ? "" : qPrintable(read.error()));
    const SubtitleList subtitles = read.value().subtitles;
    QCOMPARE(described(subtitles), expected);
    const FormatKeep &keep = *read.value().keep;
    const QChar *source = keep.cue(*subtitles[0])->source.constData();
    QVERIFY(source >= text.constData() && source < text.constData() + text.size());
    QCOMPARE(SubtitleFormatIo::write(SubtitleFormat::Ttml, subtitles, &keep), text);
    // Each text begins with "a": a new one goes after the start tag, kept as written.
    subtitles[0]->setText(QStringLiteral("new"));
    const QString startTag = paragraph.first(paragraph.indexOf(QStringLiteral(">a")) + 1);
    const QString written = SubtitleFormatIo::write(SubtitleFormat::Ttml, subtitles, &keep);
    QVERIFY2(written.contains(startTag + QStringLiteral("new</p>")), qPrintable(written.right(200)));
}

QTEST_GUILESS_MAIN(tst_Ttml)
#include "tst_ttml.moc"
