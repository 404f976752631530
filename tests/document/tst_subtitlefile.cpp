#include "document/InPlaceWriter.h"
#include "document/InterruptedSave.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/SubtitleParser.h"

#include "EncodingSamples.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace EncodingSamples;

namespace {

int encoding(const char *name)
{
    return TextEncoding::numberForName(QString::fromLatin1(name)).value();
}

SubtitleList oneSubtitle(const QString &text)
{
    return {Subtitle::create(text, 1.0, 2.5)};
}

} // namespace

class tst_SubtitleFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(!sampleFileNames().isEmpty());
    }

    // Every sample read with its encoding chosen and detected, and saved as a save would:
    // the same bytes again, line endings and byte-order mark (or none) kept.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("text"); // as the parser writes it
        for (const QString &name : sampleFileNames()) {
            const QString encodingName = name.section(u'.', 1, 1).remove(QStringLiteral("-bom"));
            QTest::newRow(qPrintable(name)) << readAll(samplePath(name)) << encoding(qPrintable(encodingName)) << sourceText(name);
        }
        const QString lf = QStringLiteral("1\n00:00:01,000 --> 00:00:02,500\nH\u00e9 \u4e2d \U0001F600\n\n2\n00:00:03,000 --> 00:00:04,000\nB\n\n");
        const QString crlf = QString(lf).replace(u'\n', QStringLiteral("\r\n"));
        using T = TextEncoding;
        const struct { const char *name; const QString &text; int number; bool mark; } made[] = {
            {"UTF-8, CR LF, no mark", crlf, T::Utf8, false},
            {"UTF-8, LF, mark", lf, T::Utf8, true},
            {"UTF-16LE, no mark", lf, T::Utf16LittleEndian, false},
            {"UTF-16BE, CR LF, no mark", crlf, T::Utf16BigEndian, false},
            {"UTF-32LE, mark", lf, T::Utf32LittleEndian, true},
            {"UTF-32BE, CR LF, mark", crlf, T::Utf32BigEndian, true},
        };
        QTest::newRow("an empty file") << QByteArray() << int(T::Utf8) << QString();
        for (const auto &row : made)
            QTest::newRow(row.name) << T::encode(row.text, row.number, row.mark).value() << row.number << lf;
    }
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, chosen);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("in.srt"));
        QVERIFY(writeAll(path, bytes));
        const auto chosenRead = SubtitleFile::read(path, chosen);
        QVERIFY2(chosenRead, qPrintable(chosenRead ? QString() : chosenRead.error()));
        QCOMPARE(SubtitleParser::shared().serialize(chosenRead.value().subtitles), text);
        const auto detected = SubtitleFile::read(path, TextEncoding::Automatic);
        QVERIFY2(detected, qPrintable(detected ? QString() : detected.error()));
        if (QTest::currentDataTag() == QLatin1String("german.ISO-8859-15.srt"))
            QEXPECT_FAIL("", "the euro sign of ISO-8859-15 is the byte of Latin-1's currency sign: only the user can tell", Continue);
        QCOMPARE(SubtitleParser::shared().serialize(detected.value().subtitles), text);
        // Saved in the encoding detected, which may be another name for the same bytes.
        const int saving = SubtitleFile::encodingForSaving(detected.value().encoding, 0);
        QVERIFY(SubtitleFile::write(path, detected.value().subtitles, saving, detected.value().format));
        QCOMPARE(readAll(path), bytes);
    }

    // The other formats keep what they do not show with the file's own line ends: an
    // unedited file is written back byte for byte, its CR LF not doubled.
    void otherFormatsWrittenBackAsTheyWere_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASS, CR LF") << "a.ass" << QByteArray("[Script Info]\r\nScriptType: v4.00+\r\n\r\n[Events]\r\n"
            "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n"
            "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,A\r\nDialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,B\r\n");
        QTest::newRow("SSA, CR LF, a note among the events") << "a.ssa" << QByteArray("[Script Info]\r\nScriptType: v4.00\r\n\r\n[Events]\r\n"
            "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n"
            "Dialogue: Marked=0,0:00:01.00,0:00:02.00,Default,,0,0,0,,A\r\nNot understood line\r\n"
            "Dialogue: Marked=0,0:00:03.00,0:00:04.00,Default,,0,0,0,,B\r\n");
        QTest::newRow("WebVTT, CR LF") << "a.vtt" << QByteArray("WEBVTT\r\n\r\n00:01.000 --> 00:02.000\r\nA\r\n");
    }
    void otherFormatsWrittenBackAsTheyWere()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QVERIFY(writeAll(dir.filePath(name), bytes));
        const auto read = SubtitleFile::read(dir.filePath(name), TextEncoding::Automatic);
        QVERIFY2(read, qPrintable(read ? QString() : read.error()));
        const auto &contents = read.value();
        QVERIFY(SubtitleFile::write(dir.filePath(QStringLiteral("out-") + name), contents.subtitles, contents.encoding,
                                    {contents.format, contents.subtitleFormat, contents.keep.get()}));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("out-") + name)), bytes);
    }

    // Each refused with a message; "@" is a name in a fresh folder.
    void readFailures_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size"); // > 0: made that size with a hole, which costs no disk; < 0: not made
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("message"); // empty: the decoder's or the parser's own
        const auto row = [](const char *name, const char *target, const QByteArray &bytes, qint64 size, int chosen, const char *message) {
            QTest::newRow(name) << QString::fromLatin1(target) << bytes << size << chosen << QString::fromUtf8(message);
        };
        const qint64 limit = qint64(256) * 1024 * 1024;
        row("malformed: the parser's message", "@a.srt", "2\n00:00:01,000 --> 00:00:02,000\nHi\n", 0, 0, "Error at line 0.\nInvalid index.\nLine 0 reads “2”.");
        row("not decodable in the chosen encoding", "@a.srt", "1\n00:00:01,000 --> 00:00:02,000\n\xFF\n", 0, encoding("UTF-8"),
            "The text is not valid UTF-8: the byte 0xFF at byte offset 32 is not a character in this encoding.");
        row("random bytes", "@a.srt", QByteArray("\x01\x9F\xFF\xFE\x00\x81 --> \x00\n\x8D", 13).repeated(999), 0, 0, "");
        row("a folder", "@", {}, -1, 0, "The file could not be opened because it is a folder.");
        row("a file that is not there", "@gone.srt", {}, -1, 0, "The file could not be opened because it does not exist.");
        row("a file this user may not read", "@locked.srt", "1\n", 0, 0, "The file could not be opened.\nPermission denied");
        row("an endless device", "/dev/zero", {}, -1, 0, "The file could not be opened because it is not a regular file.");
        // Past the size check, an encoding number nobody knows refuses it without decoding a byte.
        row("exactly the size limit is read", "@huge.srt", {}, limit, 77, "The text encoding number 77 is not known.");
        row("one byte over the size limit", "@huge.srt", {}, limit + 1, 0, "The file could not be opened because it is larger than 256 MB.");
    }
    void readFailures()
    {
        QFETCH(QString, target);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(int, chosen);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = target.startsWith(u'@') ? dir.filePath(target.mid(1)) : target;
        if (size >= 0) {
            QVERIFY(writeAll(path, bytes));
            QVERIFY(size == 0 || QFile::resize(path, size));
        }
        if (target.contains(QLatin1String("locked"))) {
            if (geteuid() == 0)
                QSKIP("running as root: permissions do not stop reading");
            QVERIFY(QFile::setPermissions(path, {}));
        }
        const auto contents = SubtitleFile::read(path, chosen);
        QVERIFY(!contents);
        QVERIFY2(message.isEmpty() ? contents.error().size() > 10 : contents.error() == message, qPrintable(contents.error()));
    }

    // Texts over 4 MB are read in two halves at once, files over 16 MB in parts, their
    // halves on two threads: what they hold must read as a small file's bytes do, and a
    // fault near where the halves meet with its true line number. Every cue takes four
    // lines and the same number of bytes, so that the halves meet at one of the middle cues.
    void largeFilesReadAsSmallOnes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("defect");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("expected"); // count, encoding and line break, or the start of the error
        for (const int count : {100000, 250000}) {
            const QString clean = QStringLiteral("%1 UTF-8 LF").arg(count);
            QTest::addRow("%d cues, clean", count) << count << "" << 0 << clean;
            const int middle = count / 2;
            for (const int at : {middle, middle + 1, middle + 2}) {
                QTest::addRow("%d cues, a number skipped at cue %d", count, at)
                    << count << "skip" << at << QStringLiteral("Error at line %1.\nInvalid index.\nLine %1 reads “%2”.").arg(4 * at).arg(at + 2, 7, 10, QChar(u'0'));
                QTest::addRow("%d cues, no blank line before cue %d", count, at)
                    << count << "run-on" << at << QStringLiteral("Error at line %1.\nInvalid index.").arg(4 * at - 1);
                QTest::addRow("%d cues, a text of spaces before cue %d", count, at) << count << "blank" << at << clean;
                QTest::addRow("%d cues, cue %d earlier than the one before", count, at) << count << "early" << at << clean;
            }
        }
        QTest::newRow("CR LF after a mark") << 250000 << "crlf" << 0 << "250000 UTF-8 CRLF mark";
        QTest::newRow("bad timing far into the second half")
            << 250000 << "timing" << 200000 << "Error at line 800001.\nInvalid timestamp.\nLine 800001 reads “55:33:20,000 -> 55:33:20,000”.";
        QTest::newRow("a Latin-1 letter far into the second half") << 250000 << "latin" << 200000 << "250000 windows-1252 LF";
        // A subtitle longer than a part is left to the whole reading.
        QTest::newRow("a subtitle longer than a part") << 250000 << "giant" << 200000 << "250000 UTF-8 LF";
        // Out of order just where the first 8 MB part ends.
        for (const int at : {108942, 108943})
            QTest::addRow("cue %d earlier than the one before", at) << 250000 << "early" << at << "250000 UTF-8 LF";
    }

    void largeFilesReadAsSmallOnes()
    {
        QFETCH(int, count);
        QFETCH(QString, defect);
        QFETCH(int, at);
        QFETCH(QString, expected);
        const QByteArray lineBreak = defect == "crlf" ? "\r\n" : "\n";
        QByteArray bytes = defect == "crlf" ? "\xEF\xBB\xBF" : "";
        for (int i = 0; i < count; ++i) {
            const QByteArray time = SubtitleParser::shared().formatTime(defect == "early" && i == at ? i - 1.5 : i).toLatin1();
            bytes += QByteArray::number(defect == "skip" && i >= at ? i + 2 : i + 1).rightJustified(7, '0') + lineBreak;
            bytes += time + (defect == "timing" && i == at ? " -> " : " --> ") + time + lineBreak;
            const QByteArray text = "Line " + QByteArray::number(i).rightJustified(6, '0') + " of a subtitle long enough";
            bytes += (defect == "latin" && i == at ? QByteArray("caf\xE9") : defect == "giant" && i == at ? QByteArray(9 << 20, 'x') : defect == "blank" && i == at - 1 ? QByteArray(text.size(), ' ') : text)
                + lineBreak + (defect == "run-on" && i == at - 1 ? "" : lineBreak);
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("large.srt"));
        QVERIFY(writeAll(path, bytes));
        const auto contents = SubtitleFile::read(path, TextEncoding::Automatic);
        const QString outcome = !contents ? contents.error()
                                          : QStringLiteral("%1 %2 %3%4").arg(contents.value().subtitles.size())
                                                .arg(TextEncoding::name(contents.value().encoding),
                                                     contents.value().format.crlf ? "CRLF" : "LF",
                                                     contents.value().format.byteOrderMark.value_or(false) ? " mark" : "");
        QVERIFY2(outcome.startsWith(expected), qPrintable(outcome));
        if (contents)
            QCOMPARE(contents.value().subtitles.last()->text(), QStringLiteral("Line %1 of a subtitle long enough").arg(count - 1, 6, 10, QChar(u'0')));
        if (defect == "early")
            QCOMPARE(contents.value().subtitles[at - 1]->text(), QStringLiteral("Line %1 of a subtitle long enough").arg(at, 6, 10, QChar(u'0')));
        QVERIFY(bytes.size() > (count > 100000 ? 16 << 20 : 4 << 20));
    }

    // UTF-8 is written while it is made: a text it cannot carry is refused before the file
    // is touched. (Other encodings refuse before writing; the command line test has one.)
    void unencodableCharacterLeavesTheFileAsItWas()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.srt"));
        QVERIFY(writeAll(path, "old content"));
        const auto written = SubtitleFile::write(path, oneSubtitle(QStringLiteral("a") + QChar(0xD83D)), TextEncoding::Utf8);
        QVERIFY(!written);
        QCOMPARE(written.error(), QStringLiteral("The character U+D83D cannot be saved in UTF-8.\nIt is in subtitle 1."));
        QCOMPARE(readAll(path), QByteArray("old content"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.srt")});
    }

    // A save keeps who may read the file, also under a name too long for the usual
    // temporary name beside it. Where it cannot or must not put a new file in the old
    // one's place, it writes into the file: other names (hard links) then show the saved
    // text too. Nothing is left beside it or in the kept folder.
    void aSaveKeepsWhoMayReadTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("other"); // "link": a hard link beside it, "read-only": in a folder the user may not
                                            // write to, "own": in the program's folder for unsaved work
        const QString longName = QString(251, u'n') + ".srt";
        const int utf8 = TextEncoding::Utf8;
        QTest::newRow("a short name") << "a.srt" << utf8 << "";
        QTest::newRow("a name near the length limit") << longName << utf8 << "";
        QTest::newRow("a hard link") << "a.srt" << utf8 << "link";
        QTest::newRow("a hard link, a long name, another encoding") << longName << encoding("windows-1252") << "link";
        QTest::newRow("a hard link in a folder the user may not write to") << "a.srt" << utf8 << "read-only";
        // Unsaved work kept for recovery: a second name there is not the program's.
        QTest::newRow("a hard link to the program's own file") << "a.srt" << utf8 << "own";
    }

    void aSaveKeepsWhoMayReadTheFile()
    {
        QFETCH(QString, name);
        QFETCH(int, encoding);
        QFETCH(QString, other);
        const bool root = geteuid() == 0;
        if (other == "read-only" && root)
            QSKIP("root may write in any folder");
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QVERIFY(QDir().mkpath(data));
        QTemporaryDir dir(other == "own" ? data + QStringLiteral("/recovery-XXXXXX") : QString());
        const QString path = dir.filePath(name);
        QVERIFY(SubtitleFile::write(path, oneSubtitle(QStringLiteral("first")), encoding));
        const QByteArray encoded = QFile::encodeName(path);
        // Another user's file in a shared folder, group-writable with its set-group-id bit.
        QVERIFY(!root || ::chown(encoded.constData(), 4321, 4322) == 0);
        QVERIFY(::chmod(encoded.constData(), 02664) == 0);
        const bool attributes = ::setxattr(encoded.constData(), "user.origin", "cuewright", 9, 0) == 0;
        const QString link = dir.filePath(QStringLiteral("other.srt"));
        QVERIFY(other.isEmpty() || ::link(encoded.constData(), QFile::encodeName(link).constData()) == 0);
        if (other == "read-only")
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        struct stat before {}, after {};
        QVERIFY(::stat(encoded.constData(), &before) == 0);
        QVERIFY(SubtitleFile::write(path, oneSubtitle(QStringLiteral("second")), encoding));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(::stat(encoded.constData(), &after) == 0);
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
        QVERIFY(after.st_uid == before.st_uid && after.st_gid == before.st_gid);
        char value[16] = {};
        QVERIFY(!attributes || (::getxattr(encoded.constData(), "user.origin", value, sizeof value) == 9 && QByteArray(value) == "cuewright"));
        QCOMPARE(SubtitleFile::read(path, encoding).value().subtitles.first()->text(), QStringLiteral("second"));
        if (!other.isEmpty())
            QCOMPARE(SubtitleFile::read(link, encoding).value().subtitles.first()->text(), other == "own" ? "first" : "second");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), other.isEmpty() ? 1 : 2);
        QVERIFY(QDir(InPlaceWriter::keptFolder()).isEmpty());
    }

    // A write into the file cut short loses nothing: a failure the process survives puts
    // the old content back; a crash (a file size limit kills the process here, where a
    // kill or a power cut would stop it) leaves it whole in the kept folder, offered at
    // the next start and put back into the file, its other name included. A copy of no
    // use (cut short before the file was touched) goes.
    void aWriteIntoTheFileCutShortLosesNothing_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::addColumn<int>("oldCount");
        QTest::addColumn<bool>("offered");
        QTest::newRow("the disk refuses") << false << 1 << false;
        QTest::newRow("the process dies writing the file") << true << 1 << true;
        QTest::newRow("the process dies keeping the old content") << true << 400 << false;
    }

    void aWriteIntoTheFileCutShortLosesNothing()
    {
        QFETCH(bool, killed);
        QFETCH(int, oldCount);
        QFETCH(bool, offered);
        QDir(InPlaceWriter::keptFolder()).removeRecursively();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.srt"));
        SubtitleList many;
        for (int i = 0; i < 2000; ++i)
            many.append(Subtitle::create(QStringLiteral("a longer text"), i, i + 0.5));
        QVERIFY(SubtitleFile::write(path, many.mid(0, oldCount), TextEncoding::Utf8));
        const QByteArray old = readAll(path);
        const QString other = dir.filePath("other.srt");
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);

        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit limit{4096, 4096};
            std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(SubtitleFile::write(path, many, TextEncoding::Utf8) ? 0 : 3);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QCOMPARE(killed, WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
        QVERIFY(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 3));
        QCOMPARE(readAll(path) == old, !offered);
        const QList<InterruptedSave> interrupted = InterruptedSave::claim();
        QCOMPARE(interrupted.size(), offered ? 1 : 0);
        if (offered) {
            QCOMPARE(interrupted.first().path, path);
            QCOMPARE(readAll(interrupted.first().keptPath), old);
            QVERIFY(interrupted.first().putBack());
            QCOMPARE(readAll(other), old);
        }
        QVERIFY(QDir(InPlaceWriter::keptFolder()).isEmpty());
    }

    void encodingForSaving()
    {
        const int latin1 = encoding("ISO-8859-1"), cyrillic = encoding("windows-1251"), utf16 = encoding("UTF-16LE");
        const auto pick = &SubtitleFile::encodingForSaving;
        const std::optional<int> none;
        QCOMPARE(pick(none, 0, none), TextEncoding::Utf8);         // nothing known
        QCOMPARE(pick(none, latin1, none), latin1);                // the setting
        QCOMPARE(pick(utf16, latin1, none), utf16);                // the document's before the setting
        QCOMPARE(pick(utf16, latin1, cyrillic), cyrillic);         // the dialog's choice before both
        QCOMPARE(pick(utf16, 0, 0), utf16);                        // Automatic in the dialog is no choice
        QCOMPARE(pick(none, 77, none), int(TextEncoding::Utf8));   // an unknown setting is passed over
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleFile)
#include "tst_subtitlefile.moc"
