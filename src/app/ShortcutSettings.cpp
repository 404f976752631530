#include "app/ShortcutSettings.h"

#include "app/ShortcutsDialog.h"

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QWidget>

namespace {

const char defaultProperty[] = "cuewrightDefaultShortcut";

QString settingsKey(const QString &commandId)
{
    return QStringLiteral("shortcuts/") + commandId;
}

} // namespace

QString ShortcutSettings::commandId(const QAction *action)
{
    return action->objectName();
}

QKeySequence ShortcutSettings::defaultShortcut(const QAction *action)
{
    return action->property(defaultProperty).value<QKeySequence>();
}

void ShortcutSettings::registerAction(QAction *action, const QString &sourceText)
{
    action->setObjectName(ShortcutsDialog::plainText(sourceText));
    action->setProperty(defaultProperty, QVariant::fromValue(action->shortcut()));
    if (const auto keys = userShortcut(commandId(action)))
        action->setShortcut(*keys);
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
        for (QAction *action : window->findChildren<QAction *>()) {
            if (action->property(defaultProperty).isValid())
                action->setShortcut(userShortcut(commandId(action)).value_or(defaultShortcut(action)));
        }
    }
}
