#pragma once

#include <QDialog>
#include <QPointer>

class QMainWindow;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

// Help ▸ Keyboard Shortcuts: every menu command that has a key, read from the window's
// menu bar each time the overview opens, so it always says what the menus say; then
// the keys the panes take without a menu command.
class ShortcutsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ShortcutsDialog(QMainWindow *window);

    using QDialog::show;
    // Shows the overview for window, raising and refreshing it when it is open already.
    static void show(QMainWindow *window);

    // Reads the menus again.
    void refresh();

    // A menu or action text as a reader sees it: without the mnemonic "&" and the "…"
    // that promises a dialog.
    static QString plainText(const QString &menuText);

private:
    void addMenu(QMenu *menu, const QString &title);
    void addPaneKeys();
    QTreeWidgetItem *addGroup(const QString &title);

    QPointer<QMainWindow> m_window;
    QTreeWidget *m_tree;
};
