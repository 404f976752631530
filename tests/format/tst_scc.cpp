#include "format/SccReader.h"
#include "format/SubtitleFormat.h"
#include "format/SubtitleFormatIo.h"

#include <QRegularExpression>
#include <QTest>

// SCC captions read into subtitles at the frames they show and leave, and subtitles written
// as captions that show on their start frames.
class tst_Scc : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void badParityIsRefusedOrListed();
    void writtenCaptionsShowOnTheirFrames_data();
    void writtenCaptionsShowOnTheirFrames();
    void captionTooSoonIsReportedWithHowLate();
};

using namespace Qt::StringLiterals;

namespace {

qint64 frameOf(double seconds)
{
    return qRound64(seconds * 30000 / 1001);
}

// "start end text", in frames; each time exactly its frame's start.
QStringList described(const SubtitleList &subtitles)
{
    QStringList lines;
    for (const SubtitlePtr &subtitle : subtitles) {
        const qint64 start = frameOf(subtitle->start);
        const qint64 end = frameOf(subtitle->end);
        const bool exact = subtitle->start == SccReader::timeOfFrame(start) && subtitle->end == SccReader::timeOfFrame(end);
        lines.append(u"%1 %2 %3%4"_s.arg(start).arg(end).arg(subtitle->text(), exact ? QString() : u" (off its frame)"_s));
    }
    return lines;
}

QString file(const QString &lines)
{
    return u"Scenarist_SCC V1.0\n\n"_s + lines;
}

// The frames each code is sent at in a written file.
QMultiMap<QString, qint64> framesOfCodes(const QString &scc)
{
    QMultiMap<QString, qint64> frames;
    for (const QString &line : scc.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        const QStringList words = line.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
        const auto start = SccReader::frameOf(words.first());
        if (!start)
            return {};
        QString previous;
        for (qsizetype i = 1; i < words.size(); ++i) {
            // A code's repeat is the same code.
            if (words[i] != previous)
                frames.insert(words[i], *start + i - 1);
            previous = words[i] == previous ? QString() : words[i];
        }
    }
    return frames;
}

} // namespace

