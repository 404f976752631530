#include "format/EbuStlReader.h"
#include "format/EbuStlWriter.h"
#include "format/SubtitleFormatIo.h"

#include "EbuStlFile.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using Block = EbuStlFile::Block;

// EBU-STL files made byte by byte: what each part of a block reads as, what is written
// back untouched, and what a new file is made of.
class tst_EbuStl : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void refusals_data();
    void refusals();
    void writtenBackByteForByte_data();
    void writtenBackByteForByte();
    void newFiles_data();
    void newFiles();
    void aTimePastTheDayIsListed();
    void lossesAreCountedAtTheDocumentsRate();
    void anyBlocksReadAndWriteBack();
};

namespace {

QString textsOf(const SubtitleList &subtitles)
{
    QStringList texts;
    for (const SubtitlePtr &subtitle : subtitles)
        texts.append(subtitle->text());
    return texts.join(u'|');
}

QString timesOf(const SubtitleList &subtitles)
{
    QStringList times;
    for (const SubtitlePtr &subtitle : subtitles)
        times.append(QString::number(subtitle->start, 'g', 17) + u'-' + QString::number(subtitle->end, 'g', 17));
    return times.join(u' ');
}

} // namespace

void tst_EbuStl::reading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QString>("times"); // empty: not looked at
    QTest::addColumn<double>("offset"); // the programme's start, 0 for none

    const auto one = [](const QByteArray &text, QByteArray table = "00") { return EbuStlFile("STL25.01", table).add({.number = 1, .text = text}).bytes(); };
    QTest::newRow("Latin accents come before their letter") << one("\xC2" "e\xC8u\xCA" "A\xE9 \xCB" "c\xCFZ") << u"éüÅØ çŽ"_s << QString() << 0.0;
    QTest::newRow("Latin symbols") << one("\xA4 \xA8 \xD5 \xA9\xAA") << u"$ ¤ ♪ ‘“"_s << QString() << 0.0;
    QTest::newRow("Latin/Cyrillic") << one("\xB0\xD1\xD4", "01") << u"Абд"_s << QString() << 0.0;
    QTest::newRow("Latin/Arabic") << one("\xC7\xE4", "02") << u"\u0627\u0644"_s << QString() << 0.0;
    QTest::newRow("Latin/Greek") << one("\xC1\xE1", "03") << u"Αα"_s << QString() << 0.0;
    QTest::newRow("Latin/Hebrew") << one("\xE0\xFA", "04") << u"\u05D0\u05EA"_s << QString() << 0.0;
    QTest::newRow("line breaks, double ones under double height")
        << one("\x0D\x0B\x0BOne\x0A\x0A\x8A\x8A\x0D\x0B\x0BTwo\x0A\x0A") << u"One\nTwo"_s << QString() << 0.0;
    QTest::newRow("italics and underline") << one("\x80It\x81 \x82Un\x83") << u"<i>It</i> <u>Un</u>"_s << QString() << 0.0;
    QTest::newRow("Teletext colours last to the row's end")
        << one("\x03Yellow \x07white\x8A\x06" "Cyan") << u"<font color=\"#ffff00\">Yellow </font>white\n<font color=\"#00ffff\">Cyan</font>"_s << QString() << 0.0;
    QTest::newRow("flash, boxing and unused space show nothing") << one("\x08\x84" "A\x85\x8F\x8F") << u"A"_s << QString() << 0.0;
    QTest::newRow("top left, middle, bottom right")
        << EbuStlFile()
               .add({.number = 1, .text = "T", .vertical = 1, .justification = 1})
               .add({.number = 2, .in = {0, 0, 3, 0}, .out = {0, 0, 4, 0}, .text = "M", .vertical = 12})
               .add({.number = 3, .in = {0, 0, 5, 0}, .out = {0, 0, 6, 0}, .text = "B", .vertical = 22, .justification = 3})
               .bytes()
        << u"{\\an7}T|{\\an5}M|{\\an3}B"_s << QString() << 0.0;
    QTest::newRow("extension blocks are one subtitle")
        << EbuStlFile().add({.number = 1, .text = QByteArray(112, 'a'), .extension = 0}).add({.number = 1, .text = "b"}).bytes()
        << QString(112, u'a') + u'b' << u"1-2"_s << 0.0;
    QTest::newRow("a comment is no subtitle")
        << EbuStlFile().add({.number = 1, .text = "note", .comment = 1}).add({.number = 2, .text = "shown"}).bytes() << u"shown"_s
        << QString() << 0.0;
    QTest::newRow("counts that are wrong are not believed")
        << EbuStlFile().add({.number = 1, .text = "a"}).add({.number = 2, .in = {0, 0, 3, 0}, .out = {0, 0, 4, 0}, .text = "b"}).claiming(9).bytes()
        << u"a|b"_s << QString() << 0.0;
    QTest::newRow("30 frames a second, exactly")
        << EbuStlFile("STL30.01").add({.number = 1, .in = {0, 0, 1, 15}, .out = {1, 2, 3, 29}, .text = "a"}).bytes() << u"a"_s
        << u"1.5-3723.9666666666667"_s << 0.0;
    QTest::newRow("times from the programme's start")
        << EbuStlFile("STL25.01", "00", '1', "10000000").add({.number = 1, .in = {10, 0, 1, 5}, .out = {10, 0, 2, 0}, .text = "a"}).bytes()
        << u"a"_s << u"1.2-2"_s << 36000.0;
    QTest::newRow("times before the programme's start stand as they are")
        << EbuStlFile("STL25.01", "00", '1', "10000000").add({.number = 1, .in = {0, 0, 1, 0}, .out = {0, 0, 2, 0}, .text = "a"}).bytes()
        << u"a"_s << u"1-2"_s << 0.0;
}

