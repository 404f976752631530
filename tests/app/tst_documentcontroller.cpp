#include "document/Document.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/RecoveryStore.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Answers the next message box with the button whose text is `text`.
static void answerNextMessageBox(const QString &text)
{
    QTimer::singleShot(0, [text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
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
