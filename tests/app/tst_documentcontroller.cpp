#include "document/Document.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/DocumentFormatLabel.h"
#include "app/RecoveryStore.h"
#include "app/RepairsWindow.h"
#include "document/TextEncoding.h"

#include <QPlainTextEdit>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Answers the next message box with the button whose text is `text`; `shown` gets its text.
static void answerNextMessageBox(const QString &text, QString *shown = nullptr)
{
    QTimer::singleShot(0, [text, shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (shown)
            *shown = box->text();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        QFAIL(qPrintable(QStringLiteral("no button %1").arg(text)));
    });
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
        QCOMPARE(first.text, QStringLiteral("A new beginning."));
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

    void openingTheSameFileTwiceKeepsOneWindow()
    {
        DocumentController controller;
        const QString path = writeFile("b.srt", "1\n00:00:01,000 --> 00:00:02,000\nB\n");
        Document *first = controller.openDocument(path);
        QCOMPARE(controller.openDocument(path), first);
        QCOMPARE(controller.documents().size(), 1);
        QCOMPARE(controller.recentFiles().first(), QFileInfo(path).absoluteFilePath());
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
            QCOMPARE(document->subtitleController().at(0)->text, QStringLiteral("caf\u00e9"));
            QCOMPARE(document->encoding(), TextEncoding::Utf8);
            // Detection guessed right here; reopening as Windows-1252 shows what a wrong guess looks like
            controller.reopenWithEncoding(document, western);
            QCOMPARE(document->subtitleController().at(0)->text, QStringLiteral("caf\u00c3\u00a9"));
            QCOMPARE(DocumentController::windowOf(document)->findChild<DocumentFormatLabel *>()->text(),
                     QStringLiteral("Western European (Windows-1252) \u00b7 LF"));
            QVERIFY(controller.quit());
        }
        DocumentController controller;
        QVERIFY(controller.restoreSession());
        Document *document = controller.documents().first();
        QCOMPARE(document->encoding(), western); // read as it was chosen, not detected again
        QCOMPARE(document->subtitleController().at(0)->text, QStringLiteral("caf\u00c3\u00a9"));
        controller.reopenWithEncoding(document, TextEncoding::Utf8);
        document->subtitleController().setText(QStringLiteral("edited"), 0);
        answerNextMessageBox(QStringLiteral("Discard"));
        controller.revertToSaved(document);
        QCOMPARE(document->subtitleController().at(0)->text, QStringLiteral("caf\u00e9"));
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
        QVERIFY(!store.save("crashed", {std::make_shared<Subtitle>(QStringLiteral("New"), 1, 2)},
                            QFileInfo(path).absoluteFilePath(), std::nullopt));
        DocumentController controller;
        answerNextMessageBox(QStringLiteral("Recover"));
        QVERIFY(controller.offerRecovery());
        Document *document = controller.documents().first();
        QCOMPARE(document->subtitleController().at(0)->text, QStringLiteral("New"));
        QVERIFY(document->isModified());
        QCOMPARE(document->filePath(), QFileInfo(path).absoluteFilePath());
        answerNextMessageBox(QStringLiteral("Don’t Save"));
        QVERIFY(controller.quit());
        QVERIFY(RecoveryStore().entries().isEmpty()); // discarded by the user
    }
};

QTEST_MAIN(tst_DocumentController)
#include "tst_documentcontroller.moc"
