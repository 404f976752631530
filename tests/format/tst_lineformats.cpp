#include "format/SubtitleFormatIo.h"

#include <QTest>

// The read-only formats with one subtitle per line or block: MicroDVD, SubViewer, MPL2.
class tst_LineFormats : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
};

void tst_LineFormats::reading_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<bool>("repairing");
    QTest::addColumn<QString>("expected"); // "start-end text|…" in ms, or what the message holds

    const auto row = [](const char *name, SubtitleFormat::Id format, const char *text, const char *expected,
                        double frameRate = 0, bool repairing = false) {
        QTest::newRow(name) << int(format) << QString::fromUtf8(text) << frameRate << repairing << QString::fromUtf8(expected);
    };
    using F = SubtitleFormat;
    row("MicroDVD at the default 23.976", F::MicroDvd, "{24}{48}One|Two\n", "1001-2002 One\nTwo");
    row("MicroDVD's first line gives the frame rate", F::MicroDvd, "{1}{1}25\n{25}{50}A\n", "1000-2000 A", 30);
    row("MicroDVD at the rate asked for", F::MicroDvd, "{25}{50}A\n", "1000-2000 A", 25);
    row("MicroDVD control codes for a line and for all", F::MicroDvd, "{0}{25}{Y:b}{y:i}one|{c:$0000FF}two|{y:u}{s:20}three\n",
        "0-1043 <b><i>one</i>\n<font color=\"#ff0000\">two</font>\n<u>three</u></b>", 0);
    row("MicroDVD: a line that is not a subtitle", F::MicroDvd, "{1}{2}A\n\nB\n", "Line 3 is not a MicroDVD subtitle");
    row("MicroDVD: no end", F::MicroDvd, "{1}{}A\n", "Line 1 has no end");
    row("MicroDVD repaired: an open end lasts until the next", F::MicroDvd, "{25}{}A\njunk\n{50}{75}B\n",
        "1000-2000 A|2000-3000 B", 25, true);
    row("MicroDVD: a frame past any film", F::MicroDvd, "{1}{999999999999999}A\n", "Line 1 has a time past");
    row("MicroDVD: a frame rate no film has is no subtitle", F::MicroDvd, "{1}{1}1000\n{24}{48}A\n", "Line 1 gives the frame rate “1000”");
    row("MicroDVD repaired: a frame rate no film has left out", F::MicroDvd, "{1}{1}1\n{24}{48}A\n", "1001-2002 A", 0, true);
    row("MicroDVD repaired: nothing but lines that are not subtitles", F::MicroDvd, "junk\n{x}{2}A\n",
        "a repair would leave no subtitle", 0, true);

    row("SBV with several lines and commas", F::SubViewer, "0:00:01.500,0:00:04.000\nHello, you\nthere\n\n1:00:00.000,1:00:01.000\nB\n",
        "1500-4000 Hello, you\nthere|3600000-3601000 B");
    row("SubViewer 2.0 header, hundredths and [br]", F::SubViewer,
        "[INFORMATION]\n[TITLE]x\n[END INFORMATION]\n[SUBTITLE]\n[COLF]&HFFFFFF,[SIZE]18\n00:00:01.20,00:00:02.05\nOne[br]Two\n",
        "1200-2050 One\nTwo");
    row("SubViewer: text after a blank line", F::SubViewer, "0:00:01.000,0:00:02.000\nA\n\nB\n", "Line 4 should be the start and end");
    row("SubViewer repaired: text after a blank line joins the one before", F::SubViewer,
        "0:00:01.000,0:00:02.000\nA\n\nB\n", "1000-2000 A\nB", 0, true);
    row("SubViewer: an end before the start", F::SubViewer, "0:00:03.000,0:00:02.000\nA\n", "Line 1 ends before it starts");
    row("SubViewer: an end past the largest time", F::SubViewer, "0:00:01.000,999999:99:99.000\nA\n", "Line 1 has a time past the largest");
    row("SubViewer: a subtitle of no length is no fault", F::SubViewer, "0:00:02.000,0:00:02.000\nA\n", "2000-2000 A");
    row("SubViewer: a subtitle without the blank line before it", F::SubViewer, "0:00:01.000,0:00:02.000\nA\n0:00:03.000,0:00:04.000\nB\n",
        "Line 3 begins a subtitle without the blank line");
    row("SubViewer repaired: a subtitle without the blank line before it, one ending before it starts", F::SubViewer,
        "0:00:01.000,0:00:02.000\nA\n0:00:05.000,0:00:04.000\nB\n", "1000-2000 A|5000-5000 B", 0, true);

    row("MPL2 in tenths, italic lines", F::Mpl2, "[10][25]/One|Two\n[30][40]C\n", "1000-2500 <i>One</i>\nTwo|3000-4000 C");
    row("MPL2: an end before the start", F::Mpl2, "[10][25]A\n[40][30]B\n", "Line 2 ends before it starts");
    row("MPL2 repaired: an end before the start", F::Mpl2, "[40][30]B\n", "4000-4000 B", 0, true);
    row("MPL2: a MicroDVD line", F::Mpl2, "[1][2]A\n{1}{2}B\n", "Line 2 is not a MPL2 subtitle");
}

void tst_LineFormats::reading()
{
    QFETCH(int, format);
    QFETCH(QString, text);
    QFETCH(double, frameRate);
    QFETCH(bool, repairing);
    QFETCH(QString, expected);
    const auto read = SubtitleFormatIo::read(SubtitleFormat::Id(format), text, {.repairing = repairing, .frameRate = frameRate});
    if (!read) {
        QVERIFY2(read.error().contains(expected), qPrintable(read.error()));
        return;
    }
    QStringList lines;
    for (const SubtitlePtr &subtitle : read.value().subtitles)
        lines.append(QStringLiteral("%1-%2 %3").arg(qRound64(subtitle->start * 1000)).arg(qRound64(subtitle->end * 1000)).arg(subtitle->text()));
    QCOMPARE(lines.join(u'|'), expected);
    QCOMPARE(read.value().repairs.isEmpty(), !repairing); // each repairing row has something to mend, and says so
}

QTEST_GUILESS_MAIN(tst_LineFormats)
#include "tst_lineformats.moc"
