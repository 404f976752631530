#include "format/SubtitleFormatIo.h"

#include <QTest>

class tst_WebVtt : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void throughSrt_data();
    void throughSrt();
};

namespace {

// "start end text" in milliseconds, one subtitle a line.
QString described(const SubtitleList &subtitles)
{
    QStringList lines;
    for (const SubtitlePtr &subtitle : subtitles)
        lines.append(QStringLiteral("%1 %2 %3").arg(qRound64(subtitle->start * 1000)).arg(qRound64(subtitle->end * 1000)).arg(subtitle->text()));
    return lines.join(u'\n');
}

const QString cue = QStringLiteral("WEBVTT\n\n00:01.000 --> 00:02.000%1\n%2\n");

} // namespace

void tst_WebVtt::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("repairing");
    // The subtitles, or the start of the message ("Line 3 ").
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("repairs");
    const auto row = [](const char *name, const QString &text, const QString &expected, bool repairing = false, int repairs = 0) {
        QTest::newRow(name) << text << repairing << expected << repairs;
    };
    row("hours optional, or past two digits", u"WEBVTT\n\n01:02.500 --> 100:00:00.000\nA\n"_qs, u"62500 360000000 A"_qs);
    row("entities decoded, unknown ones kept", cue.arg(QString(), u"&amp; &lt;b&gt;&nbsp;&#65;&#x42;&#0128512;&lrm;&bogus; &z65; &#0;&#xD800; &"_qs),
        u"1000 2000 & <b>\u00a0AB\U0001F600\u200e&bogus; &z65; &#0;&#xD800; &"_qs);
    row("classes on i left out, own tags kept", cue.arg(QString(), u"<v.a Bob><i.loud>x</i> <c.y>y</c><00:01.500><ruby>z<rt>w</rt></ruby>"_qs),
        u"1000 2000 <v.a Bob><i>x</i> <c.y>y</c><00:01.500><ruby>z<rt>w</rt></ruby>"_qs);
    row("line 0 is the top", cue.arg(u" line:0"_qs, u"A"_qs), u"1000 2000 {\\an8}A"_qs);
    row("a small percentage, to the left", cue.arg(u" line:20% align:start"_qs, u"A"_qs), u"1000 2000 {\\an7}A"_qs);
    row("the middle, to the right", cue.arg(u" line:50%,center align:right"_qs, u"A"_qs), u"1000 2000 {\\an6}A"_qs);
    row("bottom right", cue.arg(u"\talign:end"_qs, u"A"_qs), u"1000 2000 {\\an3}A"_qs);
    row("a box near the left edge, unaligned", cue.arg(u" position:10%"_qs, u"A"_qs), u"1000 2000 {\\an1}A"_qs);
    row("an alignment outweighs the position", cue.arg(u" position:90% align:center line:0"_qs, u"A"_qs), u"1000 2000 {\\an8}A"_qs);
    row("a signed percentage places nothing", cue.arg(u" line:-0%"_qs, u"A"_qs), u"1000 2000 A"_qs);
    row("vertical text places nothing", cue.arg(u" vertical:rl line:0"_qs, u"A"_qs), u"1000 2000 A"_qs);
    row("CR and CR LF end lines", u"WEBVTT\r\rid\r00:01.000 --> 00:02.000\r\na\rb\r\n"_qs, u"1000 2000 a\nb"_qs);
    row("CR LF inside a two-line cue", u"WEBVTT\r\n\r\n00:01.000 --> 00:02.000\r\na\r\nb\r\n"_qs, u"1000 2000 a\nb"_qs);
    row("a timing line in the text starts the next cue", u"WEBVTT\n\n00:03.000 --> 00:04.000\nA\n00:01.000 --> 00:02.000\nB"_qs,
        u"1000 2000 B\n3000 4000 A"_qs);
    row("notes, styles and regions are no cues",
        u"WEBVTT - title\nKind: captions\n\nSTYLE\n::cue {}\n\nREGION\nid:r\n\nNOTE a\n\n00:01.000 --> 00:02.000 region:r\nA\n\nNOTE\nb\n"_qs,
        u"1000 2000 A"_qs);
    row("an empty cue", u"WEBVTT\n\n00:01.000 --> 00:02.000\n\n00:03.000 --> 00:04.000\nB"_qs, u"1000 2000 \n3000 4000 B"_qs);
    row("empty text", QString(), u"Line 1 is empty"_qs);
    row("no signature", u"1\n00:00:01.000 --> 00:00:02.000\nA\n"_qs, u"Line 1 reads “1”"_qs);
    row("a signature run on", u"WEBVTTX\n\n00:01.000 --> 00:02.000\nA\n"_qs, u"Line 1 "_qs);
    row("sixty seconds", cue.arg(QString(), u"A"_qs).replace(u"00:02.000"_qs, u"00:60.000"_qs), u"Line 3 "_qs);
    row("a time too large", cue.arg(QString(), u"A"_qs).replace(u"00:02.000"_qs, u"1234567:00:00.000"_qs), u"Line 3 "_qs);
    row("two fraction digits", cue.arg(QString(), u"A"_qs).replace(u"01.000"_qs, u"01.00"_qs), u"Line 3 "_qs);
    // What players skip is skipped, not a fault: blocks without a timing line, cues whose
    // timing line they cannot read. Only a file where nothing is left is refused.
    row("a block with no timing", u"WEBVTT\n\n00:01.000 --> 00:02.000\nA\n\nB\n"_qs, u"1000 2000 A"_qs);
    row("a style after a cue", u"WEBVTT\n\n00:01.000 --> 00:02.000\nA\n\nSTYLE\n::cue {}\n"_qs, u"1000 2000 A"_qs);
    row("a style whose CSS holds a blank line", u"WEBVTT\n\nSTYLE\n::cue {\n\ncolor: red }\n\n00:01.000 --> 00:02.000\nA\n"_qs,
        u"1000 2000 A"_qs);
    row("a cue with a timing line players cannot read", u"WEBVTT\n\n00:01.000 --> 00:02\nA\n\n00:03.000 --> 00:04.000\nB\n"_qs,
        u"3000 4000 B"_qs);
    row("a cue players skip but a repair reads is refused", u"WEBVTT\n\n00:01.00 --> 00:02.000\nA\n"_qs, u"Line 3 "_qs);
    row("an end before the start", cue.arg(QString(), u"A"_qs).replace(u"00:02.000"_qs, u"00:00.500"_qs), u"Line 3 "_qs);
    row("mended: an end before the start", cue.arg(QString(), u"A"_qs).replace(u"00:02.000"_qs, u"00:00.500"_qs), u"1000 1000 A"_qs, true, 1);
    row("mended: two fraction digits", cue.arg(QString(), u"A"_qs).replace(u"01.000"_qs, u"01.25"_qs), u"1250 2000 A"_qs, true, 1);
    row("mended: signature and comma decimals", u"1\n00:00:01,000 --> 00:00:02,500\nA\n"_qs, u"1000 2500 A"_qs, true, 2);
    row("mended: a bad cue skipped", u"WEBVTT\n\nx00:01.000 --> 00:02.000\nA\n\n00:03.000 --> 00:04.000\nB\n"_qs,
        u"3000 4000 B"_qs, true, 1);
}

