// The document alone, as the layer under the panes: which subtitles it selects and
// shows after each change, its restorable state, and a failed read. No widgets.
#include "document/DiskChangeGuard.h"
#include "document/Document.h"
#include "document/OpenFileLock.h"
#include "document/Preferences.h"
#include "document/SharedFileWatcher.h"
#include "document/TextEncoding.h"
#include "model/timing/OriginalTimingCopy.h"

#include "EncodingSamples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using namespace EncodingSamples;

using Change = std::function<void(Document &)>;
Q_DECLARE_METATYPE(Change)
using Times = std::vector<double>;
Q_DECLARE_METATYPE(Times)

class tst_Document : public QObject
{
    Q_OBJECT

private:
    // Subtitles "1", "2", … at 0, 10, 20, … s.
    struct Fixture
    {
        Document document;
        explicit Fixture(int count)
        {
            SubtitleList list;
            for (int i = 0; i < count; ++i)
                list.append(Subtitle::create(QString::number(i + 1), i * 10.0, i * 10.0 + 5));
            document.subtitleController().setSubtitles(list);
            document.attachController();
        }
        SubtitleController &controller() { return document.subtitleController(); }
    };

    static int inotifyInstances()
    {
        int count = 0;
        const QDir descriptors(QStringLiteral("/proc/self/fd"));
        for (const QFileInfo &descriptor : descriptors.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
            count += descriptor.symLinkTarget().endsWith(QLatin1String("inotify"));
        return count;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // What the document selects after a change to the list of five.
    void selectionFollowsTheChange_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<IndexSet>("selected");
        const auto remove = [](IndexSet indexes) {
            return [=](Document &d) { d.subtitleController().removeSubtitles(d.subtitleController().subtitlesAt(indexes), indexes); };
        };
        const auto import = [](Document &d) { d.subtitleController().importText(QStringLiteral("A\n\nB")); };
        const auto restore = [](int index) { return [=](Document &d) { d.restoreState({{"selectedIndex", index}}); }; };
        QTest::newRow("deleting the last two selects the new last") << Change(remove({3, 4})) << IndexSet(2);
        QTest::newRow("deleting them all selects nothing") << Change(remove(IndexSet::fromRange(0, 5))) << IndexSet();
        QTest::newRow("inserting selects the inserted") << Change(import) << IndexSet{1, 2};
        QTest::newRow("undoing an insert selects what moved up")
            << Change([=](Document &d) { import(d); d.undoManager().undo(); }) << IndexSet(1);
        QTest::newRow("a restored index that is not there selects nothing") << Change(restore(7)) << IndexSet();
        QTest::newRow("a restored index that is there") << Change(restore(4)) << IndexSet(4);
    }

    void selectionFollowsTheChange()
    {
        QFETCH(Change, change);
        QFETCH(IndexSet, selected);
        Fixture w(5);
        change(w.document);
        QCOMPARE(w.document.selectedSubtitleIndexes(), selected);
        QCOMPARE(w.document.restorableState().value("selectedIndex", -1).toInt(), selected.isEmpty() ? -1 : *selected.begin());
    }

    void showsTheNewlySelectedSubtitle_data()
    {
        QTest::addColumn<IndexSet>("before");
        QTest::addColumn<IndexSet>("after");
        QTest::addColumn<int>("shown"); // -1: nothing shown
        QTest::newRow("the newly added row") << IndexSet(2) << IndexSet{2, 3} << 3;
        QTest::newRow("the last when nothing is new") << IndexSet{1, 2, 3} << IndexSet{1, 2} << 2;
        QTest::newRow("nothing when everything is selected") << IndexSet(0) << IndexSet::fromRange(0, 5) << -1;
        QTest::newRow("nothing when nothing is selected") << IndexSet(0) << IndexSet() << -1;
    }

    void showsTheNewlySelectedSubtitle()
    {
        QFETCH(IndexSet, before);
        QFETCH(IndexSet, after);
        QFETCH(int, shown);
        Fixture w(5);
        w.document.setSelectedSubtitleIndexes(before);
        QSignalSpy spy(&w.document, &Document::showSubtitleRequested);
        w.document.setSelectedSubtitleIndexes(after);
        QCOMPARE(spy.isEmpty() ? -1 : spy.first().first().toInt(), shown);
    }

    void aFailedReadKeepsTheList()
    {
        QTemporaryDir dir;
        Fixture w(3);
        const auto read = w.document.read(dir.path());
        QVERIFY(!read);
        QCOMPARE(read.error(), QStringLiteral("The file could not be opened because it is a folder."));
        QCOMPARE(w.controller().count(), 3);
    }

    // Another program's change is reported once per new content, not at every touch, also
    // after an editor saved by renaming a new file over the old one (leaving the watch on
    // a file that is gone). The system's notices are played here, so that the test does
    // not hang on the inotify instances other programs hold.
    void aChangeOnDiskIsReportedOncePerNewContent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.srt"));
        const auto write = [&path](const QByteArray &bytes) {
            QVERIFY(writeAll(path, bytes));
            SharedFileWatcher::instance().notice(path);
        };
        write("first");
        Document document;
        DiskChangeGuard guard(&document);
        guard.setSettleDelay(0); // looked at on the event loop's next turn
        guard.remember(path);
        QSignalSpy changed(&guard, &DiskChangeGuard::changedOnDisk);
        write("second");
        QTRY_COMPARE(changed.size(), 1);
        write("second");
        QCoreApplication::processEvents();
        QCOMPARE(changed.size(), 1);

        const QString replacement = dir.filePath(QStringLiteral("a.srt~"));
        QVERIFY(writeAll(replacement, "third"));
        QCOMPARE(::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(path).constData()), 0);
        SharedFileWatcher::instance().notice(dir.path());
        QTRY_COMPARE(changed.size(), 2);
        QVERIFY(SharedFileWatcher::instance().isWatching(path));
        write("fourth");
        QTRY_COMPARE(changed.size(), 3);
    }

    // However many documents are open, the program holds one inotify instance of the
    // user's few (128 on many systems, shared by all the user's programs).
    void manyDocumentsShareOneInotifyInstance()
    {
        QTemporaryDir dir;
        std::vector<std::unique_ptr<Document>> documents;
        const int before = inotifyInstances();
        for (int i = 0; i < 200; ++i) {
            const QString path = dir.filePath(QStringLiteral("%1.srt").arg(i));
            QVERIFY(writeAll(path, {}));
            documents.push_back(std::make_unique<Document>());
            (new DiskChangeGuard(documents.back().get()))->remember(path);
        }
        QCOMPARE_LE(inotifyInstances() - before, 1);
    }

    // Another running instance holds a file open: opening it here by any of its names
    // tells the user who has it; another file, or one whose instance is gone, does not.
    void anotherInstanceHoldingTheFileIsFound_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ownerRunning");
        QTest::addColumn<bool>("found");
        QTest::newRow("the same name") << "a.srt" << true << true;
        QTest::newRow("a hard link") << "hard.srt" << true << true;
        QTest::newRow("another file") << "b.srt" << true << false;
        QTest::newRow("its instance is gone") << "hard.srt" << false << false;
    }

    void anotherInstanceHoldingTheFileIsFound()
    {
        QFETCH(QString, name);
        QFETCH(bool, ownerRunning);
        QFETCH(bool, found);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.srt"));
        QVERIFY(writeAll(path, {}) && writeAll(dir.filePath(QStringLiteral("b.srt")), {}));
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath("hard.srt")).constData()), 0);

        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        const pid_t other = ::fork();
        if (other == 0) { // the other instance, which runs until the test ends it
            OpenFileLock lock;
            const char acquired = lock.acquire(path) ? 'y' : 'n';
            [[maybe_unused]] const ssize_t written = ::write(ready[1], &acquired, 1);
            for (;;)
                ::pause();
        }
        char acquired = 0;
        QCOMPARE(::read(ready[0], &acquired, 1), 1);
        QCOMPARE(acquired, 'y');
        const auto end = [other] { return ::kill(other, SIGKILL) == 0 && ::waitpid(other, nullptr, 0) == other; };
        QVERIFY(ownerRunning || end()); // gone without unlocking, as in a crash
        OpenFileLock lock;
        QCOMPARE(!lock.acquire(dir.filePath(name)), found);
        QCOMPARE(lock.otherOwner(), found ? other : 0);
        QVERIFY(!ownerRunning || end());
        ::close(ready[0]);
        ::close(ready[1]);
    }

    // A save keeps the byte-order mark (or its lack) a file was read with in the same
    // encoding; in another one the file gets that encoding's usual.
    void aSaveKeepsTheMarkOfTheEncodingItWasReadIn()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.srt"));
        QVERIFY(writeAll(path, "\xEF\xBB\xBF" "1\n00:00:01,000 --> 00:00:02,000\nA\n\n"));
        Document document;
        QVERIFY(document.read(path) && document.write(path));
        QVERIFY(readAll(path).startsWith("\xEF\xBB\xBF" "1"));
        QVERIFY(document.write(path, TextEncoding::Utf16LittleEndian));
        QVERIFY(readAll(path).startsWith("\xFF\xFE" "1"));
    }

    // WebVTT allows no encoding but UTF-8: a document read in another one, saved as WebVTT
    // with that one asked for, is written in UTF-8, which becomes its encoding.
    void aWebVttSaveIsUtf8WhateverTheDocumentWasReadIn()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.srt"));
        const QString vtt = dir.filePath(QStringLiteral("a.vtt"));
        QVERIFY(writeAll(path, "1\n00:00:01,000 --> 00:00:02,000\n\xC6\xF3\xEA\n\n"));
        Document document;
        const int cyrillic = TextEncoding::numberForName(u"windows-1251").value();
        QVERIFY(document.read(path, cyrillic));
        QVERIFY(document.write(vtt, cyrillic, std::nullopt, SubtitleFormat::WebVtt));
        QCOMPARE(readAll(vtt), QStringLiteral("WEBVTT\n\n00:00:01.000 --> 00:00:02.000\nЖук\n").toUtf8());
        QCOMPARE(document.encoding(), std::optional<int>(TextEncoding::Utf8));
    }

    // Settings set by hand or by another version are read within their bounds.
    void hostileSettingsAreReadWithinBounds()
    {
        QSettings settings;
        settings.setValue(QStringLiteral("recentFilesLimit"), -1);
        settings.setValue(QStringLiteral("saveEncoding"), 987654);
        settings.setValue(QStringLiteral("autosaveDelaySeconds"), -5);
        settings.setValue(QStringLiteral("timeForm"), 2);
        QCOMPARE(Preferences::recentFilesLimit(), 0);
        QCOMPARE(Preferences::saveEncoding(), int(TextEncoding::Automatic));
        QCOMPARE(Preferences::autosaveDelayMilliseconds(), 1000); // the shortest
        QCOMPARE(Preferences::timeForm(), TimeForm::Milliseconds);
        settings.clear();
    }

    // The offset belongs to the document's remembered state, not to its file.
    void timecodeOffsetIsRestored()
    {
        Document first;
        Document second;
        first.setTimecodeOffset(36000);
        second.restoreState(first.restorableState());
        QCOMPARE(second.timecodeOffset(), 36000.0);
    }

    // Copying the original's timing by position: to the selection when two or more are
    // selected, else to all, adding empty subtitles for the original's extra lines; one
    // undo step that restores the list as it was.
    void timingsAreCopiedFromTheOriginal_data()
    {
        QTest::addColumn<IndexSet>("selection");
        QTest::addColumn<Times>("starts");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("timed");
        QTest::addColumn<int>("added");
        QTest::newRow("nothing selected: all, and the rest added")
            << IndexSet() << Times{1, 3, 6, 8} << QStringList{"1", "2", "3", ""} << 3 << 1;
        QTest::newRow("one selected counts as none") << IndexSet(1) << Times{1, 3, 6, 8} << QStringList{"1", "2", "3", ""} << 3 << 1;
        QTest::newRow("two selected: only they, nothing added")
            << IndexSet{0, 2} << Times{1, 6, 10} << QStringList{"1", "3", "2"} << 2 << 0;
    }

    void timingsAreCopiedFromTheOriginal()
    {
        QFETCH(IndexSet, selection);
        QFETCH(Times, starts);
        QFETCH(QStringList, texts);
        QFETCH(int, timed);
        QFETCH(int, added);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("original.srt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1\n00:00:01,000 --> 00:00:02,000\nEins\n\n2\n00:00:03,000 --> 00:00:04,000\nZwei\n\n"
                   "3\n00:00:06,000 --> 00:00:07,000\nDrei\n\n4\n00:00:08,000 --> 00:00:09,500\nVier\n");
        file.close();
        Fixture w(3);
        OriginalSubtitles &original = w.document.originalSubtitles();
        QVERIFY(original.attach(path));
        // A file that cannot be read changes nothing.
        QVERIFY(!original.attach(dir.filePath(QStringLiteral("missing.srt"))));
        QCOMPARE(original.path(), path);
        QCOMPARE(original.subtitles().size(), 4);
        const SubtitleList before = w.controller().subtitles();
        w.document.setSelectedSubtitleIndexes(selection);

        const OriginalTimingCopy::Result result =
            OriginalTimingCopy::apply(w.controller(), original.subtitles(), w.document.selectedSubtitleIndexes());
        QCOMPARE(result.timed, timed);
        QCOMPARE(result.added, added);
        Times shownStarts;
        QStringList shownTexts;
        for (const SubtitlePtr &subtitle : w.controller().subtitles()) {
            shownStarts.push_back(subtitle->start);
            shownTexts << subtitle->text();
        }
        QCOMPARE(shownStarts, starts);
        QCOMPARE(shownTexts, texts);
        if (added > 0)
            QCOMPARE(w.controller().subtitles().last()->end, 9.5);

        w.document.undoManager().undo();
        QCOMPARE(w.controller().subtitles(), before);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(w.controller().at(i)->start, i * 10.0);
        QVERIFY(!w.document.undoManager().canUndo());
    }

    // The window state names the original by a path and a known encoding; anything else
    // read from a damaged settings file is dropped before it is tried.
    void hostileOriginalStateIsDropped_data()
    {
        QTest::addColumn<QVariant>("file");
        QTest::addColumn<QVariant>("encoding");
        QTest::addColumn<bool>("keptFile");
        QTest::addColumn<bool>("keptEncoding");
        QTest::newRow("a path and a known encoding") << QVariant("/tmp/a.srt") << QVariant(TextEncoding::Utf8) << true << true;
        QTest::newRow("a list for a path") << QVariant(QVariantList{1, 2}) << QVariant(TextEncoding::Utf8) << false << true;
        QTest::newRow("an unknown encoding") << QVariant("/tmp/a.srt") << QVariant(987654) << true << false;
        QTest::newRow("an encoding that is no number") << QVariant("/tmp/a.srt") << QVariant("utf-8") << true << false;
    }

    void hostileOriginalStateIsDropped()
    {
        QFETCH(QVariant, file);
        QFETCH(QVariant, encoding);
        QFETCH(bool, keptFile);
        QFETCH(bool, keptEncoding);
        const QVariantMap checked =
            Preferences::checkedWindowState({{QStringLiteral("originalFile"), file}, {QStringLiteral("originalEncoding"), encoding}});
        QCOMPARE(checked.contains(QStringLiteral("originalFile")), keptFile);
        QCOMPARE(checked.contains(QStringLiteral("originalEncoding")), keptEncoding);
    }

    void aSelectionSeeksAPausedVideoUnlessAPaneHoldsIt()
    {
        Fixture w(5);
        QSignalSpy seeks(&w.document, &Document::seekPausedVideoRequested);
        w.document.setSelectedSubtitleIndexes(IndexSet(3));
        w.document.setSelectionSeeksVideo(false);
        w.document.setSelectedSubtitleIndexes(IndexSet(1));
        w.document.setSelectionSeeksVideo(true);
        QCOMPARE(seeks.size(), 1);
        QCOMPARE(seeks.first().first().toDouble(), 30.0);

        // An update of the very subtitles selected, even moved, is no new selection;
        // another subtitle moving into the selection's row is.
        seeks.clear();
        w.controller().setStart(1, 25); // to row 2
        QVERIFY(seeks.isEmpty());
        w.controller().setStart(0, 26); // into row 2
        QCOMPARE(seeks.size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_Document)
#include "tst_document.moc"
