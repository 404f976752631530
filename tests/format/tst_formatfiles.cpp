#include "format/EbuStlReader.h"
#include "format/FormatKeep.h"
#include "format/SubtitleFormat.h"
#include "format/SubtitleFormatIo.h"
#include "format/WrittenTimes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTest>

// The real files other programs wrote, kept under tests/data/formats/<format key>/ with what a
// careful count of each gives in expected.tsv: "name<TAB>subtitles<TAB>checks", where
// subtitles is a count, or "line N" for a broken file whose message must name line N, or
// "line N / COUNT" for one that a repairing read mends into COUNT subtitles ("line N /
// refused" when mending would leave none); and
// checks lists "same" (written back unedited, byte for byte, and with one subtitle edited
// only its cue's lines changed), "unedited" (only the first) and "srt" (through SRT and
// back, the same subtitles).
class tst_FormatFiles : public QObject
{
    Q_OBJECT

private slots:
    void detection_data();
    void detection();
    void realFiles_data();
    void realFiles();
    void srtFilesThroughEveryFormat_data();
    void srtFilesThroughEveryFormat();
    void extremeTimesReadBackStrictly_data();
    void extremeTimesReadBackStrictly();
    void conversionKeepsTextOrListsIt_data();
    void conversionKeepsTextOrListsIt();
    void conversionCarriesWhatBothFormatsSay_data();
    void conversionCarriesWhatBothFormatsSay();
};

namespace {

QString textOf(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Times to `precision` seconds, half a step up from whole milliseconds: ASS and SSA hold
// hundredths.
QStringList described(const SubtitleList &subtitles, double precision = 0.001)
{
    const qint64 step = qRound64(precision * 1000);
    const auto steps = [step](double time) { return (qRound64(time * 1000) + step / 2) / step; };
    QStringList lines;
    for (const SubtitlePtr &subtitle : subtitles)
        lines.append(QStringLiteral("%1 %2 %3").arg(steps(subtitle->start)).arg(steps(subtitle->end)).arg(subtitle->text()));
    return lines;
}

} // namespace

using namespace Qt::StringLiterals;

// Each format told by its shape, and the look-alikes that are not it.
void tst_FormatFiles::detection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format"); // its key
    const QString srt = QStringLiteral("1\n00:00:01,000 --> 00:00:02,000\nA\n\n");
    const QString ttml = QStringLiteral("<tt xmlns=\"http://www.w3.org/ns/ttml\"><body><div><p begin=\"1s\" end=\"2s\">A</p></div></body></tt>\n");
    const QString comment = QStringLiteral("<!--") + QString(70 * 1024, u'x') + QStringLiteral("-->\n");
    const auto row = [](const char *name, const QString &text, const char *format) { QTest::newRow(name) << text << QString::fromUtf8(format); };
    row("SRT", srt, "srt");
    row("an SRT subtitle reading [Events], another Format:", srt + QStringLiteral("2\n00:00:03,000 --> 00:00:04,000\n[Events]\nFormat: x\n"), "srt");
    row("[Events] without anything else of a script", QStringLiteral("x\n[Events]\n"), "srt");
    row("a script cut down to its events", QStringLiteral("[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,,A\n"), "ssa");
    row("a script after a comment line", QStringLiteral("; made by hand\n[Script Info]\nScriptType: v4.00+\n"), "ass");
    row("its events after a comment line", QStringLiteral("; made by hand\n\n[Events]\nFormat: Start, End, Text\n"), "ssa");
    row("WEBVTT and a tab", QStringLiteral("WEBVTT\tcaptions\n\n00:01.000 --> 00:02.000\nA\n"), "vtt");
    row("WEBVTT run on into a word is no signature", QStringLiteral("WEBVTTish\n") + srt, "srt");
    row("a MicroDVD line before SRT's blocks", QStringLiteral("{1}{2}A\n") + srt, "srt");
    row("TTML behind a declaration and a long comment", QStringLiteral("<?xml version=\"1.0\"?>\n") + comment + ttml, "ttml");
    row("the head of TTML cut inside a long comment", comment.first(64 * 1024), "ttml");
    row("TTML with a namespace prefix", QStringLiteral("<tt:tt xmlns:tt=\"http://www.w3.org/ns/ttml\"/>"), "ttml");
    row("a comment naming <tt> before a web page", QStringLiteral("<!-- <tt> -->\n<html><body>Not found</body></html>\n"), "srt");
}

void tst_FormatFiles::detection()
{
    QFETCH(QString, text);
    QFETCH(QString, format);
    QCOMPARE(SubtitleFormat::key(SubtitleFormat::detect(text)), format);
}