void tst_WebVtt::read()
{
    QFETCH(QString, text);
    QFETCH(bool, repairing);
    QFETCH(QString, expected);
    QFETCH(int, repairs);
    const auto reading = SubtitleFormatIo::read(SubtitleFormat::WebVtt, text, {.repairing = repairing});
    if (expected.startsWith(u"Line ")) {
        QVERIFY2(!reading, "the text was read");
        QVERIFY2(reading.error().contains(expected), qPrintable(reading.error()));
        return;
    }
    QVERIFY2(reading, reading ? "" : qPrintable(reading.error()));
    QCOMPARE(described(reading.value().subtitles), expected);
    QCOMPARE(reading.value().repairs.size(), repairs);
}

void tst_WebVtt::write_data()
{
    QTest::addColumn<QString>("file"); // read first, and its keep given to the writer; none when empty
    QTest::addColumn<QString>("edit"); // "time", "text <new>", "add <text>", "remove first" or nothing
    QTest::addColumn<QString>("expected");
    const QString file = u"WEBVTT\n\nNOTE one\n\nid\n00:01.000 --> 00:02.000 align:left\nTom &amp; <c.x>Jerry</c>\n\nNOTE two\n\n00:03.000 --> 00:04.000\nB\n"_qs;
    QTest::newRow("unedited: as read") << file << QString() << file;
    QTest::newRow("a time edit keeps identifier, settings and text bytes") << file << u"time"_qs
        << QString(file).replace(u"00:01.000 --> 00:02.000"_qs, u"00:02.000 --> 00:03.000"_qs);
    QTest::newRow("a text edit keeps the timing line") << file << u"text {\\an1}X & <i>Y</i> <v Al>Z\n\n--> <3"_qs
        << QString(file).replace(u"Tom &amp; <c.x>Jerry</c>"_qs, u"X &amp; <i>Y</i> <v Al>Z\n--&gt; &lt;3"_qs);
    QTest::newRow("a placement edited in the text replaces the cue's") << file << u"text {\\an8}Tom & <c.x>Jerry</c>"_qs
        << QString(file).replace(u"align:left"_qs, u"line:0"_qs);
    QTest::newRow("a time edit keeps the hours") << u"WEBVTT\n\n00:00:01.000 --> 00:00:02.000\nA\n"_qs << u"time"_qs
        << u"WEBVTT\n\n00:00:02.000 --> 00:00:03.000\nA\n"_qs;
    QTest::newRow("the placement of a cue without settings") << file << u"add {\\an9}<font color=\"#ff0\">N</font>{\\pos(1,2)}"_qs
        << QString(file).replace(u"B\n"_qs, u"B\n\n00:00:05.000 --> 00:00:06.000 line:0 align:right\n<c.yellow>N</c>\n"_qs);
    QTest::newRow("removing the first cue keeps the header and the next note") << file << u"remove first"_qs
        << u"WEBVTT\n\nNOTE one\n\nNOTE two\n\n00:03.000 --> 00:04.000\nB\n"_qs;
    QTest::newRow("a block players skip stays as it is") << u"WEBVTT\n\n00:01.000 --> 00:02.000\nA\n\nB\n\n00:03.000 --> 00:04\nC\n"_qs
        << u"time"_qs << u"WEBVTT\n\n00:02.000 --> 00:03.000\nA\n\nB\n\n00:03.000 --> 00:04\nC\n"_qs;
    QTest::newRow("from scratch") << QString() << u"add {\\an8}<b>a</b>\n<font color=\"#123456\">b</font><font color=\"odd\">c</font>"_qs
        << u"WEBVTT\n\n00:00:05.000 --> 00:00:06.000 line:0\n<b>a</b>\n<c.black>b</c>c\n"_qs;
}

