#include "decoding/MediaCache.h"

#include "EncodingSamples.h"

#include <QtTest>

#include <functional>

#include <unistd.h>

namespace {

using Damage = std::function<void(const QString &entry, const QString &media)>;

// A change to the bytes of the cache entry.
Damage entry(const std::function<void(QByteArray &)> &change)
{
    return [change](const QString &path, const QString &) {
        QByteArray bytes = EncodingSamples::readAll(path);
        change(bytes);
        QVERIFY(EncodingSamples::writeAll(path, bytes));
    };
}

MediaCache::Series sampleEnvelope(int points)
{
    MediaCache::Series envelope;
    for (int i = 0; i < points; ++i)
        envelope.samples.append(-40.0 + (i % 97) * 0.4123);
    envelope.samplesPerSecond = 48.0108;
    envelope.estimatedSampleCount = points - 1;
    return envelope;
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class tst_MediaCache : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void damagedOrStaleEntryIsIgnoredAndRewritten_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::newRow("truncated") << entry([](QByteArray &bytes) { bytes.chop(13); });
        QTest::newRow("cut inside the header") << entry([](QByteArray &bytes) { bytes.truncate(10); });
        QTest::newRow("wrong magic") << entry([](QByteArray &bytes) { bytes[0] = 'X'; });
        QTest::newRow("wrong version") << entry([](QByteArray &bytes) { bytes[7] = char(bytes[7] + 1); });
        QTest::newRow("wrong checksum") << entry([](QByteArray &bytes) { bytes[bytes.size() - 3] ^= 0x10; });
        // Points appended after a valid entry: the count no longer accounts for the file.
        QTest::newRow("count smaller than the points") << entry([](QByteArray &bytes) { bytes.append(8, '\0'); });
        QTest::newRow("media rewritten since, same size") << Damage([](const QString &, const QString &media) {
            QFile file(media);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(file.size() - 1));
            file.write("!");
            QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(5), QFileDevice::FileModificationTime));
        });
        QTest::newRow("media shortened, time kept") << Damage([](const QString &, const QString &media) {
            QFile file(media);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
            QVERIFY(file.resize(file.size() - 1));
            QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        });
    }

    void damagedOrStaleEntryIsIgnoredAndRewritten()
    {
        QFETCH(Damage, damage);
        const QString media = makeMedia(QStringLiteral("film.mp4"), 3 * 1024 * 1024);
        MediaCache cache(m_dir->filePath(QStringLiteral("cache")));
        const MediaCache::Series envelope = sampleEnvelope(5000);
        QVERIFY(cache.store(media, 48, envelope));
        QVERIFY(cache.find(media, 48));
        damage(cache.entryPath(media, 48), media);
        QVERIFY(!cache.find(media, 48));

        QVERIFY(cache.store(media, 48, envelope));
        const auto found = cache.find(media, 48);
        QVERIFY(found);
        QCOMPARE(found->samples, envelope.samples);
        QCOMPARE(found->samplesPerSecond, envelope.samplesPerSecond);
        QCOMPARE(found->estimatedSampleCount, envelope.estimatedSampleCount);
        // Another rate is another envelope.
        QVERIFY(!cache.find(media, 24));
    }

    // Another of the user's files put in the cache under an entry's name, through a
    // symbolic or a hard link: it is neither read as an entry nor written into.
    void anEntryThatIsALinkIsNeitherReadNorWrittenThrough_data()
    {
        QTest::addColumn<bool>("hard");
        QTest::newRow("symbolic link") << false;
        QTest::newRow("hard link") << true;
    }

    void anEntryThatIsALinkIsNeitherReadNorWrittenThrough()
    {
        QFETCH(bool, hard);
        MediaCache cache(m_dir->filePath(QStringLiteral("cache")));
        const QString media = makeMedia(QStringLiteral("a.mkv"), 1000);
        QVERIFY(cache.store(media, 48, sampleEnvelope(100)));
        const QString entryPath = cache.entryPath(media, 48);
        // The other file even holds a valid entry, so only being a link can keep it out.
        const QString other = m_dir->filePath(QStringLiteral("precious"));
        QVERIFY(QFile::rename(entryPath, other));
        const QByteArray before = EncodingSamples::readAll(other);
        if (hard)
            QCOMPARE(::link(QFile::encodeName(other).constData(), QFile::encodeName(entryPath).constData()), 0);
        else
            QVERIFY(QFile::link(other, entryPath));

        QVERIFY(!cache.find(media, 48));
        QVERIFY(cache.store(media, 48, sampleEnvelope(50)));
        QCOMPARE(EncodingSamples::readAll(other), before);
        QVERIFY(!QFileInfo(entryPath).isSymLink());
        QCOMPARE(cache.find(media, 48)->samples.size(), 50);
    }

    void oldestEntriesGoFirst()
    {
        // Room for two entries of 1000 points (8 bytes each and a header).
        MediaCache cache(m_dir->filePath(QStringLiteral("cache")), 2 * 8000 + 500);
        const QStringList media = {makeMedia(QStringLiteral("a.mkv"), 100), makeMedia(QStringLiteral("b.mkv"), 200),
                                   makeMedia(QStringLiteral("c.mkv"), 300)};
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < 2; ++i) {
            QVERIFY(cache.store(media[i], 48, sampleEnvelope(1000)));
            QVERIFY(EncodingSamples::touch(cache.entryPath(media[i], 48), now.addSecs(-100 + i * 10)));
        }
        // Using the first makes the second the oldest.
        QVERIFY(cache.find(media[0], 48));
        QVERIFY(cache.store(media[2], 48, sampleEnvelope(1000)));
        QVERIFY(cache.find(media[0], 48));
        QVERIFY(!QFileInfo::exists(cache.entryPath(media[1], 48)));
        QVERIFY(cache.find(media[2], 48));
    }

    // A crash while an entry was written leaves it under a temporary name that no entry
    // matches. Storing clears those abandoned long ago, and leaves no file of its own.
    void abandonedWritesAreCleared()
    {
        const QString folder = m_dir->filePath(QStringLiteral("cache"));
        MediaCache cache(folder);
        QVERIFY(QDir().mkpath(folder));
        const QString abandoned = QStringLiteral("0123abcd.wave.new-aB3dE6");
        const QStringList kept{QStringLiteral("4567ef01.wave.new-Xy9Zw1"), // perhaps still being written
                               QStringLiteral("notes.txt.new-Qw1Er2")}; // not the cache's
        for (const QString &name : kept + QStringList{abandoned})
            QVERIFY(EncodingSamples::touch(folder + u'/' + name, QDateTime::currentDateTimeUtc().addDays(name == kept.first() ? 0 : -1)));
        QVERIFY(cache.store(makeMedia(QStringLiteral("a.mkv"), 1000), 48, sampleEnvelope(100)));
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*.new-*")}, QDir::Files, QDir::Name), kept);
    }

private:
    // Bigger than the two hashed megabytes, so a change in the middle goes unseen by the hash.
    QString makeMedia(const QString &name, qint64 size)
    {
        QByteArray bytes(size, '\0');
        for (qint64 i = 0; i < size; ++i)
            bytes[i] = char(i * 7919 >> 3);
        const QString path = m_dir->filePath(name);
        return EncodingSamples::writeAll(path, bytes) ? path : QString();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(tst_MediaCache)
#include "tst_mediacache.moc"