void tst_Scc::read_data()
{
    QTest::addColumn<QString>("scc");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QStringList>("expected");
    // RCL RCL, a row-15 PAC twice, text, EOC EOC: the EOC is the line's eighth pair.
    const QString popOnHello = u"9420 9420 9470 9470 c845 4c4c 4f80 942f 942f"_s;
    QTest::newRow("pop-on shows at its end of caption's frame and leaves at the erase")
        << file(u"00:00:01:00\t"_s + popOnHello + u"\n\n00:00:03:00\t942c 942c\n"_s) << 1 << QStringList{u"37 90 HELLO"_s};
    QTest::newRow("drop-frame timecode skips two labels a minute")
        << file(u"00:01:00;02\t9420 9420 9470 9470 c180 942f 942f\n\n00:10:00;00\t942c 942c\n"_s) << 1
        << QStringList{u"1805 17982 A"_s};
    QTest::newRow("a colon counts every label at 29.97")
        << file(u"00:01:00:00\t9420 9420 9470 9470 c180 942f 942f\n\n00:10:00:00\t942c 942c\n"_s) << 1
        << QStringList{u"1805 18000 A"_s};
    QTest::newRow("the next caption's display ends the one before")
        << file(u"00:00:01:00\t"_s + popOnHello + u"\n\n00:00:02:00\t9420 9420 94ae 94ae 9470 9470 c180 942f 942f\n\n00:00:04:00\t942c 942c\n"_s)
        << 1 << QStringList{u"37 67 HELLO"_s, u"67 120 A"_s};
    QTest::newRow("roll-up: a subtitle a row, until it scrolls out or is erased")
        << file(u"00:00:01:00\t9425 9425 94ad 94ad 9470 9470 c180\n\n00:00:02:00\t9425 9425 94ad 94ad 9470 9470 c280\n\n"
                u"00:00:03:00\t9425 9425 94ad 94ad 9470 9470 4380\n\n00:00:04:00\t942c 942c\n"_s)
        << 1 << QStringList{u"36 92 A"_s, u"66 120 B"_s, u"96 120 C"_s};
    QTest::newRow("paint-on shows as it is painted")
        << file(u"00:00:01:00\t9429 9429 9470 9470 c180 c280\n\n00:00:03:00\t942c 942c\n"_s) << 1 << QStringList{u"34 90 AB"_s};
    QTest::newRow("special and extended characters; an extended one replaces the one before")
        << file(u"00:00:01:00\t9420 9420 9470 9470 c12a 9220 9220 9137 9137 942f 942f\n\n00:00:03:00\t942c 942c\n"_s) << 1
        << QStringList{u"39 90 AÁ♪"_s};
    QTest::newRow("italics, a mid-row colour, the top row")
        << file(u"00:00:01:00\t9420 9420 9140 9140 c180 946e 946e c180 91a8 91a8 c280 942f 942f\n\n00:00:03:00\t942c 942c\n"_s) << 1
        << QStringList{u"41 90 {\\an8}A\n<i>A</i> <font color=\"#ff0000\">B</font>"_s};
    QTest::newRow("a tab offset moves the cursor on")
        << file(u"00:00:01:00\t9420 9420 9470 9470 c180 9723 9723 c280 942f 942f\n\n00:00:03:00\t942c 942c\n"_s) << 1
        << QStringList{u"38 90 A   B"_s};
    const QString twoChannels = file(u"00:00:01:00\t9420 9420 9470 9470 c180 1c20 1c20 1c70 1c70 c280 942f 942f 1c2f 1c2f\n\n00:00:03:00\t942c 942c 1c2c 1c2c\n"_s);
    QTest::newRow("channel 1 leaves channel 2 out") << twoChannels << 1 << QStringList{u"40 90 A"_s};
    QTest::newRow("channel 2 on request") << twoChannels << 2 << QStringList{u"42 92 B"_s};
}

void tst_Scc::read()
{
    QFETCH(QString, scc);
    QFETCH(int, channel);
    QFETCH(QStringList, expected);
    QCOMPARE(SubtitleFormat::detect(scc), SubtitleFormat::Scc);
    const auto read = SubtitleFormatIo::read(SubtitleFormat::Scc, scc, {.sccChannel = channel});
    QVERIFY2(read, read ? "" : qPrintable(read.error()));
    QCOMPARE(described(read.value().subtitles), expected);
}

void tst_Scc::badParityIsRefusedOrListed()
{
    // 0x41 has an even count of bits: "A" is sent as c1.
    const QString scc = file(u"00:00:01:00\t9420 9420 9470 9470 4180 942f 942f\n\n00:00:03:00\t942c 942c\n"_s);
    const auto strict = SubtitleFormatIo::read(SubtitleFormat::Scc, scc);
    QVERIFY(!strict);
    QVERIFY2(strict.error().contains(u"Line 3 "_s) && strict.error().contains(u"parity"_s), qPrintable(strict.error()));
    const auto repaired = SubtitleFormatIo::read(SubtitleFormat::Scc, scc, {.repairing = true});
    QVERIFY(repaired);
    QCOMPARE(described(repaired.value().subtitles), QStringList{u"35 90 A"_s});
    QCOMPARE(repaired.value().repairs.size(), 1);
    QCOMPARE(repaired.value().repairs.first().line, 3);
}

