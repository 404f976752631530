#include "format/AssReader.h"
#include "format/AssWriter.h"
#include "format/SubtitleFormatIo.h"

#include "SubtitleText.h"

#include <QTest>

// ASS and SSA scripts as players read them, and written back keeping what was not edited.
class tst_Ass : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void srtThroughAssKeepsTags_data();
    void srtThroughAssKeepsTags();
};

namespace {

// "EVENTS" stands for the script up to the standard Format line of [Events] (line 5),
// "D" for the start of an event from 1 to 2 s with nothing but the text to follow.
QString script(const char *text)
{
    return QString::fromUtf8(text)
        .replace(QStringLiteral("EVENTS"), QStringLiteral("[Script Info]\nScriptType: v4.00+\n\n[Events]\n"
                                                          "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text"))
        .replace(QStringLiteral("D "), QStringLiteral("Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,"));
}

} // namespace

void tst_Ass::reads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("repairing");
    // "text@start-end|…", or for a refused script the start of its message.
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *text, bool repairing, const char *expected) {
        QTest::newRow(name) << script(text) << repairing << QString::fromUtf8(expected);
    };
    row("commas belong to the text", "EVENTS\nD a, b,, c\n", false, "a, b,, c@1-2");
    row("a hard break, a soft one shown as a space, a hard space, a break last", "EVENTS\nD a\\Nb\\nc\\hd\\N\n", false,
        "a\nb c\u00A0d\n@1-2");
    row("a soft break breaks where the script wraps no line itself",
        "[Script Info]\nWrapStyle: 2\n\n[Events]\nFormat: Start, End, Text\nDialogue: 0:00:01.00,0:00:02.00,b\\nc\n", false, "b\nc@1-2");
    row("an empty block after a backslash keeps it literal", "EVENTS\nD C:\\{}Nina\n", false, "C:\\Nina@1-2");
    row("italic, bold, underline; a bare tag ends it", "EVENTS\nD {\\i1}a{\\i0} {\\b1}b{\\b} {\\u1}c{\\u0}\n", false,
        "<i>a</i> <b>b</b> <u>c</u>@1-2");
    row("colours in BGR, with alpha, and reset", "EVENTS\nD {\\c&H0000FF&}r{\\c} {\\1c&H8000FF00&}g\n", false,
        "<font color=\"#ff0000\">r</font> <font color=\"#00ff00\">g@1-2");
    row("legacy top and middle alignment", "EVENTS\nD {\\a6}top\nD {\\a11}mid\n", false, "{\\an8}top@1-2|{\\an6}mid@1-2");
    row("a mixed block split, ASS-only tags kept in order", "EVENTS\nD {\\pos(10,20)\\i1\\fad(1,2)\\blur3}x\n", false,
        "{\\pos(10,20)}<i>{\\fad(1,2)\\blur3}x@1-2");
    row("tags inside \\t stay in it", "EVENTS\nD {\\t(0,100,\\i1\\c&HFF&)}x\n", false, "{\\t(0,100,\\i1\\c&HFF&)}x@1-2");
    row("karaoke, comments and a lone brace stay", "EVENTS\nD {\\k20}ka{\\kf30}ra{note} {x\n", false,
        "{\\k20}ka{\\kf30}ra{note} {x@1-2");
    row("comment events and ; lines are not subtitles, order by start",
        "EVENTS\n; note\nComment: 0,0:00:00.00,0:00:09.00,Default,,0,0,0,,c\n"
        "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,B\nD A\n",
        false, "A@1-2|B@3-4");
    row("optional fields missing, End before Start", "[Events]\nFormat: End, Start, Text\nDialogue: 0:00:02.00,0:00:01.00,a,b\n",
        false, "a,b@1-2");
    row("SSA events, one-digit fields and long hours", "[Script Info]\nScriptType: v4.00\n\n[Events]\n"
        "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
        "Dialogue: Marked=0,0:0:5.00,10:00:00.00,*Default,,0000,0000,0000,,x\n", false, "x@5-36000");
    row("other sections, events and notes kept out of the subtitles",
        "EVENTS\nD A\nPicture: x\nand the rest of A\n\n[Fonts]\nfontname: a.ttf\n!!!\n", false, "A@1-2");
    row("a colon before the hundredths, as players read it", "EVENTS\nDialogue: 0,0:00:04:56,0:00:05:00,Default,,0,0,0,,A\n", false,
        "A@4.56-5");
    // Refused strictly, naming the line counted from 1.
    row("too few fields", "EVENTS\nDialogue: 0,0:00:01.00,0:00:02.00,Default\n", false, "Line 6 reads");
    row("a time with three fraction digits", "EVENTS\nD A\nDialogue: 0,0:00:01.000,0:00:02.00,Default,,0,0,0,,B\n", false,
        "Line 7 reads");
    row("an hour of seven digits", "EVENTS\nDialogue: 0,1234567:00:00.00,0:00:02.00,Default,,0,0,0,,B\n", false, "Line 6 reads");
    row("a negative time", "EVENTS\nDialogue: 0,-0:00:01.00,0:00:02.00,Default,,0,0,0,,B\n", false, "Line 6 reads");
    row("an end before the start", "EVENTS\nDialogue: 0,0:00:03.00,0:00:02.00,Default,,0,0,0,,B\n", false, "Line 6 reads");
    row("an event before the Format line", "[Events]\nD A\n", false, "Line 2 reads");
    row("a Format line without Text last", "[Events]\nFormat: Start, End, Text, Style\n", false, "Line 2 reads");
    row("not a script at all", "1\n00:00:01,000 --> 00:00:02,000\nA\n", false, "Line 1 reads “1”.");
    // Mended by a repairing read.
    row("repaired: unreadable events left out", "EVENTS\nD A\nDialogue: 0,0:00:01.00\nDialogue: 0,x,0:00:02.00,Default,,0,0,0,,B\n",
        true, "A@1-2");
    row("repaired: an event short of fields keeps its times and text", "EVENTS\nDialogue: 0,0:00:06.00,0:00:07.00,Default,,0,0,0,A b\n",
        true, "A b@6-7");
    row("repaired: nothing readable is no success", "EVENTS\nDialogue: 0,x,0:00:02.00,Default,,0,0,0,,B\n", true,
        "Line 6");
    row("repaired: times", "EVENTS\nDialogue: 0,0:00:01.500,0:00:62.00,Default,,0,0,0,,A\n"
        "Dialogue: 0,-0:00:01.00,0:00:00.5,Default,,0,0,0,,B\nDialogue: 0,0:00:05.00,0:00:04.00,Default,,0,0,0,,C\n", true,
        "B@0-0.05|A@1.5-62|C@5-5");
    row("repaired: events without a Format line in the standard order", "[Events]\nD A\n", true, "A@1-2");
}