void tst_FormatFiles::realFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("checks");
    QTest::newRow("none collected") << QString() << QString() << QStringList();
    const QDir root(qEnvironmentVariable("CUEWRIGHT_TEST_DATA") + QStringLiteral("/formats"));
    for (const QString &folder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile table(root.filePath(folder + QStringLiteral("/expected.tsv")));
        if (!table.open(QIODevice::ReadOnly))
            continue;
        while (!table.atEnd()) {
            const QString line = QString::fromUtf8(table.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList fields = line.split(u'\t');
            QVERIFY2(fields.size() >= 2, qPrintable(line));
            QTest::addRow("%s/%s", qPrintable(folder), qPrintable(fields[0]))
                << root.filePath(folder + u'/' + fields[0]) << fields[1]
                << (fields.size() > 2 ? fields[2].split(u',', Qt::SkipEmptyParts) : QStringList());
        }
    }
}

void tst_FormatFiles::realFiles()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QFETCH(QStringList, checks);
    if (path.isEmpty())
        return;

    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = file.readAll();
    // A binary file is told by its bytes, and passed as text one byte to a character.
    const bool binary = EbuStlReader::recognizes(bytes);
    const QString text = binary ? QString::fromLatin1(bytes) : textOf(bytes);
    const SubtitleFormat::Id format = binary ? SubtitleFormat::EbuStl : SubtitleFormat::detect(text);
    QCOMPARE(SubtitleFormat::key(format), QFileInfo(path).dir().dirName()); // each folder is a format, by content
    const auto read = SubtitleFormatIo::read(format, text);

    if (expected.startsWith(QStringLiteral("line "))) {
        const QStringList parts = expected.sliced(5).split(QStringLiteral(" / "));
        QVERIFY2(!read, "a broken file was read");
        QVERIFY2(read.error().contains(QStringLiteral("Line ") + parts[0] + u' '), qPrintable(read.error()));
        if (parts.size() < 2)
            return;
        const auto repaired = SubtitleFormatIo::read(format, text, {.repairing = true});
        if (parts[1] == QLatin1String("refused")) {
            QVERIFY2(!repaired, "a repair that leaves nothing was taken for a read");
            return;
        }
        QVERIFY2(repaired, repaired ? "" : qPrintable(repaired.error()));
        QCOMPARE(repaired.value().subtitles.size(), parts[1].toLongLong());
        return;
    }
    QVERIFY2(read, read ? "" : qPrintable(read.error()));
    QCOMPARE(read.value().subtitles.size(), expected.toLongLong());

    if (checks.contains(QStringLiteral("unedited")))
        QCOMPARE(SubtitleFormatIo::write(format, read.value().subtitles, read.value().keep.get()), text);
    if (checks.contains(QStringLiteral("same"))) {
        QCOMPARE(SubtitleFormatIo::write(format, read.value().subtitles, read.value().keep.get()), text);
        // A binary file's blocks, edited one by one, are tst_ebustl's.
        if (read.value().subtitles.isEmpty() || binary)
            return;
        // One subtitle's text edited: only the lines of its cue change.
        const SubtitlePtr edited = read.value().subtitles.at(read.value().subtitles.size() / 2);
        const FormatKeep::Cue *cue = read.value().keep ? read.value().keep->cue(*edited) : nullptr;
        QVERIFY(cue);
        edited->setText(edited->text() + QStringLiteral(" Edited"));
        const QStringList before = text.split(u'\n');
        const QStringList after = SubtitleFormatIo::write(format, read.value().subtitles, read.value().keep.get()).split(u'\n');
        qsizetype same = 0;
        while (same < before.size() && same < after.size() && before[same] == after[same])
            ++same;
        qsizetype sameAtEnd = 0;
        while (sameAtEnd < before.size() - same && sameAtEnd < after.size() - same
               && before[before.size() - 1 - sameAtEnd] == after[after.size() - 1 - sameAtEnd])
            ++sameAtEnd;
        QVERIFY2(before.size() - same - sameAtEnd <= cue->source.count(u'\n') + 1,
                 qPrintable(QStringLiteral("lines %1 to %2 changed").arg(same + 1).arg(before.size() - sameAtEnd)));
        QVERIFY(after.mid(same, after.size() - same - sameAtEnd).join(u'\n').contains(QStringLiteral("Edited")));
    }
    if (checks.contains(QStringLiteral("srt"))) {
        const QString srt = SubtitleFormatIo::write(SubtitleFormat::Srt, read.value().subtitles, read.value().keep.get());
        const auto fromSrt = SubtitleFormatIo::read(SubtitleFormat::Srt, srt);
        QVERIFY2(fromSrt, fromSrt ? "" : qPrintable(fromSrt.error()));
        const SubtitleFormat::Id back = SubtitleFormat::isWritable(format) ? format : SubtitleFormat::Srt;
        const auto again = SubtitleFormatIo::read(back, SubtitleFormatIo::write(back, fromSrt.value().subtitles, nullptr));
        QVERIFY2(again, again ? "" : qPrintable(again.error()));
        QCOMPARE(described(again.value().subtitles), described(read.value().subtitles));
    }
}

