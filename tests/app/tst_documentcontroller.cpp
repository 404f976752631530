#include "app/Autosaver.h"
#include "app/DocumentController.h"
#include "app/DocumentFormatLabel.h"
#include "app/DocumentWindow.h"
#include "app/RecoveryDialog.h"
#include "app/RecoveryStore.h"
#include "app/RepairsWindow.h"
#include "app/TerminationSignals.h"
#include "document/Document.h"
#include "document/FileIdentity.h"
#include "document/OpenFileLock.h"
#include "document/TextEncoding.h"

#include <QListWidget>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QScreen>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Answers the next dialog (a message box or any other) with the button whose text is
// `text`, as soon as it appears; `shown` gets a message box's text.
static void answerNextMessageBox(const QString &text, QString *shown = nullptr)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, text, shown] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        poll->deleteLater();
        if (auto *box = qobject_cast<QMessageBox *>(dialog); box && shown)
            *shown = box->text();
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        QFAIL(qPrintable(QStringLiteral("no button %1 in “%2”").arg(text, dialog->windowTitle())));
    });
    poll->start();
}

static QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class tst_DocumentController : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return path;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("cuewright-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_documentcontroller"));
        QSettings().clear();
        QDir(RecoveryStore::defaultDirectory()).removeRecursively();
    }

    void aNewDocumentStartsWithOneSubtitleAndNothingToUndo()
    {
        DocumentController controller;
        Document *document = controller.newDocument();
        QCOMPARE(document->subtitleController().count(), 1);
        const Subtitle &first = *document->subtitleController().at(0);
        QCOMPARE(first.text(), QStringLiteral("A new beginning."));
        QCOMPARE(first.start, 3.0);
        QCOMPARE(first.end, 8.0);
        QVERIFY(!document->undoManager().canUndo());
        QVERIFY(!document->isModified());
        QVERIFY(controller.quit());
    }

    void theModifiedMarkerFollowsTheUndoStack()
    {
        DocumentController controller;
        const QString path = writeFile("a.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello\n");
        Document *document = controller.openDocument(path);
        QVERIFY(document);
        DocumentWindow *window = DocumentController::windowOf(document);
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("a.srt[*]")));
        QVERIFY(!window->isWindowModified());
        document->subtitleController().setText(QStringLiteral("Changed"), 0);
        QTRY_VERIFY(window->isWindowModified());
        document->undoManager().undo();
        QVERIFY(!window->isWindowModified());
        document->undoManager().redo();
        QVERIFY(window->isWindowModified());
        QVERIFY(controller.save(document));
        QVERIFY(!window->isWindowModified());
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("1\n00:00:01,000 --> 00:00:02,000\nChanged\n\n"));
        QVERIFY(controller.quit());
    }

    void closingUnsavedWorkAsks()
    {
        DocumentController controller;
        Document *document = controller.newDocument();
        document->subtitleController().setText(QStringLiteral("work"), 0);
        QCoreApplication::processEvents();
        answerNextMessageBox(QStringLiteral("Cancel"));
        QVERIFY(!controller.quit());
        QCOMPARE(controller.documents().size(), 1);
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
    }


    void aMalformedFileShowsTheParsersMessage()
    {
        DocumentController controller;
        const QString path = writeFile("bad.srt", "1\n00:00:01,000-->00:00:02,000\nB\n");
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->accept();
        });
        QVERIFY(!controller.openDocument(path));
        QCOMPARE(shown, QStringLiteral("Error at line 1.\nInvalid timestamp."));
    }

    void aRepairableFileOpensRepairedAndModified()
    {
        DocumentController controller;
        const QByteArray bytes("0\n00:00:01,000-->00:00:02,000\nA\n\n\n1\n00:00:03.5 --> 00:00:04,000\nB\n");
        const QString path = writeFile("sloppy.srt", bytes);
        QString shown;
        answerNextMessageBox(QStringLiteral("Repair"), &shown);
        Document *document = controller.openDocument(path);
        QCOMPARE(shown, QStringLiteral("Error at line 0.\nInvalid index.")); // the strict message, as --check says
        QVERIFY(document);
        QCOMPARE(document->subtitleController().count(), 2);
        QCOMPARE(document->subtitleController().at(1)->start, 3.005);
        QVERIFY(document->isModified());
        QCOMPARE(QFile(path).size(), bytes.size()); // untouched until saved
        auto *repairs = DocumentController::windowOf(document)->findChild<RepairsWindow *>();
        QVERIFY(repairs);
        const QString listed = repairs->findChild<QPlainTextEdit *>()->toPlainText();
        QCOMPARE(listed.count(u'\n') + 1, 4);
        QVERIFY2(listed.startsWith(QStringLiteral("Line 1: Subtitle numbered 0 where 1")), qPrintable(listed));
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
    }

    // One Save As in Windows-1252 once made every later UTF-8 file open as mojibake.
    void aChosenEncodingNeverGarblesLaterFiles()
    {
        const int western = *TextEncoding::numberForName(u"windows-1252");
        const QString utf8Path = writeFile("utf8.srt", "1\n00:00:01,000 --> 00:00:02,000\ncaf\xC3\xA9\n");
        {
            DocumentController controller;
            Document *fresh = controller.newDocument();
            QSettings().setValue(QStringLiteral("saveEncoding"), western); // as the Save dialog stores it
            QCOMPARE(fresh->write(m_dir.filePath("western.srt"), western), std::nullopt);
            QCOMPARE(fresh->encoding(), western);

            Document *document = controller.openDocument(utf8Path);
            QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("caf\u00e9"));
            QCOMPARE(document->encoding(), TextEncoding::Utf8);
            // Detection guessed right here; reopening as Windows-1252 shows what a wrong guess looks like
            controller.reopenWithEncoding(document, western);
            QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("caf\u00c3\u00a9"));
            QCOMPARE(DocumentController::windowOf(document)->findChild<DocumentFormatLabel *>()->text(),
                     QStringLiteral("Western European (Windows-1252) \u00b7 LF"));
            QVERIFY(controller.quit());
        }
        DocumentController controller;
        QVERIFY(controller.restoreSession());
        Document *document = controller.documents().first();
        QCOMPARE(document->encoding(), western); // read as it was chosen, not detected again
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("caf\u00c3\u00a9"));
        controller.reopenWithEncoding(document, TextEncoding::Utf8);
        document->subtitleController().setText(QStringLiteral("edited"), 0);
        answerNextMessageBox(QStringLiteral("Discard"));
        controller.revertToSaved(document);
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("caf\u00e9"));
        QVERIFY(controller.quit());
        QSettings().remove(QStringLiteral("saveEncoding"));
    }

    void aCharacterTheEncodingLacksNamesItsSubtitleAndOffersUtf8()
    {
        DocumentController controller;
        const QString path = writeFile("latin.srt", "1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03,000 --> 00:00:04,000\nB\n");
        Document *document = controller.openDocument(path, nullptr, *TextEncoding::numberForName(u"ISO-8859-1"));
        document->subtitleController().setText(QStringLiteral("5 \u20ac"), 1);
        QString shown;
        answerNextMessageBox(QStringLiteral("Save as UTF-8"), &shown);
        QVERIFY(controller.save(document));
        QVERIFY2(shown.endsWith(QStringLiteral("It is in subtitle 2.")), qPrintable(shown));
        QCOMPARE(document->encoding(), TextEncoding::Utf8);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("5 \xE2\x82\xAC\n\n"));
        QVERIFY(controller.quit());
    }

    void theSessionReopensItsDocuments()
    {
        const QString path = writeFile("c.srt", "1\n00:00:01,000 --> 00:00:02,000\nC\n\n2\n00:00:03,000 --> 00:00:04,000\nD\n");
        {
            DocumentController controller;
            Document *document = controller.openDocument(path);
            document->setSelectedSubtitleIndexes(IndexSet(1));
            writeFile("gone.srt", "1\n00:00:01,000 --> 00:00:02,000\nC\n");
            controller.openDocument(m_dir.filePath("gone.srt"));
            QVERIFY(controller.quit());
        }
        QFile::remove(m_dir.filePath("gone.srt")); // skipped quietly next time
        DocumentController controller;
        QVERIFY(controller.restoreSession());
        QCOMPARE(controller.documents().size(), 1);
        QCOMPARE(controller.documents().first()->selectedSubtitleIndexes(), IndexSet(1));
        QVERIFY(controller.quit());
    }

    void unsavedWorkIsOfferedAfterACrash()
    {
        // What a killed session leaves behind: an entry in the recovery store.
        RecoveryStore store;
        const QString path = writeFile("d.srt", "1\n00:00:01,000 --> 00:00:02,000\nOld\n");
        RecoveryStore::Description description;
        description.originalPath = QFileInfo(path).absoluteFilePath();
        QVERIFY(!store.save("crashed", {std::make_shared<Subtitle>(QStringLiteral("New"), 1, 2)}, description));
        DocumentController controller;
        answerNextMessageBox(QStringLiteral("Recover"));
        QVERIFY(controller.offerRecovery());
        Document *document = controller.documents().first();
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("New"));
        QVERIFY(document->isModified());
        QCOMPARE(document->filePath(), QFileInfo(path).absoluteFilePath());
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
        QVERIFY(RecoveryStore().entries().isEmpty()); // discarded by the user
    }

    void savingOverAFileChangedByAnotherProgramAsks_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<QString>("inTheList");
        QTest::newRow("cancel keeps their file and my work") << "Cancel" << QByteArray("Theirs") << "Mine";
        QTest::newRow("overwrite writes my work") << "Overwrite" << QByteArray("Mine") << "Mine";
        QTest::newRow("reload takes their file") << "Reload" << QByteArray("Theirs") << "Theirs";
    }

    void savingOverAFileChangedByAnotherProgramAsks()
    {
        QFETCH(QString, answer);
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, inTheList);
        DocumentController controller;
        const QString path = writeFile("changed.srt", "1\n00:00:01,000 --> 00:00:02,000\nOurs\n");
        Document *document = controller.openDocument(path);
        document->subtitleController().setText(QStringLiteral("Mine"), 0);
        QCoreApplication::processEvents();
        // Same size, so only the content tells.
        writeFile("changed.srt", "1\n00:00:01,000 --> 00:00:02,000\nTheirs\n");
        answerNextMessageBox(answer);
        QCOMPARE(controller.save(document), answer == "Overwrite");
        QVERIFY(readAll(path).contains(onDisk));
        QCOMPARE(document->subtitleController().at(0)->text(), inTheList);
        if (answer == "Reload") {
            document->undoManager().undo(); // my work comes back
            QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("Mine"));
        }
        if (document->isModified())
            answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
    }

    void aTouchedButUnchangedFileIsSavedWithoutAQuestion()
    {
        DocumentController controller;
        const QString path = writeFile("touched.srt", "1\n00:00:01,000 --> 00:00:02,000\nSame\n");
        Document *document = controller.openDocument(path);
        document->subtitleController().setText(QStringLiteral("Mine"), 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(controller.save(document));
        QVERIFY(readAll(path).contains("Mine"));
        QVERIFY(controller.quit());
    }

    void aChangeOnDiskIsNoticedAndItsReloadUndone()
    {
        DocumentController controller;
        const QString path = writeFile("watched.srt", "1\n00:00:01,000 --> 00:00:02,000\nOld\n");
        Document *document = controller.openDocument(path);
        // Written as other editors do: a new file renamed over the old one.
        const QString temporary = writeFile("watched.srt.new", "1\n00:00:01,000 --> 00:00:02,000\nNew text\n");
        QVERIFY(::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0);
        answerNextMessageBox(QStringLiteral("Reload"));
        QTRY_COMPARE(document->subtitleController().at(0)->text(), QStringLiteral("New text"));
        QVERIFY(!document->isModified());
        document->undoManager().undo();
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("Old"));
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
    }

    void recoveredWorkAsksBeforeOverwritingAFileChangedSinceTheCrash()
    {
        const QString path = writeFile("since.srt", "1\n00:00:01,000 --> 00:00:02,000\nBefore\n");
        RecoveryStore::Description description;
        description.originalPath = QFileInfo(path).absoluteFilePath();
        description.base = FileIdentity::of(path);
        QVERIFY(!RecoveryStore().save("since", {std::make_shared<Subtitle>(QStringLiteral("Recovered"), 1, 2)},
                                      description));
        writeFile("since.srt", "1\n00:00:01,000 --> 00:00:02,000\nChanged after the crash\n");
        DocumentController controller;
        answerNextMessageBox(QStringLiteral("Recover"));
        QVERIFY(controller.offerRecovery());
        answerNextMessageBox(QStringLiteral("Cancel"));
        QVERIFY(!controller.save(controller.documents().first()));
        QVERIFY(readAll(path).contains("Changed after the crash"));
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
    }

    void manyRecoveryEntriesAreListedAndOnlyThePickedRecovered()
    {
        RecoveryStore store;
        for (int i = 0; i < 60; ++i)
            QVERIFY(!store.save(QStringLiteral("many-%1").arg(i, 3, 10, QChar(u'0')),
                                {std::make_shared<Subtitle>(QStringLiteral("work %1").arg(i), 1, 2)}, {}));
        DocumentController controller;
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<RecoveryDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            // A scrolling list, not a dialog taller than the screen.
            QVERIFY(dialog->height() < 1000);
            QListWidget *list = dialog->list();
            QCOMPARE(list->count(), 60);
            for (int row = 0; row < list->count(); ++row)
                list->item(row)->setCheckState(row == 7 ? Qt::Checked : Qt::Unchecked);
            for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
                if (button->text() == QStringLiteral("Recover"))
                    button->click();
            }
        });
        QVERIFY(controller.offerRecovery());
        QCOMPARE(controller.documents().size(), 1);
        // The others wait for the next start.
        QCOMPARE(store.entries().size(), 60);
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
        QCOMPARE(store.entries().size(), 59);
        for (const RecoveryStore::Entry &entry : store.entries())
            store.remove(entry.id);
    }

    void aFileReachedAgainHasOneWindow_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("the same path") << "same";
        QTest::newRow("symbolic link") << "symbolic";
        QTest::newRow("hard link") << "hard";
    }

    void aFileReachedAgainHasOneWindow()
    {
        QFETCH(QString, way);
        DocumentController controller;
        const QString path = writeFile("target-" + way + ".srt", "1\n00:00:01,000 --> 00:00:02,000\nT\n");
        QString second = path;
        if (way != QLatin1String("same")) {
            second = m_dir.filePath("link-" + way + ".srt");
            const QByteArray from = QFile::encodeName(path), to = QFile::encodeName(second);
            QVERIFY((way == QLatin1String("symbolic") ? ::symlink(from, to) : ::link(from, to)) == 0);
        }
        Document *first = controller.openDocument(path);
        QCOMPARE(controller.openDocument(second), first);
        QCOMPARE(controller.documents().size(), 1);
        QCOMPARE(controller.recentFiles().first(), QFileInfo(path).absoluteFilePath());
        QVERIFY(controller.quit());
    }

    void aFileOpenInAnotherInstanceIsFlagged()
    {
        const QString path = writeFile("elsewhere.srt", "1\n00:00:01,000 --> 00:00:02,000\nE\n");
        // Another running instance has it open.
        QLockFile other(OpenFileLock::lockPath(path));
        QVERIFY(QDir().mkpath(QFileInfo(other.fileName()).absolutePath()));
        QVERIFY(other.tryLock(0));
        DocumentController controller;
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->accept();
        });
        QVERIFY(controller.openDocument(path));
        QVERIFY2(shown.contains(QString::number(QCoreApplication::applicationPid())), qPrintable(shown));
        QVERIFY(controller.quit());
    }

    void unprotectedWorkIsToldOnce()
    {
        // A file where the recovery folder should be: nothing can be kept.
        const QString folder = RecoveryStore::defaultDirectory();
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        DocumentController controller;
        Document *document = controller.newDocument();
        QStringList shown;
        const auto capture = [&shown] {
            QTimer::singleShot(0, [&shown] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    shown << box->windowTitle();
                    box->accept();
                }
            });
        };
        document->subtitleController().setText(QStringLiteral("one"), 0);
        QCoreApplication::processEvents();
        capture();
        Autosaver::of(document)->flush();
        document->subtitleController().setText(QStringLiteral("two"), 0);
        QCoreApplication::processEvents();
        Autosaver::of(document)->flush(); // still failing: not told again
        QCoreApplication::processEvents();
        QCOMPARE(shown, QStringList{QStringLiteral("Unsaved Work Is Not Protected")});
        QFile::remove(folder);
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
    }

    void quitWithoutSavingLeavesNothingToRecover()
    {
        DocumentController controller;
        Document *document = controller.newDocument();
        document->subtitleController().setText(QStringLiteral("throw away"), 0);
        QCoreApplication::processEvents();
        Autosaver::of(document)->flush();
        QCOMPARE(RecoveryStore().entries().size(), 1);
        // Tearing a window down may take long or fail: the entry must be gone before.
        int entriesWhileClosing = -1;
        connect(DocumentController::windowOf(document), &QObject::destroyed, this,
                [&entriesWhileClosing] { entriesWhileClosing = int(RecoveryStore().entries().size()); });
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
        QCOMPARE(entriesWhileClosing, 0);
    }

    void aSecondInstanceLeavesTheFirstOnesWorkAlone()
    {
        // Another running instance's entry: written and locked by it.
        RecoveryStore store;
        std::unique_ptr<QLockFile> owner = store.lock("alive");
        QVERIFY(owner);
        QVERIFY(!store.save("alive", {std::make_shared<Subtitle>(QStringLiteral("Live"), 1, 2)}, {}));
        {
            DocumentController controller;
            QVERIFY(!controller.offerRecovery()); // nothing offered, so nothing to discard
            QVERIFY(controller.quit());
        }
        QCOMPARE(store.entries().size(), 1);
        owner.reset(); // that instance crashed
        DocumentController controller;
        answerNextMessageBox(QStringLiteral("Discard"));
        QVERIFY(!controller.offerRecovery());
        QVERIFY(store.entries().isEmpty());
    }

    void aTerminationSignalKeepsTheLatestEdit_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM (logout)") << SIGTERM;
        QTest::newRow("SIGHUP (terminal closed)") << SIGHUP;
        QTest::newRow("SIGINT (Ctrl+C)") << SIGINT;
    }

    void aTerminationSignalKeepsTheLatestEdit()
    {
        QFETCH(int, signalNumber);
        QSettings().setValue("autosaveDelaySeconds", 60);
        {
            DocumentController controller;
            TerminationSignals termination;
            int exitCode = -1;
            connect(&termination, &TerminationSignals::received, &controller, [&](int number) {
                controller.keepUnsavedWork(); // then the program leaves its event loop
                exitCode = 128 + number;
            });
            Document *document = controller.newDocument();
            document->subtitleController().setText(QStringLiteral("just typed"), 0);
            QCoreApplication::processEvents();
            ::raise(signalNumber);
            QTRY_COMPARE(exitCode, 128 + signalNumber);
        } // the process ends without the user deciding
        QSettings().remove("autosaveDelaySeconds");
        const QList<RecoveryStore::Entry> entries = RecoveryStore().claimOrphans();
        QCOMPARE(entries.size(), 1);
        QVERIFY(readAll(entries.first().recoveryPath).contains("just typed"));
        RecoveryStore().remove(entries.first().id);
    }

    void hostileSettingsAreSurvived_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("negative recent files limit") << "recentFilesLimit" << QVariant(-1);
        QTest::newRow("recent files limit not a number") << "recentFilesLimit" << QVariant("many");
        QTest::newRow("unknown save encoding") << "saveEncoding" << QVariant(987654);
        QTest::newRow("save encoding not a number") << "saveEncoding" << QVariant("utf-8");
        QTest::newRow("huge autosave delay") << "autosaveDelaySeconds" << QVariant(99999999999.0);
        QTest::newRow("negative autosave delay") << "autosaveDelaySeconds" << QVariant(-5);
    }

    void hostileSettingsAreSurvived()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QSettings().setValue(key, value);
        DocumentController controller;
        const QString path = writeFile("hostile.srt", "1\n00:00:01,000 --> 00:00:02,000\nH\n");
        Document *document = controller.openDocument(path);
        QVERIFY(document);
        QVERIFY(controller.recentFiles().size() <= 100);
        document->subtitleController().setText(QStringLiteral("still protected"), 0);
        QCoreApplication::processEvents();
        Autosaver::of(document)->flush();
        QCOMPARE(RecoveryStore().entries().size(), 1);
        QVERIFY(controller.save(document));
        QVERIFY(readAll(path).contains("still protected"));
        QVERIFY(controller.quit());
        QSettings().remove(key);
    }

    void aHugeStoredWindowComesBackOnScreen()
    {
        QVariantMap state;
        {
            DocumentController controller;
            Document *document = controller.newDocument();
            DocumentController::windowOf(document)->setGeometry(-20000, -20000, 30000, 30000);
            state = DocumentController::windowOf(document)->saveState();
            QVERIFY(controller.quit());
        }
        DocumentController controller;
        Document *document = controller.newDocument();
        DocumentController::windowOf(document)->restoreState(state);
        const QRect available = DocumentController::windowOf(document)->screen()->availableGeometry();
        QVERIFY2(available.contains(DocumentController::windowOf(document)->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(DocumentController::windowOf(document)->frameGeometry().x())
                                .arg(DocumentController::windowOf(document)->frameGeometry().y())
                                .arg(DocumentController::windowOf(document)->frameGeometry().width())
                                .arg(DocumentController::windowOf(document)->frameGeometry().height())));
        QVERIFY(controller.quit());
    }

    void savingToWhatIsNotARegularFileIsRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("a FIFO") << "fifo";
        QTest::newRow("a device") << "/dev/null";
        QTest::newRow("a name that is not UTF-8") << "bad-name";
    }

    void savingToWhatIsNotARegularFileIsRefused()
    {
        QFETCH(QString, target);
        if (target == "fifo") {
            target = m_dir.filePath("fifo.srt");
            QVERIFY(::mkfifo(QFile::encodeName(target).constData(), 0600) == 0);
        } else if (target == "bad-name") {
            // What the program sees of a name with the byte 0xFF in it.
            target = QFile::decodeName(QFile::encodeName(m_dir.path()) + "/name-\xff.srt");
        }
        DocumentController controller;
        Document *document = controller.newDocument();
        document->subtitleController().setText(QStringLiteral("work"), 0);
        document->setFilePath(target);
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->accept();
        });
        QVERIFY(!controller.save(document));
        QVERIFY2(shown.contains("not a regular file") || shown.contains("not valid UTF-8"), qPrintable("shown: " + shown));
        QVERIFY(document->isModified());
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
    }
};

QTEST_MAIN(tst_DocumentController)
#include "tst_documentcontroller.moc"