void tst_Ass::reads()
{
    QFETCH(QString, text);
    QFETCH(bool, repairing);
    QFETCH(QString, expected);
    const auto read = SubtitleFormatIo::read(SubtitleFormat::Ass, text, {.repairing = repairing});
    if (!expected.contains(u'@')) {
        QVERIFY2(!read, "a broken script was read");
        QVERIFY2(read.error().contains(expected), qPrintable(read.error()));
        return;
    }
    QVERIFY2(read, read ? "" : qPrintable(read.error()));
    QCOMPARE(describeSubtitles(read.value().subtitles), expected);
    QCOMPARE(read.value().repairs.isEmpty(), !repairing);
}

void tst_Ass::writes_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text"); // empty: written without a script read before
    // "start=1.5", "end=3", "text=…" edit the first subtitle; "add=…" adds one from 5 to 6 s.
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("lines"); // each must be a line of what is written
    const auto row = [](const char *name, SubtitleFormat::Id format, const char *text, const char *edit, QStringList lines) {
        QTest::newRow(name) << int(format) << script(text) << QString::fromUtf8(edit) << lines;
    };
    const SubtitleFormat::Id ass = SubtitleFormat::Ass;
    row("a time edit keeps the text as written", ass, "EVENTS\n; c\nD {\\i1}a{\\i0}\\nb{\\k5}\\h\n", "start=1.5",
        {"; c", "Dialogue: 0,0:00:01.50,0:00:02.00,Default,,0,0,0,,{\\i1}a{\\i0}\\nb{\\k5}\\h"});
    row("a text edit keeps the other fields and the times as written", ass,
        "EVENTS\nDialogue: 3,00:00:01.00,0:00:02.00,Sign,Bob,10,20,30,Scroll up;5,old\n", "text=<i>new</i>\n{\\pos(1,2)}x\u00A0<v Ann>y",
        {"Dialogue: 3,00:00:01.00,0:00:02.00,Sign,Bob,10,20,30,Scroll up;5,{\\i1}new{\\i0}\\N{\\pos(1,2)}x\\hy"});
    row("an end edit rounds half a hundredth up, as its milliseconds read, and keeps the start", ass,
        "EVENTS\nDialogue: 0,00:00:01.00,0:00:02.00,Default,,0,0,0,,a\n", "end=72.585",
        {"Dialogue: 0,00:00:01.00,0:01:12.59,Default,,0,0,0,,a"});
    row("a new subtitle in the file's field order", ass, "[Script Info]\n\n[Events]\nFormat: Start, End, Style, Text\n"
        "Dialogue: 0:00:01.00,0:00:02.00,Sign,a\n\n[Fonts]\n", "add={\\an8}<u>b</u>",
        {"Dialogue: 0:00:01.00,0:00:02.00,Sign,a", "Dialogue: 0:00:05.00,0:00:06.00,Default,{\\an8}{\\u1}b{\\u0}", "[Fonts]"});
    row("a new subtitle in a script without events", ass, "[Script Info]\nTitle: t\n", "add=b",
        {"Title: t", "[Events]", "Dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,b"});
    row("SSA: a new event is unmarked, top placement the legacy way", SubtitleFormat::Ssa,
        "[Events]\nFormat: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n", "add={\\an8}b",
        {"Dialogue: Marked=0,0:00:05.00,0:00:06.00,Default,,0,0,0,,{\\a6}b"});
    row("from scratch: a complete ASS script", ass, "", "add=<font color=\"#ff8000\">b</font>",
        {"[Script Info]", "ScriptType: v4.00+", "PlayResY: 1080", "[V4+ Styles]",
         "Style: Default,Arial,54,&H00FFFFFF,&H000000FF,&H00000000,&H80000000,0,0,0,0,100,100,0,0,1,3,1,2,60,60,40,1",
         "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text",
         "Dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,{\\c&H0080FF&}b{\\c}"});
    row("from scratch: a complete SSA script", SubtitleFormat::Ssa, "", "add=b",
        {"ScriptType: v4.00", "[V4 Styles]", "Dialogue: Marked=0,0:00:05.00,0:00:06.00,Default,,0,0,0,,b"});
}

