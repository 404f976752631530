#include "app/commandline/CommandLine.h"
#include "app/commandline/CommandLineTool.h"
#include "app/commandline/QualityCommand.h"
#include "document/TextEncoding.h"
#include "format/SubtitleWriter.h"

#include "EncodingSamples.h"
#include "SpokenFilm.h"
#include "TestMedia.h"

#include <QDir>
#include "format/SubtitleParser.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <sys/stat.h>

using namespace EncodingSamples;

// The command line as scripts use it: arguments name samples, "@" is a scratch folder.
class tst_CommandLineTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    const QByteArray keepMe = "1\n00:00:01,000 --> 00:00:02,000\nkeep me\n";
    // Too short, then too fast, for the general adult profile at 25 frames a second.
    const QByteArray faults = "1\n00:00:01,000 --> 00:00:01,500\nHi\n\n2\n00:00:05,000 --> 00:00:06,000\nA line read far too fast!\n";

    // Files no run may change: one the conversions refuse to write, one whose name is not
    // UTF-8 as the program sees it, and a film.
    QStringList kept() const { return {m_dir.filePath("kept.srt"), resolve(notUtf8()), m_dir.filePath("film.mp4")}; }
    static QString notUtf8() { return QStringLiteral("@/v") + QChar::ReplacementCharacter + QStringLiteral(".srt"); }

    QString resolve(QString text) const
    {
        return text.replace(QLatin1String("@"), m_dir.path()).replace(QLatin1String("$"), directory() + QStringLiteral("/samples"));
    }

    std::optional<int> run(const QStringList &arguments, QString &out, QString &err) const
    {
        QStringList resolved{QStringLiteral("cuewright")};
        for (const QString &argument : arguments)
            resolved << resolve(argument);
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        return CommandLineTool::run(resolved, outStream, errStream);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(writeAll(m_dir.filePath("bad.srt"), "7\n00:00:01,000 --> 00:00:02,000\nHi\n"));
        QVERIFY(writeAll(m_dir.filePath("sloppy.srt"), "7\r\n0:0:1,5 --> 0:0:2,0\r\nHi\r\n"));
        const QString utf16 = QStringLiteral("2\n00:00:03,000 --> 00:00:04,000\nB\n\n3\n00:00:05,000 --> 00:00:06,000\nC\n");
        QVERIFY(writeAll(m_dir.filePath("mixed.srt"), QByteArray("1\n00:00:01,000 --> 00:00:02,000\nA\n\n")
                                                          + QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)));
        for (const QString &path : kept())
            QVERIFY(writeAll(path, keepMe));
        QVERIFY(writeAll(m_dir.filePath("mended.srt"), "1\r\n00:00:01,005 --> 00:00:02,000\r\nHi\r\n\r\n"));
        QVERIFY(writeAll(m_dir.filePath("a.srt"), "1\n00:00:01,000 --> 00:00:02,000\nA\n\n"));
        QVERIFY(writeAll(m_dir.filePath("a.sub"), "{25}{50}A\n"));
        // A script cut down to its events, and WebVTT in UTF-16 with its byte order mark.
        QVERIFY(writeAll(m_dir.filePath("a.ass"), "[Events]\nFormat: Start, End, Name, Text\nDialogue: 0:00:01.00,0:00:02.00,Ann,A\n"));
        QVERIFY(writeAll(m_dir.filePath("sloppy.ass"), "[Events]\nFormat: Start, End, Text\nDialogue: 0:00:01.5,0:00:02.00,A\n"));
        const QString vtt = QStringLiteral("\uFEFFWEBVTT\n\n00:01.000 --> 00:02.000\nA\n");
        QVERIFY(writeAll(m_dir.filePath("a.vtt"), QByteArray(reinterpret_cast<const char *>(vtt.utf16()), vtt.size() * 2)));
        // Captions on channels 1 and 2, the second as its SRT; and a.srt as SCC: its codes in
        // the frames before frame 29, where 1 s falls, its erase on frame 59.
        QVERIFY(writeAll(m_dir.filePath("two.scc"), "Scenarist_SCC V1.0\n\n00:00:01:00\t9420 9420 9470 9470 c180 1c20 1c20 1c70 1c70 c280 942f 942f 1c2f 1c2f\n\n"
                                                    "00:00:03:00\t942c 942c 1c2c 1c2c\n"));
        QVERIFY(writeAll(m_dir.filePath("b.srt"), "1\n00:00:01,401 --> 00:00:03,069\nB\n\n"));
        QVERIFY(writeAll(m_dir.filePath("a.scc"), "Scenarist_SCC V1.0\n\n00:00:00;20\t9420 9420 94ae 94ae 9476 9476 9723 9723 c180 942f 942f\n\n"
                                                  "00:00:01;29\t942c 942c\n"));
        QVERIFY(writeAll(m_dir.filePath("clean.srt"), "1\n00:00:01,000 --> 00:00:03,000\nHello\n"));
        QVERIFY(writeAll(m_dir.filePath("faults.srt"), faults));
        QVERIFY(writeAll(m_dir.filePath("gap.srt"), "1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:02,060 --> 00:00:03,000\nB\n"));
        QVERIFY(QDir(m_dir.path()).mkpath("qc/a"));
        QVERIFY(writeAll(m_dir.filePath("qc/b.srt"), faults));
        QVERIFY(writeAll(m_dir.filePath("qc/a/c.vtt"), "WEBVTT\n\n00:01.000 --> 00:01.100\nA\n"));
        QVERIFY(writeAll(m_dir.filePath("qc/a/notes.txt"), "not subtitles"));
        QVERIFY(writeAll(m_dir.filePath("qc/a/d.txt"), "[10][15]Hi\n"));
        QVERIFY(::mkfifo(QFile::encodeName(m_dir.filePath("pipe")).constData(), 0600) == 0);
        QVERIFY(QFile::link(m_dir.filePath("kept.srt"), m_dir.filePath("link.srt")));
        QVERIFY(::link(QFile::encodeName(m_dir.filePath("kept.srt")).constData(), QFile::encodeName(m_dir.filePath("hard.srt")).constData()) == 0);
        // What an earlier --fix left in the folder, and a copy of that copy.
        QVERIFY(writeAll(m_dir.filePath("qc/b.fixed.srt"), faults));
        QVERIFY(writeAll(m_dir.filePath("qc/b.fixed.fixed.srt"), faults));
        // 25 characters in 1.248 s: 20.03 characters a second, over a limit of 20.
        QVERIFY(writeAll(m_dir.filePath("near.srt"), "1\n00:00:05,000 --> 00:00:06,248\nA line read a bit fast!!!\n"));
        QVERIFY(writeAll(m_dir.filePath("new\nline.srt"), faults));
        // An SRT subtitle reading "[Events]" (a WebVTT cue converted), one that also has a
        // "Format:" line and arrows detection does not know, and a script with no event.
        QVERIFY(writeAll(m_dir.filePath("events.srt"), "1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03,000 --> 00:00:04,000\n[Events]\n\n"));
        QVERIFY(writeAll(m_dir.filePath("arrows.srt"), "1\n00:00:01,000 -> 00:00:02,000\n[Events]\n\n2\n00:00:03,000 -> 00:00:04,000\nFormat: none\n"));
        QVERIFY(writeAll(m_dir.filePath("nothing.ass"), "[Events]\nFormat: Start, End, Text\nDialogue: x,0:00:02.00,A\n"));
        // What a UTF-8 file converts to, for the same file in another encoding; and TTML in
        // UTF-16 declaring it, as it is written back.
        QString ignored;
        QCOMPARE(run({"--convert", "$/../source/russian.srt", "@/russian.vtt"}, ignored, ignored), 0);
        QCOMPARE(run({"--convert", "$/../source/russian.srt", "@/russian.ttml"}, ignored, ignored), 0);
        const QString ttml = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n<tt xmlns=\"http://www.w3.org/ns/ttml\"><body><div>\n"
                                            "<p begin=\"00:00:01.000\" end=\"00:00:02.000\">Жук</p>\n</div></body></tt>\n");
        QVERIFY(writeAll(m_dir.filePath("utf16.ttml"), TextEncoding::encode(ttml.arg(QStringLiteral("UTF-16")), TextEncoding::numberForName(u"UTF-16LE").value(), true).value()));
        QVERIFY(writeAll(m_dir.filePath("utf16-as-utf8.ttml"), ttml.arg(QStringLiteral("UTF-8")).toUtf8()));
        QVERIFY(writeAll(m_dir.filePath("late.ttml"), QString(ttml).arg(QStringLiteral("UTF-8")).replace("00:00:01.000", "999999:00:00.000")
                                                          .replace("00:00:02.000", "1000000:00:00.000").toUtf8()));
        // One word of Russian: too little for detection to be sure of windows-1251.
        QVERIFY(writeAll(m_dir.filePath("thanks.srt"), TextEncoding::encode(u"1\n00:00:01,000 --> 00:00:03,000\nСпасибо.\n\n",
                                                                            *TextEncoding::numberForName(u"windows-1251"))
                                                          .value()));
        QVERIFY(writeAll(m_dir.filePath("later.json"), R"({"format": "cuewright-quality-profile", "version": 99, "name": "Later"})"));
        // Two shots at 25 frames a second; a subtitle starting 3 frames after the cut.
        TestMedia::ShotVideoOptions shots;
        shots.shots = 2;
        shots.size = QSize(160, 90);
        const auto video = TestMedia::makeShotVideo(m_dir.filePath("cut.mp4"), shots);
        QVERIFY(video && video->cuts.size() == 1);
        const QByteArray start = SubtitleWriter::formatTime(video->cuts.first() + 0.12).toUtf8();
        const QByteArray end = SubtitleWriter::formatTime(video->cuts.first() + 2.12).toUtf8();
        QVERIFY(writeAll(m_dir.filePath("cut.srt"), "1\n" + start + " --> " + end + "\nHello\n"));
        // Two audio tracks, beeping at different times, and the second alone as it is in the first.
        TestMedia::VideoOptions tracks;
        tracks.seconds = 3;
        tracks.size = QSize(64, 48);
        tracks.audioSource = TestMedia::beeps({0.5}, 0.5, 3);
        tracks.moreAudioSources = {TestMedia::beeps({2}, 0.5, 3)};
        QVERIFY(TestMedia::makeVideo(m_dir.filePath("tracks.mkv"), tracks));
        QCOMPARE(QProcess::execute("ffmpeg", {"-nostdin", "-v", "error", "-i", m_dir.filePath("tracks.mkv"), "-map", "0:v",
                                              "-map", "0:a:1", "-c", "copy", m_dir.filePath("second.mkv")}), 0);
    }

    void runs_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status"); // -1: the editor starts
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("errStart");
        QTest::addColumn<QString>("written"); // what @/out.srt must hold, as Save writes it
        const QString usage = QStringLiteral("Usage: cuewright --check");
        QTest::newRow("no arguments") << QStringList() << -1 << "" << "" << QString();
        QTest::newRow("files to open") << QStringList{"a.srt", "--check"} << -1 << "" << "" << QString();
        QTest::newRow("one line per file")
            << QStringList{"--check", "$/japanese.UTF-16LE-bom.srt", "$/russian.WINDOWS-1251.srt"} << 0
            << "$/japanese.UTF-16LE-bom.srt: 3 subtitles, UTF-16LE, SRT\n$/russian.WINDOWS-1251.srt: 4 subtitles, windows-1251, SRT\n"
            << "" << QString();
        QTest::newRow("--from decodes as the setting would")
            << QStringList{"--check", "--from", "Cyrillic (KOI8-R)", "$/russian.KOI8-R.srt"} << 0
            << "$/russian.KOI8-R.srt: 4 subtitles, KOI8-R, SRT\n" << "" << QString();
        QTest::newRow("a bad file among good ones: the editor's message")
            << QStringList{"--check", "@/bad.srt", "$/french.UTF-8.srt"} << 1 << "$/french.UTF-8.srt: 4 subtitles, UTF-8, SRT\n"
            << "@/bad.srt: Error at line 0.\nInvalid index.\nLine 0 reads “7”.\n" << QString();
        QTest::newRow("--repair lists each repair")
            << QStringList{"--check", "--repair", "@/sloppy.srt"} << 0 << "@/sloppy.srt: 1 subtitles, UTF-8, SRT, 2 repairs\n"
            << "@/sloppy.srt: Line 0 “7”: Subtitle numbered 7 where 1 was expected" << QString();
        QTest::newRow("--repair refuses to swallow a second half in UTF-16 into one subtitle")
            << QStringList{"--check", "--repair", "@/mixed.srt"} << 1 << "" << "@/mixed.srt: Line 4 holds a NUL character (“2␀”)" << QString();
        QTest::newRow("unknown encoding") << QStringList{"--check", "--from", "klingon-8", "a.srt"} << 2 << ""
                                          << "Unknown text encoding \"klingon-8\".\n" << QString();
        QTest::newRow("--to while checking") << QStringList{"--check", "--to", "UTF-8", "a.srt"} << 2 << ""
                                             << "Unknown option \"--to\".\n" << QString();
        QTest::newRow("no file") << QStringList{"--check"} << 2 << "" << usage << QString();
        QTest::newRow("one file to convert") << QStringList{"--convert", "a.srt"} << 2 << "" << "Usage: cuewright --convert" << QString();
        QTest::newRow("three files to convert") << QStringList{"--convert", "a.srt", "b.srt", "c.srt"} << 2 << ""
                                                << "Usage: cuewright --convert" << QString();
        QTest::newRow("an option the mode has no use for") << QStringList{"--speech", "--fps", "25", "@/cut.mp4"} << 2 << ""
                                                           << "Unknown option \"--fps\".\nUsage: cuewright --speech [--audio-track N] VIDEO\n  --audio-track N" << QString();
        QTest::newRow("--from without name") << QStringList{"--convert", "a", "b", "--from"} << 2 << ""
                                             << "The option \"--from\" needs an encoding name.\n" << QString();
        // What the window refuses, the command line refuses too, with the reason and the
        // files left alone: a name that is not UTF-8 (it would name "v\uFFFD.srt", another
        // file) and a pipe (which would wait for a reader for ever).
        QTest::newRow("a character the encoding lacks")
            << QStringList{"--convert", "--to", "ISO-8859-1", "$/russian.WINDOWS-1251.srt", "@/kept.srt"} << 1 << ""
            << "@/kept.srt: The character \"Г\" (U+0413) cannot be saved in ISO-8859-1.\nIt is in subtitle 1.\n" << QString();
        QTest::newRow("output name not UTF-8") << QStringList{"--convert", "$/french.UTF-8.srt", notUtf8()} << 1 << ""
                                               << notUtf8() + ": The file cannot be written because its name is not valid UTF-8 text.\n" << QString();
        QTest::newRow("input name not UTF-8") << QStringList{"--check", notUtf8()} << 1 << ""
                                              << notUtf8() + ": The file cannot be read because its name is not valid UTF-8 text.\n" << QString();
        QTest::newRow("output a pipe") << QStringList{"--convert", "$/french.UTF-8.srt", "@/pipe"} << 1 << ""
                                       << "@/pipe: The file cannot be saved because “pipe” is not a regular file (it is a device, a pipe or a socket).\n" << QString();
        QTest::newRow("input a pipe") << QStringList{"--convert", "@/pipe", "@/kept.srt"} << 1 << ""
                                      << "@/pipe: The file could not be opened because it is not a regular file.\n" << QString();
        // Named by a slip, an input or a film is refused before anything is read.
        QTest::newRow("sync: the video named as the output")
            << QStringList{"--sync", "@/a.srt", "@/film.mp4", "@/film.mp4"} << 1 << ""
            << "@/film.mp4: The file is the input “@/film.mp4”; name another file to write, so that the input stays as it is.\n" << QString();
        QTest::newRow("convert: another name of the input")
            << QStringList{"--convert", "@/kept.srt", "@/hard.srt"} << 1 << "" << "@/hard.srt: The file is the input “@/kept.srt”" << QString();
        QTest::newRow("convert: a link as the output")
            << QStringList{"--convert", "@/a.srt", "@/link.srt"} << 1 << "" << "@/link.srt: The file is a symbolic link;" << QString();
        QTest::newRow("snap: a film's suffix for the output")
            << QStringList{"--snap-to-speech", "@/a.srt", "@/film.mp4", "@/film.mkv"} << 1 << ""
            << "@/film.mkv: “.mkv” is not the suffix of a subtitle format;" << QString();
        QTest::newRow("convert: a text file's suffix for the output")
            << QStringList{"--convert", "@/a.srt", "@/out.txt"} << 1 << "" << "@/out.txt: “.txt” is not the suffix" << QString();
        QTest::newRow("convert: detected encoding kept") << QStringList{"--convert", "$/russian.WINDOWS-1251.srt", "@/out.srt"}
                                                         << 0 << "" << "" << "$/russian.WINDOWS-1251.srt";
        QTest::newRow("convert: --to wins over the detected encoding")
            << QStringList{"--convert", "--to", "UTF-8", "$/russian.WINDOWS-1251.srt", "@/out.srt"} << 0 << "" << ""
            << "$/../source/russian.srt";
        QTest::newRow("convert: --from alone, saved in it as the setting would")
            << QStringList{"--convert", "--from=ISO-8859-7", "$/greek.ISO-8859-7.srt", "@/out.srt"} << 0 << "" << ""
            << "$/greek.ISO-8859-7.srt";
        QTest::newRow("convert: --from and --to")
            << QStringList{"--convert", "--from", "Shift_JIS", "--to", "UTF-16LE", "$/japanese.SHIFT_JIS.srt", "@/out.srt"}
            << 0 << "" << "" << "$/japanese.UTF-16LE-bom.srt";
        QTest::newRow("convert: WebVTT is written in UTF-8, and says so")
            << QStringList{"--convert", "$/russian.WINDOWS-1251.srt", "@/out.vtt"} << 0 << ""
            << "@/out.vtt: written in UTF-8, as WebVTT files must be, not in windows-1251\n" << "@/russian.vtt";
        QTest::newRow("convert: TTML is written in UTF-8 whatever --to asks")
            << QStringList{"--convert", "--to", "UTF-16LE", "$/../source/russian.srt", "@/out.ttml"} << 0 << ""
            << "@/out.ttml: written in UTF-8, as TTML files must be, not in UTF-16LE\n" << "@/russian.ttml";
        QTest::newRow("convert: TTML read in UTF-16 declares the UTF-8 it is written in")
            << QStringList{"--convert", "@/utf16.ttml", "@/out.ttml"} << 0 << ""
            << "@/out.ttml: written in UTF-8, as TTML files must be, not in UTF-16LE\n" << "@/utf16-as-utf8.ttml";
        QTest::newRow("convert: a time past what the format holds is written as its latest, with a word")
            << QStringList{"--convert", "@/late.ttml", "@/out.vtt"} << 0 << ""
            << "@/out.vtt: left out: the times of 1 subtitle(s) past the latest WebVTT holds, written as that latest time\n" << QString();
        QTest::newRow("check: an unsure guess of the encoding is said")
            << QStringList{"--check", "@/thanks.srt"} << 0 << "@/thanks.srt: 1 subtitles, windows-1251, SRT\n"
            << "@/thanks.srt: the text encoding windows-1251 is a guess: it could also be windows-1255, ISO-8859-5" << QString();
        QTest::newRow("convert: an unsure guess of the encoding is said, and kept")
            << QStringList{"--convert", "@/thanks.srt", "@/out.srt"} << 0 << ""
            << "@/thanks.srt: the text encoding windows-1251 is a guess:*with --from ENCODING\n" << "@/thanks.srt";
        QTest::newRow("another format told in UTF-16") << QStringList{"--check", "@/a.vtt"} << 0
                                                      << "@/a.vtt: 1 subtitles, UTF-16LE, WebVTT\n" << "" << QString();
        QTest::newRow("convert: the output's name gives its format, and what it lacks is listed")
            << QStringList{"--convert", "@/a.ass", "@/out.srt"} << 0 << "" << "@/out.srt: left out: the speakers of 1 subtitle(s)\n" << "@/a.srt";
        QTest::newRow("convert: SCC's second caption channel on request")
            << QStringList{"--convert", "--scc-channel", "2", "@/two.scc", "@/out.srt"} << 0 << "" << "" << "@/b.srt";
        QTest::newRow("convert: SRT to SCC, the times put on frames and said so")
            << QStringList{"--convert", "@/a.srt", "@/out.scc"} << 0 << "" << "@/out.scc: left out: the times of 1 subtitle(s), moved" << "@/a.scc";
        QTest::newRow("a caption channel SCC has not") << QStringList{"--check", "--scc-channel=3", "@/two.scc"} << 2 << ""
                                                      << "The caption channel of \"--scc-channel\" is 1 or 2." << QString();
        QTest::newRow("--repair mends another format too") << QStringList{"--check", "--repair", "@/sloppy.ass"} << 0
                                                           << "@/sloppy.ass: 1 subtitles, UTF-8, SSA, 1 repairs\n" << "@/sloppy.ass: Line 3 " << QString();
        QTest::newRow("convert: --fps counts the frames")
            << QStringList{"--convert", "--fps=25", "@/a.sub", "@/out.srt"} << 0 << "" << "" << "@/a.srt";
        QTest::newRow("convert: --repair writes the repaired file, its line endings kept")
            << QStringList{"--convert", "--repair", "@/sloppy.srt", "@/out.srt"} << 0 << ""
            << "@/sloppy.srt: Line 0 “7”: Subtitle numbered 7 where 1 was expected" << "@/mended.srt";
        QTest::newRow("convert: --repair keeps an SRT whose subtitle reads [Events] SRT")
            << QStringList{"--convert", "--repair", "@/events.srt", "@/out.srt"} << 0 << "" << "" << "@/events.srt";
        QTest::newRow("--repair reads a file that looks like a script as its name says")
            << QStringList{"--check", "--repair", "@/arrows.srt"} << 0 << "@/arrows.srt: 2 subtitles, UTF-8, SRT, 2 repairs\n"
            << "@/arrows.srt: Line 1 “00:00:01,000 -> 00:00:02,000”: Read the timing" << QString();
        QTest::newRow("convert: a repair that would leave nothing is refused, nothing written")
            << QStringList{"--convert", "--repair", "@/nothing.ass", "@/kept.srt"} << 1 << ""
            << "@/nothing.ass: Line 3 “Dialogue: x,0:00:02.00,A”: The start “x” is not a time h:mm:ss.cc. Left the event out; it is kept as it stands.\n"
               "Nothing in the file reads as SubStation Alpha (SSA): a repair would leave no subtitle.\n" << QString();
        const QString faultLines = "@/faults.srt:1: too-short: 0.5 s (0.8 s)\n@/faults.srt:2: too-fast: 25 cps (20 cps)\n";
        QTest::newRow("qc: a clean file says nothing") << QStringList{"--qc", "adult-25", "@/clean.srt"} << 0 << "" << "" << QString();
        QTest::newRow("qc: a line per problem") << QStringList{"--qc", "adult-25", "@/clean.srt", "@/faults.srt"} << 1
                                                << faultLines << "" << QString();
        QTest::newRow("qc: by the profile's name, gaps at its rate")
            << QStringList{"--qc", "General adult, 25 fps", "@/gap.srt"} << 1 << "@/gap.srt:1: gap-too-small: 0.06 s (0.08 s)\n"
            << "" << QString();
        QTest::newRow("qc: gaps at the rate --fps gives, its value apart")
            << QStringList{"--qc", "--fps", "50", "adult-25", "@/gap.srt"} << 0 << "" << "" << QString();
        QTest::newRow("a rate out of range") << QStringList{"--check", "--fps=1000.5", "@/a.sub"} << 2 << ""
                                             << "The option \"--fps\" needs a frame rate from 1 to 1000" << QString();
        QTest::newRow("qc: a profile counting words says words a minute")
            << QStringList{"--qc", "broadcast-wpm-25", "@/faults.srt"} << 1
            << "@/faults.srt:1: too-short: 0.5 s (1 s)\n@/faults.srt:2: too-fast: 360 wpm (180 wpm)\n" << "" << QString();
        QTest::newRow("qc: a language's own limits, its region falling back to it")
            << QStringList{"--qc", "adult-25", "--language", "ja_JP", "@/faults.srt"} << 1
            << "@/faults.srt:1: too-short: 0.5 s (0.8 s)\n@/faults.srt:2: too-fast: 25 cps (4 cps)\n"
               "@/faults.srt:2: line-too-long: 25 characters (13 characters)\n"
            << "" << QString();
        QTest::newRow("qc: a folder is its subtitle files below it, by path")
            << QStringList{"--qc", "adult-25", "@/qc"} << 1
            << "@/qc/a/c.vtt:1: too-short: 0.1 s (0.8 s)\n@/qc/a/d.txt:1: too-short: 0.5 s (0.8 s)\n@/qc/b.srt:1: too-short: 0.5 s (0.8 s)\n@/qc/b.srt:2: too-fast: 25 cps (20 cps)\n"
            << "@/qc: skipped 2 fixed copy file(s) (NAME.fixed.EXT beside NAME.EXT); name one to check it.\n" << QString();
        QTest::newRow("qc: an unreadable file outweighs problems")
            << QStringList{"--qc", "adult-25", "@/bad.srt", "@/faults.srt"} << 3 << faultLines
            << "@/bad.srt: *\n1 of 2 file(s) could not be read; --repair reads what plainly means one thing.\n" << QString();
        QTest::newRow("qc: --repair reads what the strict reading refuses")
            << QStringList{"--qc", "--repair", "adult-25", "@/sloppy.srt"} << 0 << "" << "@/sloppy.srt: read with 2 repair(s)\n" << QString();
        QTest::newRow("qc: --repair that would leave nothing is a file not read")
            << QStringList{"--qc", "--repair", "adult-25", "@/nothing.ass"} << 3 << ""
            << "@/nothing.ass: Line 3 “Dialogue: x,0:00:02.00,A”*1 of 1 file(s) could not be read.\n"
            << QString();
        QTest::newRow("qc: a value rounding to its limit shows the decimal that breaks it")
            << QStringList{"--qc", "adult-25", "@/near.srt"} << 1 << "@/near.srt:1: too-fast: 20.03 cps (20 cps)\n" << "" << QString();
        QTest::newRow("qc: a line break in a name is no line of the report")
            << QStringList{"--qc", "adult-25", "@/new\nline.srt"} << 1
            << "@/new\\nline.srt:1: too-short: 0.5 s (0.8 s)\n@/new\\nline.srt:2: too-fast: 25 cps (20 cps)\n" << "" << QString();
        QTest::newRow("qc: a profile of a later version") << QStringList{"--qc", "@/later.json", "@/faults.srt"} << 2 << ""
                                                          << "The profile is of version 99;" << QString();
        QTest::newRow("qc: a pipe is no profile") << QStringList{"--qc", "@/pipe", "@/faults.srt"} << 2 << ""
                                                  << "The profile cannot be read: \"pipe\" is not a file.\n" << QString();
        QTest::newRow("qc: unknown profile") << QStringList{"--qc", "nobody", "@/faults.srt"} << 2 << ""
                                             << "No quality profile is called \"nobody\"" << QString();
        QTest::newRow("qc: --video checks the edges near its shot changes")
            << QStringList{"--qc", "adult-25", "--video", "@/cut.mp4", "@/cut.srt"} << 1
            << "@/cut.srt:1: start-near-shot-change: 3 frames (12 frames)\n" << "" << QString();
        QTest::newRow("qc: --fix mends them") << QStringList{"--qc", "adult-25", "--fix", "--video=@/cut.mp4", "@/cut.srt"} << 0
                                              << "" << "@/cut.srt: Fixed 1*Written to @/cut.fixed.srt.\n" << QString();
        QTest::newRow("qc: --video with a folder") << QStringList{"--qc", "adult-25", "--video", "@/cut.mp4", "@/qc"} << 2 << ""
                                                   << "The option \"--video\" goes with one subtitle file" << QString();
        QTest::newRow("qc: --video that is none") << QStringList{"--qc", "adult-25", "--video", "@/cut.srt", "@/faults.srt"} << 3
                                                  << "" << "\"@/cut.srt\" has no video stream.\n" << QString();
        QTest::newRow("qc: no files") << QStringList{"--qc", "adult-25"} << 2 << "" << "Usage: cuewright --qc" << QString();
        const QString noTrack = "tracks.mkv has no audio track 3: it has 2 audio track(s).\n";
        QTest::newRow("waveform: a track the film has not") << QStringList{"--waveform", "--audio-track", "3", "@/tracks.mkv"}
                                                             << 1 << "" << noTrack << QString();
        QTest::newRow("speech: a track the film has not") << QStringList{"--speech", "--audio-track=3", "@/tracks.mkv"} << 1
                                                           << "" << noTrack << QString();
        QTest::newRow("sync: a track the film has not")
            << QStringList{"--sync", "--audio-track", "3", "@/a.srt", "@/tracks.mkv", "@/out.srt"} << 1 << ""
            << "@/tracks.mkv: " + noTrack << QString();
        QTest::newRow("no track 0") << QStringList{"--waveform", "--audio-track", "0", "@/tracks.mkv"} << 2 << ""
                                    << "The option \"--audio-track\" needs a track number from 1 on, such as 2.\n" << QString();
        QTest::newRow("shot changes hear no sound")
            << QStringList{"--shot-changes", "--audio-track", "2", "@/tracks.mkv"} << 2 << "" << "Unknown option \"--audio-track\"." << QString();
    }

    // The sound a mode reads is the track asked for: the second track's waveform is the one
    // of a film holding that track alone.
    void theAudioTrackAskedForIsRead()
    {
        const auto waveform = [this](const QStringList &arguments) {
            QString out, err;
            const int status = run(arguments, out, err).value_or(-1);
            // The time taken aside.
            return QStringLiteral("%1 %2%3").arg(status).arg(out.section(QLatin1String(" seconds="), 0, 0), err);
        };
        const QString second = waveform({"--waveform", "@/second.mkv"});
        QVERIFY2(second.startsWith(QLatin1String("0 points=")), qPrintable(second));
        QCOMPARE(waveform({"--waveform", "--audio-track", "2", "@/tracks.mkv"}), second);
        QVERIFY(waveform({"--waveform", "@/tracks.mkv"}) != second);
    }

    void alignPlacesAScriptsLines_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("left"); // what stderr lists
        const QString missing = QStringLiteral("Good morning, Dr. Smith.");
        QTest::newRow("a line the film does not say")
            << QStringList{SpokenFilm::recordingText(1), missing, SpokenFilm::recordingText(4)} << 0
            << "@/script.txt:2: left: its words are not in the sound\n";
        QTest::newRow("no line the film says") << QStringList{missing} << 1 << "@/script.txt:1: left: its words are not in the sound\n";
    }

    // A .txt script's paragraphs placed where a real voice says them; at least one placed or
    // nothing written.
    void alignPlacesAScriptsLines()
    {
        QFETCH(QStringList, script);
        QFETCH(int, status);
        QFETCH(QString, left);
        const QString film = m_dir.filePath("spoken.mp4");
        static QList<std::pair<double, double>> spoken;
        if (spoken.isEmpty())
            spoken = SpokenFilm::makeFilm(film, {{-1, 1}, {1}, {-1, 1.5}, {4}, {-1, 1}});
        QCOMPARE(spoken.size(), 2);
        QVERIFY(writeAll(m_dir.filePath("script.txt"), script.join("\r\n\r\n").toUtf8()));
        QFile::remove(m_dir.filePath("aligned.srt"));
        QString out, err;
        QCOMPARE(run({"--align", "@/script.txt", "@/spoken.mp4", "@/aligned.srt"}, out, err).value_or(-1), status);
        QVERIFY2(err.startsWith(resolve(left)), qPrintable(err));
        if (status != 0) {
            QVERIFY(!QFile::exists(m_dir.filePath("aligned.srt")));
            return;
        }
        const auto read = SubtitleParser::shared().parse(QString::fromUtf8(readAll(m_dir.filePath("aligned.srt"))));
        QVERIFY(read);
        QCOMPARE(read.value().size(), 3);
        for (int k : {0, 1}) {
            const SubtitlePtr &line = read.value()[2 * k];
            QCOMPARE(line->text(), script[2 * k]);
            QVERIFY2(std::abs(line->start - spoken[k].first) <= 0.1, qPrintable(QString::number(line->start)));
        }
        // Put between the lines placed, in the script's order.
        QVERIFY(read.value()[1]->start > read.value()[0]->end && read.value()[1]->end < read.value()[2]->start);
    }

    void runs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, errStart);
        QFETCH(QString, written);
        QString printed, errors;
        QCOMPARE(run(arguments, printed, errors).value_or(-1), status);
        QCOMPARE(printed, resolve(out));
        // "start*end": what the messages begin and end with.
        const QStringList errParts = resolve(errStart).split(u'*');
        QVERIFY2(errStart.isEmpty() ? errors.isEmpty() : errors.startsWith(errParts.first()) && (errParts.size() == 1 || errors.endsWith(errParts.last())),
                 qPrintable(errors));
        if (arguments.contains("@/sloppy.srt") && status == 0 && arguments.first() != "--qc") // the second repair on its own line
            QVERIFY2(errors.contains(resolve("\n@/sloppy.srt: Line 1 “0:0:1,5 --> 0:0:2,0”: Read the timing as 00:00:01,005")),
                     qPrintable(errors));
        for (const QString &path : kept())
            QCOMPARE(readAll(path), keepMe);
        if (written.isEmpty())
            return;
        const QString output = resolve(arguments.last());
        QCOMPARE(readAll(output), readAll(resolve(written)));
        // What another program's XML reader makes of it, where one is installed.
        if (output.endsWith(".ttml") && !QStandardPaths::findExecutable("xmllint").isEmpty())
            QCOMPARE(QProcess::execute("xmllint", {"--noout", output}), 0);
    }

    // The reading speed in the profile's unit, named beside it.
    void qcJsonHoldsTheRows_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QJsonObject>("tooFast");
        QTest::newRow("characters a second") << "adult-25" << QJsonObject({{"number", 2}, {"start", 5}, {"end", 6},
                                                                          {"kind", "too-fast"}, {"value", 25}, {"limit", 20},
                                                                          {"unit", "cps"}});
        QTest::newRow("words a minute") << "broadcast-wpm-25" << QJsonObject({{"number", 2}, {"start", 5}, {"end", 6},
                                                                              {"kind", "too-fast"}, {"value", 360},
                                                                              {"limit", 180}, {"unit", "wpm"}});
    }

    void qcJsonHoldsTheRows()
    {
        QFETCH(QString, profile);
        QFETCH(QJsonObject, tooFast);
        QString out, err;
        QCOMPARE(run({"--qc", "--json", profile, "@/faults.srt", "@/clean.srt"}, out, err), 1);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString() + out));
        const QJsonArray files = document["files"].toArray();
        QCOMPARE(files.size(), 2);
        QCOMPARE(files[0]["file"].toString(), resolve("@/faults.srt"));
        const QJsonArray problems = files[0]["problems"].toArray();
        QCOMPARE(problems.size(), 2);
        QCOMPARE(problems[1].toObject(), tooFast);
        QVERIFY(files[1]["problems"].toArray().isEmpty());
    }

    // The fixed copy's name is the program's own: what stands there already is replaced
    // only when an earlier --fix made it from the same file, and never through a link.
    void qcFixWritesOnlyOverItsOwnCopy_data()
    {
        QTest::addColumn<QString>("before"); // at @/fix/faults.fixed.srt before the run
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("errEnd");
        const QString written = "Written to @/fix/faults.fixed.srt.\n";
        const QString notOwn = "@/fix/faults.fixed.srt: A file that is not a fixed copy of “faults.srt” has this name and was "
                               "left as it is; move it away to have the copy written.\n";
        QTest::newRow("nothing") << "" << 0 << written;
        QTest::newRow("the copy of an earlier run") << "own" << 0 << written;
        QTest::newRow("a link to another file") << "link" << 3
            << "@/fix/faults.fixed.srt: The file is a symbolic link; name the file it leads to, so that nothing is written through the link.\n";
        QTest::newRow("a file of the user's") << "file" << 3 << notOwn;
        QTest::newRow("the copy of another file") << "other's" << 3 << notOwn;
        QTest::newRow("an earlier copy with a second name") << "own, linked" << 3 << notOwn;
    }

    void qcFixWritesOnlyOverItsOwnCopy()
    {
        QFETCH(QString, before);
        QFETCH(int, status);
        QFETCH(QString, errEnd);
        QDir(m_dir.filePath("fix")).removeRecursively();
        QVERIFY(QDir(m_dir.path()).mkpath("fix"));
        const QString copy = m_dir.filePath("fix/faults.fixed.srt");
        const QString victim = m_dir.filePath("fix/victim");
        QVERIFY(writeAll(m_dir.filePath("fix/faults.srt"), faults));
        QVERIFY(writeAll(m_dir.filePath("fix/clean.srt"), "1\n00:00:01,000 --> 00:00:03,000\nHello\n"));
        QVERIFY(writeAll(victim, keepMe));
        QString out, err;
        if (before == "link")
            QVERIFY(QFile::link(victim, copy));
        if (before == "file")
            QVERIFY(writeAll(copy, keepMe));
        if (before.startsWith("own")) {
            QCOMPARE(run({"--qc", "--fix", "adult-25", "@/fix/faults.srt"}, out, err), 0);
            if (before.endsWith("linked"))
                QVERIFY(::link(QFile::encodeName(copy).constData(), QFile::encodeName(m_dir.filePath("fix/second")).constData()) == 0);
        }
        if (before == "other's") {
            QVERIFY(writeAll(m_dir.filePath("fix/faults.ass"), "[Events]\nFormat: Start, End, Text\nDialogue: 0:00:01.00,0:00:01.50,Hi\n"));
            QCOMPARE(run({"--qc", "--fix", "adult-25", "@/fix/faults.ass"}, out, err), 0);
            QVERIFY(QFile::rename(m_dir.filePath("fix/faults.fixed.ass"), copy));
        }
        const QByteArray copyBefore = readAll(copy);
        out.clear();
        err.clear();
        QCOMPARE(run({"--qc", "--fix", "adult-25", "@/fix/faults.srt", "@/fix/clean.srt"}, out, err), status);
        QVERIFY2(err.startsWith(resolve("@/fix/faults.srt: Fixed 2")) && err.endsWith(resolve(errEnd)), qPrintable(err));
        QCOMPARE(readAll(m_dir.filePath("fix/faults.srt")), faults);
        QCOMPARE(readAll(victim), keepMe);
        QVERIFY(!QFile::exists(m_dir.filePath("fix/clean.fixed.srt")));
        if (status != 0) {
            QCOMPARE(readAll(copy), copyBefore);
            return;
        }
        QCOMPARE(out, QString());
        // Read again, the copy keeps to the profile; in its folder it is not checked again.
        QCOMPARE(run({"--qc", "adult-25", "@/fix/faults.fixed.srt"}, out, err), 0);
        QCOMPARE(run({"--qc", "--fix", "adult-25", "@/fix"}, out, err), 0);
        QVERIFY(!QFile::exists(m_dir.filePath("fix/faults.fixed.fixed.srt")));
    }

    // A format the program only reads is fixed into SRT, never into an empty file.
    void qcFixWritesAFormatOnlyReadAsSrt()
    {
        QVERIFY(writeAll(m_dir.filePath("short.sub"), "{25}{30}Hi\n"));
        QString out, err;
        QCOMPARE(run({"--qc", "--fix", "adult-25", "@/short.sub"}, out, err), 0);
        QVERIFY2(err.endsWith(resolve("Written to @/short.fixed.srt.\n")), qPrintable(err));
        QCOMPARE(run({"--check", "@/short.fixed.srt"}, out, err), 0);
        QCOMPARE(out, resolve("@/short.fixed.srt: 1 subtitles, UTF-8, SRT\n"));
    }

    // The subtitle before the middle is checked with the one after it, in the other half.
    // The editor's own arguments go through the same reading as the scripts'.
    void editorArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files"); // empty and an error: refused
        QTest::addColumn<QString>("video");
        QTest::addColumn<QString>("error");
        QTest::newRow("files and a video") << QStringList{"a.srt", "--video=v.mp4", "b.vtt"} << QStringList{"a.srt", "b.vtt"}
                                           << "v.mp4" << "";
        QTest::newRow("a file named like an option") << QStringList{"--video", "v.mp4", "--", "--check"}
                                                     << QStringList{"--check"} << "v.mp4" << "";
        QTest::newRow("an option of the scripts") << QStringList{"a.srt", "--fps", "25"} << QStringList() << ""
                                                  << "Unknown option \"--fps\".\nUsage: cuewright [--video VIDEO] [FILE...]\n";
    }
    void editorArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        QFETCH(QString, video);
        QFETCH(QString, error);
        const auto request = CommandLine::parse(QStringList{"cuewright"} + arguments);
        QCOMPARE(request ? QString() : request.error().message.left(error.size()), error);
        if (!request)
            return;
        QCOMPARE(request.value().mode, CommandLine::Mode::Edit);
        QCOMPARE(request.value().operands, files);
        QCOMPARE(request.value().video, video);
    }

    void halvesGiveTheRowsOfOnePass()
    {
        SubtitleList list;
        const int count = int(QualityCommand::halvesFrom) + 3;
        for (int i = 0; i < count; ++i)
            list.append(Subtitle::create(QStringLiteral("Line %1").arg(i), i * 2.0, i * 2.0 + (i % 3 != 0 ? 2.01 : 1.5)));
        const QualityReport report(QualityLimits{}, 25);
        std::vector<QualityReport::Row> onePass;
        report.check(list, 0, list.size(), onePass);
        const std::vector<QualityReport::Row> halves = QualityCommand::check(report, list);
        QCOMPARE(halves.size(), onePass.size());
        for (size_t i = 0; i < halves.size(); ++i)
            QVERIFY(halves[i].number == onePass[i].number && halves[i].kind == onePass[i].kind);
        // The problems on both sides of the middle, where the halves meet.
        for (const int number : {int(count / 2), int(count / 2) + 1})
            QVERIFY(std::any_of(halves.begin(), halves.end(), [&](const auto &row) { return row.number == number; }));
    }

    // A file where every subtitle needs a repair lists the first thousand repairs, then
    // how many more there were.
    void repairsPastTheFirstThousandAreCounted()
    {
        QByteArray bytes;
        for (int i = 0; i < 1002; ++i)
            bytes += "0\n00:00:01,000 --> 00:00:02,000\nA\n\n";
        QVERIFY(writeAll(m_dir.filePath("many.srt"), bytes));
        QString out, err;
        QCOMPARE(run({"--check", "--repair", "@/many.srt"}, out, err), 0);
        QCOMPARE(out, resolve("@/many.srt: 1002 subtitles, UTF-8, SRT, 1002 repairs\n"));
        const QStringList lines = err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1001);
        QCOMPARE(lines[999], resolve("@/many.srt: Line 3996 “0”: Subtitle numbered 0 where 1 was expected: numbered in order."));
        QCOMPARE(lines[1000], resolve("@/many.srt: …and 2 more repairs, not listed."));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLineTool)
#include "tst_commandlinetool.moc"