// Real SRT files written in each other format and read back give the same subtitles.
void tst_FormatFiles::srtFilesThroughEveryFormat_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("format");
    const QDir folder(qEnvironmentVariable("CUEWRIGHT_TEST_DATA") + QStringLiteral("/realworld"));
    for (const QString &name : folder.entryList({QStringLiteral("*.srt")}, QDir::Files)) {
        for (const SubtitleFormat::Id format : SubtitleFormat::all) {
            // EBU-STL cuts rows at 40 characters and holds a few alphabets: tst_ebustl's.
            if (format != SubtitleFormat::Srt && SubtitleFormat::isWritable(format) && !SubtitleFormat::isBinary(format))
                QTest::addRow("%s as %s", qPrintable(name), qPrintable(SubtitleFormat::key(format))) << folder.filePath(name) << int(format);
        }
    }
}

void tst_FormatFiles::srtFilesThroughEveryFormat()
{
    QFETCH(QString, path);
    QFETCH(int, format);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // Files with a byte-order mark say their encoding; a single-byte one reads as Latin-1,
    // which keeps every line as it is.
    auto decoder = QStringDecoder(QStringDecoder::encodingForData(bytes).value_or(QStringConverter::Utf8));
    QString text = decoder(bytes);
    if (decoder.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const auto srt = SubtitleFormatIo::read(SubtitleFormat::Srt, text);
    QVERIFY2(srt, srt ? "" : qPrintable(srt.error()));
    const auto id = SubtitleFormat::Id(format);
    const QString written = SubtitleFormatIo::write(id, srt.value().subtitles, nullptr);
    QCOMPARE(SubtitleFormat::detect(written), id);
    const auto back = SubtitleFormatIo::read(id, written);
    QVERIFY2(back, back ? "" : qPrintable(back.error()));
    // SCC counts frames, shows one caption at a time and has 32 columns: what it changes is listed.
    if (id == SubtitleFormat::Scc) {
        if (described(back.value().subtitles) != described(srt.value().subtitles))
            QVERIFY(!SubtitleFormatIo::losses(id, srt.value().subtitles, nullptr).isEmpty());
        return;
    }
    const double precision = id == SubtitleFormat::Ass || id == SubtitleFormat::Ssa ? 0.01 : 0.001;
    QCOMPARE(described(back.value().subtitles, precision), described(srt.value().subtitles, precision));
    // Whatever the format cannot hold, the user hears of before it is written.
    if (precision > 0.001 && described(srt.value().subtitles) != described(back.value().subtitles))
        QVERIFY(!SubtitleFormatIo::losses(id, srt.value().subtitles, nullptr).isEmpty());
}

// A time a format cannot hold is written as the nearest it can, and an end before its
// start as the start, so that the format's own strict reader takes the file back; with
// the keep of a file read before too.
void tst_FormatFiles::extremeTimesReadBackStrictly_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("readStart");
    QTest::addColumn<double>("readEnd");
    const double ttmlLatest = 1e6 * 3600; // what TTML's reader accepts, 1000000:00:00.000
    const double far = 1e15;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        SubtitleFormat::Id format;
        double latest; // 999999:59:59.999, or .99 in hundredths
    } formats[] = {{SubtitleFormat::Srt, 3599999999.999}, {SubtitleFormat::WebVtt, 3599999999.999}, {SubtitleFormat::Ass, 3599999999.99},
                   {SubtitleFormat::Ssa, 3599999999.99}, {SubtitleFormat::Ttml, ttmlLatest}};
    for (const auto &[format, latest] : formats) {
        const struct
        {
            const char *name;
            double start, end, readStart, readEnd;
        } cases[] = {{"TTML's latest", ttmlLatest - 1, ttmlLatest, std::min(ttmlLatest - 1, latest), std::min(ttmlLatest, latest)},
                     {"the format's latest", latest - 1, latest, latest - 1, latest},
                     {"far past any", far, 2 * far, latest, latest},
                     {"reversed", 5, 3, 5, 5},
                     {"reversed from far past", far, 5, latest, latest},
                     {"an end not a number", 5, nan, 5, 5}};
        for (const bool kept : {false, true}) {
            for (const auto &row : cases)
                QTest::addRow("%s, %s%s", qPrintable(SubtitleFormat::key(format)), row.name, kept ? ", kept" : "")
                    << int(format) << kept << row.start << row.end << row.readStart << row.readEnd;
        }
    }
}

