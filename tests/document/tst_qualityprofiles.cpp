#include "document/Document.h"
#include "document/Preferences.h"
#include "document/QualitySettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QualityProfile named(const QString &name, double readingSpeed = 15)
{
    QualityProfile profile;
    profile.name = name;
    profile.limits.maxReadingSpeed = readingSpeed;
    return profile;
}

} // namespace

class tst_QualityProfiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Ids become file names: whatever the name, the id is safe and never another's.
    void savedUnderAnIdOfItsOwn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::newRow("words") << "My limits" << "my-limits";
        QTest::newRow("accents and a slash") << "Été / Hiver" << "ete-hiver";
        QTest::newRow("a path") << "../../etc/passwd" << "etc-passwd";
        QTest::newRow("no Latin letter") << "日本語" << "profile";
        QTest::newRow("a built-in's id") << "Adult 24" << "adult-24-2";
        QTest::newRow("a saved one's id") << "Taken" << "taken-2";
    }

    void savedUnderAnIdOfItsOwn()
    {
        QFETCH(QString, name);
        QFETCH(QString, id);
        QTemporaryDir dir;
        const QualityProfiles store(dir.path());
        QVERIFY(store.save(named(QStringLiteral("taken"))));
        const auto saved = store.save(named(name));
        QVERIFY2(saved, qPrintable(saved ? QString() : saved.error()));
        QCOMPARE(saved.value().id, id);
        QCOMPARE(store.profile(id)->name, name);
        QCOMPARE(store.profile(QStringLiteral("taken"))->name, QStringLiteral("taken"));
    }

    void storeWritesImportsExportsAndDeletes()
    {
        QTemporaryDir dir;
        const QualityProfiles store(dir.filePath(QStringLiteral("profiles")));
        auto saved = store.save(named(QStringLiteral("Client")));
        QVERIFY(saved);
        QVERIFY(!store.save(*QualityProfile::builtInNamed(QStringLiteral("adult-25"))));

        // Edited under its id: the same file, nothing new.
        QualityProfile edited = saved.value();
        edited.limits.maxLines = 3;
        QVERIFY(store.save(edited));
        QCOMPARE(store.userProfiles().size(), 1);
        QCOMPARE(store.profile(edited.id)->limits.maxLines, 3);

        const QString exported = dir.filePath(QStringLiteral("out.json"));
        QVERIFY(QualityProfiles::exportFile(edited, exported));
        auto imported = store.importFile(exported);
        QVERIFY(imported);
        QCOMPARE(imported.value().name, QStringLiteral("Client (2)"));
        QCOMPARE(imported.value().limits, edited.limits);
        writeFile(exported, named(QStringLiteral("Client (2)")).toJson());
        QCOMPARE(store.importFile(exported).value().name, QStringLiteral("Client (3)"));

        writeFile(exported, "{\"format\": \"cuewright-quality-profile\"}");
        const auto refused = store.importFile(exported);
        QVERIFY(!refused);
        QVERIFY(refused.error().contains(QStringLiteral("name")));
        QCOMPARE(store.userProfiles().size(), 3);

        // A broken or foreign file in the folder is passed over, and left there.
        writeFile(store.directory() + QStringLiteral("/broken.json"), "{");
        QCOMPARE(store.userProfiles().size(), 3);
        QVERIFY(!store.profile(QStringLiteral("broken")));

        QVERIFY(store.remove(edited.id));
        QVERIFY(!store.profile(edited.id));
        QVERIFY(!store.remove(edited.id));
        QVERIFY(!store.remove(QStringLiteral("adult-24")));
        QVERIFY(!store.remove(QStringLiteral("../profiles/broken")));
        QVERIFY(QFile::exists(store.directory() + QStringLiteral("/broken.json")));
    }

    // Words a minute survive the folder; a file written before there were units reads as
    // characters a second.
    void readingUnitSurvivesTheStore()
    {
        QTemporaryDir dir;
        const QualityProfiles store(dir.path());
        QualityProfile words = *QualityProfile::builtInNamed(QStringLiteral("broadcast-wpm-25"));
        words.id.clear();
        words.isBuiltIn = false;
        words.name = QStringLiteral("Client words");
        words.limits.maxReadingSpeed = 160;
        const auto saved = store.save(words);
        QVERIFY(saved);
        const std::optional<QualityProfile> read = store.profile(saved.value().id);
        QVERIFY(read);
        QCOMPARE(read->limits, words.limits);
        QVERIFY(read->languages == words.languages);
        QCOMPARE(read->limitsFor(QStringLiteral("ja")).readingUnit, QualityLimits::ReadingUnit::CharactersPerSecond);

        writeFile(dir.filePath(QStringLiteral("old.json")),
                  R"({"format": "cuewright-quality-profile", "version": 1, "name": "Old", "readingSpeed": 15})");
        const std::optional<QualityProfile> old = store.profile(QStringLiteral("old"));
        QVERIFY(old);
        QCOMPARE(old->limits.readingUnit, QualityLimits::ReadingUnit::CharactersPerSecond);
        QCOMPARE(old->limits.maxReadingSpeed, 15.0);
    }

    void oldLimitsBecomeAProfile_data()
    {
        QTest::addColumn<QVariantMap>("old");
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<QString>("profileName"); // empty: none made
        QTest::addColumn<bool>("keysRemoved");
        QTest::newRow("never set") << QVariantMap() << true << QString() << true;
        QTest::newRow("set to the defaults")
            << QVariantMap{{"maxCharactersPerSecond", 20}, {"maxLines", 2}} << true << QString() << true;
        QTest::newRow("changed") << QVariantMap{{"maxCharactersPerSecond", 15.5}, {"minGapFrames", 3}} << true
                                 << QStringLiteral("My limits") << true;
        QTest::newRow("folder unwritable: kept for next time")
            << QVariantMap{{"maxCharactersPerSecond", 15.5}} << false << QString() << false;
    }

    void oldLimitsBecomeAProfile()
    {
        QFETCH(QVariantMap, old);
        QFETCH(bool, folderWritable);
        QFETCH(QString, profileName);
        QFETCH(bool, keysRemoved);
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        for (auto it = old.begin(); it != old.end(); ++it)
            settings.setValue(QStringLiteral("quality/") + it.key(), it.value());
        settings.sync(); // the file is there, so a folder below it cannot be made
        const QString folder = folderWritable ? dir.filePath(QStringLiteral("profiles")) : dir.filePath(QStringLiteral("s.ini/x"));
        const QualityLimits before = QualityLimits::load(settings);

        QualitySettings shared(folder, &settings);
        QCOMPARE(QualityLimits::isStoredIn(settings), !keysRemoved && !old.isEmpty());
        if (profileName.isEmpty()) {
            QCOMPARE(shared.defaultProfileId(), QualityProfile::defaultId());
            QVERIFY(shared.store().userProfiles().isEmpty());
            return;
        }
        const QualityProfile made = shared.defaultProfile();
        QCOMPARE(made.name, profileName);
        QCOMPARE(made.limits, before);
        // Once only: a second start finds nothing more to move.
        QualitySettings again(folder, &settings);
        QCOMPARE(again.store().userProfiles().size(), 1);
    }

    void documentKeepsItsProfile()
    {
        Document document;
        QCOMPARE(document.qualityProfileId(), QualitySettings::shared()->defaultProfileId());
        QSignalSpy missing(&document, &Document::qualityProfileMissing);
        // The choice reaches the autosaved state, so recovered work is checked by it too.
        QSignalSpy stateChanged(&document, &Document::restorableStateChanged);

        document.restoreState({{QStringLiteral("qualityProfile"), QStringLiteral("children-25")}});
        QCOMPARE(stateChanged.count(), 1);
        const QualityProfile children = *QualityProfile::builtInNamed(QStringLiteral("children-25"));
        QCOMPARE(document.problemIndex().limits(), children.limitsFor({}));
        QCOMPARE(document.restorableState().value(QStringLiteral("qualityProfile")).toString(), children.id);
        document.setLanguage(QStringLiteral("ja_JP"));
        QCOMPARE(document.problemIndex().limits(), children.limitsFor(QStringLiteral("ja")));

        // A profile edited elsewhere is checked by at once; a deleted one gives way to the default.
        QualitySettings *shared = QualitySettings::shared();
        QualityProfile own = shared->saveProfile(named(QStringLiteral("Own"), 11)).value();
        document.setQualityProfile(own.id);
        QCOMPARE(document.problemIndex().limits().maxReadingSpeed, 11.0);
        own.limits.maxReadingSpeed = 9;
        QVERIFY(shared->saveProfile(own));
        QCOMPARE(document.problemIndex().limits().maxReadingSpeed, 9.0);
        QVERIFY(missing.isEmpty());
        QVERIFY(shared->removeProfile(own.id));
        QCOMPARE(missing.size(), 1);
        QCOMPARE(document.qualityProfileId(), shared->defaultProfileId());

        document.restoreState({{QStringLiteral("qualityProfile"), QStringLiteral("gone")}});
        QCOMPARE(missing.size(), 2);
        QCOMPARE(document.qualityProfileId(), shared->defaultProfileId());
    }

    // Until the user chooses a profile for the document, a built-in follows the frame rate
    // to the same rules at that rate; the choice is kept with the window's state.
    void profileFollowsTheFrameRateUntilChosen_data()
    {
        QTest::addColumn<QVariantMap>("state"); // restored before the rate; empty: a new document
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<QString>("checkedBy");
        const QString profile = QStringLiteral("qualityProfile");
        const QString chosen = QStringLiteral("qualityProfileChosen");
        QTest::newRow("a new document at a video's 29.97") << QVariantMap() << 30000 / 1001.0 << "adult-29.97";
        QTest::newRow("no built-in at 30: kept") << QVariantMap() << 30.0 << "adult-24";
        QTest::newRow("the user's choice stays") << QVariantMap{{profile, "broadcast-24"}, {chosen, true}} << 25.0 << "broadcast-24";
        QTest::newRow("one that followed follows again")
            << QVariantMap{{profile, "children-25"}, {chosen, false}} << 24000 / 1001.0 << "children-23.976";
        QTest::newRow("kept before choices were: the default follows") << QVariantMap{{profile, "adult-24"}} << 25.0 << "adult-25";
        QTest::newRow("kept before choices were: another stays") << QVariantMap{{profile, "children-24"}} << 25.0 << "children-24";
    }

    void profileFollowsTheFrameRateUntilChosen()
    {
        QFETCH(QVariantMap, state);
        QFETCH(double, frameRate);
        QFETCH(QString, checkedBy);
        Document document;
        QCOMPARE(document.qualityProfileId(), QualitySettings::shared()->defaultProfileId());
        QSignalSpy followed(&document, &Document::qualityProfileFollowedFrameRate);
        document.restoreState(state);
        document.setFrameRate(frameRate);
        QCOMPARE(document.qualityProfileId(), checkedBy);
        QCOMPARE(followed.size(), checkedBy == state.value("qualityProfile", "adult-24").toString() ? 0 : 1);
        QCOMPARE(document.problemIndex().limits().frameRate, QualitySettings::shared()->profile(checkedBy)->limits.frameRate);
        Document reopened;
        reopened.restoreState(document.restorableState());
        QCOMPARE(reopened.isQualityProfileChosen(), document.isQualityProfileChosen());
    }

    void hostileStoredProfileIsDropped_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("kept");
        QTest::newRow("a built-in") << QVariant(QStringLiteral("adult-25")) << true;
        QTest::newRow("a path") << QVariant(QStringLiteral("../../etc/passwd")) << false;
        QTest::newRow("a number") << QVariant(7) << false;
        QTest::newRow("a list") << QVariant(QStringList{QStringLiteral("a")}) << false;
        QTest::newRow("huge") << QVariant(QString(100000, u'a')) << false;
    }

    void hostileStoredProfileIsDropped()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, kept);
        const QVariantMap checked = Preferences::checkedWindowState({{QStringLiteral("qualityProfile"), stored}});
        QCOMPARE(checked.contains(QStringLiteral("qualityProfile")), kept);
    }
};

QTEST_GUILESS_MAIN(tst_QualityProfiles)
#include "tst_qualityprofiles.moc"
