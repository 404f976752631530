#include "app/RecoveryStore.h"
#include "document/TextEncoding.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class tst_RecoveryStore : public QObject
{
    Q_OBJECT

private slots:
    void keepsAndForgetsUnsavedWork()
    {
        QTemporaryDir dir;
        RecoveryStore store(dir.filePath("recovery"));
        QVERIFY(store.entries().isEmpty());
        const SubtitleList subtitles{std::make_shared<Subtitle>(QStringLiteral("Grüße"), 1, 2)};
        RecoveryStore::Description first;
        first.originalPath = "/films/a.srt";
        first.encoding = 1252;
        QVERIFY(!store.save("first", subtitles, first));
        QTest::qWait(5);
        QVERIFY(!store.save("second", subtitles, {}));

        const QList<RecoveryStore::Entry> entries = store.entries();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].id, QStringLiteral("first"));
        QCOMPARE(entries[0].originalPath, QStringLiteral("/films/a.srt"));
        QCOMPARE(entries[0].encoding, std::optional<int>(1252));
        QVERIFY(!entries[1].encoding);
        QFile text(entries[0].recoveryPath);
        QVERIFY(text.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(text.readAll()).contains(QStringLiteral("Grüße")));

        store.remove("first");
        QCOMPARE(store.entries().size(), 1);
    }

    void anEntryWithoutItsTextIsSkipped()
    {
        QTemporaryDir dir;
        RecoveryStore store(dir.path());
        QVERIFY(!store.save("x", {}, {}));
        QFile::remove(dir.filePath("x.srt"));
        QVERIFY(store.entries().isEmpty());
    }

    void aTextWithoutItsDescriptionIsStillOffered()
    {
        // A kill between the two writes of the first autosave.
        QTemporaryDir dir;
        RecoveryStore store(dir.path());
        QVERIFY(!store.save("x", {std::make_shared<Subtitle>(QStringLiteral("work"), 1, 2)}, {}));
        QFile::remove(dir.filePath("x.json"));
        const QList<RecoveryStore::Entry> entries = store.claimOrphans();
        QCOMPARE(entries.size(), 1);
        QVERIFY(entries.first().originalPath.isEmpty());
        QVERIFY(entries.first().savedAt.isValid());
        store.remove("x");
        QVERIFY(store.entries().isEmpty());
    }

    void onlyEntriesWhoseOwnerIsGoneAreClaimed()
    {
        QTemporaryDir dir;
        RecoveryStore store(dir.path());
        std::unique_ptr<QLockFile> live = store.lock("live");
        QVERIFY(live);
        QVERIFY(!store.save("live", {}, {}));
        QVERIFY(!store.save("crashed", {}, {}));
        QList<RecoveryStore::Entry> claimed = store.claimOrphans();
        QCOMPARE(claimed.size(), 1);
        QCOMPARE(claimed.first().id, QStringLiteral("crashed"));
        // Claimed entries are not offered to a third instance at the same time.
        QVERIFY(store.claimOrphans().isEmpty());
        claimed.clear();
        live.reset();
        QCOMPARE(store.claimOrphans().size(), 2);
    }

    void recoveryFilesArePrivate()
    {
        QTemporaryDir dir;
        RecoveryStore store(dir.filePath("recovery"));
        const mode_t previous = ::umask(0);
        const auto error = store.save("x", {std::make_shared<Subtitle>(QStringLiteral("secret"), 1, 2)}, {});
        ::umask(previous);
        QVERIFY(!error);
        const auto modeOf = [](const QString &path) {
            struct stat info {};
            ::stat(QFile::encodeName(path).constData(), &info);
            return info.st_mode & 0777;
        };
        QCOMPARE(modeOf(dir.filePath("recovery")), mode_t(0700));
        QCOMPARE(modeOf(dir.filePath("recovery/x.srt")), mode_t(0600));
        QCOMPARE(modeOf(dir.filePath("recovery/x.json")), mode_t(0600));
    }

    void theDescriptionKeepsTheFileItWasBasedOn()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("a.srt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1\n00:00:01,000 --> 00:00:02,000\nA\n");
        file.close();
        RecoveryStore::Description description;
        description.originalPath = file.fileName();
        description.encoding = 106;
        description.savedAt = QDateTime::currentDateTimeUtc();
        description.base = FileIdentity::of(file.fileName());
        const RecoveryStore::Description read = RecoveryStore::parseDescription(RecoveryStore::serialize(description));
        QCOMPARE(read.originalPath, description.originalPath);
        QCOMPARE(read.encoding, description.encoding);
        QVERIFY(read.base == description.base);
        QVERIFY(!read.base.changedAt(file.fileName()));
        // A damaged description is an untitled document's.
        QVERIFY(RecoveryStore::parseDescription("{\"base\": {\"size\": \"-1\"}, \"encoding\": 1e300}").originalPath.isEmpty());
    }

    void aFolderThatCannotBeMadeIsReported()
    {
        RecoveryStore store("/proc/no-such-place/recovery");
        QVERIFY(store.save("x", {}, {}).has_value());
    }
};

QTEST_GUILESS_MAIN(tst_RecoveryStore)
#include "tst_recoverystore.moc"