void tst_WebVtt::write()
{
    QFETCH(QString, file);
    QFETCH(QString, edit);
    QFETCH(QString, expected);
    SubtitleList subtitles;
    std::shared_ptr<const FormatKeep> keep;
    if (!file.isEmpty()) {
        auto reading = SubtitleFormatIo::read(SubtitleFormat::WebVtt, file);
        QVERIFY(reading);
        subtitles = reading.value().subtitles;
        keep = reading.value().keep;
    }
    if (edit == u"time") {
        subtitles[0]->start += 1;
        subtitles[0]->end += 1;
    } else if (edit.startsWith(u"text ")) {
        subtitles[0]->setText(edit.sliced(5));
    } else if (edit.startsWith(u"add ")) {
        subtitles.append(Subtitle::create(edit.sliced(4), 5, 6));
    } else if (edit == u"remove first") {
        subtitles.removeFirst();
    }
    QCOMPARE(SubtitleFormatIo::write(SubtitleFormat::WebVtt, subtitles, keep.get()), expected);
}

void tst_WebVtt::throughSrt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QStringList opens = {QString(), u"<i>"_qs, u"<b>"_qs, u"<u>"_qs, u"<font color=\"#ffff00\">"_qs};
    const QStringList closes = {QString(), u"</i>"_qs, u"</b>"_qs, u"</u>"_qs, u"</font>"_qs};
    const QStringList bodies = {u"plain"_qs, u"two\nlines"_qs, u"a & b < c > d &amp; \u00a0e"_qs};
    for (qsizetype tag = 0; tag < opens.size(); ++tag) {
        for (const QString &placement : {QString(), u"{\\an8}"_qs, u"{\\an1}"_qs}) {
            for (const QString &body : bodies) {
                const QString text = placement + opens[tag] + body + closes[tag];
                // WebVTT says a colour with a class, which stays in the text as written.
                const QString expected = QString(text).replace(u"<font color=\"#ffff00\">"_qs, u"<c.yellow>"_qs).replace(u"</font>"_qs, u"</c>"_qs);
                QTest::addRow("%s", qPrintable(QString(text).replace(u'\n', u'|'))) << text << expected;
            }
        }
    }
}

void tst_WebVtt::throughSrt()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const SubtitleList subtitles = {Subtitle::create(text, 3723.004, 3725.5)};
    const auto srt = SubtitleFormatIo::read(SubtitleFormat::Srt, SubtitleFormatIo::write(SubtitleFormat::Srt, subtitles, nullptr));
    QVERIFY(srt);
    const QString vtt = SubtitleFormatIo::write(SubtitleFormat::WebVtt, srt.value().subtitles, nullptr);
    const auto back = SubtitleFormatIo::read(SubtitleFormat::WebVtt, vtt);
    QVERIFY2(back, back ? "" : qPrintable(back.error()));
    const auto again = SubtitleFormatIo::read(SubtitleFormat::Srt, SubtitleFormatIo::write(SubtitleFormat::Srt, back.value().subtitles, nullptr));
    QVERIFY(again);
    QCOMPARE(described(again.value().subtitles), QStringLiteral("3723004 3725500 ") + expected);
}

QTEST_GUILESS_MAIN(tst_WebVtt)
#include "tst_webvtt.moc"
