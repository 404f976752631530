#include "PanelFixture.h"

#include "panels/FindReplaceDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

namespace {
// Starts a search the way a button does and waits for its outcome.
template<typename Start>
void searchAndWait(FindReplaceDialog &dialog, Start start)
{
    QSignalSpy finished(&dialog, &FindReplaceDialog::searchFinished);
    start();
    QVERIFY(finished.count() == 1 || finished.wait());
    QVERIFY(!dialog.isSearching());
}
} // namespace

// The Find and Replace window, driven as a user drives it.
class tst_FindReplace : public QObject
{
    Q_OBJECT

private slots:
    void findSelectsAndReplaceAllIsOneStep()
    {
        PanelFixture fixture(3); // "Line 1" … "Line 3"
        FindReplaceDialog dialog(&fixture.document);
        dialog.findField()->setText(QStringLiteral("line"));
        searchAndWait(dialog, [&] { dialog.findNext(); });
        QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet(0));
        searchAndWait(dialog, [&] { dialog.findNext(); });
        QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet(1));
        searchAndWait(dialog, [&] { dialog.findPrevious(); });
        QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet(0));

        dialog.replaceField()->setText(QStringLiteral("Row"));
        searchAndWait(dialog, [&] { dialog.replaceAll(); });
        QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("Replaced 3 occurrence(s)."));
        QCOMPARE(fixture.controller().at(2)->text(), QStringLiteral("Row 3"));
        QTRY_COMPARE(fixture.document.undoManager().undoActionName(), QStringLiteral("Replace All"));
    }

    void replaceReplacesTheFoundMatchThenMovesOn_data()
    {
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("firstText");
        QTest::newRow("a longer text") << "Line Line" << "Line Line 1";
        // The same text again: no change to undo, and still on to the next match.
        QTest::newRow("the match itself") << "Line" << "Line 1";
    }

    void replaceReplacesTheFoundMatchThenMovesOn()
    {
        QFETCH(QString, replacement);
        QFETCH(QString, firstText);
        PanelFixture fixture(2);
        FindReplaceDialog dialog(&fixture.document);
        dialog.findField()->setText(QStringLiteral("Line"));
        dialog.replaceField()->setText(replacement);
        searchAndWait(dialog, [&] { dialog.findNext(); });
        searchAndWait(dialog, [&] { dialog.replace(); });
        QCOMPARE(fixture.controller().at(0)->text(), firstText);
        // The next match is in the next subtitle, not inside the replacement.
        QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet(1));
        QCoreApplication::processEvents();
        QCOMPARE(fixture.document.undoManager().canUndo(), firstText != QStringLiteral("Line 1"));
    }

    // An expression the engine gives up on is reported as such, and Replace All then
    // changes nothing, not even the texts it could have replaced.
    void tooComplexIsNeverNotFound()
    {
        PanelFixture fixture;
        SubtitleList subtitles{Subtitle::create(QStringLiteral("a b"), 0, 1)};
        for (int i = 1; i < 50; ++i)
            subtitles << Subtitle::create(QString(40, u'a') + u'b', 2.0 * i, 2.0 * i + 1);
        fixture.controller().setSubtitles(subtitles);
        fixture.document.setSelectedSubtitleIndexes(IndexSet(1));
        FindReplaceDialog dialog(&fixture.document);
        dialog.regularExpression()->setChecked(true);
        dialog.findField()->setText(QStringLiteral("(a+)+$|b"));
        dialog.replaceField()->setText(QStringLiteral("x"));

        searchAndWait(dialog, [&] { dialog.findNext(); });
        QCOMPARE(dialog.statusLabel()->text(), QStringLiteral("The expression is too complex to search with."));
        QCOMPARE(fixture.document.selectedSubtitleIndexes(), IndexSet(1));

        searchAndWait(dialog, [&] { dialog.replaceAll(); });
        QVERIFY(dialog.statusLabel()->text().startsWith(QStringLiteral("The expression is too complex")));
        QCOMPARE(fixture.controller().at(0)->text(), QStringLiteral("a b")); // where "b" would have been replaced
        QCoreApplication::processEvents();
        QVERIFY(!fixture.document.undoManager().canUndo());
    }

    // A long Replace All can be ended at any slice; it then changes nothing.
    void replaceAllStopsWhole_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("status");
        QTest::newRow("Stop") << "stop" << "Stopped; nothing was replaced.";
        QTest::newRow("the list changes") << "edit" << "The subtitles changed, so the search stopped.";
        QTest::newRow("the file is read again") << "reload" << "The subtitles changed, so the search stopped.";
        QTest::newRow("the window closes") << "close" << "Stopped; nothing was replaced.";
    }

    void replaceAllStopsWhole()
    {
        QFETCH(QString, how);
        QFETCH(QString, status);
        PanelFixture fixture(5000); // more than one slice, however fast the machine
        FindReplaceDialog dialog(&fixture.document);
        dialog.show();
        dialog.findField()->setText(QStringLiteral("Line"));
        dialog.replaceField()->setText(QStringLiteral("Row"));
        connect(&dialog, &FindReplaceDialog::searchProgressed, &dialog, [&] {
            if (how == u"stop")
                QTest::mouseClick(dialog.stopButton(), Qt::LeftButton);
            else if (how == u"edit")
                fixture.controller().setText(QStringLiteral("Edited"), 4999);
            else if (how == u"reload")
                fixture.controller().setSubtitles(fixture.controller().subtitles());
            else
                dialog.close();
        });
        searchAndWait(dialog, [&] { dialog.replaceAll(); });
        QCOMPARE(dialog.statusLabel()->text(), status);
        QCOMPARE(fixture.controller().at(0)->text(), QStringLiteral("Line 1"));
        QVERIFY(fixture.document.undoManager().undoActionName() != QStringLiteral("Replace All"));
        QVERIFY(dialog.stopButton()->isHidden());
    }

    // Ctrl+F and Ctrl+H both put the cursor in Find; Ctrl+Z undoes the field's typing
    // first, then the document's edits.
    void keysOfTheFindWindow()
    {
        PanelFixture fixture(2);
        fixture.document.undoManager().runAsOneStep(QStringLiteral("Edit"), [&] {
            fixture.controller().setText(QStringLiteral("Changed"), 0);
        });
        QCoreApplication::processEvents();
        FindReplaceDialog *dialog = FindReplaceDialog::open(&fixture.document, &fixture.window);
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        QCOMPARE(dialog->focusWidget(), dialog->findField());

        QTest::keyClicks(dialog->findField(), QStringLiteral("ab"));
        QTest::keyClick(dialog->findField(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(dialog->findField()->text(), QString());
        QCOMPARE(fixture.controller().at(0)->text(), QStringLiteral("Changed"));
        QTest::keyClick(dialog->findField(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fixture.controller().at(0)->text(), QStringLiteral("Line 1"));
        // Redo likewise: the field's typing comes back first, then the document's edit.
        QTest::keyClick(dialog->findField(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialog->findField()->text(), QStringLiteral("ab"));
        QCOMPARE(fixture.controller().at(0)->text(), QStringLiteral("Line 1"));
        QTest::keyClick(dialog->findField(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(fixture.controller().at(0)->text(), QStringLiteral("Changed"));
        // From a check box, straight to the document.
        dialog->caseSensitive()->setFocus();
        QTest::keyClick(dialog->caseSensitive(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(fixture.controller().at(0)->text(), QStringLiteral("Line 1"));
    }
};

QTEST_MAIN(tst_FindReplace)
#include "tst_findreplace.moc"