void tst_FormatFiles::extremeTimesReadBackStrictly()
{
    QFETCH(int, format);
    QFETCH(bool, kept);
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, readStart);
    QFETCH(double, readEnd);
    const auto id = SubtitleFormat::Id(format);
    SubtitleList subtitles{Subtitle::create(QStringLiteral("A"), 1, 2)};
    std::shared_ptr<const FormatKeep> keep;
    if (kept) {
        auto read = SubtitleFormatIo::read(id, SubtitleFormatIo::write(id, subtitles, nullptr));
        QVERIFY(read);
        subtitles = read.value().subtitles;
        keep = read.value().keep;
    }
    subtitles[0]->start = start;
    subtitles[0]->end = end;
    const QString written = SubtitleFormatIo::write(id, subtitles, keep.get());
    const auto back = SubtitleFormatIo::read(id, written);
    QVERIFY2(back, back ? "" : qPrintable(back.error() + u'\n' + written));
    const double precision = id == SubtitleFormat::Ass || id == SubtitleFormat::Ssa ? 0.01 : 0.001;
    QCOMPARE(described(back.value().subtitles, precision), described({Subtitle::create(QStringLiteral("A"), readStart, readEnd)}, precision));
    // A change of time is said before it is written.
    QCOMPARE(WrittenTimes::changes(id, subtitles, keep.get()).isEmpty(), readStart == start && readEnd == end);
}

// A text written in another format reads back as the format can say it, and whatever it
// cannot say is in the list of losses the user sees first.
void tst_FormatFiles::conversionKeepsTextOrListsIt_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<QString>("loss"); // a word the list of losses holds; empty: nothing listed
    const auto vtt = int(SubtitleFormat::WebVtt);
    const auto ass = int(SubtitleFormat::Ass);
    const auto ttml = int(SubtitleFormat::Ttml);
    QTest::newRow("WebVTT: a colour of its own is listed as approximated")
        << vtt << u"<font color=\"#D81D1D\">Red</font>"_s << u"<c.red>Red</c>"_s << u"colour classes"_s;
    QTest::newRow("WebVTT: a colour class's own colour is not a loss")
        << vtt << u"<font color=\"#FF0000\">Red</font>"_s << u"<c.red>Red</c>"_s << QString();
    QTest::newRow("WebVTT: a colour that is none is listed") << vtt << u"<font color=\"#12\">A</font>"_s << u"A"_s << u"colour classes"_s;
    QTest::newRow("WebVTT closes what the text leaves open") << vtt << u"<i>open <font color=\"red\">red"_s << u"<i>open <c.red>red</c></i>"_s << QString();
    QTest::newRow("WebVTT nests what the text crosses") << vtt << u"<i>a<b>b</i>c</b></u>"_s << u"<i>a<b>b</b></i><b>c</b>"_s << QString();
    QTest::newRow("TTML ends a line break the text ends with, which shows nothing") << ttml << u"a\n"_s << u"a"_s << QString();
    QTest::newRow("TTML keeps spaces and tabs") << ttml << u" two  spaces\tand a tab \nend "_s << u" two  spaces\tand a tab \nend "_s << QString();
    QTest::newRow("TTML keeps spaces around tags") << ttml << u"<i>a </i> b"_s << u"<i>a </i> b"_s << QString();
    QTest::newRow("TTML lists control characters") << ttml << u"bell\x07 rings"_s << u"bell rings"_s << u"control characters"_s;
    QTest::newRow("ASS keeps a literal \\N and \\h") << ass << u"C:\\Nina and \\h\\n"_s << u"C:\\Nina and \\h\\n"_s << QString();
    QTest::newRow("ASS keeps a no-break space") << ass << u"a\u00A0b"_s << u"a\u00A0b"_s << QString();
    const auto scc = int(SubtitleFormat::Scc);
    QTest::newRow("SCC lists the characters captions lack") << scc << u"5 € or ½"_s << u"5 ? or ½"_s << u"characters captions do not have (€)"_s;
    QTest::newRow("SCC wraps a line past 32 columns and lists it")
        << scc << u"A line of text that is far too long for captions"_s << u"A line of text that is far too\nlong for captions"_s << u"wrapped to 32 columns"_s;
    for (const int format : {int(SubtitleFormat::Srt), vtt, ass, ttml}) {
        QTest::addRow("%s breaks the line at U+2028 and lists it", qPrintable(SubtitleFormat::key(SubtitleFormat::Id(format))))
            << format << u"one\u2028two"_s << u"one\ntwo"_s << u"U+2028"_s;
    }
}

