#include "app/window/AboutDialog.h"
#include "app/lifecycle/DocumentController.h"
#include "app/window/DocumentWindow.h"
#include "app/window/HelpMenu.h"
#include "app/window/ShortcutsDialog.h"
#include "app/preferences/Translator.h"
#include "app/commands/CommandRegistry.h"

#include "BuildInfo.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>

#include <clocale>

namespace {

// The overview as "Group | Command | Keys" lines, in order.
QStringList overviewLines(ShortcutsDialog *dialog)
{
    QStringList lines;
    auto tree = dialog->findChild<QTreeWidget *>();
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = tree->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i)
            lines << group->text(0) + QStringLiteral(" | ") + group->child(i)->text(0) + QStringLiteral(" | ")
                         + group->child(i)->text(1);
    }
    return lines;
}

// The entries of a menu whose underlined letter an earlier entry has already.
QStringList repeatedMnemonics(const QList<QAction *> &actions)
{
    QList<QKeySequence> seen;
    QStringList repeated;
    for (QAction *action : actions) {
        const QKeySequence key = QKeySequence::mnemonic(action->text());
        if (!key.isEmpty() && seen.contains(key))
            repeated << action->text();
        seen << key;
    }
    return repeated;
}

} // namespace

class tst_HelpWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // libmpv, asked for its version, starts only with C number formatting.
        std::setlocale(LC_NUMERIC, "C");
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("cuewright-tests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_helpwindows"));
        QSettings().clear();
    }

    void helpMenuOpensAnOverviewOfTheMenus()
    {
        QMainWindow window;
        auto *commands = new CommandRegistry(&window);
        const auto add = [commands](QMenu *menu, const char *id, const char *text, const QKeySequence &keys = {}) {
            Command command;
            command.id = QString::fromLatin1(id);
            command.text = QString::fromUtf8(text);
            command.keys = keys;
            QAction *action = commands->add(command);
            menu->addAction(action);
            return action;
        };
        // Menu texts lose their mnemonics and ellipses.
        QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
        add(file, "file.open", "&Open…", QKeySequence(Qt::CTRL | Qt::Key_O));
        add(file, "file.saveAs", "Save &As...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        add(file, "file.withoutKeys", "Without a key");
        file->addSeparator();
        QMenu *recent = file->addMenu(QStringLiteral("Open &Recent"));
        add(recent, "file.reopenLast", "&Reopen Last", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
        QMenu *edit = window.menuBar()->addMenu(QStringLiteral("&Edit"));
        add(edit, "edit.delete", "&Delete")->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)});
        // An action that is no command is not listed.
        edit->addAction(QStringLiteral("Not a Command"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
        QMenu *help = HelpMenu::add(&window);
        QCOMPARE(window.menuBar()->actions().last()->menu(), help);

        help->actions().at(0)->trigger();
        auto dialog = window.findChild<ShortcutsDialog *>();
        QVERIFY(dialog);
        const QStringList lines = overviewLines(dialog);
        QCOMPARE(lines.mid(0, 5), (QStringList{
                     QStringLiteral("File | Open | Ctrl+O"),
                     QStringLiteral("File | Save As | Ctrl+Shift+S"),
                     QStringLiteral("File ▸ Open Recent | Reopen Last | Ctrl+Shift+T"),
                     QStringLiteral("Edit | Delete | Del or Backspace"),
                     QStringLiteral("Help | Keyboard Shortcuts | F1"),
                 }));

        // Shown again, the one overview reads the commands as they are now.
        commands->action(QStringLiteral("file.withoutKeys"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
        help->actions().at(0)->trigger();
        QCOMPARE(window.findChildren<ShortcutsDialog *>().size(), 1);
        QVERIFY(overviewLines(dialog).contains(QStringLiteral("File | Without a key | Ctrl+A")));
        help->actions().at(1)->trigger();
        QVERIFY(window.findChild<AboutDialog *>());
    }

    void aboutNamesVersionAndLibraries()
    {
        for (const AboutDialog::Library &library : AboutDialog::libraries())
            QVERIFY2(!library.version.isEmpty() && library.version.front().isDigit(), qPrintable(library.name + library.version));
        // A running mpv tells its release, not only the client API's number.
        QVERIFY2(AboutDialog::libraries().at(1).version.contains(QStringLiteral("(client API")),
                 qPrintable(AboutDialog::libraries().at(1).version));
        QWidget parent;
        AboutDialog::show(&parent);
        const QString version = parent.findChild<QLabel *>(QStringLiteral("version"))->text();
        QVERIFY(version.contains(QStringLiteral(CUEWRIGHT_VERSION)));
        QVERIFY(version.contains(QString::number(CUEWRIGHT_BUILD_NUMBER)));
    }

    // Two entries of one menu with the same underlined letter make Alt+letter ambiguous.
    void germanMenusHaveDistinctMnemonics()
    {
        QCOMPARE(Translator::install(*QCoreApplication::instance(), {QStringLiteral("de-DE")}), QStringLiteral("de-DE"));
        {
            DocumentController controller;
            DocumentWindow *window = controller.windowOf(controller.newDocument());
            if (window->menuBar()->actions().last()->text() != QStringLiteral("&Hilfe"))
                HelpMenu::add(window);
            QCOMPARE(window->menuBar()->actions().first()->text(), QStringLiteral("&Datei"));
            QCOMPARE(repeatedMnemonics(window->menuBar()->actions()), QStringList());
            for (QAction *menuAction : window->menuBar()->actions())
                QVERIFY2(repeatedMnemonics(menuAction->menu()->actions()).isEmpty(),
                         qPrintable(repeatedMnemonics(menuAction->menu()->actions()).join(QStringLiteral(", "))));
            // The German overview lists the German menu commands.
            ShortcutsDialog::show(window);
            QVERIFY(overviewLines(window->findChild<ShortcutsDialog *>())
                        .contains(QStringLiteral("Bearbeiten | Untertitel duplizieren | Strg+D")));
        }
        Translator::install(*QCoreApplication::instance(), {});
    }
};

QTEST_MAIN(tst_HelpWindows)
#include "tst_helpwindows.moc"