void tst_EbuStl::reading()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, texts);
    QFETCH(QString, times);
    QFETCH(double, offset);
    QVERIFY(EbuStlReader::recognizes(file));
    const auto read = EbuStlReader::read(file);
    QVERIFY2(read, read ? "" : qPrintable(read.error()));
    QCOMPARE(textsOf(read.value().subtitles), texts);
    if (!times.isEmpty())
        QCOMPARE(timesOf(read.value().subtitles), times);
    QCOMPARE(EbuStlReader::timecodeOffset(*read.value().keep).value_or(0), offset);
}

void tst_EbuStl::refusals_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message"); // a part of it
    QTest::newRow("a disk format of another rate") << EbuStlFile("STL24.01").add({.text = "a"}).bytes() << u"STL24.01"_s;
    QTest::newRow("an unknown character table") << EbuStlFile("STL25.01", "05").add({.text = "a"}).bytes() << u"“05”"_s;
}

void tst_EbuStl::refusals()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    const auto read = EbuStlReader::read(file);
    QVERIFY(!read);
    QVERIFY2(read.error().contains(message), qPrintable(read.error()));
}

// Written back, an opened file is the same bytes, and with one subtitle edited only that
// subtitle's block changes (with the counts and revision of the general block), keeping
// its numbers, placement and row codes.
void tst_EbuStl::writtenBackByteForByte_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("edited"); // the subtitle edited, -1 for none
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field"); // how the edited block's text field begins
    EbuStlFile file("STL25.01", "00", '1', "10000000");
    file.add({.number = 1, .in = {10, 0, 1, 0}, .out = {10, 0, 2, 0}, .text = "\x0D\x0B\x0B\x80Une\x81 \xC2" "ecole\x0A\x0A", .vertical = 1, .justification = 1})
        .add({.number = 2, .text = "a comment", .comment = 1})
        .add({.number = 3, .in = {10, 0, 3, 0}, .out = {10, 0, 4, 0}, .text = QByteArray(112, 'x'), .extension = 0})
        .add({.number = 3, .in = {10, 0, 3, 0}, .out = {10, 0, 4, 0}, .text = "y"})
        .add({.number = 4, .in = {10, 0, 5, 0}, .out = {10, 0, 6, 0}, .text = "\x03Last", .vertical = 22})
        .claiming(2);
    const QByteArray bytes = file.bytes() + "cut"; // a block cut short at the end
    QTest::newRow("unedited") << bytes << -1 << QString() << QByteArray();
    QTest::newRow("the first edited") << bytes << 0 << u"{\\an7}<i>Une</i> école!\nAgain"_s
                                      << QByteArray("\x0D\x0B\x0B\x80Une\x81 \xC2" "ecole!\x0A\x0A\x8A\x8A\x0D\x0B\x0B" "Again\x0A\x0A\x8F");
    QTest::newRow("the last edited") << bytes << 2 << u"<font color=\"#ffff00\">Late</font>"_s << QByteArray("\x03Late\x8F");
}

