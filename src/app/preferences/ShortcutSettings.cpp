#include "app/preferences/ShortcutSettings.h"

#include "app/preferences/KeyConflicts.h"
#include "app/window/ShortcutsDialog.h"
#include "app/commands/CommandRegistry.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace {

QString settingsKey(const QString &commandId)
{
    return QStringLiteral("shortcuts/") + commandId;
}

// Absent: keys stored under English menu texts.
const char namingKey[] = "shortcutsNaming";
constexpr int namedByIds = 2;

} // namespace

bool ShortcutSettings::isCustomisable(const QAction *action)
{
    const Command *command = CommandRegistry::commandOf(action);
    return command && !command->fixedKeys;
}

QString ShortcutSettings::commandId(const QAction *action)
{
    const Command *command = CommandRegistry::commandOf(action);
    return command ? command->id : QString();
}

QString ShortcutSettings::commandName(const QAction *action)
{
    const Command *command = CommandRegistry::commandOf(action);
    return ShortcutsDialog::plainText(command ? command->text : action->text());
}

QKeySequence ShortcutSettings::defaultShortcut(const QAction *action)
{
    const Command *command = CommandRegistry::commandOf(action);
    return command ? command->keys : QKeySequence();
}

void ShortcutSettings::moveToCommandIds(QSettings &settings, const CommandRegistry &registry)
{
    if (settings.value(QLatin1String(namingKey)).toInt() >= namedByIds)
        return;
    for (QAction *action : registry.actions()) {
        const Command *command = CommandRegistry::commandOf(action);
        if (!isCustomisable(action) || !command->sourceText)
            continue;
        const QString old = settingsKey(ShortcutsDialog::plainText(QString::fromUtf8(command->sourceText)));
        if (!settings.contains(old))
            continue;
        if (const QString moved = settingsKey(command->id); !settings.contains(moved))
            settings.setValue(moved, settings.value(old));
        settings.remove(old);
    }
    settings.setValue(QLatin1String(namingKey), namedByIds);
}

void ShortcutSettings::applyUserKeys(const CommandRegistry &registry)
{
    {
        QSettings settings;
        moveToCommandIds(settings, registry);
    }
    for (QAction *action : registry.actions()) {
        if (!isCustomisable(action))
            continue;
        if (const auto keys = userShortcut(commandId(action)))
            action->setShortcut(*keys);
    }
}

std::optional<QKeySequence> ShortcutSettings::userShortcut(const QString &commandId)
{
    const QVariant stored = QSettings().value(settingsKey(commandId));
    if (!stored.isValid())
        return std::nullopt;
    return QKeySequence::fromString(stored.toString(), QKeySequence::PortableText);
}

void ShortcutSettings::setShortcut(QAction *action, const QKeySequence &keys)
{
    QSettings settings;
    if (keys == defaultShortcut(action))
        settings.remove(settingsKey(commandId(action)));
    else
        settings.setValue(settingsKey(commandId(action)), keys.toString(QKeySequence::PortableText));
    action->setShortcut(keys);
}

void ShortcutSettings::applyToAllWindows()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        const CommandRegistry *registry = CommandRegistry::of(window);
        if (!registry)
            continue;
        for (QAction *action : registry->actions()) {
            if (isCustomisable(action))
                action->setShortcut(userShortcut(commandId(action)).value_or(defaultShortcut(action)));
        }
    }
}

void ShortcutSettings::repairConflicts(QMainWindow *window)
{
    const KeyConflicts conflicts(window);
    // Commands with their default keys keep them (the defaults never clash); then the
    // user's keys are taken in menu order, each only while free.
    QHash<QAction *, QKeySequence> kept;
    QList<QAction *> userSet;
    for (QAction *action : conflicts.commands()) {
        if (userShortcut(commandId(action)))
            userSet << action;
        else
            kept.insert(action, action->shortcut());
    }
    const auto keysOf = [&kept](QAction *action) { return kept.value(action); };
    QStringList repairs;
    for (QAction *action : std::as_const(userSet)) {
        const QKeySequence wanted = action->shortcut();
        const QStringList holders = conflicts.holdersOf(action, wanted, keysOf);
        if (holders.isEmpty()) {
            kept.insert(action, wanted);
            continue;
        }
        const QKeySequence fallback = defaultShortcut(action);
        const bool fallbackFree = conflicts.holdersOf(action, fallback, keysOf).isEmpty();
        const QKeySequence given = fallbackFree ? fallback : QKeySequence();
        setShortcut(action, given);
        kept.insert(action, given);
        const QString lost = tr("%1 had the keys %2, which %3 has too.")
                                 .arg(KeyConflicts::displayName(action), wanted.toString(QKeySequence::NativeText),
                                      holders.join(tr(", ")));
        repairs << (given.isEmpty() ? tr("%1 It now has no keys.").arg(lost)
                                    : tr("%1 It has its usual keys, %2, again.")
                                          .arg(lost, given.toString(QKeySequence::NativeText)));
    }
    if (repairs.isEmpty())
        return;
    // Told once the window is up, without holding up the start.
    QTimer::singleShot(0, window, [window, repairs] {
        auto *box = new QMessageBox(QMessageBox::Warning, QApplication::applicationDisplayName(),
                                    tr("Some stored keyboard shortcuts were shared by two commands, which "
                                       "would have left both without keys. They have been repaired."),
                                    QMessageBox::Ok, window);
        box->setInformativeText(repairs.join(QLatin1Char('\n')));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::WindowModal);
        box->open();
    });
}
