#include "app/lifecycle/DialogFolder.h"
#include "app/lifecycle/DocumentController.h"
#include "app/window/DocumentWindow.h"
#include "app/window/EncodingPreview.h"
#include "app/lifecycle/RecoveryDialog.h"
#include "app/lifecycle/RecoveryStore.h"
#include "app/lifecycle/RepairsWindow.h"
#include "app/commands/TranslationCommands.h"
#include "document/Document.h"
#include "document/FileIdentity.h"
#include "document/SharedFileWatcher.h"
#include "document/TextEncoding.h"
#include "format/OwnFile.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

#include "EbuStlFile.h"
#include "EncodingSamples.h"
#include "ModalAnswers.h"
#include "SubtitleText.h"
#include "TestMedia.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

using EncodingSamples::readAll;

namespace {

QByteArray srt(const QByteArray &text)
{
    return "1\n00:00:01,000 --> 00:00:02,000\n" + text + "\n";
}

const QString dontSave = QStringLiteral("Don’t Save");

QString entryFile(const QString &id, const char *suffix)
{
    return RecoveryStore::defaultDirectory() + u'/' + id + QLatin1String(suffix);
}

QByteArray utf16(const QByteArray &latin1)
{
    const QString text = QString::fromLatin1(latin1);
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QStringList textsOf(Document *document)
{
    return textsOf(document->subtitleController().subtitles());
}

} // namespace

// The controller's questions and messages, and what each answer keeps or loses.
class tst_DocumentController : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<DocumentController> m_controller;

