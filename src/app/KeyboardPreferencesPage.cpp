#include "app/KeyboardPreferencesPage.h"

#include "app/ShortcutSettings.h"
#include "app/ShortcutsDialog.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

KeyboardPreferencesPage::KeyboardPreferencesPage(QMainWindow *window, QWidget *parent)
    : QWidget(parent)
    , m_tree(new QTreeWidget(this))
    , m_keys(new QKeySequenceEdit(this))
    , m_conflict(new QLabel(this))
{
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({tr("Command"), tr("Keys")});
    m_tree->setRootIsDecorated(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    for (QAction *menuAction : window->menuBar()->actions()) {
        QMenu *menu = menuAction->menu();
        if (!menu)
            continue;
        for (QAction *action : menu->actions()) {
            if (ShortcutSettings::commandId(action).isEmpty() || action->isSeparator() || action->menu())
                continue;
            m_actions << action;
            auto *item = new QTreeWidgetItem(m_tree);
            item->setText(0, ShortcutsDialog::plainText(menu->title()) + QStringLiteral(" ▸ ")
                                 + ShortcutsDialog::plainText(action->text()));
            item->setData(0, Qt::UserRole, int(m_actions.size() - 1));
            updateItem(item);
        }
    }

    auto *clear = new QPushButton(tr("&No Keys"), this);
    auto *reset = new QPushButton(tr("&Default"), this);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &KeyboardPreferencesPage::showCurrent);
    connect(m_keys, &QKeySequenceEdit::editingFinished, this, [this] {
        if (QAction *action = currentAction())
            setKeys(action, m_keys->keySequence());
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        if (QAction *action = currentAction())
            setKeys(action, {});
    });
    connect(reset, &QPushButton::clicked, this, [this] {
        if (QAction *action = currentAction())
            setKeys(action, ShortcutSettings::defaultShortcut(action));
    });

    m_conflict->setWordWrap(true);
    m_conflict->setStyleSheet(QStringLiteral("QLabel { color: #c0392b; }"));
    auto *hint = new QLabel(tr("Choose a command, then press its new keys. Keys that need AltGr on your "
                               "keyboard, such as the brackets on many European layouts, are best replaced."),
                            this);
    hint->setWordWrap(true);
    auto *keysLabel = new QLabel(tr("&Keys:"), this);
    keysLabel->setBuddy(m_keys);
    auto *editRow = new QHBoxLayout;
    editRow->addWidget(keysLabel);
    editRow->addWidget(m_keys, 1);
    editRow->addWidget(clear);
    editRow->addWidget(reset);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(hint);
    layout->addWidget(m_tree, 1);
    layout->addLayout(editRow);
    layout->addWidget(m_conflict);
    if (m_tree->topLevelItemCount() > 0)
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
}

QKeySequence KeyboardPreferencesPage::keysOf(QAction *action) const
{
    return m_changed.value(action, action->shortcut());
}

QAction *KeyboardPreferencesPage::currentAction() const
{
    const QTreeWidgetItem *item = m_tree->currentItem();
    return item ? m_actions.value(item->data(0, Qt::UserRole).toInt()) : nullptr;
}

void KeyboardPreferencesPage::setKeys(QAction *action, const QKeySequence &keys)
{
    m_changed.insert(action, keys);
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_tree->topLevelItem(i);
        if (m_actions.value(item->data(0, Qt::UserRole).toInt()) == action)
            updateItem(item);
    }
    if (action == currentAction())
        showCurrent();
}

void KeyboardPreferencesPage::updateItem(QTreeWidgetItem *item)
{
    QAction *action = m_actions.value(item->data(0, Qt::UserRole).toInt());
    item->setText(1, keysOf(action).toString(QKeySequence::NativeText));
}

void KeyboardPreferencesPage::showCurrent()
{
    QAction *action = currentAction();
    m_conflict->clear();
    if (!action)
        return;
    const QKeySequence keys = keysOf(action);
    m_keys->setKeySequence(keys);
    if (keys.isEmpty())
        return;
    QStringList others;
    for (QAction *other : std::as_const(m_actions)) {
        if (other != action && keysOf(other) == keys)
            others << ShortcutsDialog::plainText(other->text());
    }
    if (!others.isEmpty())
        m_conflict->setText(tr("%1 is also the keys of: %2. Only one command can have them.")
                                .arg(keys.toString(QKeySequence::NativeText), others.join(QStringLiteral(", "))));
}

void KeyboardPreferencesPage::apply()
{
    for (auto it = m_changed.cbegin(); it != m_changed.cend(); ++it)
        ShortcutSettings::setShortcut(it.key(), it.value());
    m_changed.clear();
    ShortcutSettings::applyToAllWindows();
}
