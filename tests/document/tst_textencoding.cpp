#include "document/TextEncoding.h"

#include <QSet>
#include <QTest>

class tst_TextEncoding : public QObject
{
    Q_OBJECT

private slots:
    // The numbers are kept in the settings: each names one encoding, and its name (shown
    // in menus, so no two alike) finds it.
    void listHasUtf8FirstAndDistinctNumbersAndNames()
    {
        const auto &all = TextEncoding::all();
        QVERIFY(all.size() > 200);
        QCOMPARE(all.first().number, TextEncoding::Utf8);
        QSet<int> numbers;
        for (const auto &entry : all) {
            numbers.insert(entry.number);
            QCOMPARE(TextEncoding::numberForName(entry.displayName), entry.number);
        }
        QCOMPARE(numbers.size(), all.size());
        QVERIFY(!numbers.contains(TextEncoding::Automatic));
    }

    void numberForName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("ICU's loose spelling") << "utf8" << 106;
        QTest::newRow("upper case, as uchardet spells it") << "WINDOWS-1251" << 2251;
        QTest::newRow("an alias") << "cp1251" << 2251;
        QTest::newRow("the last Windows code page") << "windows-1258" << 2258;
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

    // Short subtitle files in their languages' legacy encodings (our own lines): each is
    // read right, or said to be unsure with the right reading among those it offers.
    void detectsShortLegacyTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoding");
        const auto srt = [](const char *first, const char *second) {
            return QStringLiteral("1\n00:00:01,000 --> 00:00:03,000\n%1\n\n2\n00:00:03,500 --> 00:00:05,000\n%2\n")
                .arg(QString::fromUtf8(first), QString::fromUtf8(second));
        };
        const struct { const char *language; QString text; const char *encodings; } texts[] = {
            {"Russian", srt("Где ты был всю ночь?", "Дома. Спал."), "windows-1251 KOI8-R ISO-8859-5 IBM866"},
            {"Russian, one word", srt("Спасибо.", "Пока!"), "windows-1251 KOI8-R ISO-8859-5"},
            {"Russian, shouted", srt("СТОЙ! НЕ СТРЕЛЯЙ!", "Ладно."), "windows-1251 KOI8-R"},
            {"Ukrainian", srt("Де ти був цілу ніч?", "Вдома. Їв і спав."), "windows-1251 KOI8-U"},
            {"Greek", srt("Πού ήσουν όλη τη νύχτα;", "Στο σπίτι. Κοιμόμουν."), "windows-1253 ISO-8859-7"},
            {"Greek, one word", srt("Ευχαριστώ.", "Αντίο!"), "windows-1253 ISO-8859-7"},
            {"Hebrew", srt("איפה היית כל הלילה?", "בבית. ישנתי."), "windows-1255 ISO-8859-8"},
            {"Hebrew, one word", srt("תודה.", "שלום!"), "windows-1255 ISO-8859-8"},
            {"Thai", srt("เมื่อคืนคุณไปไหนมา", "อยู่บ้าน นอนหลับ"), "TIS-620 windows-874"},
            {"Thai, one word", srt("ขอบคุณ", "ลาก่อน"), "TIS-620"},
            {"Polish", srt("Gdzie byłeś całą noc?", "W domu. Spałem, jak zwykle."), "windows-1250 ISO-8859-2"},
            {"German", srt("Wo warst du? Ich war außer mir.", "Es tut mir leid, Mädchen."), "windows-1252 ISO-8859-15"},
            {"French", srt("Où étais-tu toute la nuit ?", "À la maison. Je dormais, voilà."), "windows-1252 ISO-8859-1"},
        };
        // Each also cut to its first subtitle: the shorter, the harder.
        for (const auto &row : texts) {
            for (const QString &encoding : QString::fromLatin1(row.encodings).split(u' ')) {
                QTest::addRow("%s in %s", row.language, qPrintable(encoding)) << row.text << encoding;
                QTest::addRow("%s in %s, one subtitle", row.language, qPrintable(encoding))
                    << row.text.section(QStringLiteral("\n\n"), 0, 0) + u'\n' << encoding;
            }
        }
    }
    void detectsShortLegacyTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, encoding);
        const auto bytes = TextEncoding::encode(text, *TextEncoding::numberForName(encoding));
        QVERIFY(bytes);
        const auto detected = TextEncoding::decodeDetectingEncoding(bytes.value());
        QVERIFY(detected);
        if (detected.value().text == text)
            return;
        QVERIFY2(!detected.value().sure, qPrintable(TextEncoding::name(detected.value().encoding)));
        const QList<TextEncoding::Considered> &considered = detected.value().considered;
        QVERIFY(std::any_of(considered.cbegin(), considered.cend(),
                            [&](const TextEncoding::Considered &other) {
                                const auto reading = TextEncoding::decode(bytes.value(), other.encoding);
                                return reading && reading.value() == text;
                            }));
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
        row("text ending inside a character", false, QStringLiteral("Caf\u00C3"), "UTF-8",
            "The text is not valid UTF-8: it ends in the middle of a character (byte offset 3).");
        row("a byte unassigned in Shift_JIS", false, QStringLiteral("ok\u00A0"), "Shift_JIS",
            "The text is not valid Shift_JIS: the byte 0xA0 at byte offset 2 is not a character in this encoding.");
        row("an overlong UTF-8 form", false, QStringLiteral("a\u00C0\u0080"), "UTF-8", "at byte offset 1");
        row("an encoded surrogate", false, QStringLiteral("a\u00ED\u00A0\u0080"), "UTF-8", "at byte offset 1");
        row("UTF-8 beyond U+10FFFF", false, QStringLiteral("a\u00F4\u0090\u0080\u0080"), "UTF-8", "at byte offset 1");
        row("an emoji outside the BMP", true, QStringLiteral("Hi 😀"), "windows-1252",
            "The character \"😀\" (U+1F600) cannot be saved in windows-1252.");
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
