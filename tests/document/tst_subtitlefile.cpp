#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/SubtitleParser.h"

#include "EncodingSamples.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace EncodingSamples;

namespace {

int encoding(const char *name)
{
    const auto number = TextEncoding::numberForName(QString::fromLatin1(name));
    if (!number)
        qFatal("unknown encoding %s", name);
    return *number;
}

SubtitleList oneSubtitle(const QString &text)
{
    return {std::make_shared<Subtitle>(text, 1.0, 2.5)};
}

} // namespace

class tst_SubtitleFile : public QObject
{
    Q_OBJECT

private slots:
    // Read as the editor opens it (Automatic and with the encoding chosen), save in the
    // encoding a save would pick, and read back.
    void roundTripThroughRealFiles_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("sameBytes");
        QTest::newRow("UTF-8") << "french.UTF-8.srt" << encoding("UTF-8") << true;
        QTest::newRow("UTF-8 with mark") << "french.UTF-8-bom.srt" << encoding("UTF-8") << true;
        QTest::newRow("UTF-16LE with mark") << "japanese.UTF-16LE-bom.srt" << encoding("UTF-16LE") << true;
        QTest::newRow("UTF-16BE with mark") << "russian.UTF-16BE-bom.srt" << encoding("UTF-16BE") << true;
        QTest::newRow("windows-1252") << "french.WINDOWS-1252.srt" << encoding("windows-1252") << true;
        QTest::newRow("windows-1251") << "russian.WINDOWS-1251.srt" << encoding("windows-1251") << true;
        QTest::newRow("Shift_JIS") << "japanese.SHIFT_JIS.srt" << encoding("Shift_JIS") << true;
        QTest::newRow("ISO-8859-7") << "greek.ISO-8859-7.srt" << encoding("ISO-8859-7") << true;
    }
    void roundTripThroughRealFiles()
    {
        QFETCH(QString, fileName);
        QFETCH(int, chosen);
        QFETCH(bool, sameBytes);
        const QString path = samplePath(fileName);
        const QString expected = sourceText(fileName);

        const auto chosenRead = SubtitleFile::read(path, chosen);
        QVERIFY2(chosenRead, qPrintable(chosenRead ? QString() : chosenRead.error()));
        QCOMPARE(SubtitleParser::shared().serialize(chosenRead.value().subtitles), expected);
        QCOMPARE(chosenRead.value().encoding, chosen);

        const auto detectedRead = SubtitleFile::read(path, TextEncoding::Automatic);
        QVERIFY(detectedRead);
        QCOMPARE(SubtitleParser::shared().serialize(detectedRead.value().subtitles), expected);

        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.srt"));
        const int saving = SubtitleFile::encodingForSaving(detectedRead.value().encoding, 0);
        QCOMPARE(SubtitleFile::write(copy, detectedRead.value().subtitles, saving, detectedRead.value().format), std::nullopt);
        if (sameBytes)
            QCOMPARE(readAll(copy), readAll(path));
        const auto again = SubtitleFile::read(copy, TextEncoding::Automatic);
        QVERIFY(again);
        QCOMPARE(SubtitleParser::shared().serialize(again.value().subtitles), expected);
        QCOMPARE(again.value().encoding, saving);
    }

    // A file keeps its line endings and its byte-order mark (or its lack of one) when saved.
    void keepsLineEndingsAndMarksByteForByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("expectedEncoding");
        const QString lf = QStringLiteral("1\n00:00:01,000 --> 00:00:02,500\nH\u00e9 \u4e2d\n\n2\n00:00:03,000 --> 00:00:04,000\nB\n\n");
        const QString crlf = QString(lf).replace(u'\n', QStringLiteral("\r\n"));
        const auto bytes = [](const QString &text, int number, bool mark) {
            return TextEncoding::encode(text, number, mark).value();
        };
        QTest::newRow("UTF-8, CR LF, no mark") << bytes(crlf, TextEncoding::Utf8, false) << TextEncoding::Utf8;
        QTest::newRow("UTF-8, LF, mark") << bytes(lf, TextEncoding::Utf8, true) << TextEncoding::Utf8;
        QTest::newRow("UTF-16LE, CR LF, mark") << bytes(crlf, TextEncoding::Utf16LittleEndian, true) << TextEncoding::Utf16LittleEndian;
        QTest::newRow("UTF-16LE, no mark") << bytes(lf, TextEncoding::Utf16LittleEndian, false) << TextEncoding::Utf16LittleEndian;
        QTest::newRow("UTF-16BE, CR LF, no mark") << bytes(crlf, TextEncoding::Utf16BigEndian, false) << TextEncoding::Utf16BigEndian;
        QTest::newRow("UTF-32LE, mark") << bytes(lf, TextEncoding::Utf32LittleEndian, true) << TextEncoding::Utf32LittleEndian;
    }
    void keepsLineEndingsAndMarksByteForByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, expectedEncoding);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("in.srt"));
        QVERIFY(writeAll(path, bytes));
        const auto contents = SubtitleFile::read(path, TextEncoding::Automatic);
        QVERIFY2(contents, qPrintable(contents ? QString() : contents.error()));
        QCOMPARE(contents.value().encoding, expectedEncoding);
        QCOMPARE(contents.value().subtitles.first()->text, QStringLiteral("H\u00e9 \u4e2d"));
        const QString copy = dir.filePath(QStringLiteral("out.srt"));
        QCOMPARE(SubtitleFile::write(copy, contents.value().subtitles, contents.value().encoding, contents.value().format), std::nullopt);
        QCOMPARE(readAll(copy), bytes);
    }

    void readFailures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("message");
        QTest::newRow("malformed: the parser's message")
            << QByteArray("2\n00:00:01,000 --> 00:00:02,000\nHi\n") << 0 << "Error at line 0.\nInvalid index.";
        QTest::newRow("malformed timestamp")
            << QByteArray("1\n00:00:01,000 -> 00:00:02,000\nHi\n") << 0 << "Error at line 1.\nInvalid timestamp.";
        QTest::newRow("not decodable in the chosen encoding")
            << QByteArray("1\n00:00:01,000 --> 00:00:02,000\n\xFF\n") << encoding("UTF-8")
            << "The text is not valid UTF-8: the byte 0xFF at byte offset 32 is not a character in this encoding.";
        QTest::newRow("an encoding number nobody knows")
            << QByteArray("1\n") << 77 << "The text encoding number 77 is not known.";
    }
    void readFailures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, chosen);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.srt"));
        QVERIFY(writeAll(path, bytes));
        const auto contents = SubtitleFile::read(path, chosen);
        QVERIFY(!contents);
        QCOMPARE(contents.error(), message);
    }

    void refusesWhatIsNotAReadableFile()
    {
        QTemporaryDir dir;
        auto contents = SubtitleFile::read(dir.path(), 0);
        QVERIFY(!contents);
        QCOMPARE(contents.error(), QStringLiteral("The file could not be opened because it is a folder."));

        contents = SubtitleFile::read(dir.filePath(QStringLiteral("missing.srt")), 0);
        QVERIFY(!contents);
        QCOMPARE(contents.error(), QStringLiteral("The file could not be opened because it does not exist."));

        // sparse: costs no disk, and must be refused before any of it is read
        QFile huge(dir.filePath(QStringLiteral("huge.srt")));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(SubtitleFile::maximumSize + 1));
        huge.close();
        contents = SubtitleFile::read(huge.fileName(), 0);
        QVERIFY(!contents);
        QCOMPARE(contents.error(), QStringLiteral("The file could not be opened because it is larger than 256 MB."));
    }

    // Files over 16 MB are read in parts, their halves on two threads; what they hold
    // must read exactly as a small file's bytes do. Every cue takes four lines and the
    // same number of bytes, so that the halves meet at one of the middle cues.
    void largeFilesReadAsSmallOnes_data()
    {
        QTest::addColumn<QString>("defect");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("expected"); // count, encoding and line break, or the error
        QTest::newRow("clean") << "" << 0 << "250000 UTF-8 LF";
        QTest::newRow("CR LF after a mark") << "crlf" << 0 << "250000 UTF-8 CRLF mark";
        for (const int at : {125000, 125001, 125002})
            QTest::addRow("a number skipped at cue %d", at) << "skip" << at << QStringLiteral("Error at line %1.\nInvalid index.").arg(4 * at);
        QTest::newRow("bad timing far into the second half")
            << "timing" << 200000 << "Error at line 800001.\nInvalid timestamp.";
        QTest::newRow("a Latin-1 letter far into the second half") << "latin" << 200000 << "250000 windows-1252 LF";
    }

    void largeFilesReadAsSmallOnes()
    {
        QFETCH(QString, defect);
        QFETCH(int, at);
        QFETCH(QString, expected);
        const QByteArray lineBreak = defect == "crlf" ? "\r\n" : "\n";
        QByteArray bytes = defect == "crlf" ? "\xEF\xBB\xBF" : "";
        for (int i = 0; i < 250000; ++i) {
            const QByteArray time = SubtitleParser::shared().formatTime(i).toLatin1();
            bytes += QByteArray::number(defect == "skip" && i >= at ? i + 2 : i + 1).rightJustified(7, '0') + lineBreak;
            bytes += time + (defect == "timing" && i == at ? " -> " : " --> ") + time + lineBreak;
            const QByteArray text = "Line " + QByteArray::number(i).rightJustified(6, '0') + " of a subtitle long enough";
            bytes += (defect == "latin" && i == at ? QByteArray("caf\xE9") : text) + lineBreak + lineBreak;
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
        QCOMPARE(outcome, expected);
        if (contents)
            QCOMPARE(contents.value().subtitles.last()->text, QStringLiteral("Line 249999 of a subtitle long enough"));
        QVERIFY(bytes.size() > 16 << 20);
    }

    void unencodableCharacterLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encodingName");
        QTest::addColumn<QString>("message");
        QTest::newRow("euro sign in Latin-1") << QStringLiteral("5 €") << "ISO-8859-1"
                                              << "The character \"€\" (U+20AC) cannot be saved in ISO-8859-1.\nIt is in subtitle 1.";
        // UTF-8 is written while it is made: the text must be refused before the file is touched.
        QTest::newRow("lone surrogate in UTF-8") << QStringLiteral("a") + QChar(0xD83D) << "UTF-8"
                                                 << "The character U+D83D cannot be saved in UTF-8.\nIt is in subtitle 1.";
    }

    void unencodableCharacterLeavesTheFileAsItWas()
    {
        QFETCH(QString, text);
        QFETCH(QString, encodingName);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.srt"));
        QVERIFY(writeAll(path, "old content"));
        const auto error = SubtitleFile::write(path, oneSubtitle(text), encoding(encodingName.toLatin1()));
        QCOMPARE(error, message);
        QCOMPARE(readAll(path), QByteArray("old content"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.srt")});
    }

    void writeFailuresKeepWhatWasThere()
    {
        QTemporaryDir dir;
        const SubtitleList subtitles = oneSubtitle(QStringLiteral("Hi"));

        // a folder where the file should go stays a folder
        const QString folder = dir.filePath(QStringLiteral("folder.srt"));
        QVERIFY(QDir().mkdir(folder));
        QCOMPARE(SubtitleFile::write(folder, subtitles, TextEncoding::Utf8),
                 QStringLiteral("The file could not be saved because a folder has that name."));
        QVERIFY(QFileInfo(folder).isDir());

        // a full disk: the device cannot be replaced, and the failure is reported
        if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
            const auto error = SubtitleFile::write(QStringLiteral("/dev/full"), subtitles, TextEncoding::Utf8);
            QVERIFY(error);
            QVERIFY2(error->startsWith(QStringLiteral("The file could not be saved.\n")), qPrintable(*error));
            QVERIFY(!QFileInfo(QStringLiteral("/dev/full")).isFile());
        }

        // a folder the program may not write in (root may write anywhere: /proc refuses even root)
        QString readOnlyFolder = QStringLiteral("/proc");
        if (geteuid() != 0) {
            readOnlyFolder = dir.filePath(QStringLiteral("locked"));
            QVERIFY(QDir().mkdir(readOnlyFolder));
            QFile::setPermissions(readOnlyFolder, QFile::ReadOwner | QFile::ExeOwner);
        }
        const auto error = SubtitleFile::write(readOnlyFolder + QStringLiteral("/new.srt"), subtitles, TextEncoding::Utf8);
        QVERIFY(error);
        QVERIFY2(error->startsWith(QStringLiteral("The file could not be saved.\n")), qPrintable(*error));
        QVERIFY(!QFileInfo::exists(readOnlyFolder + QStringLiteral("/new.srt")));
    }

    void aSaveKeepsWhoMayReadTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shared.srt"));
        QVERIFY(!SubtitleFile::write(path, oneSubtitle(QStringLiteral("first")), TextEncoding::Utf8));
        const QByteArray name = QFile::encodeName(path);
        // Another user's file in a shared folder, group-writable with its set-group-id bit.
        const bool root = geteuid() == 0;
        if (root)
            QVERIFY(::chown(name.constData(), 4321, 4322) == 0);
        QVERIFY(::chmod(name.constData(), 02664) == 0);
        const bool attributes = ::setxattr(name.constData(), "user.origin", "cuewright", 9, 0) == 0;
        struct stat before {};
        QVERIFY(::stat(name.constData(), &before) == 0);

        QVERIFY(!SubtitleFile::write(path, oneSubtitle(QStringLiteral("second")), TextEncoding::Utf8));
        struct stat after {};
        QVERIFY(::stat(name.constData(), &after) == 0);
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
        QCOMPARE(after.st_gid, before.st_gid);
        if (root)
            QCOMPARE(after.st_uid, before.st_uid);
        if (attributes) {
            char value[16] = {};
            QCOMPARE(::getxattr(name.constData(), "user.origin", value, sizeof value), ssize_t(9));
            QCOMPARE(QByteArray(value), QByteArray("cuewright"));
        }
    }

    void aNameNearTheLengthLimitSavesAgain()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(251, u'n') + QStringLiteral(".srt"));
        QVERIFY(!SubtitleFile::write(path, oneSubtitle(QStringLiteral("first")), TextEncoding::Utf8));
        QVERIFY(!SubtitleFile::write(path, oneSubtitle(QStringLiteral("second")), TextEncoding::Utf8));
        const auto contents = SubtitleFile::read(path, TextEncoding::Utf8);
        QVERIFY(contents);
        QCOMPARE(contents.value().subtitles.first()->text, QStringLiteral("second"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary left
    }

    void encodingForSaving_data()
    {
        QTest::addColumn<std::optional<int>>("document");
        QTest::addColumn<int>("setting");
        QTest::addColumn<std::optional<int>>("dialog");
        QTest::addColumn<int>("expected");
        const int latin1 = encoding("ISO-8859-1");
        const int cyrillic = encoding("windows-1251");
        const int utf16 = encoding("UTF-16LE");
        QTest::newRow("nothing known: UTF-8") << std::optional<int>() << 0 << std::optional<int>() << TextEncoding::Utf8;
        QTest::newRow("the setting") << std::optional<int>() << latin1 << std::optional<int>() << latin1;
        QTest::newRow("the document's before the setting") << std::optional(utf16) << latin1 << std::optional<int>() << utf16;
        // the mended fault: a choice in the dialog was ignored for a detected document
        QTest::newRow("the dialog's choice before the document's")
            << std::optional(utf16) << latin1 << std::optional(cyrillic) << cyrillic;
        QTest::newRow("Automatic in the dialog is no choice")
            << std::optional(utf16) << 0 << std::optional(0) << utf16;
        QTest::newRow("an unknown setting is passed over") << std::optional<int>() << 77 << std::optional<int>() << TextEncoding::Utf8;
    }
    void encodingForSaving()
    {
        QFETCH(std::optional<int>, document);
        QFETCH(int, setting);
        QFETCH(std::optional<int>, dialog);
        QFETCH(int, expected);
        QCOMPARE(SubtitleFile::encodingForSaving(document, setting, dialog), expected);
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleFile)
#include "tst_subtitlefile.moc"
