// The text box under the list with a real document: typing, undo, the counts, italic.
#include "document/Document.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextBox.h"
#include "list/SubtitleTextEditor.h"
#include "style/ProblemColour.h"

#include "SubtitleText.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

class tst_SubtitleTextBox : public QObject
{
    Q_OBJECT

private slots:
    void typingIsOneStepAndTheCountsFollow()
    {
        Document document;
        document.attachController();
        document.subtitleController().setSubtitles(subtitlesFrom("Hello@1-3|Two@4-5"));
        SubtitleTextBox box(&document);
        box.show();
        QApplication::setActiveWindow(&box);
        SubtitleTextEditor *editor = box.editor();
        auto *speed = box.findChild<QLabel *>();
        const auto text = [&document] { return document.subtitleController().at(0)->text(); };
        const auto speedIsMarked = [&] {
            return speed->palette().color(QPalette::Window) == ProblemColour::background();
        };

        document.setSelectedSubtitleIndexes({0, 1});
        QVERIFY(!editor->isEnabled());
        QVERIFY(editor->toPlainText().isEmpty());
        document.setSelectedSubtitleIndexes(IndexSet(0));
        QVERIFY(editor->isEnabled());
        editor->setFocus();
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, QStringLiteral(" world"));
        QCOMPARE(text(), QStringLiteral("Hello world")); // the list has it as it is typed
        QVERIFY2(speed->text().startsWith(QStringLiteral("5.5 ")), qPrintable(speed->text()));
        QTest::keyClicks(editor, QStringLiteral(", and a long line that is read too fast"));
        QVERIFY(speedIsMarked());

        document.undoManager().undo();
        QCOMPARE(text(), QStringLiteral("Hello"));
        QVERIFY(!document.undoManager().canUndo());
        QCOMPARE(editor->toPlainText(), QStringLiteral("Hello"));
        QVERIFY(!speedIsMarked());

        // A change from elsewhere keeps the caret.
        editor->moveCursor(QTextCursor::Start);
        editor->moveCursor(QTextCursor::Right);
        document.undoManager().runAsOneStep(QStringLiteral("Edit Text"),
                                            [&] { document.subtitleController().setText(QStringLiteral("Hello there"), 0); });
        QCOMPARE(editor->toPlainText(), QStringLiteral("Hello there"));
        QCOMPARE(editor->textCursor().position(), 1);

        // Ctrl+I takes the word at the caret, as a step of its own; tags are not counted.
        const QString speedBefore = speed->text();
        QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(text(), QStringLiteral("<i>Hello</i> there"));
        QCOMPARE(document.undoManager().undoActionName(), QStringLiteral("Italic"));
        QCOMPARE(speed->text(), speedBefore);

        // Saving in the middle of a burst splits it: undo goes back to what was saved.
        editor->moveCursor(QTextCursor::End);
        QTest::keyClick(editor, Qt::Key_A);
        document.undoManager().setClean();
        QTest::keyClick(editor, Qt::Key_B);
        document.undoManager().undo();
        QVERIFY(document.undoManager().isClean());
        QCOMPARE(text(), QStringLiteral("<i>Hello</i> therea"));
        // So does going to another subtitle and back.
        QTest::keyClick(editor, Qt::Key_C);
        document.setSelectedSubtitleIndexes(IndexSet(1));
        document.setSelectedSubtitleIndexes(IndexSet(0));
        editor->moveCursor(QTextCursor::End);
        QTest::keyClick(editor, Qt::Key_D);
        document.undoManager().undo();
        QCOMPARE(text(), QStringLiteral("<i>Hello</i> thereac"));

        // The last subtitle goes while shown: the box follows the selection to the one before.
        document.setSelectedSubtitleIndexes(IndexSet(1));
        SubtitleController &controller = document.subtitleController();
        controller.removeSubtitles({controller.at(1)}, IndexSet(1));
        QCOMPARE(editor->toPlainText(), text());
    }
};

QTEST_MAIN(tst_SubtitleTextBox)
#include "tst_subtitletextbox.moc"
