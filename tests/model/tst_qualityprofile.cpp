#include "model/quality/QualityCheck.h"
#include "model/quality/QualityProfile.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using Problems = QualityCheck::Problems;
Q_DECLARE_METATYPE(Problems)
Q_DECLARE_METATYPE(QualityLimits::ReadingUnit)

namespace {

QByteArray profileJson(const QByteArray &members)
{
    return R"({"format": "cuewright-quality-profile", "name": "P")" + (members.isEmpty() ? "" : ", " + members) + "}";
}

} // namespace

class tst_QualityProfile : public QObject
{
    Q_OBJECT

private slots:
    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("content"); // written to a file unless `path` is given
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        const QString none;
        QTest::newRow("not JSON") << QByteArray("name = x") << none << "not valid JSON";
        QTest::newRow("an array") << QByteArray("[1, 2]") << none << "not a quality profile";
        QTest::newRow("wrong format key") << QByteArray(R"({"format": "other", "name": "P"})") << none << "not a quality profile";
        QTest::newRow("missing name") << QByteArray(R"({"format": "cuewright-quality-profile"})") << none << "\"name\"";
        QTest::newRow("name a number") << QByteArray(R"({"format": "cuewright-quality-profile", "name": 5})") << none << "\"name\"";
        QTest::newRow("speed a string") << profileJson(R"("readingSpeed": "17")") << none << "\"readingSpeed\" must be a number";
        QTest::newRow("speed zero") << profileJson(R"("readingSpeed": 0)") << none << "\"readingSpeed\" must be from 1 to 1000";
        QTest::newRow("lines a fraction") << profileJson(R"("maxLines": 2.5)") << none << "\"maxLines\" must be a whole number";
        QTest::newRow("frame rate huge") << profileJson(R"("frameRate": 1e308)") << none << "\"frameRate\" must be from";
        QTest::newRow("end gap outside the zone") << profileJson(R"("shotChangeZoneFrames": 4, "endBeforeShotChangeFrames": 4)")
                                                  << none << "\"endBeforeShotChangeFrames\"";
        QTest::newRow("longest below shortest") << profileJson(R"("minDuration": 5, "maxDuration": 2)") << none << "\"maxDuration\"";
        QTest::newRow("unknown characters") << profileJson(R"("characters": "vowels")") << none << "\"characters\"";
        QTest::newRow("unknown reading unit") << profileJson(R"("readingUnit": "cps")") << none
                                              << "\"readingUnit\" must be one of \"charactersPerSecond\", \"wordsPerMinute\"";
        QTest::newRow("unknown language unit") << profileJson(R"("languages": {"ja": {"readingUnit": 1}})") << none
                                               << "\"languages.ja.readingUnit\" must be one of";
        QTest::newRow("languages a list") << profileJson(R"("languages": ["ja"])") << none << "\"languages\" must be an object";
        QTest::newRow("bad language code") << profileJson(R"("languages": {"../etc": {}})") << none << "not a language code";
        QTest::newRow("upper-case language") << profileJson(R"("languages": {"JA": {}})") << none << "not a language code";
        QTest::newRow("language not an object") << profileJson(R"("languages": {"ja": 4})") << none << "\"languages.ja\" must be an object";
        QTest::newRow("nested junk") << profileJson(R"("languages": {"ja": {"maxLines": {"a": [1]}}})") << none
                                     << "\"languages.ja.maxLines\" must be a number";
        QTest::newRow("deeply nested") << QByteArray(100000, '[') << none << "not valid JSON";
        QTest::newRow("2 MB") << profileJson("\"pad\": \"" + QByteArray(2 << 20, 'x') + "\"") << none << "too large";
        QTest::newRow("a device") << QByteArray() << QStringLiteral("/dev/zero") << "not a file";
        QTest::newRow("a folder") << QByteArray() << QStringLiteral("/tmp") << "not a file";
        QTest::newRow("no such file") << QByteArray() << QStringLiteral("/nonexistent/p.json") << "cannot be read";
    }

    void refusedFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, path);
        QFETCH(QString, message);
        QTemporaryDir dir;
        if (path.isEmpty()) {
            path = dir.filePath(QStringLiteral("p.json"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const auto read = QualityProfile::readFile(path);
        QVERIFY(!read);
        QVERIFY2(read.error().contains(message), qPrintable(read.error()));
    }

    void everyBuiltInReadsBackAsWritten()
    {
        const QList<QualityProfile> builtIns = QualityProfile::builtIns();
        QCOMPARE(builtIns.size(), 16);
        for (const QualityProfile &profile : builtIns) {
            const auto read = QualityProfile::fromJson(profile.toJson());
            QVERIFY2(read, qPrintable(profile.id));
            QualityProfile expected = profile;
            expected.id.clear();
            expected.isBuiltIn = false;
            QCOMPARE(read.value().toJson(), expected.toJson());
            QVERIFY(read.value() == expected);
        }
        QCOMPARE(QualityProfile::builtInNamed(QualityProfile::defaultId())->limits, QualityLimits());
    }

    // A value the editor let through unclamped must still make a file that reads back.
    void outOfRangeLanguageIsWrittenReadable()
    {
        QualityProfile profile;
        profile.name = QStringLiteral("P");
        profile.languages[QStringLiteral("ja")] = {0, 0, 1000};
        const auto read = QualityProfile::fromJson(profile.toJson());
        QVERIFY2(read, qPrintable(read ? QString() : read.error()));
        QCOMPARE(read.value().languages.at(QStringLiteral("ja")), (QualityProfile::LanguageLimits{1, 1, 100}));
    }

    // A profile written before words were counted reads as characters a second; one that
    // counts words anywhere is of version 2, which earlier programs refuse rather than
    // read its 180 words a minute as 180 characters a second.
    void readingUnitIsStored_data()
    {
        QTest::addColumn<QByteArray>("members");
        QTest::addColumn<QualityLimits::ReadingUnit>("unit");
        QTest::addColumn<QualityLimits::ReadingUnit>("japanese");
        QTest::addColumn<int>("version"); // written
        using Unit = QualityLimits::ReadingUnit;
        QTest::newRow("no unit: characters a second, version 1")
            << QByteArray(R"("version": 1, "readingSpeed": 17, "languages": {"ja": {"readingSpeed": 4}})")
            << Unit::CharactersPerSecond << Unit::CharactersPerSecond << 1;
        QTest::newRow("words, a language without a unit takes them")
            << QByteArray(R"("readingUnit": "wordsPerMinute", "readingSpeed": 160, "languages": {"ja": {"readingSpeed": 40}})")
            << Unit::WordsPerMinute << Unit::WordsPerMinute << 2;
        QTest::newRow("words, a language of characters")
            << QByteArray(R"("readingUnit": "wordsPerMinute", "languages": {"ja": {"readingUnit": "charactersPerSecond"}})")
            << Unit::WordsPerMinute << Unit::CharactersPerSecond << 2;
        QTest::newRow("characters, a language of words")
            << QByteArray(R"("languages": {"ja": {"readingUnit": "wordsPerMinute"}})") << Unit::CharactersPerSecond
            << Unit::WordsPerMinute << 2;
    }

    void readingUnitIsStored()
    {
        QFETCH(QByteArray, members);
        QFETCH(QualityLimits::ReadingUnit, unit);
        QFETCH(QualityLimits::ReadingUnit, japanese);
        QFETCH(int, version);
        const auto read = QualityProfile::fromJson(profileJson(members));
        QVERIFY2(read, qPrintable(read ? QString() : read.error()));
        QCOMPARE(read.value().limits.readingUnit, unit);
        QCOMPARE(read.value().limitsFor(QStringLiteral("ja")).readingUnit, japanese);
        const QByteArray written = read.value().toJson();
        QCOMPARE(QJsonDocument::fromJson(written)["version"].toInt(), version);
        QVERIFY(QualityProfile::fromJson(written).value() == read.value());
    }

    void limitsApplied_data()
    {
        QTest::addColumn<QByteArray>("profile"); // a built-in's id, or a profile's members
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("duration");
        QTest::addColumn<Problems>("problems");
        const Problems none;
        const QString twenty = QStringLiteral("Twenty characters ok"); // 20 with 2 spaces, 18 letters
        QTest::newRow("adult: 20 in 1 s is at the limit") << QByteArray("adult-24") << "" << twenty << 1.0 << none;
        QTest::newRow("children: 20 in 1.5 s is too fast") << QByteArray("children-25") << "" << twenty << 1.5
                                                         << Problems(QualityCheck::TooFast);
        QTest::newRow("adult Japanese: 5 per second too fast") << QByteArray("adult-24") << "ja" << QStringLiteral("こんにちは")
                                                               << 1.0 << Problems(QualityCheck::TooFast);
        QTest::newRow("region takes its language") << QByteArray("adult-24") << "ja_JP" << QStringLiteral("こんにちは") << 1.0
                                                   << Problems(QualityCheck::TooFast);
        QTest::newRow("Japanese line of 14 too long") << QByteArray("adult-24") << "ja" << QString(14, QChar(0x3042)) << 4.0
                                                      << Problems(QualityCheck::LineTooLong);
        QTest::newRow("unlisted language: the profile's own") << QByteArray("adult-24") << "de" << twenty << 1.0 << none;
        QTest::newRow("broadcast: 40 characters too long") << QByteArray("broadcast-25") << "" << QString(40, u'x') << 4.0
                                                          << Problems(QualityCheck::LineTooLong);
        // Counted in words: 4 a second of one letter each, 3 a second of long ones.
        const QString fourWords = QStringLiteral("a b c d"), threeWords = QStringLiteral("Unquestionably extraordinary circumstances");
        QTest::newRow("words: 240 a minute over broadcast's 180") << QByteArray("broadcast-wpm-25") << "" << fourWords << 1.0
                                                                  << Problems(QualityCheck::TooFast);
        QTest::newRow("words: 180 a minute at the limit, 42 characters too") << QByteArray("broadcast-wpm-25") << "" << threeWords
                                                                              << 1.0 << Problems(QualityCheck::LineTooLong);
        QTest::newRow("words: Japanese still counts characters") << QByteArray("broadcast-wpm-25") << "ja"
                                                                 << QStringLiteral("こんにちは") << 1.0 << Problems(QualityCheck::TooFast);
        QTest::newRow("words: a second is the shortest") << QByteArray("broadcast-wpm-25") << "" << "Hi" << 0.96
                                                         << Problems(QualityCheck::TooShort);
        QTest::newRow("25 fps: 0.8 s not too short") << QByteArray("adult-25") << "" << "Hi" << 0.8 << none;
        QTest::newRow("24 fps: 0.8 s too short") << QByteArray("adult-24") << "" << "Hi" << 0.8 << Problems(QualityCheck::TooShort);
        const QByteArray speed18 = R"("readingSpeed": 18, "characters": )";
        QTest::newRow("all characters: 20 over 18") << speed18 + "\"all\"" << "" << twenty << 1.0 << Problems(QualityCheck::TooFast);
        QTest::newRow("without spaces: 18 at 18") << speed18 + "\"withoutSpaces\"" << "" << twenty << 1.0 << none;
        QTest::newRow("without spaces counts punctuation")
            << speed18 + "\"withoutSpaces\"" << "" << QStringLiteral("Twenty, characters!?") << 1.0 << Problems(QualityCheck::TooFast);
        QTest::newRow("letters and digits: 18 at 18, tags and punctuation left out")
            << speed18 + "\"lettersAndDigits\"" << "" << QStringLiteral("<i>Twenty,</i> 'characters'!\n-- ok --") << 1.0 << none;
        QTest::newRow("letters and digits: an accented letter and one beyond 16 bits are one each")
            << QByteArray(R"("readingSpeed": 2, "characters": "lettersAndDigits")") << "" << QStringLiteral("e\u0301t\U0001D400!") << 1.0
            << Problems(QualityCheck::TooFast);
        QTest::newRow("letters and digits: line length still counts all")
            << QByteArray(R"("maxLineLength": 5, "characters": "lettersAndDigits")") << "" << QStringLiteral("a . b") << 5.0 << none;
        QTest::newRow("letters and digits: a long line is long")
            << QByteArray(R"("maxLineLength": 4, "characters": "lettersAndDigits")") << "" << QStringLiteral("a . b") << 5.0
            << Problems(QualityCheck::LineTooLong);
    }

    void limitsApplied()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QString, language);
        QFETCH(QString, text);
        QFETCH(double, duration);
        QFETCH(Problems, problems);
        std::optional<QualityProfile> chosen = QualityProfile::builtInNamed(QString::fromLatin1(profile));
        if (!chosen) {
            auto read = QualityProfile::fromJson(profileJson(profile));
            QVERIFY2(read, qPrintable(read ? QString() : read.error()));
            chosen = read.value();
        }
        const QualityLimits limits = chosen->limitsFor(language);
        const SubtitlePtr subtitle = Subtitle::create(text, 10, 10 + duration);
        QCOMPARE(QualityCheck::check(*subtitle, nullptr, limits, limits.minGap(0)), problems);
        // What the problem says agrees with what the check counted.
        if (problems & QualityCheck::TooFast) {
            const QString said = QualityCheck::describe(QualityCheck::TooFast, *subtitle, nullptr, limits, 0);
            const double speed = QualityCheck::readingSpeed(*subtitle, limits);
            const bool words = limits.readingUnit == QualityLimits::ReadingUnit::WordsPerMinute;
            QVERIFY2(said.startsWith(QLocale().toString(speed, 'f', words ? 0 : 1)
                                     + (words ? " words per minute" : " characters per second")),
                     qPrintable(said));
        }
    }
};

QTEST_GUILESS_MAIN(tst_QualityProfile)
#include "tst_qualityprofile.moc"
