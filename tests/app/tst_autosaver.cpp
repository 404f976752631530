#include "app/lifecycle/Autosaver.h"
#include "app/lifecycle/RecoveryStore.h"
#include "document/Document.h"

#include "format/OwnFile.h"

#include "EncodingSamples.h"
#include "SubtitleText.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// Unsaved work kept for recovery: when it is written, when it goes, and who may claim it.
class tst_Autosaver : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_edits = 0;

    QString folder() const { return m_dir.filePath(QStringLiteral("recovery")); }

    static std::unique_ptr<Document> savedDocument()
    {
        auto document = std::make_unique<Document>();
        document->subtitleController().setSubtitles({Subtitle::create(QStringLiteral("Saved"), 1, 2)});
        document->attachController();
        return document;
    }

    // Each edit its own step, as each keystroke is.
    void edit(Document &document)
    {
        document.subtitleController().setText(QStringLiteral("edit %1").arg(++m_edits), 0);
        QCoreApplication::processEvents();
    }

    // The text of each entry in the store, oldest first.
    QStringList texts() const
    {
        QStringList result;
        for (const RecoveryStore::Entry &entry : RecoveryStore(folder()).entries())
            result << QString::fromUtf8(EncodingSamples::readAll(entry.recoveryPath)).section(u'\n', 2, 2);
        return result;
    }

