#include "app/window/ShortcutsDialog.h"

#include "app/preferences/ShortcutSettings.h"
#include "app/commands/CommandRegistry.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHash>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

ShortcutsDialog::ShortcutsDialog(QMainWindow *window)
    : QDialog(window)
    , m_window(window)
    , m_tree(new QTreeWidget)
{
    setWindowTitle(tr("Keyboard Shortcuts"));
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({tr("Command"), tr("Keys")});
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setSelectionMode(QAbstractItemView::NoSelection);
    m_tree->setFocusPolicy(Qt::NoFocus);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);

    auto buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addWidget(buttons);
    resize(520, 600);
    refresh();
}

void ShortcutsDialog::show(QMainWindow *window)
{
    // One overview at a time, of the window it was asked from.
    static QPointer<ShortcutsDialog> open;
    if (open && open->parentWidget() != window)
        open->close();
    QPointer<ShortcutsDialog> &dialog = open;
    if (!dialog) {
        dialog = new ShortcutsDialog(window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        dialog->refresh();
    }
    dialog->QDialog::show();
    dialog->raise();
    dialog->activateWindow();
}

void ShortcutsDialog::refresh()
{
    m_tree->clear();
    if (const CommandRegistry *registry = CommandRegistry::of(m_window)) {
        QHash<QString, QTreeWidgetItem *> groups;
        for (QAction *action : registry->actions()) {
            const QString title = menuPath(action);
            if (title.isEmpty() || action->shortcuts().isEmpty())
                continue;
            QStringList keys;
            for (const QKeySequence &shortcut : action->shortcuts())
                keys << shortcut.toString(QKeySequence::NativeText);
            QTreeWidgetItem *&group = groups[title];
            if (!group)
                group = addGroup(title);
            new QTreeWidgetItem(group, {ShortcutSettings::commandName(action), keys.join(tr(" or "))});
        }
    }
    addPaneKeys();
    m_tree->expandAll();
}

QString ShortcutsDialog::menuPath(const QAction *action)
{
    const QMenu *menu = nullptr;
    for (const QObject *object : action->associatedObjects()) {
        if ((menu = qobject_cast<const QMenu *>(object)))
            break;
    }
    // Up by the menus' parents: a menu bar too narrow for its menus shows them in a menu
    // of its own as well.
    QString path;
    for (; menu; menu = qobject_cast<const QMenu *>(menu->parent()))
        path = path.isEmpty() ? plainText(menu->title()) : tr("%1 ▸ %2").arg(plainText(menu->title()), path);
    return path;
}

QString ShortcutsDialog::plainText(const QString &menuText)
{
    QString text = menuText;
    // "&&" is a literal ampersand; a single "&" marks the mnemonic.
    static const QRegularExpression mnemonic(QStringLiteral("&(.)"));
    text.replace(mnemonic, QStringLiteral("\\1"));
    if (text.endsWith(QStringLiteral("…")))
        text.chop(1);
    else if (text.endsWith(QStringLiteral("...")))
        text.chop(3);
    return text.trimmed();
}

void ShortcutsDialog::addPaneKeys()
{
    // Keys that panes handle themselves, with no menu command to read them from.
    QTreeWidgetItem *list = addGroup(tr("Subtitle list and video"));
    new QTreeWidgetItem(list, {tr("Previous frame / next frame"), tr("Left / Right")});

    QTreeWidgetItem *timeline = addGroup(tr("Timeline"));
    new QTreeWidgetItem(timeline, {tr("Zoom in or out"), tr("Ctrl+Wheel")});
    new QTreeWidgetItem(timeline, {tr("Make the waveform taller or shorter"), tr("Ctrl+Shift+Wheel")});
    new QTreeWidgetItem(timeline, {tr("Drag without snapping"), tr("Ctrl+Drag")});
    new QTreeWidgetItem(timeline, {tr("Add a subtitle to the selection"), tr("Ctrl+Click")});
    new QTreeWidgetItem(timeline, {tr("Select a range of subtitles"), tr("Shift+Click")});
    new QTreeWidgetItem(timeline, {tr("Hear the sound under the pointer"), tr("Drag the ruler or the cursor")});
}

QTreeWidgetItem *ShortcutsDialog::addGroup(const QString &title)
{
    auto group = new QTreeWidgetItem(m_tree, {title});
    QFont font = group->font(0);
    font.setBold(true);
    group->setFont(0, font);
    group->setFirstColumnSpanned(true);
    return group;
}
