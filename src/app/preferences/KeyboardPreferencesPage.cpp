#include "app/preferences/KeyboardPreferencesPage.h"

#include "app/preferences/ShortcutSettings.h"
#include "style/ProblemColour.h"

#include <QAction>
#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

KeyboardPreferencesPage::KeyboardPreferencesPage(QMainWindow *window, QWidget *parent)
    : QWidget(parent)
    , m_tree(new QTreeWidget(this))
    , m_keys(new QKeySequenceEdit(this))
    , m_conflict(new QLabel(this))
    , m_conflicts(window)
{
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({tr("Command"), tr("Keys")});
    m_tree->setRootIsDecorated(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    m_actions = m_conflicts.commands();
    for (qsizetype i = 0; i < m_actions.size(); ++i) {
        auto *item = new QTreeWidgetItem(m_tree);
        item->setText(0, KeyConflicts::displayName(m_actions.at(i)));
        item->setData(0, Qt::UserRole, int(i));
        updateItem(item);
    }

    auto *clear = new QPushButton(tr("&No Keys"), this);
    auto *reset = new QPushButton(tr("&Default"), this);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &KeyboardPreferencesPage::showCurrent);
    // The edit reports keys once the typing pauses or it loses the focus: a click on OK
    // sees them, and their clash, before it counts.
    connect(m_keys, &QKeySequenceEdit::keySequenceChanged, this, [this](const QKeySequence &keys) {
        if (QAction *action = currentAction(); action && keys != keysOf(action))
            setKeys(action, keys);
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
    m_conflict->setStyleSheet(ProblemColour::labelStyleSheet());
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
    showConflicts();
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
    showConflicts();
}

void KeyboardPreferencesPage::updateItem(QTreeWidgetItem *item)
{
    QAction *action = m_actions.value(item->data(0, Qt::UserRole).toInt());
    item->setText(1, keysOf(action).toString(QKeySequence::NativeText));
}

void KeyboardPreferencesPage::showCurrent()
{
    QAction *action = currentAction();
    const QKeySequence keys = action ? keysOf(action) : QKeySequence();
    // Setting keys the edit already shows would report them as changed once more.
    if (m_keys->keySequence() != keys)
        m_keys->setKeySequence(keys);
}

void KeyboardPreferencesPage::showConflicts()
{
    const auto keysOf = [this](QAction *action) { return this->keysOf(action); };
    const QStringList sentences = m_conflicts.describe(keysOf);
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_tree->topLevelItem(i);
        QAction *action = m_actions.value(item->data(0, Qt::UserRole).toInt());
        const bool clashes = !m_conflicts.holdersOf(action, keysOf(action), keysOf).isEmpty();
        for (int column = 0; column < 2; ++column)
            item->setForeground(column, clashes ? QBrush(ProblemColour::solid()) : QBrush());
    }
    m_conflict->setText(sentences.isEmpty()
                            ? QString()
                            : sentences.join(QLatin1Char('\n')) + QLatin1Char('\n')
                                  + tr("Only one command can have the same keys: change or clear them to press OK."));
    const bool hasConflicts = !sentences.isEmpty();
    if (hasConflicts != m_hasConflicts) {
        m_hasConflicts = hasConflicts;
        emit conflictsChanged(hasConflicts);
    }
}

void KeyboardPreferencesPage::apply()
{
    if (m_hasConflicts)
        return;
    for (auto it = m_changed.cbegin(); it != m_changed.cend(); ++it)
        ShortcutSettings::setShortcut(it.key(), it.value());
    m_changed.clear();
    ShortcutSettings::applyToAllWindows();
}
