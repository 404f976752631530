#include "document/Document.h"
#include "app/lifecycle/DocumentController.h"
#include "app/window/DocumentWindow.h"
#include "app/preferences/KeyboardPreferencesPage.h"
#include "app/preferences/PreferencesDialog.h"
#include "app/preferences/Translator.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextBox.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"
#include "media/MediaSession.h"

#include "EncodingSamples.h"
#include "FakePlayer.h"
#include "ModalAnswers.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using Keys = QMap<QString, QString>;

namespace {

// Every key of the window that could fire: each action's keys and the menu bar's
// Alt+letters. Keys clash when equal or when one begins with the other.
QStringList clashingKeys(QMainWindow *window)
{
    QList<std::pair<QKeySequence, QString>> keys;
    for (QAction *menuAction : window->menuBar()->actions())
        keys.append({QKeySequence::mnemonic(menuAction->text()), menuAction->text()});
    for (QAction *action : window->findChildren<QAction *>()) {
        for (const QKeySequence &shortcut : action->shortcuts())
            keys.append({shortcut, action->text()});
    }
    QStringList clashes;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        for (qsizetype j = i + 1; j < keys.size(); ++j) {
            const QKeySequence &a = keys.at(i).first;
            const QKeySequence &b = keys.at(j).first;
            bool clash = !a.isEmpty() && !b.isEmpty();
            for (int k = 0; clash && k < std::min(a.count(), b.count()); ++k)
                clash = a[k] == b[k];
            if (clash)
                clashes << QStringLiteral("%1 (%2) and %3 (%4)")
                               .arg(keys.at(i).second, a.toString(), keys.at(j).second, b.toString());
        }
    }
    return clashes;
}

// A command by its id without the "cuewright." every id begins with.
QAction *command(QMainWindow *window, const char *id)
{
    return window->findChild<QAction *>(QStringLiteral("cuewright.") + QLatin1String(id));
}

DocumentWindow *shownWindow(const DocumentController &controller, Document *document)
{
    DocumentWindow *window = controller.windowOf(document);
    window->show();
    QApplication::setActiveWindow(window);
    return window;
}

} // namespace

