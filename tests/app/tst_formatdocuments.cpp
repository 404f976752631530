#include "document/Document.h"

#include "EbuStlFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A document read from a file in another format than SRT, saved as another format (what
// its writer keeps is the format tests' business; recovered work is the controller's).
class tst_FormatDocuments : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static QByteArray ass(const QByteArray &secondText)
    {
        return "[Script Info]\nScriptType: v4.00+\nPlayResX: 1280\nPlayResY: 720\n\n[V4+ Styles]\n"
               "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, "
               "Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, "
               "MarginR, MarginV, Encoding\n"
               "Style: Sign,DejaVu Serif,40,&H0000FFFF,&H000000FF,&H00400000,&H80000000,-1,0,0,0,100,100,0,0,1,2,0,8,20,20,40,1\n\n"
               "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
               "Comment: 0,0:00:00.00,0:00:20.00,Sign,,0,0,0,,a note\n"
               "Dialogue: 0,0:00:00.50,0:00:02.00,Sign,Anna,0,0,0,,{\\fad(300,300)}THE HOUSE\n"
               "Dialogue: 1,0:00:03.00,0:00:04.00,Sign,Ben,10,10,10,,"
            + secondText + "\n";
    }

    QString write(const QByteArray &bytes, const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    // Opened as its shape shows, whatever look-alike lines it holds, and saved as it was:
    // an SRT subtitle reading "[Events]" took the file for a script, so that Save wrote
    // a script's lines into it; a long comment before TTML's <tt> hid it.
    void openedAsItsShapeShowsAndSavedAsItWas_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<qsizetype>("count");
        QTest::newRow("an SRT subtitle reading [Events]")
            << "events.srt" << QByteArray("1\n00:00:01,000 --> 00:00:02,000\n[Events]\n\n2\n00:00:03,000 --> 00:00:04,000\nFormat: x\n\n")
            << int(SubtitleFormat::Srt) << qsizetype(2);
        QTest::newRow("TTML behind a 70 KB comment")
            << "comment.ttml"
            << "<?xml version=\"1.0\"?>\n<!--" + QByteArray(70 * 1024, 'x')
                   + "-->\n<tt xmlns=\"http://www.w3.org/ns/ttml\"><body><div><p begin=\"1s\" end=\"2s\">A</p></div></body></tt>\n"
            << int(SubtitleFormat::Ttml) << qsizetype(1);
        QTest::newRow("WebVTT with Windows line ends")
            << "crlf.vtt" << QByteArray("WEBVTT\r\n\r\n00:01.000 --> 00:02.000\r\na\r\nb\r\n") << int(SubtitleFormat::WebVtt) << qsizetype(1);
        // Binary, with bytes that read as a text of some encoding (0x0A, 0x8F…) and a
        // count that is wrong.
        QTest::newRow("EBU-STL named .txt")
            << "teletext.txt"
            << EbuStlFile().add({.number = 1, .text = "\x0D\x0BOne\x0A\x0A\x8A\x8A\x0D\x0BTwo"}).claiming(7).bytes()
            << int(SubtitleFormat::EbuStl) << qsizetype(1);
    }

    // An EBU-STL file's programme start is the document's timecode offset, which the
    // panes show its time codes with, and its frame rate the document's while none is known.
    void ebuStlStartIsTheTimecodeOffset()
    {
        const QString path = write(EbuStlFile("STL30.01", "00", '1', "10000000")
                                       .add({.number = 1, .in = {10, 0, 1, 15}, .out = {10, 0, 2, 0}, .text = "a"})
                                       .bytes(),
                                   QStringLiteral("start.stl"));
        Document document;
        QVERIFY(document.read(path));
        document.attachController();
        QCOMPARE(document.timecodeOffset(), 36000.0);
        QCOMPARE(document.frameRate(), 30.0);
        QCOMPARE(document.subtitleController().subtitles().first()->start, 1.5);
    }

    void openedAsItsShapeShowsAndSavedAsItWas()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(qsizetype, count);
        const QString path = write(bytes, name);
        Document document;
        const auto opened = document.read(path);
        QVERIFY2(opened, opened ? "" : qPrintable(opened.error()));
        document.attachController();
        QCOMPARE(int(document.subtitleFormat()), format);
        QCOMPARE(document.subtitleController().subtitles().size(), count);
        QVERIFY(document.write(path));
        QCOMPARE(read(path), bytes);
    }

    // Saved as SRT, the document is an SRT document: the next save writes SRT again, not
    // the ASS file's styles into an SRT name.
    void savedAsAnotherFormatBecomesIt()
    {
        const QString path = write(ass("Knock."), QStringLiteral("other.ass"));
        Document document;
        QVERIFY(document.read(path));
        document.attachController();
        QCOMPARE(document.subtitleFormat(), SubtitleFormat::Ass);
        QVERIFY(document.write(path)); // Save keeps the file's format and all it holds
        QCOMPARE(read(path), ass("Knock."));
        const QString srt = m_dir.filePath(QStringLiteral("other.srt"));
        QVERIFY(document.write(srt, std::nullopt, std::nullopt, SubtitleFormat::Srt));
        QCOMPARE(document.subtitleFormat(), SubtitleFormat::Srt);
        QCOMPARE(document.formatKeep(), nullptr);
        document.subtitleController().setText(QStringLiteral("Knock!"), 1);
        QVERIFY(document.write(srt));
        QCOMPARE(read(srt), QByteArray("1\n00:00:00,500 --> 00:00:02,000\n{\\fad(300,300)}THE HOUSE\n\n"
                                       "2\n00:00:03,000 --> 00:00:04,000\nKnock!\n\n"));
    }
};

QTEST_MAIN(tst_FormatDocuments)
#include "tst_formatdocuments.moc"
