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
// checks lists "same" (written back unedited, byte for byte) and "srt" (through SRT and
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
};

namespace {

QString textOf(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Times to `precision` seconds: ASS and SSA hold hundredths.
QStringList described(const SubtitleList &subtitles, double precision = 0.001)
{
    QStringList lines;
    for (const SubtitlePtr &subtitle : subtitles)
        lines.append(QStringLiteral("%1 %2 %3").arg(qRound64(subtitle->start / precision)).arg(qRound64(subtitle->end / precision)).arg(subtitle->text()));
    return lines;
}

} // namespace

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
    const QString text = textOf(file.readAll());
    const SubtitleFormat::Id format = SubtitleFormat::detect(text);
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

    if (checks.contains(QStringLiteral("same"))) {
        QCOMPARE(SubtitleFormatIo::write(format, read.value().subtitles, read.value().keep.get()), text);
        if (read.value().subtitles.isEmpty())
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
            if (format != SubtitleFormat::Srt && SubtitleFormat::isWritable(format))
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

QTEST_GUILESS_MAIN(tst_FormatFiles)
#include "tst_formatfiles.moc"
