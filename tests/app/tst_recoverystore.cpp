#include "app/RecoveryStore.h"
#include "document/TextEncoding.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
        QVERIFY(!store.save("first", subtitles, "/films/a.srt", 1252));
        QTest::qWait(5);
        QVERIFY(!store.save("second", subtitles, QString(), std::nullopt));

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
        QVERIFY(!store.save("x", {}, QString(), std::nullopt));
        QFile::remove(dir.filePath("x.srt"));
        QVERIFY(store.entries().isEmpty());
    }

    void aFolderThatCannotBeMadeIsReported()
    {
        RecoveryStore store("/proc/no-such-place/recovery");
        QVERIFY(store.save("x", {}, QString(), std::nullopt).has_value());
    }
};

QTEST_GUILESS_MAIN(tst_RecoveryStore)
#include "tst_recoverystore.moc"
