#include "spelling/PersonalDictionary.h"
#include "spelling/Spelling.h"

#include "EncodingSamples.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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
        Spelling spelling;
        QVERIFY(spelling.setLanguage(QStringLiteral("xx_TEST")));
        QStringList found;
        for (const Spelling::Range &range : spelling.misspelledWords(text))
            found << text.mid(range.start, range.length);
        QCOMPARE(found, misspelt);
    }

    // A word added is known at once and at the next start. A crash while the word list
    // was written leaves it under a temporary name: adding a word clears one abandoned
    // long ago, and leaves no file of its own.
    void suggestsAndLearns()
    {
        QCOMPARE(Spelling::availableLanguages(), QStringList{QStringLiteral("xx_TEST")});
        Spelling spelling;
        QVERIFY(!spelling.setLanguage(QStringLiteral("zz_NONE"))); // no such dictionary
        QVERIFY(!spelling.isEnabled());
        QVERIFY(spelling.setLanguage(QStringLiteral("xx_TEST")));
        QVERIFY(EncodingSamples::touch(m_dir.filePath(QStringLiteral("words.txt.new-aB3dE6")), QDateTime::currentDateTimeUtc().addDays(-1)));
        QVERIFY(spelling.suggestions(QStringLiteral("wrold")).contains(QStringLiteral("world")));
        QVERIFY(!spelling.isCorrect(QStringLiteral("Cuewright")));
        QSignalSpy changed(&spelling, &Spelling::changed);
        QVERIFY(spelling.addToDictionary(QStringLiteral("Cuewright")));
        QCOMPARE(changed.count(), 1);
        QVERIFY(spelling.isCorrect(QStringLiteral("Cuewright")));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("words.txt")});
        // Kept for the next start.
        Spelling::setPersonalDictionaryPath(m_dir.filePath(QStringLiteral("words.txt")));
        QVERIFY(spelling.isCorrect(QStringLiteral("Cuewright")));
    }

    // What may be found under the word list's name. A pipe would block the window and a
    // device never end; they and a file too large are neither read nor replaced. A link
    // to a word list is read, and replaced by the program's own file when a word is
    // added: the file it pointed to is not written into.
    void aWordListIsReadOnlyFromARegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("readable");
        QTest::newRow("a pipe") << "pipe" << false;
        QTest::newRow("a link to an endless device") << "zero" << false;
        QTest::newRow("too large") << "large" << false;
        QTest::newRow("a link to another file") << "link" << true;
    }

    void aWordListIsReadOnlyFromARegularFile()
    {
        QFETCH(QString, kind);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("words.txt"));
        const QString other = dir.filePath(QStringLiteral("other.txt"));
        QVERIFY(EncodingSamples::writeAll(other, "Zorblat\n"));
        if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("zero"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(other, path));
        else
            QVERIFY(QFile::resize(other, PersonalDictionary::maximumSize + 1) && QFile::rename(other, path));

        PersonalDictionary dictionary(path);
        QCOMPARE(dictionary.contains(QStringLiteral("Zorblat")), readable);
        QCOMPARE(dictionary.add(QStringLiteral("Cuewright")).hasValue(), readable);
        QCOMPARE(PersonalDictionary(path).contains(QStringLiteral("Cuewright")), readable);
        if (kind == QLatin1String("link")) {
            QVERIFY(!QFileInfo(path).isSymLink());
            QVERIFY(PersonalDictionary(path).contains(QStringLiteral("Zorblat")));
            QVERIFY(!PersonalDictionary(other).contains(QStringLiteral("Cuewright")));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_Spelling)
#include "tst_spelling.moc"
