// The import window as a user ends it: OK by mouse or keyboard, Cancel or Escape, and
// what the document holds afterwards. (Ctrl+Return is the end-to-end run's.)
#include "PanelFixture.h"

#include "panels/ImportSubtitlesViewController.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

class tst_ImportSubtitles : public QObject
{
    Q_OBJECT

private slots:
    void endingTheWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("texts"); // the document's afterwards
        const QStringList imported{"Line 1", "A", "B", "Line 2"};
        const QStringList kept{"Line 1", "Line 2"};
        QTest::newRow("OK button") << "ok" << imported;
        QTest::newRow("Return on a button presses the default OK") << "tab, return" << imported;
        QTest::newRow("Cancel button") << "cancel" << kept;
        QTest::newRow("Escape") << "escape" << kept;
    }

    void endingTheWindow()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, texts);
        PanelFixture fixture(2);
        fixture.document.setSelectedSubtitleIndexes(IndexSet{1});
        bool acted = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<ImportSubtitlesViewController *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTRY_COMPARE(QApplication::activeWindow(), dialog);
            QWidget *text = dialog->textView();
            QTest::keyClicks(text, QStringLiteral("A"));
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, QStringLiteral("B"));
            if (how == QLatin1String("ok"))
                QTest::mouseClick(dialog->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
            else if (how == QLatin1String("cancel"))
                QTest::mouseClick(dialog->buttons()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
            else if (how == QLatin1String("escape"))
                QTest::keyClick(text, Qt::Key_Escape);
            else {
                QTest::keyClick(text, Qt::Key_Tab);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            acted = true;
            if (dialog->isVisible())
                dialog->reject(); // a failed check above must not leave the test hanging
        });
        ImportSubtitlesViewController::run(&fixture.document, &fixture.window);
        QVERIFY(acted);

        QStringList actual;
        for (const SubtitlePtr &subtitle : fixture.controller().subtitles())
            actual << subtitle->text();
        QCOMPARE(actual, texts);
        UndoManager &undo = fixture.document.undoManager();
        if (texts.size() == 2) {
            QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet{1});
            QVERIFY(!undo.canUndo());
            return;
        }
        // The step is filed when the event that made it is over.
        QTRY_COMPARE(undo.undoActionName(), QStringLiteral("Import Subtitles"));
        undo.undo();
        QCOMPARE(fixture.controller().count(), 2);
        QVERIFY(!undo.canUndo());
    }
};

QTEST_MAIN(tst_ImportSubtitles)
#include "tst_importsubtitles.moc"