private slots:
    void init()
    {
        QDir(folder()).removeRecursively();
        m_edits = 0;
    }

    // Changes in a row make one write, of the last of them, and only once the event loop
    // has had its turn: never during the edit itself.
    void writesOnceTheChangesPause()
    {
        auto document = savedDocument();
        Autosaver autosaver(document.get(), RecoveryStore(folder()), 5);
        document->subtitleController().setText(QStringLiteral("edit 1"), 0);
        document->subtitleController().setText(QStringLiteral("edit 2"), 0); // starts the delay again
        QVERIFY(texts().isEmpty());
        QTRY_COMPARE(texts(), QStringList{QStringLiteral("edit 2")});
    }

    // Steps: edit, undo, flush (the delay passes), save, discard, keep (the process ends
    // undecided); then the document closes.
    void keptOnlyWhileUnsaved_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("beforeClosing");
        QTest::addColumn<QStringList>("afterClosing");
        const QStringList none;
        QTest::newRow("never modified") << "flush keep" << none << none;
        QTest::newRow("undone before the delay") << "edit undo flush" << none << none;
        QTest::newRow("undone back to the saved state") << "edit flush undo" << none << none;
        QTest::newRow("saved") << "edit flush save" << none << none;
        QTest::newRow("edited again after saving") << "edit flush save edit flush" << QStringList{"edit 2"} << none;
        QTest::newRow("closed without saving") << "edit flush" << QStringList{"edit 1"} << none;
        QTest::newRow("discarded, then edited") << "edit flush discard edit flush" << QStringList{"edit 2"} << none;
        QTest::newRow("process ends: the pending edit is kept") << "edit flush edit keep" << QStringList{"edit 2"}
                                                                << QStringList{"edit 2"};
        QTest::newRow("process ends after a save") << "edit flush save keep" << none << none;
    }

    void keptOnlyWhileUnsaved()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, beforeClosing);
        QFETCH(QStringList, afterClosing);
        {
            auto document = savedDocument();
            auto *autosaver = new Autosaver(document.get(), RecoveryStore(folder()), 60000, document.get());
            for (const QString &step : steps.split(u' ')) {
                if (step == QLatin1String("edit"))
                    edit(*document);
                else if (step == QLatin1String("undo"))
                    document->undoManager().undo();
                else if (step == QLatin1String("flush"))
                    autosaver->flush();
                else if (step == QLatin1String("save"))
                    document->undoManager().setClean();
                else if (step == QLatin1String("discard"))
                    autosaver->discard();
                else if (step == QLatin1String("keep"))
                    autosaver->keepForRecovery();
            }
            QCOMPARE(texts(), beforeClosing);
        }
        QCOMPARE(texts(), afterClosing);
    }

    void aFailureIsToldOnce()
    {
        // A file where the folder should be: nothing can be written.
        QVERIFY(EncodingSamples::writeAll(folder(), {}));
        auto document = savedDocument();
        Autosaver autosaver(document.get(), RecoveryStore(folder()), 60000);
        QSignalSpy failed(&autosaver, &Autosaver::protectionFailed);
        for (int i = 0; i < 2; ++i) {
            edit(*document);
            autosaver.flush();
        }
        QCOMPARE(failed.count(), 1);
        QVERIFY(QFile::remove(folder()));
        edit(*document);
        autosaver.flush();
        QCOMPARE(texts(), QStringList{QStringLiteral("edit 3")});
    }

    void onlyWorkWhoseOwnerIsGoneIsClaimed()
    {
        auto document = savedDocument();
        document->setFilePath(QStringLiteral("/films/a.srt"));
        auto *autosaver = new Autosaver(document.get(), RecoveryStore(folder()), 60000, document.get());
        edit(*document);
        autosaver->flush();
        RecoveryStore other(folder());
        // A write cut short by a crash leaves a file under a temporary name.
        const QStringList unfinished{autosaver->entryId() + ".srt.new-aB3dE6", "gone.json.new-Xy9Zw1"};
        for (const QString &name : unfinished)
            QVERIFY(EncodingSamples::writeAll(folder() + u'/' + name, {}));
        QVERIFY(other.claimOrphans().isEmpty()); // its process still runs
        QCOMPARE(QDir(folder()).entryList({"*.new-*"}), QStringList{unfinished.first()}); // its own is left alone
        autosaver->keepForRecovery();
        document.reset(); // and the autosaver with it, as in a crash

        QList<RecoveryStore::Entry> claimed = other.claimOrphans();
        QCOMPARE(claimed.size(), 1);
        QVERIFY(QDir(folder()).entryList({"*.new-*"}).isEmpty());
        QCOMPARE(claimed.first().originalPath, QStringLiteral("/films/a.srt"));
        QVERIFY(other.claimOrphans().isEmpty()); // not offered twice at once

        // Recovered work replaces its entry as it is edited, and goes with its document.
        auto recovered = savedDocument();
        auto *adopting = new Autosaver(recovered.get(), RecoveryStore(folder()), 60000, recovered.get());
        adopting->adoptEntry(claimed.first());
        claimed.clear();
        edit(*recovered);
        adopting->flush();
        QCOMPARE(texts(), QStringList{QStringLiteral("edit 2")});
        QCOMPARE(RecoveryStore(folder()).entries().first().id, adopting->entryId());
        recovered.reset();
        QVERIFY(texts().isEmpty());
    }

    // Whatever another program put at an entry's name (a link to a file of the user's)
    // is never read or written through: the entry is refused, and writing replaces the
    // link with a file of our own.
    void aLinkAtAnEntrysNameIsNeverFollowed_data()
    {
        QTest::addColumn<QString>("linked");
        QTest::newRow("the text") << ".srt";
        QTest::newRow("the description") << ".json";
        QTest::newRow("the folder") << "";
    }

    void aLinkAtAnEntrysNameIsNeverFollowed()
    {
        QFETCH(QString, linked);
        const QString theirs = m_dir.filePath(QStringLiteral("theirs"));
        const QByteArray content = R"({"originalPath": "/home/someone/else.srt"})";
        QVERIFY(EncodingSamples::writeAll(theirs, content) && ::chmod(QFile::encodeName(theirs).constData(), 0644) == 0);

        auto document = savedDocument();
        document->setFilePath(QStringLiteral("/films/a.srt"));
        auto *autosaver = new Autosaver(document.get(), RecoveryStore(folder()), 60000, document.get());
        if (linked.isEmpty()) {
            const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere"));
            QVERIFY(QDir().mkpath(elsewhere) && ::chmod(QFile::encodeName(elsewhere).constData(), 0755) == 0);
            QVERIFY(::symlink(QFile::encodeName(elsewhere).constData(), QFile::encodeName(folder()).constData()) == 0);
            QSignalSpy failed(autosaver, &Autosaver::protectionFailed);
            edit(*document);
            autosaver->flush();
            QCOMPARE(failed.count(), 1);
            QVERIFY(QFileInfo(elsewhere).permissions() & QFile::ReadOther); // its mode untouched
            QVERIFY(QDir(elsewhere).isEmpty());
            QVERIFY(QFile::remove(folder()));
            return;
        }
        edit(*document);
        autosaver->flush();
        const QString at = folder() + u'/' + autosaver->entryId() + linked;
        QVERIFY(QFile::remove(at));
        QVERIFY(::symlink(QFile::encodeName(theirs).constData(), QFile::encodeName(at).constData()) == 0);
        const QList<RecoveryStore::Entry> seen = RecoveryStore(folder()).entries();
        QCOMPARE(seen.size(), linked == QLatin1String(".srt") ? 0 : 1);
        if (!seen.isEmpty())
            QVERIFY(seen.first().originalPath.isEmpty()); // not read from the link's target

        edit(*document);
        autosaver->flush();
        QCOMPARE(EncodingSamples::readAll(theirs), content);
        QCOMPARE(int(QFile::permissions(theirs) & (QFile::ReadGroup | QFile::ReadOther)), int(QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(!QFileInfo(at).isSymLink());
        QCOMPARE(texts(), QStringList{QStringLiteral("edit 2")});
        QCOMPARE(RecoveryStore(folder()).entries().first().originalPath, QStringLiteral("/films/a.srt"));
    }

    // An entry cut short by a full disk or a crash offers what can be read of it.
    void aDamagedEntryOffersWhatCanBeRead_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("texts");
        const QByteArray whole = "1\n00:00:01,000 --> 00:00:02,000\none\n\n2\n00:00:03,000 --> 00:00:04,000\ntwo\n\n"
                                 "3\n00:00:05,000 --> 00:00:06,000\nthree\n";
        QTest::newRow("cut in the last text") << whole.left(whole.size() - 4) << QStringList{"one", "two", "th"};
        QTest::newRow("cut in the last timing") << whole.left(whole.indexOf("00:00:05,000") + 7) << QStringList{"one", "two"};
        QTest::newRow("cut in a multi-byte letter") << whole.left(whole.size() - 6) + "t\xC3" << QStringList{"one", "two", "t\uFFFD"};
    }

    void aDamagedEntryOffersWhatCanBeRead()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, texts);
        RecoveryStore store(folder());
        QVERIFY(store.save(QStringLiteral("damaged"), {}, {}));
        QVERIFY(OwnFile::write(folder() + QStringLiteral("/damaged.srt"), text, 0600));
        const auto read = RecoveryStore::readText(store.entries().first());
        QVERIFY(read);
        QCOMPARE(textsOf(read.value().subtitles), texts);
    }

    // An entry is the user's alone; its text is offered even without its description, as
    // a kill between the two writes leaves it.
    void anEntryIsPrivateAndItsTextEnough()
    {
        RecoveryStore::Description description;
        description.originalPath = QStringLiteral("/films/a.srt");
        const mode_t previous = ::umask(0);
        const auto saved = RecoveryStore(folder()).save(QStringLiteral("x"), {}, description);
        ::umask(previous);
        QVERIFY(saved);
        const QList<std::pair<QString, int>> modes{{"", 0700}, {"/x.srt", 0600}, {"/x.json", 0600}};
        for (const auto &[name, mode] : modes) {
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(folder() + name).constData(), &info), 0);
            QCOMPARE(int(info.st_mode & 0777), mode);
        }
        QVERIFY(QFile::remove(folder() + QStringLiteral("/x.json")));
        // A second name for the text (a backup made with hard links) does not cost the work.
        QCOMPARE(::link(QFile::encodeName(folder() + QStringLiteral("/x.srt")).constData(),
                        QFile::encodeName(m_dir.filePath(QStringLiteral("x-backup.srt"))).constData()),
                 0);
        const QList<RecoveryStore::Entry> entries = RecoveryStore(folder()).claimOrphans();
        QCOMPARE(entries.size(), 1);
        QVERIFY(entries.first().originalPath.isEmpty()); // offered as untitled
        QVERIFY(entries.first().savedAt.isValid());
        QVERIFY(RecoveryStore::readText(entries.first()));
    }
};

QTEST_GUILESS_MAIN(tst_Autosaver)
#include "tst_autosaver.moc"
