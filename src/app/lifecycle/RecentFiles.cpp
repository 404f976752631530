#include "app/lifecycle/RecentFiles.h"

#include "document/Preferences.h"

#include <QSettings>

namespace {

QString settingsKey()
{
    return QStringLiteral("recentFiles");
}

} // namespace

void RecentFiles::note(const QString &path)
{
    QSettings settings;
    QStringList recent = settings.value(settingsKey()).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    const int limit = Preferences::recentFilesLimit();
    while (recent.size() > limit)
        recent.removeLast();
    settings.setValue(settingsKey(), recent);
    emit changed();
}

QStringList RecentFiles::list() const
{
    return QSettings().value(settingsKey()).toStringList().mid(0, Preferences::recentFilesLimit());
}

void RecentFiles::clear()
{
    QSettings().remove(settingsKey());
    emit changed();
}
