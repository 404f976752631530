#include "spelling/Spelling.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The Hunspell wrapper over a tiny dictionary: cat(s), dog(s), hello, world, über.
class tst_Spelling : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("CUEWRIGHT_DICTIONARY_PATH", qgetenv("CUEWRIGHT_TEST_DATA") + "/spelling");
        QVERIFY(m_dir.isValid());
        Spelling::setPersonalDictionaryPath(m_dir.filePath(QStringLiteral("words.txt")));
    }

    void misspelledWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("misspelt");
        QTest::newRow("all known, an affix too") << "Hello cats and dogs" << QStringList{"and"};
        QTest::newRow("a typo") << "helo world" << QStringList{"helo"};
        QTest::newRow("non-ASCII letters") << "über ueber" << QStringList{"ueber"};
        QTest::newRow("tags are not words") << "<i>hello</i> {\\an8}world <font color=\"red\">cat</font>"
                                            << QStringList{};
        QTest::newRow("numbers are not words") << "cat 42 3rd" << QStringList{};
        QTest::newRow("line breaks separate words") << "hello\nwrld" << QStringList{"wrld"};
    }

    void misspelledWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, misspelt);
        QCOMPARE(Spelling::availableLanguages(), QStringList{QStringLiteral("xx_TEST")});
        Spelling spelling;
        QVERIFY(spelling.setLanguage(QStringLiteral("zz_NONE")).has_value()); // no such dictionary
        QVERIFY(!spelling.isEnabled());
        QCOMPARE(spelling.setLanguage(QStringLiteral("xx_TEST")), std::nullopt);
        QStringList found;
        for (const Spelling::Range &range : spelling.misspelledWords(text))
            found << text.mid(range.start, range.length);
        QCOMPARE(found, misspelt);
    }

    void suggestsAndLearns()
    {
        Spelling spelling;
        spelling.setLanguage(QStringLiteral("xx_TEST"));
        QVERIFY(spelling.suggestions(QStringLiteral("wrold")).contains(QStringLiteral("world")));
        QVERIFY(!spelling.isCorrect(QStringLiteral("Cuewright")));
        QSignalSpy changed(&spelling, &Spelling::changed);
        QCOMPARE(spelling.addToDictionary(QStringLiteral("Cuewright")), std::nullopt);
        QCOMPARE(changed.count(), 1);
        QVERIFY(spelling.isCorrect(QStringLiteral("Cuewright")));
        // Kept for the next start.
        Spelling::setPersonalDictionaryPath(m_dir.filePath(QStringLiteral("words.txt")));
        QVERIFY(spelling.isCorrect(QStringLiteral("Cuewright")));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_Spelling)
#include "tst_spelling.moc"