void tst_FormatFiles::conversionKeepsTextOrListsIt()
{
    QFETCH(int, format);
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QFETCH(QString, loss);
    const auto id = SubtitleFormat::Id(format);
    const SubtitleList subtitles{Subtitle::create(text, 1, 2)};
    const QString written = SubtitleFormatIo::write(id, subtitles, nullptr);
    const auto back = SubtitleFormatIo::read(id, written);
    QVERIFY2(back, back ? "" : qPrintable(back.error() + u'\n' + written));
    QCOMPARE(back.value().subtitles.size(), 1);
    QCOMPARE(back.value().subtitles[0]->text(), readBack);
    const QString losses = SubtitleFormatIo::losses(id, subtitles, nullptr).join(u'\n');
    QVERIFY2(loss.isEmpty() ? losses.isEmpty() : losses.contains(loss), qPrintable(losses));
}

// What two formats each have their own way to say (a speaker, a placement) goes across a
// conversion from one to the other, and is not listed as lost.
void tst_FormatFiles::conversionCarriesWhatBothFormatsSay_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("written"); // a part of the file written
    QTest::addColumn<QString>("readBack"); // the text the written file reads as
    const auto vtt = int(SubtitleFormat::WebVtt);
    const auto ass = int(SubtitleFormat::Ass);
    const QString events = u"[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"_s;
    QTest::newRow("a WebVTT voice is an ASS speaker")
        << vtt << u"WEBVTT\n\n00:01.000 --> 00:02.000\n<v Anna>Hello\n"_s << ass << u",Default,Anna,0,0,0,,Hello"_s << u"Hello"_s;
    QTest::newRow("an ASS speaker is a WebVTT voice")
        << ass << events + u"Dialogue: 0,0:00:01.00,0:00:02.00,Default,Anna,0,0,0,,{\\an8}Hello\n"_s << vtt
        << u"00:00:01.000 --> 00:00:02.000 line:0\n<v Anna>Hello"_s << u"{\\an8}<v Anna>Hello"_s;
    QTest::newRow("WebVTT settings are an ASS placement")
        << vtt << u"WEBVTT\n\n00:01.000 --> 00:02.000 line:0 align:start\nA\n"_s << ass
        << u",,{\\an7}A"_s << u"{\\an7}A"_s;
    QTest::newRow("an ASS placement is WebVTT settings")
        << ass << events + u"Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\an4}A\n"_s << vtt
        << u"00:00:01.000 --> 00:00:02.000 line:50% align:left\nA"_s << u"{\\an4}A"_s;
    QTest::newRow("an ASS soft break is the space players show")
        << ass << events + u"Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,a\\nb\\Nc\n"_s << int(SubtitleFormat::Srt)
        << u"a b\nc"_s << u"a b\nc"_s;
}

void tst_FormatFiles::conversionCarriesWhatBothFormatsSay()
{
    QFETCH(int, from);
    QFETCH(QString, file);
    QFETCH(int, to);
    QFETCH(QString, written);
    QFETCH(QString, readBack);
    const auto read = SubtitleFormatIo::read(SubtitleFormat::Id(from), file);
    QVERIFY2(read, read ? "" : qPrintable(read.error()));
    const SubtitleList &subtitles = read.value().subtitles;
    const FormatKeep *keep = read.value().keep.get();
    const QString text = SubtitleFormatIo::write(SubtitleFormat::Id(to), subtitles, keep);
    QVERIFY2(text.contains(written), qPrintable(text));
    const auto back = SubtitleFormatIo::read(SubtitleFormat::Id(to), text);
    QVERIFY2(back, back ? "" : qPrintable(back.error()));
    QCOMPARE(back.value().subtitles.first()->text(), readBack);
    const QStringList losses = SubtitleFormatIo::losses(SubtitleFormat::Id(to), subtitles, keep);
    QVERIFY2(losses.isEmpty(), qPrintable(losses.join(u'\n')));
}

QTEST_GUILESS_MAIN(tst_FormatFiles)
#include "tst_formatfiles.moc"