void tst_EbuStl::writtenBackByteForByte()
{
    QFETCH(QByteArray, file);
    QFETCH(int, edited);
    QFETCH(QString, text);
    QFETCH(QByteArray, field);
    const auto read = EbuStlReader::read(file);
    QVERIFY2(read, read ? "" : qPrintable(read.error()));
    const SubtitleList &subtitles = read.value().subtitles;
    QCOMPARE(subtitles.size(), 3);
    if (edited >= 0)
        subtitles[edited]->setText(text);
    const auto written = EbuStlWriter::write(subtitles, read.value().keep.get());
    QVERIFY2(written, written ? "" : qPrintable(written.error()));
    const QByteArray &out = written.value();
    QCOMPARE(out.size(), file.size());
    if (edited < 0) {
        QCOMPARE(out, file);
        return;
    }
    const qsizetype blockAt = edited == 0 ? 1024 : 1024 + 4 * 128;
    for (qsizetype at = 1024; at < file.size(); at += 128) {
        if (at != blockAt)
            QCOMPARE(out.mid(at, 128), file.mid(at, 128));
    }
    QCOMPARE(out.mid(blockAt, 16), file.mid(blockAt, 16)); // numbers, times, placement, flags
    QCOMPARE(out.mid(blockAt + 16, field.size()), field);
    QCOMPARE(out.mid(238, 10), QByteArray("0000500003")); // counted, not copied
    const auto back = EbuStlReader::read(out);
    QVERIFY(back);
    QCOMPARE(back.value().subtitles[edited]->text(), text);
}

// A new file: the rate, the table and the limits it is written with, and what it refuses.
void tst_EbuStl::newFiles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<QByteArray>("gsiPart"); // the disk format code and table, or empty when refused
    QTest::addColumn<QString>("readBack"); // or the refusal's message, a part of it
    QTest::addColumn<QString>("loss"); // a part of the losses; empty for none
    QTest::newRow("Latin at 25") << u"<i>Café</i>\n½"_s << 25.0 << QByteArray("STL25.01 00") << u"<i>Café</i>\n½"_s << QString();
    QTest::newRow("unknown rate is 25") << u"a"_s << 0.0 << QByteArray("STL25.01 00") << u"a"_s << QString();
    QTest::newRow("Cyrillic at 29.97") << u"Привет"_s << 29.97 << QByteArray("STL30.01 01") << u"Привет"_s << QString();
    QTest::newRow("Greek") << u"Γεια"_s << 25.0 << QByteArray("STL25.01 03") << u"Γεια"_s << QString();
    QTest::newRow("placement") << u"{\\an9}top right"_s << 25.0 << QByteArray("STL25.01 00") << u"{\\an9}top right"_s << QString();
    QTest::newRow("a colour near a Teletext one")
        << u"<font color=\"#f01010\">red</font>"_s << 25.0 << QByteArray("STL25.01 00") << u"<font color=\"#ff0000\">red</font>"_s << u"nearest"_s;
    QTest::newRow("a row over 40 is cut") << QString(45, u'x') << 25.0 << QByteArray("STL25.01 00") << QString(40, u'x') << u"cut"_s;
    QTest::newRow("bold is listed") << u"<b>a</b>"_s << 25.0 << QByteArray("STL25.01 00") << u"a"_s << u"bold"_s;
    QTest::newRow("a character no table holds") << u"ok 中"_s << 25.0 << QByteArray() << u"“中” (U+4e2d)"_s << QString();
    QTest::newRow("two tables in one text") << u"Привет Γεια"_s << 25.0 << QByteArray() << u"“"_s << QString();
    QTest::newRow("23.976 has no code") << u"a"_s << 23.976 << QByteArray() << u"23.976"_s << QString();
}

void tst_EbuStl::newFiles()
{
    QFETCH(QString, text);
    QFETCH(double, frameRate);
    QFETCH(QByteArray, gsiPart);
    QFETCH(QString, readBack);
    QFETCH(QString, loss);
    // Times on a frame at either rate: 25 and 30 frames a second share every fifth of a second.
    const SubtitleList subtitles{Subtitle::create(text, 3723.2, 3725.4)};
    const EbuStlWriter::Settings settings{frameRate, u"pt_BR"_s};
    const auto written = EbuStlWriter::write(subtitles, nullptr, settings);
    if (gsiPart.isEmpty()) {
        QVERIFY(!written);
        QVERIFY2(written.error().contains(readBack), qPrintable(written.error()));
        return;
    }
    QVERIFY2(written, written ? "" : qPrintable(written.error()));
    const QByteArray &bytes = written.value();
    QCOMPARE(bytes.size(), 1024 + 128);
    QCOMPARE(bytes.mid(3, 8) + ' ' + bytes.mid(12, 2), gsiPart);
    QCOMPARE(bytes.mid(14, 2), QByteArray("21")); // Portuguese
    QCOMPARE(bytes.mid(238, 10), QByteArray("0000100001"));
    const auto back = EbuStlReader::read(bytes);
    QVERIFY2(back, back ? "" : qPrintable(back.error()));
    QCOMPARE(textsOf(back.value().subtitles), readBack);
    QCOMPARE(timesOf(back.value().subtitles), timesOf(subtitles));
    const QString losses = EbuStlWriter::losses(subtitles, nullptr, settings).join(u'\n');
    QVERIFY2(loss.isEmpty() ? losses.isEmpty() : losses.contains(loss), qPrintable(losses));
}

