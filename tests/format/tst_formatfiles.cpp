#include "format/SubtitleFormat.h"
#include "format/SubtitleFormatIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// The real files other programs wrote, kept under tests/data/formats/<format key>/ with what a
// careful count of each gives in expected.tsv: "name<TAB>subtitles<TAB>checks", where
// subtitles is a count, or "line N" for a broken file whose message must name line N, or
// "line N / COUNT" for one that a repairing read mends into COUNT subtitles; and
// checks lists "same" (written back unedited, byte for byte) and "srt" (through SRT and
// back, the same subtitles).
class TestFormatFiles : public QObject
{
    Q_OBJECT

private slots:
    void realFiles_data();
    void realFiles();
};

namespace {

QString textOf(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QStringList described(const SubtitleList &subtitles)
{
    QStringList lines;
    for (const SubtitlePtr &subtitle : subtitles)
        lines.append(QStringLiteral("%1 %2 %3").arg(qRound64(subtitle->start * 1000)).arg(qRound64(subtitle->end * 1000)).arg(subtitle->text()));
    return lines;
}

} // namespace

void TestFormatFiles::realFiles_data()
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

void TestFormatFiles::realFiles()
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
        QVERIFY2(repaired, repaired ? "" : qPrintable(repaired.error()));
        QCOMPARE(repaired.value().subtitles.size(), parts[1].toLongLong());
        return;
    }
    QVERIFY2(read, read ? "" : qPrintable(read.error()));
    QCOMPARE(read.value().subtitles.size(), expected.toLongLong());

    if (checks.contains(QStringLiteral("same")))
        QCOMPARE(SubtitleFormatIo::write(format, read.value().subtitles, read.value().keep.get()), text);
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

QTEST_GUILESS_MAIN(TestFormatFiles)
#include "tst_formatfiles.moc"
