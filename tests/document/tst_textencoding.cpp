#include "document/TextEncoding.h"

#include "EncodingSamples.h"

#include <QSet>
#include <QTest>

using namespace EncodingSamples;

class tst_TextEncoding : public QObject
{
    Q_OBJECT

private slots:
    // The numbers are kept in the settings: each names one encoding, and names find it.
    void listHasUtf8FirstAndDistinctNumbersAndNames()
    {
        const auto &all = TextEncoding::all();
        QVERIFY(all.size() > 200);
        QCOMPARE(all.first().number, TextEncoding::Utf8);
        QSet<int> numbers;
        QSet<QString> names;
        for (const auto &entry : all) {
            numbers.insert(entry.number);
            names.insert(entry.displayName);
            QCOMPARE(TextEncoding::numberForName(entry.displayName), entry.number);
        }
        QCOMPARE(numbers.size(), all.size());
        QCOMPARE(names.size(), all.size());
        QVERIFY(!numbers.contains(TextEncoding::Automatic));
    }

    void numberForName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("ICU's loose spelling") << "utf8" << 106;
        QTest::newRow("upper case, as uchardet spells it") << "WINDOWS-1251" << 2251;
        QTest::newRow("an alias") << "cp1251" << 2251;
        QTest::newRow("surrounding spaces") << "  Shift_JIS " << 17;
        QTest::newRow("unknown") << "no-such-encoding" << -1;
        QTest::newRow("empty (ICU would give its default)") << "" << -1;
        QTest::newRow("Automatic is no encoding") << "Automatic" << -1;
    }
    void numberForName()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QCOMPARE(TextEncoding::numberForName(name).value_or(-1), number);
    }

    // Every sample decodes to exactly the text it was made from.
    void detectsSamples_data()
    {
        QTest::addColumn<QString>("fileName");
        for (const QString &fileName : sampleFileNames())
            QTest::newRow(qPrintable(fileName)) << fileName;
    }
    void detectsSamples()
    {
        QFETCH(QString, fileName);
        const auto detected = TextEncoding::decodeDetectingEncoding(readAll(samplePath(fileName)));
        QVERIFY2(detected, qPrintable(detected ? QString() : detected.error().message));
        if (fileName == QLatin1String("german.ISO-8859-15.srt"))
            QEXPECT_FAIL("", "the euro sign of ISO-8859-15 is the byte of Latin-1's currency sign: only the user can tell", Continue);
        QCOMPARE(detected.value().text, sourceText(fileName));
    }

    // Unicode text with and without its byte-order mark: detected as what it is, read
    // without the mark when its encoding is chosen, and written with the usual mark.
    void unicodeFormsWithAndWithoutMarks_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("mark");
        using T = TextEncoding;
        QTest::newRow("UTF-32LE with mark") << T::Utf32LittleEndian << true;
        QTest::newRow("UTF-32BE with mark") << T::Utf32BigEndian << true;
        QTest::newRow("UTF-16LE with mark") << T::Utf16LittleEndian << true;
        QTest::newRow("UTF-16BE with mark") << T::Utf16BigEndian << true;
        QTest::newRow("UTF-8 with mark") << T::Utf8 << true;
        QTest::newRow("UTF-16LE without mark") << T::Utf16LittleEndian << false;
        QTest::newRow("UTF-16BE without mark") << T::Utf16BigEndian << false;
        QTest::newRow("UTF-8 without mark") << T::Utf8 << false;
    }
    void unicodeFormsWithAndWithoutMarks()
    {
        QFETCH(int, number);
        QFETCH(bool, mark);
        const QString text = QStringLiteral("1\n00:00:01,000 --> 00:00:02,500\nH\u00e9 \u4e2d \U0001F600\n\n");
        const QByteArray bytes = TextEncoding::encode(text, number, mark).value();
        const auto detected = TextEncoding::decodeDetectingEncoding(bytes);
        QVERIFY(detected);
        QCOMPARE(detected.value().encoding, number);
        QCOMPARE(detected.value().text, text);
        QCOMPARE(TextEncoding::decode(bytes, number).value(), text);
        if (mark == (number != TextEncoding::Utf8)) // what a new file gets: a mark for UTF-16 and UTF-32 only
            QCOMPARE(TextEncoding::encode(text, number).value(), bytes);
    }

    // Bytes that cannot be read, or text that cannot be saved, in an encoding: the message
    // says where. Bytes are written as Latin-1 text.
    void conversionFailures_data()
    {
        QTest::addColumn<bool>("saving");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("message"); // or a part of it
        const auto row = [](const char *name, bool saving, const QString &input, const char *encoding, const char *message) {
            QTest::newRow(name) << saving << input << QString::fromLatin1(encoding) << QString::fromUtf8(message);
        };
        row("an invalid UTF-8 byte", false, QStringLiteral("1\n00:00:01,000 --> 00:00:02,000\nCaf\u00E9 noir\n"), "UTF-8",
            "The text is not valid UTF-8: the byte 0xE9 at byte offset 35 is not a character in this encoding.");
        row("text ending inside a character", false, QStringLiteral("Caf\u00C3"), "UTF-8",
            "The text is not valid UTF-8: it ends in the middle of a character (byte offset 3).");
        row("a byte unassigned in Shift_JIS", false, QStringLiteral("ok\u00A0"), "Shift_JIS",
            "The text is not valid Shift_JIS: the byte 0xA0 at byte offset 2 is not a character in this encoding.");
        row("an overlong UTF-8 form", false, QStringLiteral("a\u00C0\u0080"), "UTF-8", "at byte offset 1");
        row("an encoded surrogate", false, QStringLiteral("a\u00ED\u00A0\u0080"), "UTF-8", "at byte offset 1");
        row("UTF-8 beyond U+10FFFF", false, QStringLiteral("a\u00F4\u0090\u0080\u0080"), "UTF-8", "at byte offset 1");
        row("a euro in Latin-1", true, QStringLiteral("Price: 5 €"), "ISO-8859-1",
            "The character \"€\" (U+20AC) cannot be saved in ISO-8859-1.");
        row("an emoji outside the BMP", true, QStringLiteral("Hi 😀"), "windows-1252",
            "The character \"😀\" (U+1F600) cannot be saved in windows-1252.");
        row("a lone surrogate", true, QString(QChar(0xD800)), "UTF-8", "The character U+D800 cannot be saved in UTF-8.");
    }
    void conversionFailures()
    {
        QFETCH(bool, saving);
        QFETCH(QString, input);
        QFETCH(QString, encoding);
        QFETCH(QString, message);
        const int number = *TextEncoding::numberForName(encoding);
        const auto encoded = TextEncoding::encode(input, number);
        const auto decoded = TextEncoding::decode(input.toLatin1(), number);
        QVERIFY(saving ? !encoded : !decoded);
        const QString error = saving ? encoded.error().message : decoded.error().message;
        QVERIFY2(error.contains(message), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_TextEncoding)
#include "tst_textencoding.moc"