// What a Save lists is counted at the document's rate: a time on its frames is not moved.
void tst_EbuStl::lossesAreCountedAtTheDocumentsRate()
{
    const SubtitleList subtitles{Subtitle::create(u"a"_s, 1 + 1 / 30.0, 2)};
    QCOMPARE(SubtitleFormatIo::losses(SubtitleFormat::EbuStl, subtitles, nullptr, 30), QStringList());
    QVERIFY(!SubtitleFormatIo::losses(SubtitleFormat::EbuStl, subtitles, nullptr, 25).isEmpty());
}

// Times count from the programme's start: one moved past what a day's time code holds
// from there is written as the last and listed, not wrapped round to the morning.
void tst_EbuStl::aTimePastTheDayIsListed()
{
    const QByteArray file = EbuStlFile("STL25.01", "00", '1', "10000000").add({.number = 1, .in = {10, 0, 1, 0}, .out = {10, 0, 2, 0}, .text = "a"}).bytes();
    const auto read = EbuStlReader::read(file);
    QVERIFY(read);
    const SubtitleList &subtitles = read.value().subtitles;
    subtitles[0]->start = 13 * 3600;
    subtitles[0]->end = 15 * 3600;
    const auto written = EbuStlWriter::write(subtitles, read.value().keep.get());
    QVERIFY(written);
    QCOMPARE(written.value().mid(1024 + 5, 8), QByteArray("\x17\x00\x00\x00\x17\x3B\x3B\x18", 8));
    const QString losses = EbuStlWriter::losses(subtitles, read.value().keep.get()).join(u'\n');
    QVERIFY2(losses.contains(u"23:59:59"_s), qPrintable(losses));
}

// Blocks of any bytes behind a general block of any table: read into a valid list, written
// back byte for byte, and with every text edited, written and read back again.
void tst_EbuStl::anyBlocksReadAndWriteBack()
{
    QRandomGenerator random(3264);
    for (int round = 0; round < 200; ++round) {
        const QByteArray table = "0" + QByteArray::number(random.bounded(5));
        QByteArray file = EbuStlFile("STL25.01", table, char('0' + random.bounded(3)), "10000000").claiming(random.bounded(99)).bytes();
        const int size = random.bounded(12 * 128 + 100);
        for (int i = 0; i < size; ++i) {
            // Few numbers, extension and comment codes, so that blocks join and part.
            const int at = i % 128;
            file += at == 1 || at == 2 ? char(random.bounded(2)) : at == 3 ? char(random.bounded(2) ? 0xFF : random.bounded(3))
                  : at == 15                                          ? char(random.bounded(8) == 0)
                                                                      : char(random.bounded(256));
        }
        const auto read = EbuStlReader::read(file);
        QVERIFY2(read, read ? "" : qPrintable(read.error()));
        const SubtitleList &subtitles = read.value().subtitles;
        for (qsizetype i = 0; i < subtitles.size(); ++i) {
            QVERIFY(subtitles[i]->end >= subtitles[i]->start);
            QVERIFY(i == 0 || subtitles[i - 1]->start <= subtitles[i]->start);
        }
        const auto same = EbuStlWriter::write(subtitles, read.value().keep.get());
        QVERIFY(same);
        QCOMPARE(same.value(), file);
        for (const SubtitlePtr &subtitle : subtitles)
            subtitle->setText(u"x"_s + subtitle->text());
        const auto edited = EbuStlWriter::write(subtitles, read.value().keep.get());
        QVERIFY2(edited, edited ? "" : qPrintable(edited.error()));
        const auto back = EbuStlReader::read(edited.value());
        QVERIFY(back);
        QCOMPARE(back.value().subtitles.size(), subtitles.size());
    }
}

QTEST_GUILESS_MAIN(tst_EbuStl)
#include "tst_ebustl.moc"
