#include "app/CommandLineTool.h"

#include "EncodingSamples.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace EncodingSamples;

namespace {

struct Run
{
    std::optional<int> status;
    QString out;
    QString err;
};

Run run(const QStringList &arguments)
{
    Run result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = CommandLineTool::run(QStringList{QStringLiteral("cuewright")} + arguments, out, err);
    return result;
}

} // namespace

class tst_CommandLineTool : public QObject
{
    Q_OBJECT

private slots:
    void otherArgumentsStartTheEditor_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("none") << QStringList();
        QTest::newRow("files to open") << QStringList{"a.srt", "--check"};
    }
    void otherArgumentsStartTheEditor()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(run(arguments).status, std::nullopt);
    }

    void checkPrintsOneLinePerFile()
    {
        const QString utf16 = samplePath(QStringLiteral("japanese.UTF-16LE-bom.srt"));
        const QString cyrillic = samplePath(QStringLiteral("russian.WINDOWS-1251.srt"));
        const Run result = run({QStringLiteral("--check"), utf16, cyrillic});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QStringLiteral("%1: 3 subtitles, UTF-16LE\n%2: 4 subtitles, windows-1251\n").arg(utf16, cyrillic));
        QCOMPARE(result.err, QString());
    }

    void checkWithFromDecodesAsTheSettingWould()
    {
        const QString path = samplePath(QStringLiteral("russian.KOI8-R.srt"));
        const Run result = run({QStringLiteral("--check"), QStringLiteral("--from"), QStringLiteral("Cyrillic (KOI8-R)"), path});
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QStringLiteral("%1: 4 subtitles, KOI8-R\n").arg(path));
    }

    void checkReportsBadFilesWithTheEditorsMessage()
    {
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("bad.srt"));
        QVERIFY(writeAll(bad, "7\n00:00:01,000 --> 00:00:02,000\nHi\n"));
        const QString good = samplePath(QStringLiteral("french.UTF-8.srt"));
        const Run result = run({QStringLiteral("--check"), bad, good});
        QCOMPARE(result.status, 1);
        QCOMPARE(result.err, QStringLiteral("%1: Error at line 0.\nInvalid index.\n").arg(bad));
        QCOMPARE(result.out, QStringLiteral("%1: 4 subtitles, UTF-8\n").arg(good));
    }

    void repairListsEachRepairAndConvertWritesTheRepairedFile()
    {
        QTemporaryDir dir;
        const QString sloppy = dir.filePath(QStringLiteral("sloppy.srt"));
        QVERIFY(writeAll(sloppy, "7\r\n0:0:1,5 --> 0:0:2,0\r\nHi\r\n"));
        const Run checked = run({QStringLiteral("--check"), QStringLiteral("--repair"), sloppy});
        QCOMPARE(checked.status, 0);
        QCOMPARE(checked.out, QStringLiteral("%1: 1 subtitles, UTF-8, 2 repairs\n").arg(sloppy));
        const QStringList repairs = checked.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(repairs.size(), 2);
        QVERIFY2(repairs[0].startsWith(sloppy + QStringLiteral(":1: Subtitle numbered 7")), qPrintable(repairs[0]));
        QVERIFY2(repairs[1].startsWith(sloppy + QStringLiteral(":2: Read the timing")), qPrintable(repairs[1]));

        const QString output = dir.filePath(QStringLiteral("mended.srt"));
        const Run converted = run({QStringLiteral("--convert"), QStringLiteral("--repair"), sloppy, output});
        QCOMPARE(converted.status, 0);
        QCOMPARE(readAll(output), QByteArray("1\r\n00:00:01,005 --> 00:00:02,000\r\nHi\r\n\r\n")); // its line endings kept
        // without --repair, both refuse as before
        QCOMPARE(run({QStringLiteral("--check"), sloppy}).status, 1);
    }

    void wrongArgumentsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("errStart");
        QTest::newRow("unknown encoding") << QStringList{"--check", "--from", "klingon-8", "a.srt"}
                                          << "Unknown text encoding \"klingon-8\".\n";
        QTest::newRow("--to while checking") << QStringList{"--check", "--to", "UTF-8", "a.srt"}
                                             << "Unknown option \"--to\".\n";
        QTest::newRow("no file") << QStringList{"--check"} << "Usage: cuewright --check";
        QTest::newRow("one file to convert") << QStringList{"--convert", "a.srt"} << "Usage: cuewright --check";
        QTest::newRow("--from without name") << QStringList{"--convert", "a", "b", "--from"}
                                             << "The option \"--from\" needs an encoding name.\n";
    }
    void wrongArgumentsExitWithTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, errStart);
        const Run result = run(arguments);
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.startsWith(errStart), qPrintable(result.err));
        QCOMPARE(result.out, QString());
    }

    void convertWritesAsSaveDoes_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("expectedFile");
        QTest::newRow("detected encoding kept") << "russian.WINDOWS-1251.srt" << QStringList() << "russian.WINDOWS-1251.srt";
        QTest::newRow("--to wins over the detected encoding")
            << "russian.WINDOWS-1251.srt" << QStringList{"--to", "UTF-8"} << "source/russian.srt";
        QTest::newRow("--from alone: saved in it, as the setting would")
            << "greek.ISO-8859-7.srt" << QStringList{"--from=ISO-8859-7"} << "greek.ISO-8859-7.srt";
        QTest::newRow("--from and --to") << "japanese.SHIFT_JIS.srt" << QStringList{"--from", "Shift_JIS", "--to", "UTF-16LE"}
                                         << "japanese.UTF-16LE-bom.srt";
    }
    void convertWritesAsSaveDoes()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, options);
        QFETCH(QString, expectedFile);
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("out.srt"));
        const Run result = run(QStringList{QStringLiteral("--convert")} + options + QStringList{samplePath(input), output});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.out, QString());
        QCOMPARE(result.status, 0);
        const QString expectedPath = expectedFile.startsWith(QLatin1String("source/"))
                                         ? directory() + u'/' + expectedFile
                                         : samplePath(expectedFile);
        QCOMPARE(readAll(output), readAll(expectedPath));
    }

    void convertFailureLeavesTheOutputAlone()
    {
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("out.srt"));
        QVERIFY(writeAll(output, "keep me"));
        const Run result = run({QStringLiteral("--convert"), QStringLiteral("--to"), QStringLiteral("ISO-8859-1"),
                                samplePath(QStringLiteral("russian.WINDOWS-1251.srt")), output});
        QCOMPARE(result.status, 1);
        QCOMPARE(result.err, QStringLiteral("%1: The character \"Г\" (U+0413) cannot be saved in ISO-8859-1.\nIt is in subtitle 1.\n").arg(output));
        QCOMPARE(readAll(output), QByteArray("keep me"));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLineTool)
#include "tst_commandlinetool.moc"