void tst_Ass::writes()
{
    QFETCH(int, format);
    QFETCH(QString, text);
    QFETCH(QString, edit);
    QFETCH(QStringList, lines);
    const auto id = SubtitleFormat::Id(format);
    SubtitleList subtitles;
    std::shared_ptr<const FormatKeep> keep;
    if (!text.isEmpty()) {
        auto read = AssReader::read(id, text);
        QVERIFY2(read, read ? "" : qPrintable(read.error()));
        subtitles = read.value().subtitles;
        keep = read.value().keep;
    }
    const QString value = edit.section(u'=', 1);
    if (edit.startsWith(QStringLiteral("add=")))
        subtitles.append(Subtitle::create(value, 5, 6));
    else if (edit.startsWith(QStringLiteral("start=")))
        subtitles[0]->start = value.toDouble();
    else if (edit.startsWith(QStringLiteral("end=")))
        subtitles[0]->end = value.toDouble();
    else
        subtitles[0]->setText(value);

    const QString written = AssWriter::write(id, subtitles, keep.get());
    const QStringList writtenLines = written.split(u'\n');
    for (const QString &line : lines)
        QVERIFY2(writtenLines.contains(line), qPrintable(line + QStringLiteral("\nnot in\n") + written));
    const auto again = AssReader::read(id, written);
    QVERIFY2(again, again ? "" : qPrintable(again.error()));
    QCOMPARE(again.value().subtitles.size(), subtitles.size());
}

void tst_Ass::srtThroughAssKeepsTags_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *text, const char *expected) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(expected);
    };
    row("every simple tag and line breaks", "<i>a</i>\n<b>b</b> <U>c</U>\nd", "<i>a</i>\n<b>b</b> <u>c</u>\nd");
    row("top placement", "{\\an8}top\nline", "{\\an8}top\nline");
    row("colours by number and name", "<font color=\"#FF8000\">o</font> <font color=red>r</font> <font color=#abc>x</font>",
        "<font color=\"#ff8000\">o</font> <font color=\"#ff0000\">r</font> <font color=\"#aabbcc\">x</font>");
    row("ASS tags and a hard space survive", "{\\pos(1,2)\\k5}a\u00A0b", "{\\pos(1,2)\\k5}a\u00A0b");
    row("WebVTT tags are left out", "<v Bob><c.loud>hi</c></v>", "hi");
}

void tst_Ass::srtThroughAssKeepsTags()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const auto srt = SubtitleFormatIo::read(SubtitleFormat::Srt, QStringLiteral("1\n00:00:01,234 --> 00:00:05,678\n%1\n").arg(text));
    QVERIFY(srt);
    const QString ass = SubtitleFormatIo::write(SubtitleFormat::Ass, srt.value().subtitles, nullptr);
    const auto back = SubtitleFormatIo::read(SubtitleFormat::Ass, ass);
    QVERIFY2(back, back ? "" : qPrintable(back.error()));
    QCOMPARE(describeSubtitles(back.value().subtitles), expected + QStringLiteral("@1.23-5.68"));
}

QTEST_GUILESS_MAIN(tst_Ass)
#include "tst_ass.moc"