class tst_WindowShortcuts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("cuewright-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_windowshortcuts"));
        QSettings().clear();
    }

    void cleanup() { QSettings().remove(QStringLiteral("shortcuts")); }

    // Versions that named commands by their English menu text stored keys under it (this
    // is such a file); at the first start after, each moves to its command's id with the
    // same keys, "no keys" too, and the menus have them. Only once.
    void keysStoredUnderMenuTextsMoveToCommandIds()
    {
        const QString path = QSettings().fileName();
        QSettings().clear();
        QDir().mkpath(QFileInfo(path).absolutePath()); // a new machine has no settings folder yet
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[shortcuts]\n"
                   "Milliseconds%20%2800%3A00%3A00%2C000%29=Ctrl+Alt+M\n"
                   "Obsolete%20Command=Ctrl+9\n"
                   "Play\\Pause=F5\n"
                   "Revert%20to%20Saved=\n"
                   "Save=Ctrl+Alt+W\n"
                   "Start%20Earlier%20by%20100%20ms=\"Ctrl+Alt+Q, Ctrl+W\"\n");
        file.close();
        QSettings().sync(); // read again

        DocumentController controller;
        DocumentWindow *window = controller.windowOf(controller.newDocument());
        const Keys expected{{"view.timesAsMilliseconds", "Ctrl+Alt+M"},
                            {"playback.playPause", "F5"},
                            {"file.revertToSaved", ""},
                            {"file.save", "Ctrl+Alt+W"},
                            {"edit.nudgeStartEarlierBy100ms", "Ctrl+Alt+Q, Ctrl+W"}};
        QSettings settings;
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            QCOMPARE(command(window, qPrintable(it.key()))->shortcut().toString(), it.value());
            const QVariant stored = settings.value(QStringLiteral("shortcuts/cuewright.") + it.key());
            QVERIFY2(stored.isValid(), qPrintable(it.key()));
            QCOMPARE(stored.toString(), it.value());
        }
        const QStringList left{QStringLiteral("Obsolete Command")};
        QStringList oldNames = settings.allKeys().filter(QRegularExpression(QStringLiteral("^shortcuts/(?!cuewright\\.)")));
        oldNames.replaceInStrings(QStringLiteral("shortcuts/"), QString());
        QCOMPARE(oldNames, left);

        settings.setValue(QStringLiteral("shortcuts/Italic"), QStringLiteral("Ctrl+Alt+J"));
        DocumentWindow *next = controller.windowOf(controller.newDocument());
        QCOMPARE(command(next, "edit.italic")->shortcut(), QKeySequence(QKeySequence::Italic));
        QVERIFY(settings.contains(QStringLiteral("shortcuts/Italic")));
    }

    // Keys stored by hand or by an older version may clash; at start the command whose
    // keys the user chose gives them up (taking its own default back when free), the user
    // is told, and no two actions of the window share keys.
    void storedClashingKeysAreRepairedAtStart_data()
    {
        QTest::addColumn<Keys>("stored");
        QTest::addColumn<Keys>("expected");
        QTest::addColumn<QString>("repaired"); // named in the message; none when empty
        QTest::newRow("defaults") << Keys{} << Keys{{"file.save", "Ctrl+S"}, {"file.saveAs", "Ctrl+Shift+S"}} << QString();
        QTest::newRow("Save's keys") << Keys{{"file.revertToSaved", "Ctrl+S"}}
                                     << Keys{{"file.save", "Ctrl+S"}, {"file.revertToSaved", ""}} << "Revert to Saved";
        QTest::newRow("a menu's Alt+letter") << Keys{{"edit.italic", "Alt+F"}} << Keys{{"edit.italic", "Ctrl+I"}} << "Italic";
        QTest::newRow("keys that begin with Save's") << Keys{{"edit.find", "Ctrl+S, Ctrl+F"}}
                                                     << Keys{{"edit.find", "Ctrl+F"}, {"file.save", "Ctrl+S"}} << "Find";
        QTest::newRow("two commands given the same keys")
            << Keys{{"edit.goToSubtitle", "F9"}, {"view.zoomToFit", "F9"}}
            << Keys{{"edit.goToSubtitle", "F9"}, {"view.zoomToFit", "Ctrl+0"}} << "Fit Film";
        QTest::newRow("own default taken by another")
            << Keys{{"file.save", "Ctrl+E"}, {"file.revertToSaved", "Ctrl+S"}}
            << Keys{{"file.save", "Ctrl+S"}, {"file.revertToSaved", ""}, {"edit.editDisplayedSubtitle", "Ctrl+E"}}
            << "Revert to Saved";
    }

    void storedClashingKeysAreRepairedAtStart()
    {
        QFETCH(Keys, stored);
        QFETCH(Keys, expected);
        QFETCH(QString, repaired);
        QSettings settings;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            settings.setValue(QStringLiteral("shortcuts/cuewright.") + it.key(), it.value());

        DocumentController controller;
        DocumentWindow *window = shownWindow(controller, controller.newDocument());
        QVERIFY2(clashingKeys(window).isEmpty(), qPrintable(clashingKeys(window).join(u'\n')));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(command(window, qPrintable(it.key()))->shortcut().toString(), it.value());
        if (repaired.isEmpty()) {
            QCoreApplication::processEvents();
            QVERIFY(!window->findChild<QMessageBox *>());
        } else {
            QTRY_VERIFY(window->findChild<QMessageBox *>());
            QVERIFY(window->findChild<QMessageBox *>()->informativeText().contains(repaired));
        }
        // Repaired for good: the next window has nothing to repair.
        DocumentWindow *next = shownWindow(controller, controller.newDocument());
        QCoreApplication::processEvents();
        QVERIFY(!next->findChild<QMessageBox *>());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(command(next, qPrintable(it.key()))->shortcut().toString(), it.value());
    }

    // The keyboard page refuses OK while keys clash and says with what; once the user
    // resolves it, OK applies, and Ctrl+S still saves. Commands are listed by their own
    // names, not by what their menu item says at the moment ("Undo Edit Text").
    void clashingKeysCannotBeApplied_data()
    {
        QTest::addColumn<QKeySequence>("typed");
        QTest::addColumn<QString>("holder");
        QTest::newRow("Save's keys") << QKeySequence(Qt::CTRL | Qt::Key_S) << "File ▸ Save";
        QTest::newRow("a menu's Alt+letter") << QKeySequence(Qt::ALT | Qt::Key_E) << "the Edit menu";
        QTest::newRow("the Help menu's key") << QKeySequence(Qt::Key_F1) << "Help ▸ Keyboard Shortcuts";
    }

    void clashingKeysCannotBeApplied()
    {
        QFETCH(QKeySequence, typed);
        QFETCH(QString, holder);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("film.srt"));
        DocumentController controller;
        Document *document = controller.newDocument();
        document->setFilePath(path);
        DocumentWindow *window = shownWindow(controller, document);
        document->undoManager().runAsOneStep(QStringLiteral("Edit Text"),
                                             [&] { document->subtitleController().setText(QStringLiteral("Hi"), 0); });
        QTRY_COMPARE(command(window, "edit.undo")->text(), QStringLiteral("&Undo Edit Text"));

        PreferencesDialog dialog(window);
        dialog.addApplicationPages();
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        auto *page = dialog.findChild<KeyboardPreferencesPage *>();
        dialog.pages()->setCurrentWidget(page);
        QTreeWidget *tree = page->tree();
        QVERIFY(!tree->findItems(QStringLiteral("Edit ▸ Undo"), Qt::MatchExactly).isEmpty());
        QVERIFY(tree->findItems(QStringLiteral("Undo Edit Text"), Qt::MatchContains).isEmpty());
        const auto revert = tree->findItems(QStringLiteral("File ▸ Revert to Saved"), Qt::MatchExactly);
        QCOMPARE(revert.size(), 1);
        tree->scrollToItem(revert.first());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(revert.first()).center());
        QTest::mouseClick(page->keysEdit(), Qt::LeftButton);
        QTest::keyClick(page->keysEdit(), typed[0].key(), typed[0].keyboardModifiers());
        // Straight to OK, as a user who does not see the red line would.
        QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QVERIFY(!ok->isEnabled());
        QVERIFY2(page->conflictLabel()->text().contains(holder), qPrintable(page->conflictLabel()->text()));

        QTest::mouseClick(buttonOf(page, QStringLiteral("No Keys")), Qt::LeftButton);
        QVERIFY(ok->isEnabled());
        QVERIFY(page->conflictLabel()->text().isEmpty());
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        QVERIFY(clashingKeys(window).isEmpty());
        QApplication::setActiveWindow(window);
        QTest::keyClick(window->subtitlesTableViewController()->tableView(), Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(!document->isModified());
        QVERIFY(EncodingSamples::readAll(path).contains("Hi"));
    }

    // Split follows the text editor however the user opens it, and as its text changes:
    // Ctrl+Alt+K pressed in the editor splits at the text cursor.
    void splitKeyWorksInTheOpenEditor_data()
    {
        QTest::addColumn<int>("key"); // none: a double-click
        QTest::addColumn<bool>("unselected");
        QTest::newRow("Return") << int(Qt::Key_Return) << false;
        QTest::newRow("F2") << int(Qt::Key_F2) << false;
        QTest::newRow("double-click") << 0 << false;
        QTest::newRow("Return with the row unselected") << int(Qt::Key_Return) << true;
    }

    void splitKeyWorksInTheOpenEditor()
    {
        QFETCH(int, key);
        QFETCH(bool, unselected);
        DocumentController controller;
        Document *document = controller.newDocument();
        DocumentWindow *window = shownWindow(controller, document);
        document->subtitleController().setText(QString(), 0);
        document->undoManager().setClean();
        SubtitlesTableView *table = window->subtitlesTableViewController()->tableView();
        const QPoint text = table->visualRect(table->model()->index(0, SubtitleTableModel::TextColumn)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, text);
        if (unselected)
            QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ControlModifier, text);
        if (key)
            QTest::keyClick(table, Qt::Key(key));
        else
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, text);
        QTRY_VERIFY(qobject_cast<SubtitleTextEditor *>(QApplication::focusWidget()));
        auto *editor = qobject_cast<SubtitleTextEditor *>(QApplication::focusWidget());

        QTest::keyClicks(editor, QStringLiteral("Hello world"));
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(editor, Qt::Key_Left);
        QTest::keyClick(editor, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
        const SubtitleList subtitles = document->subtitleController().subtitles();
        QCOMPARE(subtitles.size(), 2);
        QCOMPARE(subtitles.at(0)->text(), QStringLiteral("Hello"));
        QCOMPARE(subtitles.at(1)->text(), QStringLiteral("world"));
        // One undo step, after the typed text's own.
        QTRY_COMPARE(command(window, "edit.undo")->text(), QStringLiteral("&Undo Split Subtitle"));
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document->subtitleController().subtitles().size(), 1);
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("Hello world"));
        document->undoManager().setClean();
    }

    // In the box under the list, Ctrl+I is the box's (the word at the caret, not the whole
    // subtitle), while Undo stays the window's: the box keeps no undo of its own.
    void textBoxKeepsItalicAndLeavesUndoToTheWindow()
    {
        DocumentController controller;
        Document *document = controller.newDocument();
        DocumentWindow *window = shownWindow(controller, document);
        document->setSelectedSubtitleIndexes(IndexSet(0));
        SubtitleTextEditor *editor = window->findChild<SubtitleTextBox *>()->editor();
        editor->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), editor);
        editor->moveCursor(QTextCursor::Start);
        QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("<i>A</i> new beginning."));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document->subtitleController().at(0)->text(), QStringLiteral("A new beginning."));
    }

    // Editing begun with Return on the current row leaves no row selected: Italic acts on
    // the text being edited all the same. The window may then go while the editor is open
    // with typed text, which must not reach the list half torn down (the sanitized build
    // reports that use of freed memory).
    void italicKeysReachTheTextBeingEdited()
    {
        DocumentController controller;
        DocumentWindow *window = shownWindow(controller, controller.newDocument());
        auto *list = window->findChild<SubtitlesTableViewController *>();
        list->beginEditingSubtitle(0);
        QTRY_VERIFY(qobject_cast<SubtitleTextEditor *>(QApplication::focusWidget()));
        auto *editor = qobject_cast<SubtitleTextEditor *>(QApplication::focusWidget());
        list->tableView()->selectionModel()->clearSelection();
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(editor->toPlainText(), QStringLiteral("<i>A new beginning.</i>"));
        // Keys the editor edits with stay the editor's.
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->toPlainText(), QStringLiteral("A new beginning."));
        QTest::keyClicks(editor, QStringLiteral(" there"));
        const QPointer<DocumentWindow> closing(window);
        QVERIFY(window->close());
        QTRY_VERIFY(!closing); // and the document with it
        QVERIFY(controller.documents().isEmpty());
    }

    // The keys of the commands used while timing reach the window from the list and from
    // the text being edited, which keeps only the keys it edits with.
    void timingKeysReachTheWindowWhileEditing_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("command");
        QTest::newRow("next") << QKeySequence(Qt::ALT | Qt::Key_Right) << "playback.nextShotChange";
        QTest::newRow("previous") << QKeySequence(Qt::ALT | Qt::Key_Left) << "playback.previousShotChange";
        QTest::newRow("add at the cursor") << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C) << "playback.addShotChangeAtCursor";
        QTest::newRow("a nudge") << QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_X) << "edit.nudgeSubtitleLaterBy100ms";
        QTest::newRow("insert") << QKeySequence(Qt::Key_Insert) << "edit.insertSubtitleAtCursor";
        QTest::newRow("a subtitle edge") << QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Left) << "playback.previousSubtitleEdge";
        QTest::newRow("faster") << QKeySequence(Qt::ALT | Qt::Key_Equal) << "playback.faster";
        QTest::newRow("normal speed") << QKeySequence(Qt::ALT | Qt::Key_0) << "playback.normalSpeed";
    }

    void timingKeysReachTheWindowWhileEditing()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, command);
        DocumentController controller;
        Document *document = controller.newDocument();
        DocumentWindow *window = shownWindow(controller, document);
        FakePlayer player;
        player.jumpTo(1.23);
        document->setPlayer(&player);
        document->setFrameRate(25);
        document->setSelectedSubtitleIndexes(IndexSet(0)); // something to time
        QSignalSpy triggered(::command(window, qPrintable(command)), &QAction::triggered);
        auto *list = window->findChild<SubtitlesTableViewController *>();
        list->tableView()->setFocus();
        QTest::keyClick(list->tableView(), keys[0].key(), keys[0].keyboardModifiers());
        list->beginEditingSubtitle(0);
        QWidget *editor = nullptr;
        QTRY_VERIFY(editor = qobject_cast<SubtitleTextEditor *>(QApplication::focusWidget()));
        QTest::keyClick(editor, keys[0].key(), keys[0].keyboardModifiers());
        QCOMPARE(triggered.size(), 2);
        if (command.contains(QLatin1String("addShotChange"))) {
            QCOMPARE(window->media()->shotChanges().times(), std::vector<double>{1.24}); // on a frame
            QVERIFY(!document->isModified());
        }
        document->setPlayer(nullptr);
    }

    // Each command is enabled by its own rule, followed as the document changes: what
    // needs a video waits for one, timing from the video needs one row too, a nudge rows.
    void commandsFollowWhatTheyNeed_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("needsVideo");
        QTest::addColumn<bool>("needsRow");
        QTest::newRow("play") << "playback.playPause" << true << false;
        QTest::newRow("insert at the cursor") << "edit.insertSubtitleAtCursor" << true << false;
        QTest::newRow("start from the video") << "edit.setStartFromVideo" << true << true;
        QTest::newRow("a nudge") << "edit.nudgeEndLaterBy100ms" << false << true;
        QTest::newRow("faster, for the next video too") << "playback.faster" << false << false;
    }

    void commandsFollowWhatTheyNeed()
    {
        QFETCH(QString, id);
        QFETCH(bool, needsVideo);
        QFETCH(bool, needsRow);
        DocumentController controller;
        Document *document = controller.newDocument();
        QAction *action = command(controller.windowOf(document), qPrintable(id));
        document->setSelectedSubtitleIndexes(IndexSet());
        QCOMPARE(action->isEnabled(), !needsVideo && !needsRow);
        document->setSelectedSubtitleIndexes(IndexSet(0));
        QCOMPARE(action->isEnabled(), !needsVideo);
        FakePlayer player;
        document->setPlayer(&player);
        QVERIFY(action->isEnabled());
        document->setPlayer(nullptr);
        QCOMPARE(action->isEnabled(), !needsVideo);
    }

    void changedKeysHoldInEveryWindowAndTheNextOne()
    {
        DocumentController controller;
        DocumentWindow *first = controller.windowOf(controller.newDocument());
        QAction *italic = first->findChild<QAction *>(QStringLiteral("cuewright.edit.italic"));
        const QKeySequence original = italic->shortcut();
        const QKeySequence changed(Qt::CTRL | Qt::ALT | Qt::Key_I);
        DocumentWindow *second = controller.windowOf(controller.newDocument());

        KeyboardPreferencesPage page(first);
        page.setKeys(italic, changed);
        QCOMPARE(italic->shortcut(), original); // nothing changes before apply
        page.apply();
        QCOMPARE(italic->shortcut(), changed);
        QCOMPARE(second->findChild<QAction *>(QStringLiteral("cuewright.edit.italic"))->shortcut(), changed);
        // The keys belong to the command, not to its name in one language.
        QCOMPARE(Translator::install(*QCoreApplication::instance(), {QStringLiteral("de-DE")}), QStringLiteral("de-DE"));
        QAction *germanItalic = controller.windowOf(controller.newDocument())
                                    ->findChild<QAction *>(QStringLiteral("cuewright.edit.italic"));
        Translator::install(*QCoreApplication::instance(), {});
        QVERIFY(germanItalic->text() != QStringLiteral("Italic"));
        QCOMPARE(germanItalic->shortcut(), changed);
    }
};

QTEST_MAIN(tst_WindowShortcuts)
#include "tst_windowshortcuts.moc"