    // A new start of the program: the last one quit (its documents left as they are).
    DocumentController &restart()
    {
        if (m_controller && !m_controller->documents().isEmpty()) {
            for (Document *document : m_controller->documents())
                document->undoManager().setClean();
            m_controller->quit();
        }
        m_controller.reset(); // the one before goes first: one controller at a time
        m_controller = std::make_unique<DocumentController>();
        return *m_controller;
    }

    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        EncodingSamples::writeAll(path, content);
        return path;
    }

    static void edit(Document *document, const QString &text)
    {
        document->subtitleController().setText(text, 0);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        // A home of its own: another run of this test at the same time (in another
        // checkout) would share the recovery folder and the settings.
        QVERIFY(QDir().mkpath(m_dir.filePath("home")));
        qputenv("HOME", QFile::encodeName(m_dir.filePath("home")));
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("cuewright-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_documentcontroller"));
        QSettings().clear();
        QDir(RecoveryStore::defaultDirectory()).removeRecursively();
    }

    void cleanup()
    {
        restart();
        m_controller.reset();
    }

    void fileDialogsStartBesideTheDocument_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<QString>("file"); // empty: an untitled document
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("folder"); // where the dialog starts
        const QByteArray srt = "1\n00:00:01,000 --> 00:00:02,000\nHello\n";
        QTest::newRow("open beside the document's file") << false << "films/a.srt" << srt << "films";
        QTest::newRow("save as a format only read, beside its file") << true << "films/a.txt" << QByteArray("[10][20]Hello\n") << "films";
        QTest::newRow("open from an untitled document, where a file was last chosen") << false << QString() << QByteArray() << "last";
        QTest::newRow("save an untitled document where a file was last chosen") << true << QString() << QByteArray() << "last";
    }

    void fileDialogsStartBesideTheDocument()
    {
        QFETCH(bool, saveAs);
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, folder);
        QVERIFY(QDir().mkpath(m_dir.filePath("films")) && QDir().mkpath(m_dir.filePath("last")));
        DialogFolder::remember(m_dir.filePath("last/chosen.srt"));
        DocumentController &controller = restart();
        Document *document = file.isEmpty() ? controller.newDocument() : controller.openDocument(writeFile(file, content));
        QVERIFY(document);
        QString shownFolder;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&shownFolder] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                shownFolder = dialog->directory().absolutePath();
                dialog->reject();
            }
        });
        answer.start(10);
        if (saveAs)
            controller.saveAs(document);
        else
            controller.showOpenDialog(controller.windowOf(document));
        QCOMPARE(shownFolder, QDir(m_dir.filePath(folder)).absolutePath());
    }

    // Save As offers no encoding but UTF-8 for WebVTT, and writes it in UTF-8.
    void saveAsWebVttOffersOnlyUtf8()
    {
        DocumentController &controller = restart();
        Document *document = controller.openDocument(writeFile("a.srt", "1\n00:00:01,000 --> 00:00:02,000\n\xE6\xF3\xEA \xF1\xE8\xE4\xE8\xF2 \xED\xE0 \xEB\xE8\xF1\xF2\xE5, \xE0 \xF1\xEE\xEB\xED\xF6\xE5 \xF1\xE2\xE5\xF2\xE8\xF2 \xED\xE0\xE4 \xF0\xE5\xEA\xEE\xE9.\n"));
        QVERIFY(document);
        QVERIFY(document->encoding() != std::optional<int>(TextEncoding::Utf8));
        bool offeredOthers = true;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&offeredOthers] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            auto *types = dialog ? dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")) : nullptr;
            if (!types)
                return;
            const int webVtt = types->findText(QStringLiteral("WebVTT"), Qt::MatchStartsWith);
            while (types->currentIndex() < webVtt)
                QTest::keyClick(types, Qt::Key_Down); // as the user picks it
            for (const QComboBox *box : dialog->findChildren<QComboBox *>()) {
                if (box->findData(TextEncoding::Utf8) >= 0)
                    offeredOthers = box->isEnabled() || box->currentData().toInt() != TextEncoding::Utf8;
            }
            static_cast<QDialog *>(dialog)->accept();
        });
        answer.start(10);
        QVERIFY(controller.saveAs(document));
        QVERIFY(!offeredOthers);
        QCOMPARE(readAll(m_dir.filePath("a.vtt")), QStringLiteral("WEBVTT\n\n00:00:01.000 --> 00:00:02.000\nжук сидит на листе, а солнце светит над рекой.\n").toUtf8());
    }

    // Each answer keeps what it says, and work thrown away is not offered again, even when
    // tearing the window down takes long or fails. Quitting asks about every window, and a
    // cancelled quit leaves all of them open.
    void closingUnsavedWorkAsks()
    {
        QSettings().setValue("autosaveDelaySeconds", 1);
        DocumentController &controller = restart();
        const QString path = writeFile("kept.srt", srt("Old"));
        Document *kept = controller.openDocument(path);
        edit(kept, QStringLiteral("kept"));
        const auto entryIds = [] {
            QStringList ids;
            for (const RecoveryStore::Entry &entry : RecoveryStore().entries())
                ids << entry.id;
            return ids;
        };
        QTRY_COMPARE_WITH_TIMEOUT(entryIds().size(), 1, 10000);
        const QStringList keptEntry = entryIds();
        Document *closed = controller.newDocument();
        edit(closed, QStringLiteral("thrown away"));
        QTRY_COMPARE_WITH_TIMEOUT(entryIds().size(), 2, 10000);
        QCOMPARE(closed->displayName(), QStringLiteral("Untitled"));
        answerNext({QStringLiteral("Cancel")});
        QVERIFY(!controller.quit());
        QCOMPARE(controller.documents().size(), 2);
        QPointer<DocumentWindow> closedWindow = controller.windowOf(closed);
        QVERIFY(closedWindow->isVisible());
        answerNext({dontSave});
        QVERIFY(closedWindow->close());
        QCOMPARE(entryIds(), keptEntry); // at once, before the window is torn down
        QCOMPARE(controller.documents(), QList<Document *>{kept});
        QTRY_VERIFY(!closedWindow);
        int entriesWhileClosing = -1;
        Document *second = controller.newDocument();
        edit(second, QStringLiteral("thrown away too"));
        QCOMPARE(second->displayName(), QStringLiteral("Untitled 2")); // not two of one name
        QTRY_COMPARE_WITH_TIMEOUT(entryIds().size(), 2, 10000);
        connect(controller.windowOf(second), &QObject::destroyed, this,
                [&entriesWhileClosing, &entryIds] { entriesWhileClosing = int(entryIds().size()); });
        answerNext({QStringLiteral("Save"), dontSave});
        QVERIFY(controller.quit());
        QVERIFY(controller.documents().isEmpty());
        QTRY_COMPARE(entriesWhileClosing, 0);
        QCOMPARE(readAll(path), srt("kept") + "\n");
        QSettings().remove("autosaveDelaySeconds");
    }

    // Another program writes an open file: the window asks, and Reload takes their text in.
    void aChangeOnDiskIsAskedAboutAndReloaded()
    {
        DocumentController &controller = restart();
        const QString path = writeFile("open.srt", srt("Ours"));
        Document *document = controller.openDocument(path);
        QString asked;
        answerNext({QStringLiteral("Reload")}, &asked);
        writeFile("open.srt", srt("Theirs"));
        QTRY_COMPARE(textsOf(document), QStringList{QStringLiteral("Theirs")});
        QVERIFY2(asked.contains(QStringLiteral("changed by another program")), qPrintable(asked));
    }

    // Another program writes the file while its window closes: nothing is asked about a
    // document that is gone, whichever comes first.
    void aChangeOnDiskAsTheWindowClosesAsksNothing_data()
    {
        QTest::addColumn<bool>("unsaved");
        QTest::newRow("saved: the window closes at once") << false;
        QTest::newRow("unsaved: the change comes while Save Changes is asked") << true;
    }

    void aChangeOnDiskAsTheWindowClosesAsksNothing()
    {
        QFETCH(bool, unsaved);
        DocumentController &controller = restart();
        // A change is looked at on the event loop's next turn, and a question put off
        // looks again a moment later.
        controller.setChangeOnDiskDelays(0, 1);
        const QString path = writeFile("closing.srt", srt("Ours"));
        QPointer<Document> document = controller.openDocument(path);
        QPointer<DocumentWindow> window = controller.windowOf(document);
        if (unsaved) {
            edit(document, QStringLiteral("Mine"));
            // Their file lands while the question is open; the answer comes once the
            // change has been noticed and its own question put off.
            QTimer::singleShot(0, this, [this, path] {
                QTRY_VERIFY(QApplication::activeModalWidget());
                writeFile("closing.srt", srt("Theirs"));
                SharedFileWatcher::instance().notice(path);
                QCoreApplication::processEvents();
                buttonOf(QApplication::activeModalWidget(), dontSave)->click();
            });
        } else {
            writeFile("closing.srt", srt("Theirs"));
        }
        QVERIFY(window->close());
        QVERIFY(controller.documents().isEmpty());
        QString asked;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&asked] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                asked = dialog->windowTitle();
                dialog->close();
            }
        });
        watch.start(10);
        // Once the document is gone, nothing it left waiting can ask.
        QTRY_VERIFY(!document);
        QCoreApplication::processEvents();
        QVERIFY2(asked.isEmpty(), qPrintable(asked));
        QVERIFY(!window);
        QVERIFY(readAll(path).contains("Theirs"));
    }

    // A file has one window and one entry in the recent files, however it is reached.
    void eachFileIsOpenOnceAndListedOnceNewestFirst()
    {
        QSettings().setValue("recentFilesLimit", 2);
        DocumentController &controller = restart();
        controller.recentFiles().clear();
        const QString a = writeFile("a.srt", srt("A")), b = writeFile("b.srt", srt("B"));
        controller.windowOf(controller.openDocument(a))->close();
        QCoreApplication::processEvents(); // the window and the file's lock go
        Document *first = controller.openDocument(a);
        QVERIFY(QFile::link(a, m_dir.filePath("symbolic.srt")));
        QCOMPARE(::link(QFile::encodeName(a).constData(), QFile::encodeName(m_dir.filePath("hard.srt")).constData()), 0);
        for (const char *other : {"a.srt", "symbolic.srt", "hard.srt"})
            QCOMPARE(controller.openDocument(m_dir.filePath(other)), first);
        QCOMPARE(controller.documents().size(), 1);
        QCOMPARE(controller.recentFiles().list(), QStringList{a});
        controller.openDocument(b);
        controller.openDocument(writeFile("c.srt", srt("C")));
        QCOMPARE(controller.recentFiles().list(), (QStringList{m_dir.filePath("c.srt"), b}));
        QSettings().remove("recentFilesLimit");
    }

    void aMalformedFileIsRepairedOnlyWhenAsked_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("refused") << "Cancel";
        QTest::newRow("repaired") << "Repair";
    }

    void aMalformedFileIsRepairedOnlyWhenAsked()
    {
        QFETCH(QString, answer);
        DocumentController &controller = restart();
        const QByteArray bytes("0\n00:00:01,000-->00:00:02,000\nA\n\n\n1\n00:00:03.5 --> 00:00:04,000\nB\n");
        const QString path = writeFile("sloppy.srt", bytes);
        QString shown;
        answerNext({answer}, &shown);
        Document *document = controller.openDocument(path);
        QCOMPARE(shown, QStringLiteral("Error at line 0.\nInvalid index.\nLine 0 reads “0”.")); // as --check says
        QCOMPARE(readAll(path), bytes); // untouched until saved
        QCOMPARE(controller.documents().size(), answer == "Repair" ? 1 : 0);
        if (!document)
            return;
        QCOMPARE(document->subtitleController().count(), 2);
        QVERIFY(document->isModified());
        // What was mended, each line named as the alert names it and by its text.
        auto *repairs = controller.windowOf(document)->findChild<RepairsWindow *>();
        QVERIFY(repairs);
        const QStringList listed = repairs->findChild<QPlainTextEdit *>()->toPlainText().split(u'\n');
        QCOMPARE(listed.size(), 4);
        QCOMPARE(listed[0], QStringLiteral("Line 0 “0”: Subtitle numbered 0 where 1 was expected: numbered in order."));
        QCOMPARE(listed[2], QStringLiteral("Line 4 (empty): Skipped 1 extra blank line."));
    }

    // One Save As in Windows-1252 once made every later UTF-8 file open as mojibake. The
    // session reopens files as they were read, and skips those gone since.
    void theSessionKeepsAChosenEncodingThatNeverGarblesLaterFiles()
    {
        const int western = *TextEncoding::numberForName(u"windows-1252");
        const QString path = writeFile("utf8.srt", srt("caf\xC3\xA9\n\n2\n00:00:03,000 --> 00:00:04,000\nD"));
        {
            DocumentController &controller = restart();
            QSettings().setValue(QStringLiteral("saveEncoding"), western); // as the Save dialog stores it
            QVERIFY(controller.newDocument()->write(m_dir.filePath("western.srt"), western));
            Document *document = controller.openDocument(path);
            QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("caf\u00e9"));
            controller.reopenWithEncoding(document, western);
            QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("caf\u00c3\u00a9"));
            document->setSelectedSubtitleIndexes(IndexSet(1));
            QVERIFY(controller.windowOf(document)->translationCommands()->attachOriginal(writeFile("gone-original.srt", srt("O")), 0));
            controller.openDocument(writeFile("gone.srt", srt("C")));
            QVERIFY(controller.quit());
        }
        QSettings().remove(QStringLiteral("saveEncoding"));
        QFile::remove(m_dir.filePath("gone.srt"));
        QFile::remove(m_dir.filePath("gone-original.srt")); // said in the status bar; the translation still opens
        DocumentController &controller = restart();
        QVERIFY(controller.restoreSession());
        QCOMPARE(controller.documents().size(), 1);
        Document *document = controller.documents().first();
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("caf\u00c3\u00a9")); // as chosen, not detected again
        QCOMPARE(document->selectedSubtitleIndexes(), IndexSet(1));
        QVERIFY(!document->originalSubtitles().isAttached());
        QVERIFY(controller.windowOf(document)->statusBar()->currentMessage().contains(QStringLiteral("gone-original.srt")));
        controller.reopenWithEncoding(document, TextEncoding::Utf8);
        edit(document, QStringLiteral("edited"));
        answerNext({QStringLiteral("Discard")});
        controller.revertToSaved(document);
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("caf\u00e9")); // in its encoding now
    }

    // A guess detection is unsure of is shown above the panes with the lines each encoding
    // it weighed reads; Keep settles it, and so does reopening in the one picked.
    void anUnsureEncodingIsPreviewedAndSettledByTheUser()
    {
        DocumentController &controller = restart();
        const int cyrillic = *TextEncoding::numberForName(u"windows-1251");
        const QString path = writeFile("thanks.srt", TextEncoding::encode(u"1\n00:00:01,000 --> 00:00:03,000\nСпасибо.\n", cyrillic).value());
        Document *document = controller.openDocument(path);
        DocumentWindow *window = controller.windowOf(document);
        auto *preview = window->findChild<EncodingPreview *>();
        auto *encodings = preview->findChild<QComboBox *>();
        auto *excerpt = preview->findChild<QPlainTextEdit *>();
        const auto button = [preview](const QString &text) {
            const QList<QPushButton *> buttons = preview->findChildren<QPushButton *>();
            return *std::find_if(buttons.cbegin(), buttons.cend(), [&](QPushButton *b) { return b->text() == text; });
        };
        QVERIFY(preview->isVisibleTo(window));
        QVERIFY(encodings->count() >= 2);
        QCOMPARE(encodings->currentData().toInt(), cyrillic);
        QCOMPARE(excerpt->toPlainText(), QStringLiteral("Спасибо."));
        encodings->setCurrentIndex(1);
        const QString otherReading = excerpt->toPlainText();
        QVERIFY(otherReading != QStringLiteral("Спасибо."));

        button(QStringLiteral("&Keep"))->click();
        QVERIFY(!preview->isVisibleTo(window));
        QCOMPARE(document->encoding(), cyrillic);

        controller.reopenWithEncoding(document, TextEncoding::Automatic);
        QVERIFY(preview->isVisibleTo(window));
        encodings->setCurrentIndex(1);
        const int other = encodings->currentData().toInt();
        button(QStringLiteral("Reo&pen in This Encoding"))->click();
        QCOMPARE(document->encoding(), other);
        QCOMPARE(document->subtitleController().at(0)->text(), otherReading);
        QVERIFY(!preview->isVisibleTo(window));
    }

    void aCharacterTheEncodingLacksNamesItsSubtitleAndOffersUtf8()
    {
        DocumentController &controller = restart();
        const QString path = writeFile("latin.srt", srt("A\n\n2\n00:00:03,000 --> 00:00:04,000\nB"));
        Document *document = controller.openDocument(path, nullptr, *TextEncoding::numberForName(u"ISO-8859-1"));
        document->subtitleController().setText(QStringLiteral("5 \u20ac"), 1);
        QString shown;
        answerNext({QStringLiteral("Save as UTF-8")}, &shown);
        QVERIFY(controller.save(document));
        QVERIFY2(shown.endsWith(QStringLiteral("It is in subtitle 2.")), qPrintable(shown));
        QCOMPARE(document->encoding(), TextEncoding::Utf8);
        QVERIFY(readAll(path).endsWith("5 \xE2\x82\xAC\n\n"));
    }

    // What a kill -9 leaves on disk is enough: the window's video, position, zoom and
    // selection reach the entry without another edit, and come back with the work.
    void recoveredWorkComesBackAsItWas()
    {
        const QString video = m_dir.filePath("film.mp4");
        QVERIFY(TestMedia::makeVideo(video));
        QSettings().setValue("autosaveDelaySeconds", 1);
        DocumentController &controller = restart();
        const QString path = writeFile("film.srt", srt("One") + "\n2\n00:00:02,000 --> 00:00:03,000\nTwo\n\n"
                                                          "3\n00:00:04,000 --> 00:00:05,000\nThree\n");
        Document *document = controller.openDocument(path);
        DocumentWindow *window = controller.windowOf(document);
        // The original, in an encoding chosen for it, comes back in the same one.
        const int western = *TextEncoding::numberForName(u"windows-1252");
        const QString original = writeFile("original.srt", srt("caf\xE9"));
        QVERIFY(window->translationCommands()->attachOriginal(original, western));
        edit(document, QStringLiteral("unsaved"));
        window->videoPlayerViewController()->loadVideo(video);
        QTRY_VERIFY_WITH_TIMEOUT(document->player(), 10000);
        document->setSelectedSubtitleIndexes(IndexSet(2)); // which takes the paused video to its start
        window->timelineViewController()->zoomAbout(4, 0);
        document->setQualityProfile(QStringLiteral("children-25"));
        window->videoPlayerViewController()->seekTo(1.5);
        const auto kept = [](const QString &key) {
            const QList<RecoveryStore::Entry> entries = RecoveryStore().entries();
            return entries.isEmpty() ? QVariant() : entries.first().windowState.value(key);
        };
        QTRY_COMPARE_WITH_TIMEOUT(kept("videoBookmarkData").toString(), video, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(kept("selectedIndex").toInt(), 2, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(kept("magnification").toDouble(), 4.0, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(kept("currentTime").toDouble() - 1.5) < 0.1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(kept("frameRate").toDouble(), 25.0, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(kept("qualityProfile").toString(), QStringLiteral("children-25"), 10000);
        QCOMPARE(kept("originalFile").toString(), original);
        QCOMPARE(kept("originalEncoding").toInt(), western);
        // The process is killed: its entry stays as it was on disk.
        const QString id = RecoveryStore().entries().first().id;
        QVERIFY(QFile::copy(entryFile(id, ".srt"), entryFile("killed", ".srt")));
        QVERIFY(QFile::copy(entryFile(id, ".json"), entryFile("killed", ".json")));
        QSettings().remove("autosaveDelaySeconds");

        // A start without files recovers, then reopens the last session, which knew the
        // file as it was before this work.
        DocumentController &next = restart();
        QSettings().setValue("session/documents", QVariantList{QVariantMap{
            {"path", path}, {"magnification", 1.0}, {"qualityProfile", "adult-25"}, {"selectedIndex", 0}}});
        answerNext({QStringLiteral("Recover")});
        QVERIFY(next.offerRecovery());
        next.restoreSession();
        QCOMPARE(next.documents().size(), 1);
        Document *recovered = next.documents().first();
        window = next.windowOf(recovered);
        QCOMPARE(textsOf(recovered), (QStringList{"unsaved", "Two", "Three"}));
        QCOMPARE(recovered->selectedSubtitleIndexes(), IndexSet(2));
        QCOMPARE(window->timelineViewController()->magnification(), 4.0);
        QCOMPARE(recovered->qualityProfileId(), QStringLiteral("children-25"));
        QCOMPARE(recovered->frameRate(), 25.0); // before the video tells it, or if it never does
        QCOMPARE(recovered->originalSubtitles().path(), original);
        QCOMPARE(recovered->originalSubtitles().chosenEncoding(), western);
        QCOMPARE(recovered->originalSubtitles().subtitles().first()->text(), QStringLiteral("caf\u00e9"));
        QTRY_COMPARE_WITH_TIMEOUT(window->videoPlayerViewController()->videoPath(), video, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(recovered->player() && std::abs(recovered->player()->currentTime() - 1.5) < 0.1, 10000);
    }

    // Work a kill left on a file is offered when the file is opened by name, and comes back
    // in its file's format, encoding and line endings when saved.
    void workLeftOnAFileIsOfferedWhenItIsOpened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("SRT in UTF-16 with CRLF")
            << "crlf.srt" << QByteArray("\xFF\xFE") + utf16(srt("One").replace("\n", "\r\n") + "\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\n\r\n");
        QTest::newRow("WebVTT") << "cues.vtt" << QByteArray("WEBVTT\n\n00:00:01.000 --> 00:00:02.000\nOne\n\n00:00:03.000 --> 00:00:04.000\nTwo\n");
        QTest::newRow("ASS") << "styled.ass"
                             << QByteArray("[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\nFormat: Name, Fontname, Fontsize\n"
                                           "Style: Sign,DejaVu Serif,40\n\n[Events]\n"
                                           "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
                                           "Dialogue: 0,0:00:01.00,0:00:02.00,Sign,,0,0,0,,One\n"
                                           "Dialogue: 0,0:00:03.00,0:00:04.00,Sign,,0,0,0,,Two\n");
        QTest::newRow("EBU-STL") << "teletext.stl"
                                 << EbuStlFile().add({.number = 1, .text = "\x0D\x0BOne"})
                                        .add({.number = 2, .in = {0, 0, 3, 0}, .out = {0, 0, 4, 0}, .text = "\x0D\x0BTwo"})
                                        .bytes();
    }

    void workLeftOnAFileIsOfferedWhenItIsOpened()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QSettings().setValue("autosaveDelaySeconds", 1);
        const QString path = writeFile(name, content);
        Document *document = restart().openDocument(path);
        edit(document, QStringLiteral("unsaved"));
        QTRY_COMPARE_WITH_TIMEOUT(RecoveryStore().entries().size(), 1, 10000);
        // The process is killed: its entry stays as it was on disk.
        const QString id = RecoveryStore().entries().first().id;
        QVERIFY(QFile::copy(entryFile(id, ".srt"), entryFile("killed", ".srt")));
        QVERIFY(QFile::copy(entryFile(id, ".json"), entryFile("killed", ".json")));
        QSettings().remove("autosaveDelaySeconds");

        DocumentController &next = restart();
        answerNext({QStringLiteral("Recover")});
        Document *recovered = next.openDocument(path);
        QVERIFY(recovered);
        QCOMPARE(textsOf(recovered), (QStringList{"unsaved", "Two"}));
        QVERIFY(next.save(recovered));
        QByteArray saved = content;
        if (name == "teletext.stl") {
            // Saved as EBU-STL again: the block nobody edited as it was, the edited one with
            // its row codes.
            const QByteArray written = readAll(path);
            QCOMPARE(written.size(), content.size());
            QCOMPARE(written.mid(1024 + 128), content.mid(1024 + 128));
            QCOMPARE(written.mid(1024 + 16, 10), QByteArray("\x0D\x0Bunsaved\x8F"));
            QVERIFY(RecoveryStore().entries().isEmpty());
            return;
        }
        if (name == "crlf.srt")
            saved.replace(utf16("One"), utf16("unsaved"));
        else
            saved.replace("One", "unsaved");
        QCOMPARE(readAll(path), saved);
        QVERIFY(RecoveryStore().entries().isEmpty()); // saved, the work is safe
    }

    // Several entries at once, newest first: only a few are checked, each recovered
    // document gets its own text, file, encoding and window state, the unchecked ones
    // stay for later until discarded, and recovering many asks first. Saving asks when
    // the file changed since the crash.
    void manyEntriesAreOfferedAFewAtATime()
    {
        RecoveryStore store;
        const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-1);
        for (int i = 0; i < 8; ++i) {
            const QString id = QStringLiteral("entry%1").arg(i);
            RecoveryStore::Description description;
            description.originalPath = m_dir.filePath(QStringLiteral("film%1.srt").arg(i));
            description.windowState.insert(QStringLiteral("selectedIndex"), i % 2);
            description.encoding = i % 2 ? 1252 : TextEncoding::Utf8;
            if (i == 7)
                description.base = FileIdentity::of(writeFile("film7.srt", srt("Before")));
            QVERIFY(store.save(id, {Subtitle::create(QStringLiteral("A%1").arg(i), 1, 2), Subtitle::create(QStringLiteral("B%1").arg(i), 3, 4)},
                                description));
            description.savedAt = start.addSecs(i); // written over a session, oldest first
            QVERIFY(OwnFile::write(entryFile(id, ".json"), RecoveryStore::serialize(description), 0600));
        }
        writeFile("film7.srt", srt("Changed after the crash"));
        DocumentController &controller = restart();
        QString asked;
        QTimer::singleShot(0, [&asked] {
            auto *dialog = qobject_cast<RecoveryDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QListWidget *list = dialog->list();
            QCOMPARE(list->count(), 8);
            for (int row = 0; row < 8; ++row) {
                QVERIFY(list->item(row)->toolTip().endsWith(QStringLiteral("film%1.srt").arg(7 - row)));
                QCOMPARE(list->item(row)->checkState(), row < RecoveryDialog::handful ? Qt::Checked : Qt::Unchecked);
            }
            dialog->checkAll()->click();
            answerNext({QStringLiteral("Cancel")}, &asked);
            buttonOf(dialog, QStringLiteral("Recover"))->click(); // asks; Cancel goes back to the list
            QVERIFY(dialog->isVisible());
            dialog->checkAll()->click();
            for (int row : {0, 2, 3, 4, 7})
                list->item(row)->setCheckState(Qt::Checked);
            buttonOf(dialog, QStringLiteral("Recover"))->click();
        });
        QVERIFY(controller.offerRecovery());
        QVERIFY2(asked.contains(u'8'), qPrintable(asked));
        QStringList recovered;
        for (Document *document : controller.documents()) {
            const QString number = QFileInfo(document->filePath()).completeBaseName().mid(4);
            recovered << number;
            QCOMPARE(textsOf(document), (QStringList{"A" + number, "B" + number}));
            QCOMPARE(document->selectedSubtitleIndexes(), IndexSet(number.toInt() % 2));
            QCOMPARE(document->encoding(), number.toInt() % 2 ? 1252 : TextEncoding::Utf8);
            QVERIFY(document->isModified());
        }
        QCOMPARE(recovered, (QStringList{"7", "5", "4", "3", "0"}));
        answerNext({QStringLiteral("Cancel")});
        QVERIFY(!controller.save(controller.documents().first()));
        QVERIFY(readAll(m_dir.filePath("film7.srt")).contains("Changed after the crash"));
        answerNext(QStringList(5, dontSave));
        QVERIFY(controller.quit());
        QStringList left;
        for (const RecoveryStore::Entry &entry : store.entries())
            left << entry.id;
        QCOMPARE(left, (QStringList{"entry1", "entry2", "entry6"}));
        answerNext({QStringLiteral("Discard")}); // gone for good
        QVERIFY(!restart().offerRecovery());
        QVERIFY(store.entries().isEmpty());
    }

    void savingOverAFileChangedByAnotherProgramAsks_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QString>("inTheList");
        QTest::newRow("touched, not changed: no question") << "" << QByteArray("Mine") << "Mine";
        QTest::newRow("cancel keeps their file and my work") << "Cancel" << QByteArray("Theirs") << "Mine";
        QTest::newRow("overwrite writes my work") << "Overwrite" << QByteArray("Mine") << "Mine";
        QTest::newRow("reload takes their file") << "Reload" << QByteArray("Theirs") << "Theirs";
    }

    void savingOverAFileChangedByAnotherProgramAsks()
    {
        QFETCH(QString, answer);
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, inTheList);
        DocumentController &controller = restart();
        const QString path = writeFile("changed.srt", srt("Ours"));
        Document *document = controller.openDocument(path);
        edit(document, QStringLiteral("Mine"));
        if (answer.isEmpty()) {
            QVERIFY(EncodingSamples::touch(path, QDateTime::currentDateTime().addSecs(60)));
        } else {
            writeFile("changed.srt", srt("Theirs"));
        }
        QPointer<ModalAnswers> answerer = answerNext({answer.isEmpty() ? QStringLiteral("Cancel") : answer});
        QCOMPARE(controller.save(document), onDisk == "Mine");
        delete answerer;
        QVERIFY(readAll(path).contains(onDisk));
        QCOMPARE(document->subtitleController().at(0)->text(), inTheList);
        if (answer == "Reload") {
            document->undoManager().undo(); // my work comes back
            QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("Mine"));
        }
    }

    // A settings file that is a link to another of the user's files: the settings it
    // held are kept, and saving settings leaves that file as it was.
    void aSettingsFileThatIsALinkIsNotWrittenThrough()
    {
        QSettings().setValue(QStringLiteral("kept"), QStringLiteral("yes"));
        const QString settingsPath = QSettings().fileName();
        const QString other = m_dir.filePath(QStringLiteral("dotfile.conf"));
        QVERIFY(QFile::rename(settingsPath, other) && QFile::link(other, settingsPath));
        const QByteArray before = readAll(other);
        restart();
        QSettings().setValue(QStringLiteral("written"), 1);
        QSettings().sync();
        QCOMPARE(readAll(other), before);
        QVERIFY(!QFileInfo(settingsPath).isSymLink());
        QCOMPARE(QSettings().value(QStringLiteral("kept")).toString(), QStringLiteral("yes"));
        QSettings().remove(QStringLiteral("kept"));
        QSettings().remove(QStringLiteral("written"));
    }

    void savingToWhatIsNotARegularFileIsRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("why");
        const QString folder = m_dir.filePath("folder.srt");
        QVERIFY(QDir().mkpath(folder));
        QTest::newRow("a folder") << folder << "a folder has that name";
        // What the program sees of a name with the byte 0xFF in it.
        QTest::newRow("a name that is not UTF-8")
            << QFile::decodeName(QFile::encodeName(m_dir.path()) + "/name-\xff.srt") << "not valid UTF-8";
    }

    void savingToWhatIsNotARegularFileIsRefused()
    {
        QFETCH(QString, target);
        QFETCH(QString, why);
        DocumentController &controller = restart();
        Document *document = controller.newDocument();
        edit(document, QStringLiteral("work"));
        document->setFilePath(target);
        QString shown;
        answerNext({QStringLiteral("OK")}, &shown);
        QVERIFY(!controller.save(document));
        QVERIFY2(shown.contains(why), qPrintable(shown));
        QVERIFY(document->isModified());
    }
};

QTEST_MAIN(tst_DocumentController)
#include "tst_documentcontroller.moc"
