#pragma once

#include <QDialog>
#include <QPointer>

class QAction;
class QMainWindow;
class QTreeWidget;
class QTreeWidgetItem;

// Help ▸ Keyboard Shortcuts: every command of the window that has keys, grouped by the
// menu that shows it, read each time the overview opens, so it always says what the
// menus say; then the keys the panes take without a menu command.
class ShortcutsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ShortcutsDialog(QMainWindow *window);

    using QDialog::show;
    // Shows the overview for window, raising and refreshing it when it is open already.
    static void show(QMainWindow *window);

    // Reads the commands again.
    void refresh();

    // A menu or action text as a reader sees it: without the mnemonic "&" and the "…"
    // that promises a dialog.
    static QString plainText(const QString &menuText);

    // "Edit ▸ Nudge": the menus that lead to the action; empty when no menu shows it.
    static QString menuPath(const QAction *action);

private:
    void addPaneKeys();
    QTreeWidgetItem *addGroup(const QString &title);

    QPointer<QMainWindow> m_window;
    QTreeWidget *m_tree;
};