void tst_Scc::writtenCaptionsShowOnTheirFrames_data()
{
    QTest::addColumn<QStringList>("subtitles"); // "startFrame endFrame text"
    QTest::newRow("two captions apart") << QStringList{u"30 90 Hello"_s, u"150 200 World"_s};
    QTest::newRow("one shows as the other leaves") << QStringList{u"30 90 One"_s, u"90 150 Two"_s};
    QTest::newRow("loaded while the one before shows, erased a frame before the next")
        << QStringList{u"30 89 One"_s, u"90 150 A second caption of some length"_s};
    QTest::newRow("two rows at the top, italics and colour")
        << QStringList{u"100 200 {\\an8}<i>In italics</i>\n<font color=\"#ffff00\">yellow</font> and white"_s};
    QTest::newRow("special and extended characters") << QStringList{u"100 200 ½ Ça va, señor? «Très» ♪"_s};
    QTest::newRow("drop-frame labels past ten minutes") << QStringList{u"17982 18100 Ten"_s, u"18200 18300 Eleven"_s};
}

void tst_Scc::writtenCaptionsShowOnTheirFrames()
{
    QFETCH(QStringList, subtitles);
    SubtitleList list;
    for (const QString &line : subtitles) {
        const QStringList parts = line.split(u' ');
        list.append(Subtitle::create(parts.mid(2).join(u' '), SccReader::timeOfFrame(parts[0].toLongLong()),
                                     SccReader::timeOfFrame(parts[1].toLongLong())));
    }
    const QString scc = SubtitleFormatIo::write(SubtitleFormat::Scc, list, nullptr);
    QVERIFY2(SubtitleFormatIo::losses(SubtitleFormat::Scc, list, nullptr).isEmpty(),
             qPrintable(SubtitleFormatIo::losses(SubtitleFormat::Scc, list, nullptr).join(u'\n')));
    const auto back = SubtitleFormatIo::read(SubtitleFormat::Scc, scc);
    QVERIFY2(back, back ? "" : qPrintable(back.error() + u'\n' + scc));
    QCOMPARE(described(back.value().subtitles), subtitles);
    // Each end of caption on its start frame; an erase on each end frame but where the next shows.
    const QMultiMap<QString, qint64> codes = framesOfCodes(scc);
    QList<qint64> starts;
    QList<qint64> erases;
    for (qsizetype i = 0; i < list.size(); ++i) {
        starts.append(frameOf(list[i]->start));
        if (i + 1 == list.size() || list[i + 1]->start != list[i]->end)
            erases.append(frameOf(list[i]->end));
    }
    QList<qint64> eocs = codes.values(u"942f"_s);
    QList<qint64> edms = codes.values(u"942c"_s);
    std::sort(eocs.begin(), eocs.end());
    std::sort(edms.begin(), edms.end());
    QCOMPARE(eocs, starts);
    QCOMPARE(edms, erases);
}

void tst_Scc::captionTooSoonIsReportedWithHowLate()
{
    // After the first caption's end of caption (frames 30 and 31), the second's ten frames
    // of codes go around the first one's erase at 33: frames 34 to 43. It shows at 44,
    // eleven frames after its start.
    const SubtitleList list{Subtitle::create(u"A"_s, SccReader::timeOfFrame(30), SccReader::timeOfFrame(33)),
                            Subtitle::create(u"ABCDEFGH"_s, SccReader::timeOfFrame(33), SccReader::timeOfFrame(90))};
    const QString losses = SubtitleFormatIo::losses(SubtitleFormat::Scc, list, nullptr).join(u'\n');
    QVERIFY2(losses.contains(u"subtitle 2 shows 0.367 s (11 frame"_s), qPrintable(losses));
    QVERIFY2(!losses.contains(u"subtitle 1 "_s), qPrintable(losses));
    const auto back = SubtitleFormatIo::read(SubtitleFormat::Scc, SubtitleFormatIo::write(SubtitleFormat::Scc, list, nullptr));
    QVERIFY(back);
    QCOMPARE(described(back.value().subtitles), (QStringList{u"30 33 A"_s, u"44 90 ABCDEFGH"_s}));
}

QTEST_GUILESS_MAIN(tst_Scc)
#include "tst_scc.moc"
