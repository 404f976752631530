#include "document/Document.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/KeyboardPreferencesPage.h"
#include "app/Translator.h"
#include "list/SubtitleTextEditor.h"
#include "list/SubtitlesTableView.h"
#include "list/SubtitlesTableViewController.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

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

    // Two commands with the same keys (a menu's Alt+letter counts) make both keys dead.
    void noTwoCommandsShareKeys()
    {
        DocumentController controller;
        DocumentWindow *window = DocumentController::windowOf(controller.newDocument());
        QHash<QKeySequence, QString> owners;
        QStringList clashes;
        const auto claim = [&](const QKeySequence &keys, const QString &name) {
            if (keys.isEmpty())
                return;
            if (owners.contains(keys))
                clashes << QStringLiteral("%1: %2 and %3").arg(keys.toString(), owners.value(keys), name);
            owners.insert(keys, name);
        };
        for (QAction *menuAction : window->menuBar()->actions()) {
            claim(QKeySequence::mnemonic(menuAction->text()), menuAction->text());
            for (QAction *action : menuAction->menu()->actions()) {
                for (const QKeySequence &keys : action->shortcuts())
                    claim(keys, action->text());
            }
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(u'\n')));
    }

    // Editing begun with Return on the current row leaves no row selected: Italic acts on
    // the text being edited all the same. The window may then go while the editor is open.
    void italicKeysReachTheTextBeingEdited()
    {
        auto controller = std::make_unique<DocumentController>();
        DocumentWindow *window = DocumentController::windowOf(controller->newDocument());
        window->show();
        QApplication::setActiveWindow(window);
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
        delete window; // and the document with it
    }

    void changedKeysHoldInEveryWindowAndTheNextOne()
    {
        DocumentController controller;
        DocumentWindow *first = DocumentController::windowOf(controller.newDocument());
        QAction *italic = first->findChild<QAction *>(QStringLiteral("Italic"));
        const QKeySequence original = italic->shortcut();
        const QKeySequence changed(Qt::CTRL | Qt::ALT | Qt::Key_I);
        DocumentWindow *second = DocumentController::windowOf(controller.newDocument());

        KeyboardPreferencesPage page(first);
        page.setKeys(italic, changed);
        QCOMPARE(italic->shortcut(), original); // nothing changes before apply
        page.apply();
        QCOMPARE(italic->shortcut(), changed);
        QCOMPARE(second->findChild<QAction *>(QStringLiteral("Italic"))->shortcut(), changed);
        // The keys belong to the command, not to its name in one language.
        QCOMPARE(Translator::install(*QCoreApplication::instance(), {QStringLiteral("de-DE")}), QStringLiteral("de-DE"));
        QAction *germanItalic = DocumentController::windowOf(controller.newDocument())
                                    ->findChild<QAction *>(QStringLiteral("Italic"));
        Translator::install(*QCoreApplication::instance(), {});
        QVERIFY(germanItalic->text() != QStringLiteral("Italic"));
        QCOMPARE(germanItalic->shortcut(), changed);
    }
};

QTEST_MAIN(tst_WindowShortcuts)
#include "tst_windowshortcuts.moc"
